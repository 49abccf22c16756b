#include <chrono>
#include <string>

#include <gtest/gtest.h>

#include "Lib/uRegEx.h"
#include "Lib/uStrUtils.h"

namespace {

std::u16string Replaced(std::u16string_view pattern, std::u16string_view subject,
                        std::u16string_view with) {
  return TRegEx(pattern).Replace(subject, with);
}

} // namespace

TEST(RegExTest, RejectedPatternsCarryPatternAndMessage) {
  for (const std::u16string pattern : {u"a(", u"a)", u"[a", u"(?<n>a)(?<n>b)", u"\\"}) {
    try {
      TRegEx regex(pattern);
      ADD_FAILURE() << Utf16ToUtf8(pattern) << " compiled";
    } catch (const ERegExError &error) {
      EXPECT_EQ(error.Pattern(), pattern);
      EXPECT_FALSE(error.Message().empty());
      EXPECT_NE(std::string(error.what()).find(Utf16ToUtf8(pattern)), std::string::npos);
    }
  }
  // The empty pattern is refused too: every text would "match" it.
  EXPECT_THROW(TRegEx(u""), ERegExError);
}

TEST(RegExTest, CompilesInUtfModeWithEveryLineBreak) {
  // "." is one character, a surrogate pair included, and never a line break
  // of any kind.
  EXPECT_EQ(Replaced(u"^.$", u"😀", u"x"), u"x");
  EXPECT_EQ(Replaced(u".", u"a\rb\nc\u2028d\u0085e", u""), u"\r\n\u2028\u0085");
  // "$" also matches before a final line break, whatever its kind.
  EXPECT_EQ(Replaced(u"b$", u"ab\r\n", u"X"), u"aX\r\n");
  EXPECT_EQ(Replaced(u"b$", u"ab\u2029", u"X"), u"aX\u2029");
  EXPECT_EQ(Replaced(u"^b", u"a\nb", u"X"), u"a\nb");
  // Case counts.
  EXPECT_EQ(Replaced(u"lol", u"LOL lol", u"x"), u"LOL x");
}

TEST(RegExTest, ReplacesLeftToRightWithoutOverlapsAndNoEmptyMatch) {
  EXPECT_EQ(Replaced(u"aa", u"aaaaa", u"b"), u"bba");
  // "a*" would match the empty text everywhere; only the real runs go.
  EXPECT_EQ(Replaced(u"a*", u"baaacaa", u"-"), u"b-c-");
  EXPECT_EQ(Replaced(u"x?", u"abc", u"-"), u"abc");
  // A lookbehind sees the text before the search position.
  EXPECT_EQ(Replaced(u"(?<=a)b", u"abab", u"X"), u"aXaX");
}

TEST(RegExTest, NumberedAndNamedGroups) {
  const TRegEx regex(u"(?<first>\\w+) (\\w+)?(x)?");
  EXPECT_EQ(regex.GroupCount(), 3);
  EXPECT_EQ(regex.GroupNumbers(u"first"), std::vector<int>{1});
  EXPECT_TRUE(regex.GroupNumbers(u"none").empty());
  TRegExMatch match;
  ASSERT_TRUE(regex.Match(u"-- hello world", 0, match));
  EXPECT_EQ(match.Group(0), u"hello world");
  EXPECT_EQ(match.Group(1), u"hello");
  EXPECT_EQ(match.Start(2), 9u);
  EXPECT_FALSE(match.Matched(3));
  EXPECT_FALSE(match.Matched(4));
  EXPECT_EQ(match.Group(4), u"");
  EXPECT_EQ(TRegEx(u"(?J)(?<n>a)|(?<n>b)").GroupNumbers(u"n"), (std::vector<int>{1, 2}));
}

TEST(RegExTest, LimitsStopCatastrophicBacktracking) {
  TMatchOptions options;
  options.MatchLimit = 10000;
  options.DepthLimit = 10000;
  const std::u16string subject = std::u16string(1024, u'a') + u"!";
  for (const bool jit : {false, true}) {
    const TRegEx regex(u"(a+)+$", jit);
    try {
      regex.IsMatch(subject, options);
      ADD_FAILURE() << "no limit reached";
    } catch (const ERegExMatchError &error) {
      EXPECT_TRUE(error.IsLimit());
    }
  }
}

TEST(RegExTest, DeadlineBoundsALongSubject) {
  // Each start position stays under the match limit, but there are many:
  // one engine call over the whole text would take seconds.
  std::u16string subject;
  while (subject.size() < 64 * 1024)
    subject += u"aaaaaaaaaaaaaa!";
  TMatchOptions options;
  options.MatchLimit = 100000;
  options.Deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(20);
  const auto start = std::chrono::steady_clock::now();
  try {
    TRegEx(u"(a+)+$", true).IsMatch(subject, options);
    ADD_FAILURE() << "the search ended without reaching the deadline";
  } catch (const ERegExMatchError &error) {
    EXPECT_EQ(error.Code(), ERegExMatchError::DeadlinePassed);
    EXPECT_TRUE(error.IsLimit());
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
}

TEST(RegExTest, WindowedSearchFindsWhatAWholeSearchFinds) {
  // Matches straddle the windows of start positions, and surrogate pairs
  // sit at every possible boundary.
  std::u16string subject;
  for (int i = 0; i < 300; ++i)
    subject += (i % 7 == 0) ? u"😀ab" : u"xab😀";
  TMatchOptions windowed;
  windowed.Deadline = std::chrono::steady_clock::now() + std::chrono::hours(1);
  for (const bool jit : {false, true})
    for (const std::u16string pattern : {u"b😀x", u"😀", u"(?<=😀)ab", u"x"}) {
      const TRegEx regex(pattern, jit);
      EXPECT_EQ(regex.Replace(subject, u"#", windowed), regex.Replace(subject, u"#"))
          << Utf16ToUtf8(pattern);
    }
  // "\G" holds only where the search started.
  const std::u16string xs = u"y" + std::u16string(300, u'x');
  EXPECT_EQ(TRegEx(u"\\Gx", true).Replace(xs, u"#", windowed), xs);
}

TEST(RegExTest, InvalidSubjectIsAnErrorUntilMadeValid) {
  const std::u16string broken = u"a\xD800"
                                u"b\xDC00";
  EXPECT_THROW(TRegEx(u"b").IsMatch(broken), ERegExMatchError);
  EXPECT_EQ(ValidUtf16(broken), u"a\uFFFDb\uFFFD");
  EXPECT_EQ(ValidUtf16(u"😀"), u"😀");
  EXPECT_TRUE(TRegEx(u"b").IsMatch(ValidUtf16(broken)));
}
