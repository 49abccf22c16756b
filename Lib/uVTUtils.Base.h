#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Hexadecimal text of bytes: two upper-case digits a byte, no separators.
std::u16string BytesToHex(const std::uint8_t *bytes, size_t count);

// Walks the text in steps of two characters (the last step of an odd-length
// text takes one) and appends each step's byte to sink. Returns false at the
// first step that is not hexadecimal; the bytes appended before stay.
bool HexToBytes(const std::u16string &text, std::vector<std::uint8_t> &sink);
