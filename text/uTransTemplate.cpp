#include "text/uTransTemplate.h"

#include <utility>

#include "Lib/uStrUtils.h"

namespace {

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

bool IsAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

// Characters of a group name; a name the pattern lacks inserts nothing.
bool IsNameChar(char16_t c) { return IsAsciiLetter(c) || IsDigit(c) || c == u'_' || c >= 0x80; }

bool IsName(std::u16string_view text) {
  if (text.empty())
    return false;
  for (const char16_t c : text)
    if (!IsNameChar(c))
      return false;
  return true;
}

bool IsNumber(std::u16string_view text) {
  if (text.empty())
    return false;
  for (const char16_t c : text)
    if (!IsDigit(c))
      return false;
  return true;
}

// A group number, or -1 for one no pattern can have.
int ParseNumber(std::u16string_view digits) {
  long long value = 0;
  for (const char16_t c : digits) {
    value = value * 10 + (c - u'0');
    if (value > 65535)
      return -1;
  }
  return static_cast<int>(value);
}

constexpr std::u16string_view CaseLetters = u"ULFIulfi";

bool IsWordChar(char16_t c) { return IsAsciiLetter(c) || IsDigit(c) || c >= 0x80; }

std::u16string ChangeCase(std::u16string_view text, TReplaceTemplate::TCase letterCase) {
  switch (letterCase) {
  case TReplaceTemplate::TCase::Keep:
    return std::u16string(text);
  case TReplaceTemplate::TCase::Upper:
    return UpperAscii(text);
  case TReplaceTemplate::TCase::Lower:
    return LowerAscii(text);
  case TReplaceTemplate::TCase::First:
    return UpperAscii(text.substr(0, 1)) + std::u16string(text.substr(text.empty() ? 0 : 1));
  case TReplaceTemplate::TCase::Words: {
    std::u16string out(text);
    for (std::size_t i = 0; i < out.size(); ++i)
      if (i == 0 || !IsWordChar(out[i - 1]))
        out[i] = UpperAscii(std::u16string_view(&out[i], 1))[0];
    return out;
  }
  }
  return std::u16string(text);
}

} // namespace

void TReplaceTemplate::AddText(std::u16string_view text) {
  if (FParts.empty() || FParts.back().Kind != TKind::Text)
    FParts.push_back({});
  FParts.back().Text.append(text);
}

void TReplaceTemplate::AddGroups(std::vector<int> groups, int groupCount, TCase letterCase) {
  std::erase_if(groups, [groupCount](int g) { return g < 0 || g > groupCount; });
  TPart part;
  part.Kind = TKind::Group;
  part.Groups = std::move(groups);
  part.Case = letterCase;
  FParts.push_back(std::move(part));
}

TReplaceTemplate::TReplaceTemplate(std::u16string_view templ, const TRegEx &regex) {
  const int groups = regex.GroupCount();
  const std::size_t n = templ.size();
  std::size_t i = 0;
  auto add = [this](TKind kind) {
    TPart part;
    part.Kind = kind;
    FParts.push_back(std::move(part));
  };
  while (i < n) {
    const char16_t c = templ[i];
    if ((c != u'\\' && c != u'$') || i + 1 >= n) {
      AddText(templ.substr(i, 1));
      ++i;
      continue;
    }
    const char16_t d = templ[i + 1];
    const bool dollar = c == u'$';
    if (d == u'\\' && !dollar) {
      AddText(u"\\");
      i += 2;
    } else if (d == u'$') {
      AddText(u"$");
      i += 2;
    } else if (IsDigit(d)) {
      const int first = d - u'0';
      if (i + 2 < n && IsDigit(templ[i + 2]) && first * 10 + (templ[i + 2] - u'0') <= groups) {
        AddGroups({first * 10 + (templ[i + 2] - u'0')}, groups);
        i += 3;
      } else {
        AddGroups({first}, groups);
        i += 2;
      }
    } else if ((dollar && d == u'{') ||
               (!dollar && d == u'g' && i + 2 < n && templ[i + 2] == u'<')) {
      const std::size_t open = dollar ? i + 2 : i + 3;
      const std::size_t close = templ.find(dollar ? u'}' : u'>', open);
      const std::u16string_view inner = close == std::u16string_view::npos
                                            ? std::u16string_view()
                                            : templ.substr(open, close - open);
      if (dollar && IsNumber(inner)) {
        AddGroups({ParseNumber(inner)}, groups);
      } else if (IsName(inner)) {
        AddGroups(regex.GroupNumbers(inner), groups);
      } else {
        AddText(templ.substr(i, 1));
        ++i;
        continue;
      }
      i = close + 1;
    } else if (d == u'&') {
      AddGroups({0}, groups);
      i += 2;
    } else if (d == u'`') {
      add(TKind::Before);
      i += 2;
    } else if (d == u'\'') {
      add(TKind::After);
      i += 2;
    } else if (d == u'+') {
      AddGroups({groups > 0 ? groups : -1}, groups);
      i += 2;
    } else if (dollar && d == u'_') {
      add(TKind::Subject);
      i += 2;
    } else if (!dollar && i + 2 < n && IsDigit(templ[i + 2]) &&
               CaseLetters.find(d) != std::u16string_view::npos) {
      const TCase cases[] = {TCase::Upper, TCase::Lower, TCase::First, TCase::Words};
      AddGroups({templ[i + 2] - u'0'}, groups, cases[CaseLetters.find(d) % 4]);
      i += 3;
    } else {
      AddText(templ.substr(i, 1));
      ++i;
    }
  }
}

void TReplaceTemplate::Expand(const TRegExMatch &match, std::u16string &out,
                              std::size_t maxLength) const {
  const std::u16string_view subject = match.Subject();
  for (const TPart &part : FParts) {
    if (out.size() > maxLength)
      return;
    switch (part.Kind) {
    case TKind::Text:
      out.append(part.Text);
      break;
    case TKind::Before:
      out.append(subject.substr(0, match.Start(0)));
      break;
    case TKind::After:
      out.append(subject.substr(match.End(0)));
      break;
    case TKind::Subject:
      out.append(subject);
      break;
    case TKind::Group:
      for (const int group : part.Groups) {
        if (!match.Matched(group))
          continue;
        if (part.Case == TCase::Keep)
          out.append(match.Group(group));
        else
          out.append(ChangeCase(match.Group(group), part.Case));
        break;
      }
      break;
    }
  }
}
