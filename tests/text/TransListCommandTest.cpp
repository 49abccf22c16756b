#include <string>

#include <gtest/gtest.h>

#include "Lib/uStrUtils.h"
#include "tests/text/DictionaryFixture.h"
#include "text/uMessages.h"
#include "text/uTransList.h"

namespace {

enum class TCommand { None, Study, Forget };

struct TCommandCase {
  const char16_t *Text;
  TCommand Command;
  const char16_t *Word = u"";
  const char16_t *Reading = u"";
};

class TransListCommandTest : public DictionaryFixture,
                             public ::testing::WithParamInterface<TCommandCase> {};

class TransListStudyTest : public DictionaryFixture {};

} // namespace

TEST_P(TransListCommandTest, RecognisesOnlyTheExactCommand) {
  const TCommandCase &c = GetParam();
  // A rule to forget, so that a forget command has something to do.
  SetRules({{c.Word, u"old"}});
  const std::u16string result = HandleDictionaryCommand(c.Text);
  switch (c.Command) {
  case TCommand::None:
    EXPECT_EQ(result, Trim(c.Text));
    EXPECT_EQ(Dictionary.size(), 1u);
    break;
  case TCommand::Study:
    EXPECT_EQ(result, StudiedMessage(c.Word, c.Reading));
    ASSERT_EQ(Dictionary.size(), 1u);
    EXPECT_EQ(Dictionary[0].src, c.Word);
    EXPECT_EQ(Dictionary[0].dst, c.Reading);
    break;
  case TCommand::Forget:
    EXPECT_EQ(result, ForgotMessage(c.Word));
    EXPECT_TRUE(Dictionary.empty());
    break;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Commands, TransListCommandTest,
    ::testing::Values(TCommandCase{u"study(w=wara)", TCommand::Study, u"w", u"wara"},
                      TCommandCase{u"Study(w=wara)", TCommand::Study, u"w", u"wara"},
                      TCommandCase{u"教育（ねこ＝猫）", TCommand::Study, u"ねこ", u"猫"},
                      TCommandCase{u"study(a=b）", TCommand::Study, u"a", u"b"},
                      TCommandCase{u"教育(a＝b)", TCommand::Study, u"a", u"b"},
                      TCommandCase{u" \tstudy(a=b) \r\n", TCommand::Study, u"a", u"b"},
                      TCommandCase{u"study(a=b=c)", TCommand::Study, u"a=b", u"c"},
                      TCommandCase{u"study(a＝b=c)", TCommand::Study, u"a＝b", u"c"},
                      TCommandCase{u"study( a = b )", TCommand::Study, u"a", u"b"},
                      TCommandCase{u"study((x)=(y))", TCommand::Study, u"(x)", u"(y)"},
                      TCommandCase{u"forget(a)", TCommand::Forget, u"a"},
                      TCommandCase{u"Forget( a )", TCommand::Forget, u"a"},
                      TCommandCase{u"忘却（ねこ)", TCommand::Forget, u"ねこ"},
                      TCommandCase{u"STUDY(a=b)", TCommand::None, u"a"},
                      TCommandCase{u"study (a=b)", TCommand::None, u"a"},
                      TCommandCase{u"study(a=b) ok", TCommand::None, u"a"},
                      TCommandCase{u"please study(a=b)", TCommand::None, u"a"},
                      TCommandCase{u"study(ab)", TCommand::None, u"ab"},
                      TCommandCase{u"study(a=\nb)", TCommand::None, u"a"},
                      TCommandCase{u"study(a=b)\r\nhello", TCommand::None, u"a"},
                      TCommandCase{u"FORGET(a)", TCommand::None, u"a"},
                      TCommandCase{u"forget[a]", TCommand::None, u"a"},
                      TCommandCase{u"教育 (a=b)", TCommand::None, u"a"}));

TEST_F(TransListStudyTest, TeachingMovesTheRuleToTheEndAndRewritesTheFile) {
  SetRules({{u"x", u"y"}});
  EXPECT_EQ(HandleDictionaryCommand(u"study(w=wara)"), u"I studyed w as wara.");
  EXPECT_EQ(HandleDictionaryCommand(u"study(z=zed)"), u"I studyed z as zed.");
  EXPECT_TRUE(StudyWord(u"w", u"warai"));
  ASSERT_EQ(Dictionary.size(), 3u);
  EXPECT_EQ(Dictionary[1].src, u"z");
  EXPECT_EQ(Dictionary[2].src, u"w");
  EXPECT_EQ(Dictionary[2].dst, u"warai");
  EXPECT_EQ(ReadProgramFile("Dictionary.txt"),
            "\xEF\xBB\xBF# VELTRA MURMELO Dictionary Format V 1.0\r\n"
            "x\ty\r\nz\tzed\r\nw\twarai\r\n");
}

TEST_F(TransListStudyTest, AnEmptyReadingIsStoredAsDash) {
  HandleDictionaryCommand(u"study(a=)");
  ASSERT_EQ(Dictionary.size(), 1u);
  EXPECT_EQ(Dictionary[0].dst, u"-");
  EXPECT_NE(ReadProgramFile("Dictionary.txt").find("a\t-\r\n"), std::string::npos);
}

TEST_F(TransListStudyTest, AWordWithATabIsNoCommand) {
  // In the file the first TAB ends the word: "a<TAB>b" would come back as
  // the rule a -> "b<TAB>c", which no forget could remove.
  EXPECT_EQ(HandleDictionaryCommand(u"study(a\tb=c)"), u"study(a\tb=c)");
  EXPECT_TRUE(Dictionary.empty());
  EXPECT_FALSE(std::filesystem::exists(ProgramPath("Dictionary.txt")));
}

TEST_F(TransListStudyTest, ForgettingAnUnknownWordConfirmsWithoutWriting) {
  EXPECT_EQ(HandleDictionaryCommand(u"forget(zzz)"), u"I forget zzz.");
  EXPECT_FALSE(ForgetWord(u"zzz"));
  EXPECT_FALSE(std::filesystem::exists(ProgramPath("Dictionary.txt")));
  StudyWord(u"a", u"b");
  EXPECT_TRUE(ForgetWord(u"a"));
  EXPECT_EQ(ReadProgramFile("Dictionary.txt"),
            "\xEF\xBB\xBF# VELTRA MURMELO Dictionary Format V 1.0\r\n");
}

TEST_F(TransListStudyTest, ConfirmationsFollowTheMessageLanguageAndPassTheRules) {
  JapaneseMessages = true;
  EXPECT_EQ(HandleDictionaryCommand(u"教育（ねこ＝猫）"), u"\"ねこ\"を\"猫\"と学習しました。");
  JapaneseMessages = false;
  // The rule just taught rewrites its own confirmation.
  EXPECT_EQ(ApplyDictionary(HandleDictionaryCommand(u"study(studyed=studied)")),
            u"I studied studied as studied.");
}

TEST_F(TransListStudyTest, FindIsExactAndCaseSensitive) {
  SetRules({{u"ab", u"1"}, {u"Ab", u"2"}, {u"ab", u"3"}});
  EXPECT_EQ(FindDictionaryEntry(u"ab"), 0);
  EXPECT_EQ(FindDictionaryEntry(u"Ab"), 1);
  EXPECT_EQ(FindDictionaryEntry(u"a"), -1);
  EXPECT_EQ(FindDictionaryEntry(u"ab "), -1);
}
