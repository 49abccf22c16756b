#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The chat line filters: they turn the lines newly read from a chat log into
// the one text to speak (entries joined by CR LF; empty when there is
// nothing to speak). Errors of the custom pattern reach the caller. Used
// only on the main thread, like the dictionary and the name lists they read.

// How the Second Life log filter treats a line: copied from Setup by the
// settings validation.
struct TSecondLifeLogOptions {
  std::int32_t Translate = 0; // 0 none, 1 the translated text, 2 the original text
  std::int32_t ReadName = 0;  // 0 display name, 1 avatar name
  bool UseDisplayNames = false;
};

extern TSecondLifeLogOptions SecondLifeLogOptions;

// "[2024/05/01 21:05] " at the start of a line.
inline constexpr std::u16string_view TimeStampPattern =
    u"^\\[\\d{4}/\\d{2}/\\d{2} \\d{1,2}:\\d{2}\\] ";

// Filter 0: drops the time stamps.
std::u16string FilterTimeStampLines(const std::vector<std::u16string> &lines);
// Filter 1: a Second Life or Firestorm chat log.
std::u16string FilterSecondLifeLog(const std::vector<std::u16string> &lines,
                                   TSecondLifeLogOptions options);
// Filter 2: removes what pattern matches (throws ERegExError when it does
// not compile).
std::u16string FilterCustomRegEx(const std::vector<std::u16string> &lines,
                                 const std::u16string &pattern);

// One entry of a Second Life log, which may span several lines.
std::u16string ParseSecondLifeEntry(const std::u16string &entry,
                                    const TSecondLifeLogOptions &options);
