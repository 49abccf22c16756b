#include <csignal>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "Lib/uStrUtils.h"
#include "tests/text/DictionaryFixture.h"
#include "text/uTransList.h"

namespace {

const std::string Header = "# VELTRA MURMELO Dictionary Format V 1.0";

struct TFileCase {
  const char *Name;
  std::string Bytes;
  TTransLists Expected;
};

// Names the case in test output instead of dumping its bytes.
void PrintTo(const TFileCase &c, std::ostream *out) { *out << c.Name; }

class DictionaryFileTest : public DictionaryFixture,
                           public ::testing::WithParamInterface<TFileCase> {};

class DictionarySaveTest : public DictionaryFixture {};

} // namespace

TEST_P(DictionaryFileTest, Loads) {
  WriteProgramFile("Dictionary.txt", GetParam().Bytes);
  LoadDictionary();
  ASSERT_EQ(Dictionary.size(), GetParam().Expected.size());
  for (std::size_t i = 0; i < Dictionary.size(); ++i) {
    EXPECT_EQ(Utf16ToUtf8(Dictionary[i].src), Utf16ToUtf8(GetParam().Expected[i].src));
    EXPECT_EQ(Utf16ToUtf8(Dictionary[i].dst), Utf16ToUtf8(GetParam().Expected[i].dst));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Formats, DictionaryFileTest,
    ::testing::Values(
        TFileCase{"BomCrLf",
                  "\xEF\xBB\xBF" + Header + "\r\na\tb\r\nc\td\r\n",
                  {{u"a", u"b"}, {u"c", u"d"}}},
        TFileCase{"NoBomLf", Header + "\na\tb\nc\td", {{u"a", u"b"}, {u"c", u"d"}}},
        TFileCase{"LoneCr", Header + "\ra\tb\rc\td\r", {{u"a", u"b"}, {u"c", u"d"}}},
        TFileCase{"FirstTabSplits", Header + "\nw\twara\tmore\n", {{u"w", u"wara\tmore"}}},
        TFileCase{"NothingTrimmed", Header + "\n a \t b \n", {{u" a ", u" b "}}},
        TFileCase{"EmptyReadingIsDash", Header + "\na\t\n", {{u"a", u"-"}}},
        TFileCase{"SkippedLines", Header + "\n\tx\nno tab\n\nk\tv\n", {{u"k", u"v"}}},
        TFileCase{
            "Unicode", Header + "\n猫\tねこ\n😀\tsmile\n", {{u"猫", u"ねこ"}, {u"😀", u"smile"}}},
        TFileCase{"OnlyHeader", Header + "\r\n", {}},
        TFileCase{"HeaderCase", "# veltra murmelo Dictionary Format V 1.0\na\tb\n", {}},
        TFileCase{"HeaderSpace", Header + " \na\tb\n", {}},
        TFileCase{"NoHeader", "a\tb\nc\td\n", {}}, TFileCase{"Empty", "", {}}),
    [](const ::testing::TestParamInfo<TFileCase> &info) { return info.param.Name; });

TEST_F(DictionarySaveTest, MissingFileStartsEmptyAndSaveWritesTheFormat) {
  SetRules({{u"x", u"y"}});
  LoadDictionary();
  EXPECT_TRUE(Dictionary.empty());
  SetRules({{u"a", u"b\tc"}, {u"猫", u""}});
  SaveDictionary();
  EXPECT_EQ(Dictionary[1].dst, u"-");
  EXPECT_EQ(ReadProgramFile("Dictionary.txt"),
            "\xEF\xBB\xBF" + Header + "\r\na\tb\tc\r\n\xE7\x8C\xAB\t-\r\n");
  // What was written reads back the same.
  const TTransLists saved = Dictionary;
  LoadDictionary();
  ASSERT_EQ(Dictionary.size(), saved.size());
  EXPECT_EQ(Dictionary[0].dst, saved[0].dst);
  EXPECT_EQ(Dictionary[1].src, saved[1].src);
}

TEST_F(DictionarySaveTest, AnEmptyWordIsWrittenButSkippedOnTheNextStart) {
  StudyWord(u"", u"x");
  EXPECT_NE(ReadProgramFile("Dictionary.txt").find("\r\n\tx\r\n"), std::string::npos);
  LoadDictionary();
  EXPECT_TRUE(Dictionary.empty());
}

TEST_F(DictionarySaveTest, FailedSaveKeepsTheChangeInMemory) {
  // A folder where the file should be: the rename onto it fails.
  std::filesystem::create_directories(ProgramPath("Dictionary.txt"));
  EXPECT_FALSE(StudyWord(u"a", u"b"));
  ASSERT_EQ(Dictionary.size(), 1u);
  EXPECT_EQ(HandleDictionaryCommand(u"forget(a)"), u"I forget a.");
  EXPECT_TRUE(Dictionary.empty());
  // No half-written file is left behind.
  int entries = 0;
  for ([[maybe_unused]] const auto &entry :
       std::filesystem::directory_iterator(ProgramPath("Dictionary.txt").parent_path()))
    ++entries;
  EXPECT_EQ(entries, 1);
}

TEST_F(DictionarySaveTest, AFileThatWasNotReadIsKeptBeforeItIsReplaced) {
  WriteProgramFile("Dictionary.txt", "my own notes\n");
  LoadDictionary();
  StudyWord(u"a", u"b");
  EXPECT_EQ(ReadProgramFile("Dictionary.txt.bak"), "my own notes\n");
  StudyWord(u"c", u"d");
  EXPECT_EQ(ReadProgramFile("Dictionary.txt.bak"), "my own notes\n");
  EXPECT_EQ(ReadProgramFile("Dictionary.txt"), "\xEF\xBB\xBF" + Header + "\r\na\tb\r\nc\td\r\n");
}

TEST_F(DictionarySaveTest, AKilledSaveLeavesAWholeFile) {
  // A child process teaches long rules without pause and is killed at some
  // moment; whatever is on disk then must read as a whole dictionary.
  const std::u16string reading(20000, u'r');
  for (const int delayMs : {1, 3, 7, 15}) {
    StudyWord(u"seed", reading);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int i = 0;; ++i)
        StudyWord(u"w" + IntToStr(i % 50), reading);
    }
    usleep(static_cast<useconds_t>(delayMs) * 1000);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    LoadDictionary();
    ASSERT_FALSE(Dictionary.empty()) << "after " << delayMs << " ms";
    for (const TTransList &rule : Dictionary)
      EXPECT_EQ(rule.dst, reading) << Utf16ToUtf8(rule.src);
  }
}
