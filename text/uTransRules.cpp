#include "text/uTransRules.h"

#include <algorithm>
#include <utility>

namespace {

constexpr int ClockEveryRules = 8;

} // namespace

TCompiledRule::TCompiledRule(std::u16string_view src, std::u16string_view dst, bool jit)
    : FRegEx(src, jit), FTemplate(dst, FRegEx) {}

TMatchOptions GuardedMatchOptions(std::chrono::steady_clock::time_point deadline) {
  TMatchOptions options;
  options.MatchLimit = RuleMatchLimit;
  options.DepthLimit = RuleMatchLimit;
  options.HeapLimitKiB = RuleHeapLimitKiB;
  options.Deadline = deadline;
  return options;
}

TCompiledRule::TResult TCompiledRule::Apply(std::u16string &text, std::size_t maxLength,
                                            std::chrono::steady_clock::time_point deadline) const {
  TMatchOptions options = GuardedMatchOptions(deadline);
  options.SubjectValid = true;
  TRegExMatch match;
  try {
    if (!FRegEx.Match(text, 0, match, options))
      return TResult::Unchanged;
    std::u16string out;
    std::size_t copied = 0;
    do {
      out.append(text, copied, match.Start(0) - copied);
      FTemplate.Expand(match, out, maxLength);
      copied = match.End(0);
      if (out.size() + (text.size() - copied) > maxLength)
        return TResult::TooLong;
    } while (FRegEx.Match(text, copied, match, options));
    out.append(text, copied);
    text = std::move(out);
    return TResult::Replaced;
  } catch (const ERegExMatchError &) {
    return TResult::GaveUp;
  }
}

TRuleRun::TRuleRun(std::u16string_view text)
    : FText(ValidUtf16(text)), FMaxLength(std::max(MaxDictionaryText, text.size())),
      FDeadline(std::chrono::steady_clock::now() + DictionaryTimeBudget) {}

bool TRuleRun::Apply(const TCompiledRule &rule) {
  // A look at the clock costs about as much as a rule on a short line. Such
  // a line is searched in one engine call of bounded cost, so the clock is
  // read only every few rules, and before every rule on a longer text.
  auto deadline = FDeadline;
  const bool windowed = FText.size() > rule.SearchWindow();
  if (windowed || ++FRulesSinceClock >= ClockEveryRules) {
    FRulesSinceClock = 0;
    const auto now = std::chrono::steady_clock::now();
    if (now >= FDeadline)
      return false;
    // A few milliseconds for a rule on a chat line, in proportion on a
    // longer text, and never past the run's own budget.
    if (windowed)
      deadline = std::min<std::chrono::steady_clock::time_point>(
          FDeadline, now + RuleTimeBudget * static_cast<long>(1 + FText.size() / 1024));
  }
  return rule.Apply(FText, FMaxLength, deadline) != TCompiledRule::TResult::TooLong;
}
