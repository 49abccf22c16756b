#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "Lib/uStrUtils.h"
#include "chat/uSecondLife.h"
#include "tests/fakes/FakeAppInfo.h"
#include "tests/fakes/ScopedServices.h"

namespace fs = std::filesystem;

namespace {

// A settings file as the viewers write it: the root holds one map of
// key/map pairs, each setting's map has Comment, Type and Value.
std::string Settings(const std::vector<std::pair<std::string, std::string>> &settings) {
  std::string xml = "<?xml version=\"1.0\" ?>\n<llsd>\n<map>\n";
  for (const auto &[name, value] : settings)
    xml += "  <key>" + name + "</key>\n  <map>\n    <key>Comment</key>\n" +
           "    <string>a setting</string>\n    <key>Persist</key>\n    <integer>1</integer>\n" +
           "    <key>Value</key>\n    " + value + "\n  </map>\n";
  return xml + "</map>\n</llsd>\n";
}

void Write(const fs::path &file, const std::string &bytes) {
  fs::create_directories(file.parent_path());
  std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

class SecondLifeTest : public ::testing::Test {
protected:
  platform::TServices Services() {
    platform::TServices s;
    s.AppInfo = &appInfo;
    return s;
  }

  fs::path Home() const { return appInfo.Folder().Path() / "home"; }
  fs::path Viewer(int index = 0) const { return Home() / ToPath(ViewerFolders[index]); }
  std::string HomeText() const { return Home().string(); }

  void SetImLogPath(const std::string &valueXml, const std::string &avatar = "bob_smith") {
    Write(Viewer() / avatar / "settings_per_account.xml",
          Settings({{"InstantMessageLogPath", valueXml}}));
  }

  std::string LogPath(bool allChats = false, int viewer = 0) {
    return Utf16ToUtf8(ChatLogPath(1, viewer, allChats, u"/any/file.txt", u"bob_smith"));
  }

  FakeAppInfo appInfo;
  ScopedServices services{Services()};
};

} // namespace

TEST_F(SecondLifeTest, ViewersKeepTheirDataInHiddenFoldersOfTheHome) {
  EXPECT_EQ(Utf16ToUtf8(ViewerDataFolder(ViewerFolders[2])), HomeText() + "/.firestorm_x64");
  EXPECT_EQ(ViewerCaptions[0], u"Secondlife");
  EXPECT_EQ(ViewerCaptions[2], u"Firestorm x64");
}

TEST_F(SecondLifeTest, TheChatLogLiesInTheImLogPathOfTheAvatar) {
  SetImLogPath("<string>/data/Logs</string>");
  EXPECT_EQ(LogPath(), "/data/Logs/bob_smith/chat.txt");
  EXPECT_EQ(LogPath(true), "/data/Logs/bob_smith/*.txt");
  SetImLogPath("<string>/data/Logs/</string>");
  EXPECT_EQ(LogPath(), "/data/Logs/bob_smith/chat.txt");
}

TEST_F(SecondLifeTest, WithoutAUsableImLogPathTheViewerFolderHoldsTheLogs) {
  const std::string fallback = HomeText() + "/.secondlife/bob_smith/chat.txt";
  const std::pair<const char *, std::string> cases[] = {
      {"no settings file", ""},
      {"malformed", "<llsd><map><key>InstantMessageLogPath</key><map>"},
      {"empty value", Settings({{"InstantMessageLogPath", "<string></string>"}})},
      {"other setting", Settings({{"LogInstantMessages", "<string>/data/Logs</string>"}})},
      {"wrong value element", Settings({{"InstantMessageLogPath", "<integer>5</integer>"}})},
      {"letter case of the key", "<llsd><map><key>instantmessagelogpath</key><map><key>Value</key>"
                                 "<string>/data/Logs</string></map></map></llsd>"},
      {"value key in other case", "<llsd><map><key>InstantMessageLogPath</key><map><key>value</key>"
                                  "<string>/data/Logs</string></map></map></llsd>"},
      {"no map after the key",
       "<llsd><map><key>InstantMessageLogPath</key><string>x</string><key>Value</key>"
       "<string>/data/Logs</string></map></llsd>"},
  };
  for (const auto &[name, xml] : cases) {
    SCOPED_TRACE(name);
    fs::remove_all(Viewer());
    if (!xml.empty())
      Write(Viewer() / "bob_smith" / "settings_per_account.xml", xml);
    EXPECT_EQ(LogPath(), fallback);
  }
}

TEST_F(SecondLifeTest, TheLastImLogPathOfTheFileWins) {
  Write(Viewer() / "bob_smith" / "settings_per_account.xml",
        Settings({{"InstantMessageLogPath", "<string>/first</string>"},
                  {"InstantMessageLogPath", "<string>/second</string>"}}));
  EXPECT_EQ(LogPath(), "/second/bob_smith/chat.txt");
}

TEST_F(SecondLifeTest, APlainChatFileIsWatchedAsItIs) {
  SetImLogPath("<string>/data/Logs</string>");
  EXPECT_EQ(ChatLogPath(0, 0, true, u"/home/u/chat log.txt", u"bob_smith"),
            u"/home/u/chat log.txt");
}

TEST_F(SecondLifeTest, OnlyFoldersWithPerAccountSettingsAreAvatars) {
  std::vector<std::u16string> names{u"stale"};
  ListAvatars(ViewerFolders[1], names);
  EXPECT_TRUE(names.empty()); // no viewer folder at all

  const auto viewer = Viewer(1);
  Write(viewer / "zoe_quinn" / "settings_per_account.xml", Settings({}));
  Write(viewer / "bob_smith" / "settings_per_account.xml", Settings({}));
  Write(viewer / "user_settings" / "settings.xml", Settings({}));
  fs::create_directories(viewer / "logs");
  Write(viewer / "settings_per_account.xml", "a file, not a folder");
  ListAvatars(ViewerFolders[1], names);
  EXPECT_EQ(names, (std::vector<std::u16string>{u"bob_smith", u"zoe_quinn"}));
}

TEST(SecondLife, AvatarDisplayNames) {
  const std::pair<std::u16string, std::u16string> cases[] = {
      {u"bob_smith", u"bob smith"},
      {u"first_last", u"first last"},
      {u"bob_smith.grid", u"bob smith"},
      {u"a.b_c.d", u"a.b c"},
      {u"/home/u/.firestorm/jo_doe", u"jo doe"},
      {u"resident", u"resident"},
  };
  for (const auto &[name, shown] : cases)
    EXPECT_EQ(AvatarDisplayName(name), shown) << Utf16ToUtf8(name);
}

TEST_F(SecondLifeTest, DisplayNamesAreInUseUnlessTheNewestUserSettingsSayOtherwise) {
  const auto folder = Viewer() / "user_settings";
  EXPECT_TRUE(ReadUseDisplayNames(ViewerFolders[0])); // no user settings

  const std::pair<const char *, std::pair<std::string, bool>> cases[] = {
      {"zero", {Settings({{"UseDisplayNames", "<integer>0</integer>"}}), false}},
      {"one", {Settings({{"UseDisplayNames", "<integer>1</integer>"}}), true}},
      {"missing", {Settings({{"Other", "<integer>0</integer>"}}), true}},
      {"string element", {Settings({{"UseDisplayNames", "<string>0</string>"}}), true}},
      {"malformed", {"<llsd><map><key>UseDisplayNames", true}},
      {"no number", {Settings({{"UseDisplayNames", "<integer>no</integer>"}}), true}},
      {"a bad value keeps the earlier one",
       {Settings({{"UseDisplayNames", "<integer>0</integer>"},
                  {"UseDisplayNames", "<integer>x</integer>"},
                  {"UseDisplayNames", "<integer>1</integer>"}}),
        false}},
  };
  for (const auto &[name, file] : cases) {
    SCOPED_TRACE(name);
    Write(folder / "settings.xml", file.first);
    EXPECT_EQ(ReadUseDisplayNames(ViewerFolders[0]), file.second);
  }
}

TEST_F(SecondLifeTest, TheNewestUserSettingsFileIsReadButNeverTheCrashSettings) {
  const auto folder = Viewer() / "user_settings";
  const auto now = fs::file_time_type::clock::now();
  Write(folder / "settings.xml", Settings({{"UseDisplayNames", "<integer>0</integer>"}}));
  Write(folder / "settings_firestorm.xml", Settings({{"UseDisplayNames", "<integer>1</integer>"}}));
  Write(folder / "settings_crash_behavior.xml",
        Settings({{"UseDisplayNames", "<integer>1</integer>"}}));
  Write(folder / "other.xml", Settings({{"UseDisplayNames", "<integer>1</integer>"}}));
  fs::create_directories(folder / "settings_dir.xml");
  fs::last_write_time(folder / "settings.xml", now - std::chrono::hours(1));
  fs::last_write_time(folder / "settings_firestorm.xml", now - std::chrono::hours(2));
  fs::last_write_time(folder / "settings_crash_behavior.xml", now);
  fs::last_write_time(folder / "other.xml", now);
  fs::last_write_time(folder / "settings_dir.xml", now);

  const auto pattern = FromPath(folder) + u"/settings*.xml";
  EXPECT_EQ(NewestSettingsFile(pattern), FromPath(folder / "settings.xml"));
  EXPECT_FALSE(ReadUseDisplayNames(ViewerFolders[0]));

  fs::last_write_time(folder / "settings_firestorm.xml", now - std::chrono::minutes(1));
  EXPECT_EQ(NewestSettingsFile(pattern), FromPath(folder / "settings_firestorm.xml"));
  EXPECT_TRUE(ReadUseDisplayNames(ViewerFolders[0]));
  EXPECT_EQ(NewestSettingsFile(FromPath(folder) + u"/none*.xml"), u"");
}
