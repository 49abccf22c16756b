#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "Lib/uRegEx.h"
#include "text/uTransTemplate.h"

// Anyone in the chat can teach a rule, so a run of the dictionary is fenced
// in: no rule may stall the program or make a text grow without end.

// Engine steps per start position; ordinary rules need a few hundred at most
// on a chat line.
inline constexpr std::uint32_t RuleMatchLimit = 10000;
// Time one rule may take on a chat line (1,024 code units; in proportion on
// a longer text), and one whole run over all the rules.
inline constexpr std::chrono::milliseconds RuleTimeBudget{3};
inline constexpr std::chrono::milliseconds DictionaryTimeBudget{80};
// A text may grow to this many code units (or its own length, if longer).
inline constexpr std::size_t MaxDictionaryText = 64 * 1024;
// Backtracking memory of one search; a pattern full of groups would
// otherwise take gigabytes.
inline constexpr std::uint32_t RuleHeapLimitKiB = 2048;

// The limits every search of a pattern a participant controls, or over a
// participant's line, runs with: a search that runs into them counts as no
// match.
TMatchOptions GuardedMatchOptions(std::chrono::steady_clock::time_point deadline);

// One rule ready to run: its pattern compiled, its template parsed.
class TCompiledRule {
public:
  // Throws ERegExError when src does not compile.
  TCompiledRule(std::u16string_view src, std::u16string_view dst, bool jit);

  enum class TResult { Unchanged, Replaced, GaveUp, TooLong };
  // Replaces every match in text from left to right without overlaps; text
  // must be valid UTF-16. GaveUp (a limit or the deadline was reached: the
  // rule counts as not matching) and TooLong (the result would be longer than
  // maxLength) leave text as it was.
  TResult Apply(std::u16string &text, std::size_t maxLength,
                std::chrono::steady_clock::time_point deadline) const;
  // Texts longer than this are searched in several engine calls.
  std::size_t SearchWindow() const { return FRegEx.SearchWindow(); }

private:
  TRegEx FRegEx;
  TReplaceTemplate FTemplate;
};

// One pass of a text through rules in order, within the guards above.
class TRuleRun {
public:
  explicit TRuleRun(std::u16string_view text);

  // Applies one rule; false once the run is over (out of time, or the text
  // would grow too long: it stays as it was before this rule).
  bool Apply(const TCompiledRule &rule);
  std::u16string &Text() { return FText; }

private:
  std::u16string FText;
  std::size_t FMaxLength;
  std::chrono::steady_clock::time_point FDeadline;
  int FRulesSinceClock = 0;
};
