#include <chrono>
#include <string>

#include <gtest/gtest.h>

#include "Lib/uStrUtils.h"
#include "tests/text/DictionaryFixture.h"
#include "text/uTransList.h"
#include "text/uTransRules.h"

namespace {

class DictionaryApplyTest : public DictionaryFixture {};
class DictionaryGuardTest : public DictionaryFixture {};

std::chrono::milliseconds TimeOf(const std::function<void()> &work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                               start);
}

} // namespace

TEST_F(DictionaryApplyTest, RulesRunInOrderOnTheOutputOfTheRuleBefore) {
  EXPECT_EQ(ApplyDictionary(u"ab"), u"ab");
  SetRules({{u"ab", u"x"}, {u"x", u"y"}});
  EXPECT_EQ(ApplyDictionary(u"ab"), u"y");
  SetRules({{u"x", u"y"}, {u"ab", u"x"}});
  EXPECT_EQ(ApplyDictionary(u"ab"), u"x");
  SetRules({{u"lol", u"laugh"}});
  EXPECT_EQ(ApplyDictionary(u"LOL lol"), u"LOL laugh");
  SetRules({{u".", u"[$&]"}});
  EXPECT_EQ(ApplyDictionary(u"猫😀"), u"[猫][😀]");
  EXPECT_EQ(ApplyDictionary(u"a\r\nb"), u"[a]\r\n[b]");
  SetRules({{u"(\\w+)@(\\w+)", u"$2 at \\1"}, {u"w(?=ww)", u"double-u "}});
  EXPECT_EQ(ApplyDictionary(u"bob@home www"), u"home at bob double-u ww");
}

TEST_F(DictionaryApplyTest, TeachingAndForgettingTakeEffectAtOnce) {
  StudyWord(u"cat", u"kitty");
  EXPECT_EQ(ApplyDictionary(u"cat"), u"kitty");
  StudyWord(u"cat", u"tiger");
  EXPECT_EQ(ApplyDictionary(u"cat"), u"tiger");
  StudyWord(u"dog", u"cat");
  EXPECT_EQ(ApplyDictionary(u"dog cat"), u"cat tiger");
  ForgetWord(u"cat");
  EXPECT_EQ(ApplyDictionary(u"dog cat"), u"cat cat");
  // Rules changed behind the dictionary's back count as well.
  Dictionary[0].dst = u"wolf";
  EXPECT_EQ(ApplyDictionary(u"dog"), u"wolf");
  LoadDictionary();
  EXPECT_EQ(ApplyDictionary(u"dog"), u"cat");
}

TEST_F(DictionaryGuardTest, ARuleThatDoesNotCompileIsSkippedAndReportedOnce) {
  StudyWord(u"a", u"1");
  EXPECT_EQ(HandleDictionaryCommand(u"study(a(=x)"), u"I studyed a( as x.");
  EXPECT_EQ(HandleDictionaryCommand(u"study(=x)"), u"I studyed  as x.");
  StudyWord(u"b", u"2");
  EXPECT_EQ(ApplyDictionary(u"a b"), u"1 2");
  EXPECT_EQ(ApplyDictionary(u"b a"), u"2 1");
  const std::vector<TSkippedRule> skipped = TakeSkippedDictionaryRules();
  ASSERT_EQ(skipped.size(), 2u);
  EXPECT_EQ(skipped[0].src, u"a(");
  EXPECT_EQ(skipped[0].dst, u"x");
  EXPECT_FALSE(skipped[0].Message.empty());
  EXPECT_EQ(skipped[1].src, u"");
  EXPECT_TRUE(TakeSkippedDictionaryRules().empty());
  // The rule stays in the file as typed, so it can be forgotten.
  EXPECT_NE(ReadProgramFile("Dictionary.txt").find("\r\na(\tx\r\n"), std::string::npos);
  EXPECT_EQ(HandleDictionaryCommand(u"forget(a()"), u"I forget a(.");
  EXPECT_EQ(FindDictionaryEntry(u"a("), -1);
  EXPECT_EQ(ReadProgramFile("Dictionary.txt").find("a(\t"), std::string::npos);
  // Taught again, it is reported again.
  StudyWord(u"a(", u"y");
  ApplyDictionary(u"a");
  ASSERT_EQ(TakeSkippedDictionaryRules().size(), 1u);
}

TEST_F(DictionaryGuardTest, CatastrophicBacktrackingCountsAsNoMatch) {
  SetRules({{u"(a+)+$", u"X"}, {u"(?:a|a){1,16}$", u"Y"}, {u"(a|aa)+b$", u"Z"}, {u"!", u"?"}});
  const std::u16string line = std::u16string(1023, u'a') + u"!";
  std::u16string result;
  EXPECT_LT(TimeOf([&] { result = ApplyDictionary(line); }), std::chrono::milliseconds(100));
  EXPECT_EQ(result, std::u16string(1023, u'a') + u"?");
  // Each bad rule alone stays within a few milliseconds, also on a line
  // where every start position stays just under the match limit.
  std::u16string runs;
  while (runs.size() < 1024)
    runs += u"aaaaaaaaaaaa!";
  for (const TTransList &rule : TTransLists(Dictionary)) {
    SetRules({rule});
    ApplyDictionary(u"warm up");
    for (const std::u16string &text : {line, runs})
      EXPECT_LT(TimeOf([&] { ApplyDictionary(text); }), std::chrono::milliseconds(10))
          << Utf16ToUtf8(rule.src);
  }
  // The same rules still match where they can.
  SetRules({{u"(a+)+$", u"X"}});
  EXPECT_EQ(ApplyDictionary(u"baaa"), u"bX");
}

TEST_F(DictionaryGuardTest, NoTextBlocksForLong) {
  // Every start position costs less than the match limit, but there are
  // sixty-four thousand of them, for each of forty rules: one engine call
  // over the text takes a quarter of a second.
  SetRules(TTransLists(40, {u"(a+)+$", u"X"}));
  std::u16string text;
  while (text.size() < 64 * 1024)
    text += u"aaaaaaaaaaaa!";
  ApplyDictionary(u"compile first");
  EXPECT_LT(TimeOf([&] { ApplyDictionary(text); }), std::chrono::milliseconds(250));
}

TEST_F(DictionaryGuardTest, ManyCheapMatchesStillKeepTheTimeBudget) {
  // Every match is found at once, but each costs thousands of steps: without
  // a look at the clock between matches a long text takes seconds.
  SetRules({{u"(?:x|x){0,11}y|x", u"z"}});
  ApplyDictionary(u"compile first");
  const std::u16string text(60000, u'x');
  EXPECT_LT(TimeOf([&] { ApplyDictionary(text); }), std::chrono::milliseconds(250));
}

TEST_F(DictionaryGuardTest, APatternFullOfGroupsCannotTakeGigabytes) {
  // The interpreter keeps every group in each backtracking frame; without a
  // memory limit this rule takes hundreds of megabytes and seconds a text.
  std::u16string groups;
  for (int i = 0; i < 5000; ++i)
    groups += u"()";
  SetRules({{u"(*NO_JIT)" + groups + u"(?:.|x)*(?!)", u"z"}});
  ApplyDictionary(u"compile first");
  std::u16string text;
  while (text.size() < 8000)
    text += u"an ordinary chat line ";
  std::u16string result;
  EXPECT_LT(TimeOf([&] { result = ApplyDictionary(text); }), std::chrono::milliseconds(250));
  EXPECT_EQ(result, text);
}

TEST_F(DictionaryGuardTest, ChainedRulesStopGrowingAt64KiCodeUnits) {
  // a -> bb, b -> cc, ... doubles the text at every rule.
  TTransLists rules;
  const std::u16string letters = u"abcdefghijklmnopqrstuvwxyzABCDEF";
  for (std::size_t i = 0; i + 1 < letters.size(); ++i)
    rules.push_back({letters.substr(i, 1), letters.substr(i + 1, 1) + letters.substr(i + 1, 1)});
  SetRules(rules);
  const std::u16string result = ApplyDictionary(u"a");
  EXPECT_EQ(result.size(), MaxDictionaryText);
  EXPECT_EQ(result, std::u16string(MaxDictionaryText, letters[16]));
  // One rule that would blow up a long text at once is stopped as well.
  SetRules({{u".", u"$_$_$_$_"}});
  EXPECT_EQ(ApplyDictionary(std::u16string(1000, u'x')), std::u16string(1000, u'x'));
  // A text longer than the bound may still be rewritten without growing.
  SetRules({{u"x", u"y"}});
  const std::u16string dots(70000, u'.');
  EXPECT_EQ(ApplyDictionary(dots + u"xx"), dots + u"yy");
}
