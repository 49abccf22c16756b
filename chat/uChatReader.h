#pragma once

#include <cstdint>
#include <string>

// Turns one change of the watched chat log into the text to speak, and does
// the work due each time reading aloud starts.

// Reads the bytes of fileName from position up to end (the size the folder
// watch recorded for this change; -1 reads to the end of the file), decodes
// them by encodingIndex (0 UTF-8, 1 the ANSI code page or the encoding of a
// byte-order mark at position), splits them into lines and runs the chat
// line filter of filterMode over them. Empty for a file in BlackFiles.txt
// (not opened) and when nothing is left. Throws std::runtime_error naming
// the file when it cannot be opened or read, and the filter's errors.
std::u16string ReadAppendedText(const std::u16string &fileName, std::int64_t position,
                                std::int32_t encodingIndex, std::int32_t filterMode,
                                const std::u16string &pattern, std::int64_t end = -1);

// Loads the name and file lists, learns whether the viewer writes display
// names, and speaks the lists' warning for the user's avatar. Returns the
// spoken warning's log line for the main window, or empty.
std::u16string PrepareChatReading(std::int32_t device, std::int32_t volume, std::int32_t rate,
                                  std::int32_t viewer, const std::u16string &avatar);
