#include <chrono>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "Lib/uRegEx.h"
#include "Lib/uStrUtils.h"
#include "chat/uChatFilter.h"
#include "chat/uNameLists.h"
#include "tests/text/DictionaryFixture.h"

namespace {

using TLines = std::vector<std::u16string>;

class ChatFilterTest : public DictionaryFixture {};

struct TLinesCase {
  TLines Lines;
  std::u16string Expected;
};

class ChatFilterTimeStampTest : public DictionaryFixture,
                                public ::testing::WithParamInterface<TLinesCase> {};

struct TEntryCase {
  std::u16string Entry;
  TSecondLifeLogOptions Options;
  std::u16string Expected;
};

class ChatFilterSecondLifeTest : public DictionaryFixture,
                                 public ::testing::WithParamInterface<TEntryCase> {};

const std::u16string Stamp = u"[2024/05/01 21:05]  ";

TSecondLifeLogOptions Options(bool displayNames, int readName, int translate = 0) {
  return {translate, readName, displayNames};
}

} // namespace

TEST_P(ChatFilterTimeStampTest, FilterTimeStampLines) {
  EXPECT_EQ(Utf16ToUtf8(FilterTimeStampLines(GetParam().Lines)), Utf16ToUtf8(GetParam().Expected));
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ChatFilterTimeStampTest,
    ::testing::Values(
        TLinesCase{{u"[2024/05/01 9:05] hello"}, u"hello"},
        TLinesCase{{u"[2024/05/01 09:05]hello"}, u"[2024/05/01 09:05]hello"},
        TLinesCase{{u"[2024/05/01 09:05]  hello "}, u"hello"},
        TLinesCase{{u"[2024/5/01 09:05] x"}, u"[2024/5/01 09:05] x"},
        TLinesCase{{u"x [2024/05/01 09:05] y"}, u"x [2024/05/01 09:05] y"},
        TLinesCase{{u"[2024/05/01 09:05] ", u"plain", u"[2024/05/01 09:06] a"}, u"plain\r\na"},
        TLinesCase{{u"study(w=wara)", u"hello"}, u"study(w=wara)\r\nhello"},
        TLinesCase{{u"[2024/05/01 09:05] study(w=wara)"}, u"I studyed wara as waraara."}));

TEST_P(ChatFilterSecondLifeTest, ParseSecondLifeEntry) {
  EXPECT_EQ(Utf16ToUtf8(ParseSecondLifeEntry(GetParam().Entry, GetParam().Options)),
            Utf16ToUtf8(GetParam().Expected));
}

INSTANTIATE_TEST_SUITE_P(
    Entries, ChatFilterSecondLifeTest,
    ::testing::Values(
        TEntryCase{Stamp + u"Bob Smith: hi", Options(false, 0), u"Bob Smith : hi"},
        TEntryCase{Stamp + u"Bob Smith: hi", Options(false, 1), u"Bob Smith : hi"},
        TEntryCase{Stamp + u"Bob (bob.smith): hi", Options(true, 0), u"Bob : hi"},
        TEntryCase{Stamp + u"Bob (bob.smith): hi", Options(true, 1), u"bob smith : hi"},
        TEntryCase{Stamp + u"Bob (bob.smith): hi", Options(false, 0), u"Bob (bob.smith) : hi"},
        TEntryCase{Stamp + u"Bob (Away): hi", Options(true, 1), u"Bob (Away) : hi"},
        TEntryCase{Stamp + std::u16string(30, u'B') + u" (bob.smith): hi", Options(true, 1),
                   std::u16string(30, u'B') + u" (bob smith) : hi"},
        TEntryCase{Stamp + u"Bob: Hello (Bonjour)", Options(false, 0, 1), u"Bob : Bonjour"},
        // The original half keeps its space up to the trim of the command step.
        TEntryCase{Stamp + u"Bob: Hello (Bonjour)", Options(false, 0, 2), u"Bob : Hello"},
        TEntryCase{Stamp + u"Bob: Hello (Bonjour)", Options(false, 0, 0), u"Bob : Hello (Bonjour)"},
        TEntryCase{Stamp + u"Bob: A (x) (B (y))", Options(false, 0, 1), u"Bob : B (y)"},
        TEntryCase{Stamp + u"Bob: A (x) (B (y))", Options(false, 0, 2), u"Bob : A (x)"},
        TEntryCase{Stamp + u"Bob: Hello （Bonjour)", Options(false, 0, 1), u"Bob : Bonjour"},
        TEntryCase{Stamp + u"Bob: a (b) (c)", Options(false, 0, 1), u"Bob : a (b) (c)"},
        TEntryCase{Stamp + u"Bob: a (b) !", Options(false, 0, 1), u"Bob : a (b) !"},
        TEntryCase{Stamp + u"Bob: a (b）", Options(false, 0, 1), u"Bob : a (b）"},
        TEntryCase{Stamp + u"Bob:   ", Options(false, 0), u""},
        TEntryCase{u"no stamp: text", Options(false, 0), u" : no stamp: text"},
        TEntryCase{Stamp + std::u16string(64, u'x') + u": hi", Options(false, 0),
                   u" : " + std::u16string(64, u'x') + u": hi"},
        TEntryCase{Stamp + std::u16string(63, u'x') + u": hi", Options(false, 0),
                   std::u16string(63, u'x') + u" : hi"},
        TEntryCase{u"", Options(false, 0), u""}));

TEST_F(ChatFilterTest, SecondLifeEntriesSpanLinesAndAreMutedByAvatarName) {
  const TSecondLifeLogOptions plain = Options(false, 0);
  EXPECT_EQ(FilterSecondLifeLog({Stamp + u"Bob: first line", u"second line"}, plain),
            u"Bob : first linesecond line");
  EXPECT_EQ(FilterSecondLifeLog({u"rest of a line", Stamp + u"Bob: hi", Stamp + u"Eve: yo"}, plain),
            u" : rest of a line\r\nBob : hi\r\nEve : yo");
  WriteProgramFile("BlackList.txt", "# VELTRA MURMELO User List Format V 1.0\nbob.smith\n");
  LoadUserLists();
  const TLines lines = {Stamp + u"Bob (bob.smith): hi", Stamp + u"Eve (eve.x): yo"};
  EXPECT_EQ(FilterSecondLifeLog(lines, Options(true, 0)), u"Eve : yo");
  WriteProgramFile("WhiteList.txt", "# VELTRA MURMELO User List Format V 1.0\nbob.smith\n");
  LoadUserLists();
  EXPECT_EQ(FilterSecondLifeLog({u"no name here", lines[0], lines[1]}, Options(true, 1)),
            u"bob smith : hi");
}

TEST_F(ChatFilterTest, SecondLifeCommandsAndTheDictionaryReachTheName) {
  SetRules({{u"Bob", u"Robert"}});
  EXPECT_EQ(FilterSecondLifeLog({Stamp + u"Bob: study(hi=hello)"}, Options(false, 0)),
            u"Robert : I studyed hello as hello.");
  EXPECT_EQ(FilterSecondLifeLog({Stamp + u"Bob: hi"}, Options(false, 0)), u"Robert : hello");
}

TEST_F(ChatFilterTest, CustomPatternRemovesMatchesButRunsNoCommand) {
  SetRules({{u"a", u"A"}});
  const TLines lines = {u"[2024/05/01 09:05] study(a=b)", u"[2024/05/01 09:05] ", u"x"};
  EXPECT_EQ(FilterCustomRegEx(lines, std::u16string(TimeStampPattern)), u"study(A=b)\r\nx");
  EXPECT_TRUE(Dictionary.size() == 1);
  EXPECT_EQ(FilterCustomRegEx({u"Bob: hi", u"Eve: yo"}, u"^\\w+: "), u"hi\r\nyo");
  EXPECT_THROW(FilterCustomRegEx(lines, u"("), ERegExError);
  EXPECT_THROW(FilterCustomRegEx(lines, u""), ERegExError);
}

TEST_F(ChatFilterTest, ACustomPatternCannotBeStalledByALine) {
  const std::u16string line = std::u16string(1024, u'a') + u"!";
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(FilterCustomRegEx({line, u"aaa"}, u"(a+)+$"), line);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
}
