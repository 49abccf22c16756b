#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// The program's text conventions, written once: texts are UTF-16, to trim is
// to remove code units 0..32 at both ends, lower-casing touches ASCII A-Z only.

std::u16string Trim(std::u16string_view text);
std::u16string TrimLeft(std::u16string_view text);
std::u16string TrimRight(std::u16string_view text);
std::u16string LowerAscii(std::u16string_view text);
std::u16string UpperAscii(std::u16string_view text);
bool SameTextAscii(std::u16string_view a, std::u16string_view b);

// UTF-8 <-> UTF-16. Invalid input (broken sequences, lone surrogates) becomes
// U+FFFD; never throws.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);

// ASCII/UTF-8 literal to UTF-16, for short program texts.
inline std::u16string U16(std::string_view utf8) { return Utf8ToUtf16(utf8); }

// File-system paths from and to the program's UTF-16 texts.
std::filesystem::path ToPath(std::u16string_view path);
std::u16string FromPath(const std::filesystem::path &path);

// Splits at CR LF, CR or LF; a final line break does not add an empty line.
std::vector<std::u16string> SplitLines(std::u16string_view text);

// Joins with CR LF, the program's line break for multi-line results.
std::u16string JoinLines(const std::vector<std::u16string> &lines);

// Drops every run from "<" to the next ">", both included; an unclosed "<"
// drops the rest, a ">" without "<" stays.
std::u16string RemoveTags(std::u16string_view text);

// Decimal text of an integer.
std::u16string IntToStr(long long value);
