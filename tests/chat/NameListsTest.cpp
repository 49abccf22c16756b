#include <string>
#include <unistd.h>

#include <gtest/gtest.h>

#include "Lib/uStrUtils.h"
#include "chat/uNameLists.h"
#include "tests/text/DictionaryFixture.h"

namespace {

const std::string UserHeader = "# VELTRA MURMELO User List Format V 1.0\r\n";
const std::string FileHeader = "\xEF\xBB\xBF# VELTRA MURMELO File List Format V 1.0\n";

class NameListsTest : public DictionaryFixture {};

struct TAvatarCase {
  std::u16string Text;
  bool Expected;
};

class NameListsAvatarTest : public ::testing::TestWithParam<TAvatarCase> {};

} // namespace

TEST_P(NameListsAvatarTest, IsAvatarName) {
  EXPECT_EQ(IsAvatarName(GetParam().Text), GetParam().Expected) << Utf16ToUtf8(GetParam().Text);
}

INSTANTIATE_TEST_SUITE_P(
    Names, NameListsAvatarTest,
    ::testing::Values(
        TAvatarCase{u"bob.smith", true}, TAvatarCase{u"bob.smith.jr", false},
        TAvatarCase{u"Bob", false}, TAvatarCase{u"bob-smith", false},
        TAvatarCase{u"bob_smith", false}, TAvatarCase{u"bob smith", false}, TAvatarCase{u"", false},
        TAvatarCase{u".", true}, TAvatarCase{u"b0b.5mith", true}, TAvatarCase{u"bób", false},
        TAvatarCase{std::u16string(31, u'a'), true}, TAvatarCase{std::u16string(32, u'a'), false},
        // A dot lifts the 31-character bound, up to 63 characters.
        TAvatarCase{std::u16string(31, u'a') + u"." + std::u16string(31, u'b'), true},
        TAvatarCase{std::u16string(32, u'a') + u".b", false},
        TAvatarCase{std::u16string(31, u'a') + u"." + std::u16string(32, u'b'), false}));

TEST_F(NameListsTest, WhiteListAdmitsOnlyItsNames) {
  WriteProgramFile("WhiteList.txt",
                   UserHeader + "Bob Smith\r\nBob_Smith\r\n  ALICE  \r\n# note\r\n");
  WriteProgramFile("BlackList.txt", UserHeader + "bob.smith\r\n");
  LoadUserLists();
  EXPECT_TRUE(WhiteListMode);
  EXPECT_EQ(UserNames, (std::set<std::u16string>{u"alice", u"bob.smith"}));
  EXPECT_FALSE(IsNameMuted(u"bob.smith"));
  EXPECT_FALSE(IsNameMuted(u"alice"));
  EXPECT_TRUE(IsNameMuted(u"carol"));
  EXPECT_TRUE(IsNameMuted(u"Bob.Smith"));
  EXPECT_TRUE(IsNameMuted(u""));
  EXPECT_EQ(CheckListsMessage(u"bob_smith"), u"");
}

TEST_F(NameListsTest, WhiteListWarnings) {
  WriteProgramFile("WhiteList.txt", UserHeader + "user.name\n");
  LoadUserLists();
  EXPECT_FALSE(IsNameMuted(u"user.name"));
  EXPECT_TRUE(IsNameMuted(u"bob.smith"));
  EXPECT_EQ(CheckListsMessage(u"bob_smith"),
            u"MURMELO speaks nothing becasue the Whitelist is empty.");
  // A wrong header still means white-list mode, with nobody on it.
  WriteProgramFile("WhiteList.txt", "# VELTRA MURMELO User List\nbob.smith\n");
  LoadUserLists();
  EXPECT_TRUE(WhiteListMode);
  EXPECT_TRUE(UserNames.empty());
  EXPECT_TRUE(IsNameMuted(u"bob.smith"));
  locale_.Lcid = 0x0411;
  EXPECT_EQ(CheckListsMessage(u""), u"ホワイトリストがカラなので，ムルメロは何も話しません。");
}

TEST_F(NameListsTest, BlackListMutesItsNamesAndWarnsTheOwner) {
  LoadUserLists();
  EXPECT_FALSE(WhiteListMode);
  EXPECT_FALSE(IsNameMuted(u""));
  EXPECT_EQ(CheckListsMessage(u"Bob_Smith"), u"");
  WriteProgramFile("BlackList.txt", UserHeader + "bob.smith\nEve\n");
  LoadUserLists();
  EXPECT_FALSE(WhiteListMode);
  EXPECT_TRUE(IsNameMuted(u"bob.smith"));
  EXPECT_TRUE(IsNameMuted(u"eve"));
  EXPECT_FALSE(IsNameMuted(u"carol"));
  EXPECT_FALSE(IsNameMuted(u""));
  EXPECT_EQ(CheckListsMessage(u"Bob_Smith"),
            u"MURMELO doesn't speak your message becasue your name is in the Blacklist.");
  EXPECT_EQ(CheckListsMessage(u"carol"), u"");
  // The own name is not trimmed.
  EXPECT_EQ(CheckListsMessage(u" bob_smith"), u"");
  locale_.Lcid = 0x0411;
  EXPECT_EQ(
      CheckListsMessage(u"bob_smith"),
      u"あなたの名前がブラックリストにありますので，ムルメロはあなたのチャットを話しません。");
}

TEST_F(NameListsTest, ListsNeedTheHeaderAndASecondLine) {
  for (const std::string &bytes : {std::string("bob.smith\n"), UserHeader,
                                   std::string("# VELTRA MURMELO File List Format V 1.0\nbob")}) {
    WriteProgramFile("BlackList.txt", bytes);
    LoadUserLists();
    EXPECT_TRUE(UserNames.empty());
  }
}

TEST_F(NameListsTest, BlockedFilesTakeValidFileNamesOnly) {
  LoadFileList();
  EXPECT_TRUE(BlockedFiles.empty());
  WriteProgramFile("BlackFiles.txt", FileHeader +
                                         "Group Chat\nc:\\logs\\chat\nchat*\nchat.txt\nwhat?\n"
                                         "a|b\n<x>\n\"q\"\nsub/dir\n# notes\n\n");
  LoadFileList();
  EXPECT_EQ(BlockedFiles.size(), 4u);
  EXPECT_TRUE(IsFileBlocked(u"group chat"));
  EXPECT_TRUE(IsFileBlocked(u"Group Chat"));
  EXPECT_TRUE(IsFileBlocked(u"chat.txt"));
  EXPECT_TRUE(IsFileBlocked(u"# notes"));
  // An empty line blocks only a file that is nothing but an extension.
  EXPECT_TRUE(IsFileBlocked(u""));
  EXPECT_FALSE(IsFileBlocked(u"chat"));
  EXPECT_FALSE(IsFileBlocked(u"chat*"));
  WriteProgramFile("BlackFiles.txt", UserHeader + "chat\n");
  LoadFileList();
  EXPECT_TRUE(BlockedFiles.empty());
}

TEST_F(NameListsTest, AListThatCannotBeReadIsAnError) {
  WriteProgramFile("BlackFiles.txt", FileHeader + "x\n");
  std::filesystem::permissions(ProgramPath("BlackFiles.txt"), std::filesystem::perms::none);
  if (access(ProgramPath("BlackFiles.txt").c_str(), R_OK) == 0)
    GTEST_SKIP() << "running with rights that read any file";
  EXPECT_THROW(LoadFileList(), std::runtime_error);
}
