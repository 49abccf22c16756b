#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// An INI file (sections in brackets, lines key=value) read and written one
// key at a time. Section and key names match without regard to ASCII case.
// Every call opens the file afresh and holds nothing between calls.
//
// Reading never fails: a missing, unreadable or garbled file reads as empty.
// Text may be UTF-8 (with or without byte-order mark) or UTF-16 with a
// byte-order mark. Writing rewrites the one key in place and keeps every other
// line byte for byte; the file is replaced atomically and stays UTF-8 (a
// UTF-16 file becomes UTF-8 with a byte-order mark). A failed write throws
// std::runtime_error naming the file.
//
// Values are single lines: line breaks in a written value become blanks. A
// value with blanks at either end, or wrapped in matching quotes, is written
// inside double quotes, which reading removes again, so it reads back as it
// was written.
class TIniFile {
public:
  // Texts are read up to this many UTF-16 code units; longer values are
  // stored whole and cut on reading.
  static constexpr size_t MaxValueLength = 2047;

  explicit TIniFile(std::u16string fileName) : fileName_(std::move(fileName)) {}

  const std::u16string &FileName() const { return fileName_; }

  std::u16string ReadString(std::u16string_view section, std::u16string_view key,
                            const std::u16string &defaultValue) const;
  // Decimal, "$" or "0x" hexadecimal; anything else gives the default.
  std::int32_t ReadInteger(std::u16string_view section, std::u16string_view key,
                           std::int32_t defaultValue) const;
  // Any non-zero integer is true.
  bool ReadBool(std::u16string_view section, std::u16string_view key, bool defaultValue) const;

  void WriteString(std::u16string_view section, std::u16string_view key,
                   std::u16string_view value) const;
  void WriteInteger(std::u16string_view section, std::u16string_view key, std::int32_t value) const;
  // Written as "1" or "0".
  void WriteBool(std::u16string_view section, std::u16string_view key, bool value) const;

private:
  std::u16string fileName_;
};

// An integer as the INI file holds it: optional sign, then decimal digits, or
// "$" / "0x" and hexadecimal digits (up to 32 bits, read as two's complement).
// nullopt for anything else, and for decimal values outside 32 bits.
std::optional<std::int32_t> ParseIniInteger(std::u16string_view text);
