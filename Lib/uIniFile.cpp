#include "Lib/uIniFile.h"

#include <filesystem>
#include <vector>

#include "Lib/uFileUtils.h"
#include "Lib/uStrUtils.h"

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// The file as UTF-8 lines, each kept with its own line break so that lines we
// do not touch are written back exactly.
struct TIniDocument {
  std::string bom;
  std::string text;
  struct TLine {
    size_t begin = 0, end = 0, next = 0; // content [begin, end), break [end, next)
  };
  std::vector<TLine> lines;

  std::string_view Content(size_t i) const {
    return std::string_view(text).substr(lines[i].begin, lines[i].end - lines[i].begin);
  }
  std::string_view Break(size_t i) const {
    return std::string_view(text).substr(lines[i].end, lines[i].next - lines[i].end);
  }
};

TIniDocument ParseDocument(std::string bytes) {
  TIniDocument doc;
  const std::string_view view(bytes);
  if (view.starts_with("\xFF\xFE") || view.starts_with("\xFE\xFF")) {
    doc.bom = kUtf8Bom;
    doc.text = Utf16ToUtf8(DecodeText(view));
  } else if (view.starts_with(kUtf8Bom)) {
    doc.bom = kUtf8Bom;
    doc.text = bytes.substr(kUtf8Bom.size());
  } else {
    doc.text = std::move(bytes);
  }
  const std::string &t = doc.text;
  size_t pos = 0;
  while (pos < t.size()) {
    TIniDocument::TLine line;
    line.begin = pos;
    while (pos < t.size() && t[pos] != '\r' && t[pos] != '\n')
      ++pos;
    line.end = pos;
    if (pos < t.size() && t[pos] == '\r')
      ++pos;
    if (pos < t.size() && t[pos] == '\n')
      ++pos;
    line.next = pos;
    doc.lines.push_back(line);
  }
  return doc;
}

std::string ReadForReading(const std::u16string &fileName) {
  try {
    return FileExists(fileName) ? ReadFileBytes(fileName) : std::string();
  } catch (const std::exception &) {
    return std::string();
  }
}

// Reading for a write must not mistake an unreadable file for an empty one:
// that would replace it.
std::string ReadForWriting(const std::u16string &fileName) {
  std::error_code ec;
  const auto status = std::filesystem::status(ToPath(fileName), ec);
  if (status.type() == std::filesystem::file_type::not_found)
    return std::string();
  return ReadFileBytes(fileName);
}

enum class TLineKind { Other, Section, Key };

struct TParsedLine {
  TLineKind Kind = TLineKind::Other;
  std::u16string Name;  // section or key
  std::u16string Value; // trimmed, quotes still on
};

TParsedLine ParseLine(std::string_view content) {
  TParsedLine result;
  const std::u16string line = Trim(Utf8ToUtf16(content));
  if (line.empty() || line[0] == u';')
    return result;
  if (line[0] == u'[') {
    const size_t close = line.rfind(u']');
    if (close == std::u16string::npos)
      return result;
    result.Kind = TLineKind::Section;
    result.Name = Trim(std::u16string_view(line).substr(1, close - 1));
    return result;
  }
  const size_t eq = line.find(u'=');
  if (eq == std::u16string::npos || eq == 0)
    return result;
  result.Kind = TLineKind::Key;
  result.Name = TrimRight(std::u16string_view(line).substr(0, eq));
  result.Value = TrimLeft(std::u16string_view(line).substr(eq + 1));
  return result;
}

struct TLookup {
  std::optional<size_t> KeyLine;     // the line holding the key
  std::optional<size_t> InsertAfter; // last key line (or header) of the first matching section
  std::u16string Value;
};

TLookup Find(const TIniDocument &doc, std::u16string_view section, std::u16string_view key) {
  TLookup found;
  const std::u16string wantedSection = Trim(section), wantedKey = Trim(key);
  bool inSection = false, firstSection = false, seenSection = false;
  for (size_t i = 0; i < doc.lines.size(); ++i) {
    const auto line = ParseLine(doc.Content(i));
    if (line.Kind == TLineKind::Section) {
      inSection = SameTextAscii(line.Name, wantedSection);
      firstSection = inSection && !seenSection;
      seenSection = seenSection || inSection;
      if (firstSection)
        found.InsertAfter = i;
    } else if (line.Kind == TLineKind::Key && inSection) {
      if (firstSection)
        found.InsertAfter = i;
      if (SameTextAscii(line.Name, wantedKey)) {
        found.KeyLine = i;
        found.Value = line.Value;
        return found;
      }
    }
  }
  return found;
}

std::u16string Unquote(const std::u16string &value) {
  if (value.size() >= 2 && value.front() == value.back() &&
      (value.front() == u'"' || value.front() == u'\''))
    return value.substr(1, value.size() - 2);
  return value;
}

std::u16string SingleLine(std::u16string_view text) {
  std::u16string out(text);
  for (auto &c : out)
    if (c == u'\r' || c == u'\n' || c == 0)
      c = u' ';
  return out;
}

std::u16string EncodeValue(std::u16string_view value) {
  std::u16string out = SingleLine(value);
  const bool quote =
      !out.empty() && (out.front() <= 32 || out.back() <= 32 || Unquote(out).size() != out.size());
  return quote ? u"\"" + out + u"\"" : out;
}

} // namespace

std::optional<std::int32_t> ParseIniInteger(std::u16string_view text) {
  const std::u16string trimmed = Trim(text);
  std::u16string_view s(trimmed);
  bool negative = false;
  if (!s.empty() && (s[0] == u'+' || s[0] == u'-')) {
    negative = s[0] == u'-';
    s.remove_prefix(1);
  }
  unsigned base = 10;
  if (s.starts_with(u"$")) {
    base = 16;
    s.remove_prefix(1);
  } else if (s.starts_with(u"0x") || s.starts_with(u"0X")) {
    base = 16;
    s.remove_prefix(2);
  }
  if (s.empty())
    return std::nullopt;
  std::uint64_t value = 0;
  for (const char16_t c : s) {
    unsigned digit;
    if (c >= u'0' && c <= u'9')
      digit = c - u'0';
    else if (base == 16 && c >= u'a' && c <= u'f')
      digit = c - u'a' + 10;
    else if (base == 16 && c >= u'A' && c <= u'F')
      digit = c - u'A' + 10;
    else
      return std::nullopt;
    value = value * base + digit;
    if (value > 0xFFFFFFFFu)
      return std::nullopt;
  }
  if (base == 16) {
    // Hexadecimal is a 32-bit pattern: $FFFFFFFF is -1.
    const auto bits = static_cast<std::uint32_t>(value);
    const auto pattern = static_cast<std::int32_t>(bits);
    return negative ? static_cast<std::int32_t>(0u - bits) : pattern;
  }
  if (negative ? value > 0x80000000u : value > 0x7FFFFFFFu)
    return std::nullopt;
  const auto signedValue = static_cast<std::int64_t>(value);
  return static_cast<std::int32_t>(negative ? -signedValue : signedValue);
}

std::u16string TIniFile::ReadString(std::u16string_view section, std::u16string_view key,
                                    const std::u16string &defaultValue) const {
  const auto doc = ParseDocument(ReadForReading(fileName_));
  const auto found = Find(doc, section, key);
  if (!found.KeyLine)
    return defaultValue;
  std::u16string value = Unquote(found.Value);
  if (value.size() > MaxValueLength) {
    size_t cut = MaxValueLength;
    // Do not leave half of a surrogate pair behind.
    if (value[cut - 1] >= 0xD800 && value[cut - 1] <= 0xDBFF)
      --cut;
    value.resize(cut);
  }
  return value;
}

std::int32_t TIniFile::ReadInteger(std::u16string_view section, std::u16string_view key,
                                   std::int32_t defaultValue) const {
  const auto value = ParseIniInteger(ReadString(section, key, std::u16string()));
  return value.value_or(defaultValue);
}

bool TIniFile::ReadBool(std::u16string_view section, std::u16string_view key,
                        bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void TIniFile::WriteString(std::u16string_view section, std::u16string_view key,
                           std::u16string_view value) const {
  const auto doc = ParseDocument(ReadForWriting(fileName_));
  const auto found = Find(doc, section, key);
  std::string lineBreak = "\r\n";
  for (size_t i = 0; i < doc.lines.size(); ++i)
    if (!doc.Break(i).empty()) {
      lineBreak = doc.Break(i);
      break;
    }
  const std::string keyName = Utf16ToUtf8(SingleLine(Trim(key)));
  const std::string encoded = Utf16ToUtf8(EncodeValue(value));

  std::string out = doc.bom;
  out.reserve(doc.text.size() + keyName.size() + encoded.size() + 64);
  auto appendLine = [&](size_t i) {
    out += doc.Content(i);
    out += doc.Break(i).empty() ? std::string_view(lineBreak) : doc.Break(i);
  };
  if (found.KeyLine) {
    const size_t k = *found.KeyLine;
    out.append(doc.text, 0, doc.lines[k].begin);
    // Keep the file's own spelling of the key and what precedes it.
    const std::string_view content = doc.Content(k);
    out += content.substr(0, content.find('=') + 1);
    out += encoded;
    out += doc.Break(k);
    out.append(doc.text, doc.lines[k].next);
  } else if (found.InsertAfter) {
    const size_t after = *found.InsertAfter;
    out.append(doc.text, 0, doc.lines[after].begin);
    appendLine(after);
    out += keyName + "=" + encoded + lineBreak;
    out.append(doc.text, doc.lines[after].next);
  } else {
    out += doc.text;
    if (!doc.lines.empty()) {
      if (doc.Break(doc.lines.size() - 1).empty())
        out += lineBreak;
      if (!Trim(Utf8ToUtf16(doc.Content(doc.lines.size() - 1))).empty())
        out += lineBreak;
    }
    out += "[" + Utf16ToUtf8(SingleLine(Trim(section))) + "]" + lineBreak;
    out += keyName + "=" + encoded + lineBreak;
  }
  WriteFileAtomic(fileName_, out);
}

void TIniFile::WriteInteger(std::u16string_view section, std::u16string_view key,
                            std::int32_t value) const {
  WriteString(section, key, IntToStr(value));
}

void TIniFile::WriteBool(std::u16string_view section, std::u16string_view key, bool value) const {
  WriteString(section, key, value ? u"1" : u"0");
}
