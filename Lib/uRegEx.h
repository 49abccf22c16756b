#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// Regular expressions over the program's UTF-16 texts, on the 16-bit PCRE2
// library. Every pattern is compiled in UTF mode with the newline convention
// that accepts every line break, and every match forbids the empty match; no
// other option is ever set, so the users' patterns mean what PCRE says.

struct pcre2_real_code_16;
struct pcre2_real_match_data_16;
struct pcre2_real_match_context_16;

// A pattern the engine rejects (the empty pattern included).
class ERegExError : public std::runtime_error {
public:
  ERegExError(std::u16string pattern, std::u16string message, std::size_t offset);
  const std::u16string &Pattern() const { return FPattern; }
  // The engine's own message, such as "missing closing parenthesis".
  const std::u16string &Message() const { return FMessage; }
  // Where in the pattern the engine stopped, in code units.
  std::size_t Offset() const { return FOffset; }

private:
  std::u16string FPattern;
  std::u16string FMessage;
  std::size_t FOffset;
};

// A search the engine gave up: a limit or the deadline was reached, or the
// subject is not valid UTF-16.
class ERegExMatchError : public std::runtime_error {
public:
  ERegExMatchError(int code, const std::string &message);
  // The engine's error code; DeadlinePassed when the deadline was reached.
  int Code() const { return FCode; }
  // True for the match, depth, heap and JIT stack limits and the deadline.
  bool IsLimit() const;
  static constexpr int DeadlinePassed = -1000;

private:
  int FCode;
};

// How far one search may go. The defaults are the library's own limits and
// no deadline.
struct TMatchOptions {
  // Engine steps and backtracking depth allowed per start position; 0 keeps
  // the library's default.
  std::uint32_t MatchLimit = 0;
  std::uint32_t DepthLimit = 0;
  // Memory for backtracking in KiB (the interpreter's; JIT has its own
  // stack); 0 keeps the library's default of gigabytes.
  std::uint32_t HeapLimitKiB = 0;
  // When set, the engine is run over a few start positions at a time, so
  // that a long subject cannot keep one engine call busy, and the search
  // gives up between two such runs, and before a search that goes on after
  // an earlier match, once this moment has passed.
  std::chrono::steady_clock::time_point Deadline = std::chrono::steady_clock::time_point::max();
  // The caller vouches that the subject is valid UTF-16 and the engine may
  // skip its check.
  bool SubjectValid = false;
};

// The groups of the last successful match. Offsets are 0-based code units.
class TRegExMatch {
public:
  std::u16string_view Subject() const { return FSubject; }
  // Groups of the pattern, group 0 (the whole match) not counted.
  int GroupCount() const { return static_cast<int>(FOffsets.size() / 2) - 1; }
  // False for a group the pattern does not have and one that matched nothing.
  bool Matched(int group) const;
  std::size_t Start(int group) const { return FOffsets[2 * static_cast<std::size_t>(group)]; }
  std::size_t End(int group) const { return FOffsets[2 * static_cast<std::size_t>(group) + 1]; }
  // The group's text; empty when Matched is false.
  std::u16string_view Group(int group) const;

private:
  friend class TRegEx;
  std::u16string_view FSubject;
  std::vector<std::size_t> FOffsets;
};

// The text with every lone surrogate replaced by U+FFFD: valid UTF-16, which
// the engine requires of a subject.
std::u16string ValidUtf16(std::u16string_view text);

// One compiled pattern. An object is used by one thread at a time (it keeps
// its match buffers); distinct objects may be used on distinct threads.
class TRegEx {
public:
  // Throws ERegExError. With jit the pattern is also compiled to machine
  // code where the platform allows it, which pays off for patterns that are
  // kept and used often.
  explicit TRegEx(std::u16string_view pattern, bool jit = false);
  ~TRegEx();
  TRegEx(TRegEx &&other) noexcept;
  TRegEx &operator=(TRegEx &&other) noexcept;
  TRegEx(const TRegEx &) = delete;
  TRegEx &operator=(const TRegEx &) = delete;

  const std::u16string &Pattern() const { return FPattern; }
  int GroupCount() const { return FGroupCount; }
  bool IsJitCompiled() const { return FJit; }
  // With a deadline, the start positions one engine call tries at most; a
  // subject no longer than this is searched in one call, without a look at
  // the clock.
  std::size_t SearchWindow() const;
  // The numbers of the groups called name, lowest first (more than one only
  // when the pattern allows duplicate names); empty when there is none.
  std::vector<int> GroupNumbers(std::u16string_view name) const;

  // Finds the first match that starts at or after start. Throws
  // ERegExMatchError when the engine gives up.
  bool Match(std::u16string_view subject, std::size_t start, TRegExMatch &match,
             const TMatchOptions &options = {}) const;
  bool IsMatch(std::u16string_view subject, const TMatchOptions &options = {}) const;

  // Replaces every match from left to right, without overlaps, by what
  // replacement appends to its second argument.
  using TReplacer = std::function<void(const TRegExMatch &, std::u16string &)>;
  std::u16string Replace(std::u16string_view subject, const TReplacer &replacement,
                         const TMatchOptions &options = {}) const;
  // Replaces every match by a fixed text.
  std::u16string Replace(std::u16string_view subject, std::u16string_view text,
                         const TMatchOptions &options = {}) const;

private:
  // Throws ERegExMatchError (DeadlinePassed) once deadline has passed.
  void ThrowIfLate(std::chrono::steady_clock::time_point deadline) const;
  int RunEngine(std::u16string_view subject, std::size_t start, std::size_t lastStart,
                std::uint32_t flags) const;

  std::u16string FPattern;
  pcre2_real_code_16 *FCode = nullptr;
  pcre2_real_match_data_16 *FMatchData = nullptr;
  pcre2_real_match_context_16 *FContext = nullptr;
  int FGroupCount = 0;
  bool FJit = false;
  bool FAnchored = false;
};
