#define PCRE2_CODE_UNIT_WIDTH 16
#include "Lib/uRegEx.h"

#include <utility>

#include <pcre2.h>

#include "Lib/uStrUtils.h"

namespace {

// Start positions tried per engine call when a deadline is set: one call
// then costs at most this many times the match limit.
constexpr std::size_t JitWindow = 128;
constexpr std::size_t InterpreterWindow = 16;

PCRE2_SPTR Units(std::u16string_view text) { return reinterpret_cast<PCRE2_SPTR>(text.data()); }

std::u16string ErrorMessage(int code) {
  PCRE2_UCHAR buffer[256];
  const int n = pcre2_get_error_message(code, buffer, 256);
  if (n < 0)
    return u"unknown error " + IntToStr(code);
  return std::u16string(reinterpret_cast<const char16_t *>(buffer), static_cast<std::size_t>(n));
}

std::uint32_t DefaultLimit(std::uint32_t what) {
  std::uint32_t value = 0;
  pcre2_config(what, &value);
  return value;
}

// The machine stack of JIT code, one per thread, grown on demand: the
// library's built-in 32 KiB run out on long subjects.
class TJitStack {
public:
  TJitStack() : FStack(pcre2_jit_stack_create(32 * 1024, 1024 * 1024, nullptr)) {}
  ~TJitStack() { pcre2_jit_stack_free(FStack); }
  TJitStack(const TJitStack &) = delete;
  TJitStack &operator=(const TJitStack &) = delete;
  pcre2_jit_stack *Get() const { return FStack; }

private:
  pcre2_jit_stack *FStack;
};

pcre2_jit_stack *ThreadJitStack() {
  thread_local TJitStack stack;
  return stack.Get();
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

} // namespace

std::u16string ValidUtf16(std::u16string_view text) {
  std::u16string out(text);
  for (std::size_t i = 0; i < out.size(); ++i) {
    if (IsHighSurrogate(out[i]) && i + 1 < out.size() && IsLowSurrogate(out[i + 1]))
      ++i;
    else if (IsHighSurrogate(out[i]) || IsLowSurrogate(out[i]))
      out[i] = u'\uFFFD';
  }
  return out;
}

ERegExError::ERegExError(std::u16string pattern, std::u16string message, std::size_t offset)
    : std::runtime_error("Invalid regular expression \"" + Utf16ToUtf8(pattern) +
                         "\": " + Utf16ToUtf8(message)),
      FPattern(std::move(pattern)), FMessage(std::move(message)), FOffset(offset) {}

ERegExMatchError::ERegExMatchError(int code, const std::string &message)
    : std::runtime_error(message), FCode(code) {}

bool ERegExMatchError::IsLimit() const {
  return FCode == PCRE2_ERROR_MATCHLIMIT || FCode == PCRE2_ERROR_DEPTHLIMIT ||
         FCode == PCRE2_ERROR_HEAPLIMIT || FCode == PCRE2_ERROR_JIT_STACKLIMIT ||
         FCode == DeadlinePassed;
}

bool TRegExMatch::Matched(int group) const {
  return group >= 0 && group <= GroupCount() && Start(group) != PCRE2_UNSET;
}

std::u16string_view TRegExMatch::Group(int group) const {
  if (!Matched(group))
    return {};
  return FSubject.substr(Start(group), End(group) - Start(group));
}

TRegEx::TRegEx(std::u16string_view pattern, bool jit) : FPattern(pattern) {
  if (pattern.empty())
    throw ERegExError(FPattern, u"empty pattern", 0);
  int error = 0;
  PCRE2_SIZE offset = 0;
  pcre2_compile_context *context = pcre2_compile_context_create(nullptr);
  if (!context)
    throw std::bad_alloc();
  pcre2_set_newline(context, PCRE2_NEWLINE_ANY);
  // The offset limit changes no result; the windowed search needs it.
  FCode = pcre2_compile(Units(pattern), pattern.size(), PCRE2_UTF | PCRE2_USE_OFFSET_LIMIT, &error,
                        &offset, context);
  pcre2_compile_context_free(context);
  if (!FCode)
    throw ERegExError(FPattern, ErrorMessage(error), offset);
  std::uint32_t captures = 0;
  pcre2_pattern_info(FCode, PCRE2_INFO_CAPTURECOUNT, &captures);
  FGroupCount = static_cast<int>(captures);
  std::uint32_t allOptions = 0;
  pcre2_pattern_info(FCode, PCRE2_INFO_ALLOPTIONS, &allOptions);
  FAnchored = (allOptions & PCRE2_ANCHORED) != 0;
  FMatchData = pcre2_match_data_create_from_pattern(FCode, nullptr);
  FContext = pcre2_match_context_create(nullptr);
  if (!FMatchData || !FContext) {
    pcre2_match_data_free(FMatchData);
    pcre2_match_context_free(FContext);
    pcre2_code_free(FCode);
    throw std::bad_alloc();
  }
  // Without JIT support the interpreter does the same work, only slower.
  FJit = jit && pcre2_jit_compile(FCode, PCRE2_JIT_COMPLETE) == 0;
}

TRegEx::~TRegEx() {
  pcre2_match_context_free(FContext);
  pcre2_match_data_free(FMatchData);
  pcre2_code_free(FCode);
}

TRegEx::TRegEx(TRegEx &&other) noexcept
    : FPattern(std::move(other.FPattern)), FCode(std::exchange(other.FCode, nullptr)),
      FMatchData(std::exchange(other.FMatchData, nullptr)),
      FContext(std::exchange(other.FContext, nullptr)), FGroupCount(other.FGroupCount),
      FJit(other.FJit), FAnchored(other.FAnchored) {}

TRegEx &TRegEx::operator=(TRegEx &&other) noexcept {
  if (this != &other) {
    std::swap(FPattern, other.FPattern);
    std::swap(FCode, other.FCode);
    std::swap(FMatchData, other.FMatchData);
    std::swap(FContext, other.FContext);
    std::swap(FGroupCount, other.FGroupCount);
    std::swap(FJit, other.FJit);
    std::swap(FAnchored, other.FAnchored);
  }
  return *this;
}

std::vector<int> TRegEx::GroupNumbers(std::u16string_view name) const {
  std::vector<int> numbers;
  std::uint32_t count = 0, entrySize = 0;
  PCRE2_SPTR table = nullptr;
  pcre2_pattern_info(FCode, PCRE2_INFO_NAMECOUNT, &count);
  pcre2_pattern_info(FCode, PCRE2_INFO_NAMEENTRYSIZE, &entrySize);
  pcre2_pattern_info(FCode, PCRE2_INFO_NAMETABLE, &table);
  // Each entry: the group number, then the name ended by a zero.
  for (std::uint32_t i = 0; i < count; ++i) {
    const PCRE2_SPTR entry = table + static_cast<std::size_t>(i) * entrySize;
    const std::u16string_view entryName(reinterpret_cast<const char16_t *>(entry + 1));
    if (entryName == name)
      numbers.push_back(entry[0]);
  }
  return numbers;
}

std::size_t TRegEx::SearchWindow() const {
  // An anchored pattern ("^...", "\G...") tries one start position only, and
  // "\G" must see the caller's start.
  if (FAnchored)
    return std::u16string_view::npos;
  return FJit ? JitWindow : InterpreterWindow;
}

int TRegEx::RunEngine(std::u16string_view subject, std::size_t start, std::size_t lastStart,
                      std::uint32_t flags) const {
  pcre2_set_offset_limit(FContext, lastStart);
  if (FJit)
    pcre2_jit_stack_assign(FContext, nullptr, ThreadJitStack());
  return pcre2_match(FCode, Units(subject), subject.size(), start, flags, FMatchData, FContext);
}

bool TRegEx::Match(std::u16string_view subject, std::size_t start, TRegExMatch &match,
                   const TMatchOptions &options) const {
  static const std::uint32_t defaultMatchLimit = DefaultLimit(PCRE2_CONFIG_MATCHLIMIT);
  static const std::uint32_t defaultDepthLimit = DefaultLimit(PCRE2_CONFIG_DEPTHLIMIT);
  static const std::uint32_t defaultHeapLimit = DefaultLimit(PCRE2_CONFIG_HEAPLIMIT);
  if (start > subject.size())
    return false;
  pcre2_set_match_limit(FContext, options.MatchLimit ? options.MatchLimit : defaultMatchLimit);
  pcre2_set_depth_limit(FContext, options.DepthLimit ? options.DepthLimit : defaultDepthLimit);
  pcre2_set_heap_limit(FContext, options.HeapLimitKiB ? options.HeapLimitKiB : defaultHeapLimit);
  const bool timed = options.Deadline != std::chrono::steady_clock::time_point::max();
  // A search that goes on after a match: each match may have been found
  // within its first window, so the clock would never be read otherwise.
  if (timed && start > 0)
    ThrowIfLate(options.Deadline);
  const std::size_t window = SearchWindow();
  std::uint32_t flags = PCRE2_NOTEMPTY | (options.SubjectValid ? PCRE2_NO_UTF_CHECK : 0);
  for (std::size_t from = start;;) {
    const bool last = !timed || subject.size() - from <= window;
    const int rc = RunEngine(subject, from, last ? PCRE2_UNSET : from + window - 1, flags);
    if (rc > 0) {
      const PCRE2_SIZE *ovector = pcre2_get_ovector_pointer(FMatchData);
      match.FSubject = subject;
      match.FOffsets.assign(ovector, ovector + 2 * (FGroupCount + 1));
      return true;
    }
    if (rc != PCRE2_ERROR_NOMATCH)
      throw ERegExMatchError(rc, "Regular expression \"" + Utf16ToUtf8(FPattern) +
                                     "\": " + Utf16ToUtf8(ErrorMessage(rc)));
    if (last)
      return false;
    ThrowIfLate(options.Deadline);
    // The first call checked the whole subject.
    flags |= PCRE2_NO_UTF_CHECK;
    from += window;
    if (from < subject.size() && IsLowSurrogate(subject[from]) &&
        IsHighSurrogate(subject[from - 1]))
      ++from;
  }
}

void TRegEx::ThrowIfLate(std::chrono::steady_clock::time_point deadline) const {
  if (std::chrono::steady_clock::now() >= deadline)
    throw ERegExMatchError(ERegExMatchError::DeadlinePassed,
                           "Regular expression \"" + Utf16ToUtf8(FPattern) + "\": out of time");
}

bool TRegEx::IsMatch(std::u16string_view subject, const TMatchOptions &options) const {
  TRegExMatch match;
  return Match(subject, 0, match, options);
}

std::u16string TRegEx::Replace(std::u16string_view subject, const TReplacer &replacement,
                               const TMatchOptions &options) const {
  std::u16string out;
  TRegExMatch match;
  TMatchOptions next = options;
  std::size_t copied = 0;
  // No empty match is allowed, so every match moves the search forward.
  while (Match(subject, copied, match, next)) {
    out.append(subject.substr(copied, match.Start(0) - copied));
    replacement(match, out);
    copied = match.End(0);
    next.SubjectValid = true;
  }
  out.append(subject.substr(copied));
  return out;
}

std::u16string TRegEx::Replace(std::u16string_view subject, std::u16string_view text,
                               const TMatchOptions &options) const {
  return Replace(
      subject, [text](const TRegExMatch &, std::u16string &out) { out.append(text); }, options);
}
