#include "Lib/uStrUtils.h"

#include <cstdint>

namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool IsBlank(char16_t c) { return c <= 32; }

void AppendUtf8(std::string &out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

void AppendUtf16(std::u16string &out, char32_t cp) {
  if (cp < 0x10000) {
    out += static_cast<char16_t>(cp);
  } else {
    cp -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (cp >> 10));
    out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
  }
}

} // namespace

std::u16string TrimLeft(std::u16string_view text) {
  size_t begin = 0;
  while (begin < text.size() && IsBlank(text[begin]))
    ++begin;
  return std::u16string(text.substr(begin));
}

std::u16string TrimRight(std::u16string_view text) {
  size_t end = text.size();
  while (end > 0 && IsBlank(text[end - 1]))
    --end;
  return std::u16string(text.substr(0, end));
}

std::u16string Trim(std::u16string_view text) {
  size_t begin = 0, end = text.size();
  while (begin < end && IsBlank(text[begin]))
    ++begin;
  while (end > begin && IsBlank(text[end - 1]))
    --end;
  return std::u16string(text.substr(begin, end - begin));
}

std::u16string LowerAscii(std::u16string_view text) {
  std::u16string out(text);
  for (auto &c : out)
    if (c >= u'A' && c <= u'Z')
      c = static_cast<char16_t>(c + 32);
  return out;
}

std::u16string UpperAscii(std::u16string_view text) {
  std::u16string out(text);
  for (auto &c : out)
    if (c >= u'a' && c <= u'z')
      c = static_cast<char16_t>(c - 32);
  return out;
}

bool SameTextAscii(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() && LowerAscii(a) == LowerAscii(b);
}

std::u16string Utf8ToUtf16(std::string_view utf8) {
  std::u16string out;
  out.reserve(utf8.size());
  const auto *s = reinterpret_cast<const unsigned char *>(utf8.data());
  const size_t n = utf8.size();
  size_t i = 0;
  while (i < n) {
    const unsigned char b = s[i];
    if (b < 0x80) {
      out += static_cast<char16_t>(b);
      ++i;
      continue;
    }
    int extra;
    char32_t cp, min;
    if (b >= 0xC2 && b <= 0xDF) {
      extra = 1, cp = b & 0x1F, min = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
      extra = 2, cp = b & 0x0F, min = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
      extra = 3, cp = b & 0x07, min = 0x10000;
    } else {
      out += kReplacement;
      ++i;
      continue;
    }
    size_t j = 1;
    for (; j <= static_cast<size_t>(extra) && i + j < n && (s[i + j] & 0xC0) == 0x80; ++j)
      cp = (cp << 6) | (s[i + j] & 0x3F);
    if (j != static_cast<size_t>(extra) + 1 || cp < min || cp > 0x10FFFF ||
        (cp >= 0xD800 && cp <= 0xDFFF)) {
      out += kReplacement;
      i += j; // skip the broken sequence as far as it went
      continue;
    }
    AppendUtf16(out, cp);
    i += j;
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
  std::string out;
  out.reserve(utf16.size() * 3 / 2);
  const size_t n = utf16.size();
  for (size_t i = 0; i < n; ++i) {
    char32_t c = utf16[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < n && utf16[i + 1] >= 0xDC00 &&
        utf16[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (utf16[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = kReplacement;
    }
    AppendUtf8(out, c);
  }
  return out;
}

std::filesystem::path ToPath(std::u16string_view path) {
  return std::filesystem::path(Utf16ToUtf8(path));
}

std::u16string FromPath(const std::filesystem::path &path) { return Utf8ToUtf16(path.string()); }

std::vector<std::u16string> SplitLines(std::u16string_view text) {
  std::vector<std::u16string> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\r' || text[i] == u'\n') {
      lines.emplace_back(text.substr(start, i - start));
      if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
        ++i;
      start = i + 1;
    }
  }
  if (start < text.size())
    lines.emplace_back(text.substr(start));
  return lines;
}

std::u16string JoinLines(const std::vector<std::u16string> &lines) {
  std::u16string out;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i > 0)
      out += u"\r\n";
    out += lines[i];
  }
  return out;
}

std::u16string RemoveTags(std::u16string_view text) {
  std::u16string plain;
  plain.reserve(text.size());
  bool copying = true;
  for (const char16_t c : text) {
    if (c == u'<')
      copying = false;
    if (copying)
      plain += c;
    if (c == u'>')
      copying = true;
  }
  return plain;
}

std::u16string IntToStr(long long value) { return Utf8ToUtf16(std::to_string(value)); }
