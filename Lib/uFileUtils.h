#pragma once

#include <string>
#include <string_view>
#include <vector>

// Reading and writing whole files. Every error throws std::runtime_error
// whose message names the file.

// The whole file as bytes.
std::string ReadFileBytes(const std::u16string &path);

// Decodes a text file's bytes: UTF-8 with or without a byte-order mark, or
// UTF-16 (little or big endian) with a byte-order mark.
std::u16string DecodeText(std::string_view bytes);

// UTF-16 bytes without a byte-order mark; an odd last byte is dropped.
std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian);

// Replaces the file's content atomically: the bytes go to a temporary file in
// the same folder, are flushed to disk and renamed over the file, so a crash
// mid-write leaves the old file or the new one, never a broken one. Creates a
// missing parent folder.
void WriteFileAtomic(const std::u16string &path, std::string_view bytes);

// A text file's lines (any line break), decoded as DecodeText does.
std::vector<std::u16string> ReadTextLines(const std::u16string &path);

// Writes lines as UTF-8 with a byte-order mark, each ended by CR LF,
// atomically.
void WriteUtf8BomLines(const std::u16string &path, const std::vector<std::u16string> &lines);

bool FileExists(const std::u16string &path);
