#include "chat/uChatFilter.h"

#include <algorithm>

#include "Lib/uRegEx.h"
#include "Lib/uStrUtils.h"
#include "chat/uNameLists.h"
#include "text/uTransList.h"
#include "text/uTransRules.h"

TSecondLifeLogOptions SecondLifeLogOptions;

namespace {

const TRegEx &TimeStampRegEx() {
  static const TRegEx regex(TimeStampPattern, true);
  return regex;
}

// A participant's line must not keep a pattern busy for long.
TMatchOptions LineOptions() {
  return GuardedMatchOptions(std::chrono::steady_clock::now() + RuleTimeBudget);
}

std::u16string RemoveMatches(const TRegEx &regex, const std::u16string &line) {
  const std::u16string subject = ValidUtf16(line);
  try {
    return regex.Replace(subject, std::u16string_view(), LineOptions());
  } catch (const ERegExMatchError &) {
    return subject;
  }
}

bool StartsWithTimeStamp(const std::u16string &line) {
  try {
    return TimeStampRegEx().IsMatch(ValidUtf16(line), LineOptions());
  } catch (const ERegExMatchError &) {
    return false;
  }
}

void AppendEntry(std::u16string &out, const std::u16string &text) {
  if (text.empty())
    return;
  if (!out.empty())
    out += u"\r\n";
  out += text;
}

// Keeps one half of 'Hello (Bonjour)', a line the viewer wrote together with
// its translation: the separating bracket is the middle opening bracket.
std::u16string PickTranslation(const std::u16string &s, std::int32_t translate) {
  if (translate == 0 || s.empty() || s.back() != u')')
    return s;
  std::vector<std::size_t> opening;
  for (std::size_t i = 0; i < s.size(); ++i)
    if (s[i] == u'(' || s[i] == u'（')
      opening.push_back(i);
  if (opening.size() % 2 == 0)
    return s;
  const std::size_t bracket = opening[opening.size() / 2];
  if (translate == 2)
    return s.substr(0, bracket);
  if (translate == 1)
    return s.substr(bracket + 1, s.size() - bracket - 2);
  return s;
}

} // namespace

std::u16string FilterTimeStampLines(const std::vector<std::u16string> &lines) {
  std::u16string out;
  for (const std::u16string &line : lines)
    AppendEntry(out, RemoveMatches(TimeStampRegEx(), line));
  return ApplyDictionary(HandleDictionaryCommand(out));
}

std::u16string FilterSecondLifeLog(const std::vector<std::u16string> &lines,
                                   TSecondLifeLogOptions options) {
  std::u16string pending;
  std::u16string out;
  for (const std::u16string &line : lines) {
    if (!StartsWithTimeStamp(line)) {
      pending += line;
      continue;
    }
    AppendEntry(out, ParseSecondLifeEntry(pending, options));
    pending = line;
  }
  if (!pending.empty())
    AppendEntry(out, ParseSecondLifeEntry(pending, options));
  return out;
}

std::u16string FilterCustomRegEx(const std::vector<std::u16string> &lines,
                                 const std::u16string &pattern) {
  const TRegEx regex(pattern);
  std::u16string out;
  for (const std::u16string &line : lines)
    AppendEntry(out, RemoveMatches(regex, line));
  return ApplyDictionary(out);
}

std::u16string ParseSecondLifeEntry(const std::u16string &entry,
                                    const TSecondLifeLogOptions &options) {
  std::u16string s = entry;
  std::u16string avatarName;
  std::u16string displayName;
  const std::size_t stamp = s.find(u']');
  if (stamp != std::u16string::npos) {
    s = TrimLeft(std::u16string_view(s).substr(stamp + 1));
    // 'Bob (bob.smith): hi'; the bracket must come early, and hold an
    // account name, or it is part of a plain name such as 'Bob (Away)'.
    if (options.UseDisplayNames) {
      const std::size_t b = s.find(u'(');
      const std::size_t c = s.find(u"): ");
      if (b != std::u16string::npos && c != std::u16string::npos && b < c && b + 1 <= 30) {
        const std::u16string candidate = Trim(std::u16string_view(s).substr(b + 1, c - b - 1));
        if (IsAvatarName(candidate)) {
          avatarName = candidate;
          displayName = Trim(std::u16string_view(s).substr(0, b));
          s.erase(0, c + 2);
        }
      }
    }
    if (displayName.empty()) {
      const std::size_t b = s.find(u':');
      if (b != std::u16string::npos && b + 1 <= 64) {
        avatarName = Trim(std::u16string_view(s).substr(0, b));
        displayName = avatarName;
        s.erase(0, b + 1);
      }
    }
    if (!avatarName.empty())
      s = PickTranslation(Trim(s), options.Translate);
  }
  if (s.empty())
    return {};
  s = HandleDictionaryCommand(s);
  if (s.empty() || IsNameMuted(LowerAscii(Trim(avatarName))))
    return {};
  std::u16string name = displayName;
  if (options.ReadName == 1) {
    name = avatarName;
    const std::size_t dot = name.find(u'.');
    if (dot != std::u16string::npos)
      name[dot] = u' ';
  }
  return ApplyDictionary(name + u" : " + s);
}
