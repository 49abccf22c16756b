#include <fstream>

#include <gtest/gtest.h>

#include "Lib/uStrUtils.h"
#include "speech/uBOUYOMI.h"
#include "speech/uSpBOUYOMI.h"
#include "tests/fakes/FakeLocale.h"
#include "tests/fakes/FakeShell.h"
#include "tests/fakes/FakeTcpClient.h"
#include "tests/fakes/FakeWindows.h"
#include "tests/fakes/ScopedServices.h"
#include "tests/fakes/TempFolder.h"
#include "text/uMessages.h"

namespace {

const std::u16string kClass = u"WindowsForms10.Window.8.app.0.33c0d9d";
const std::u16string kCaption = u"棒読みちゃん Ver0.1.11.0 Beta";

class BouyomiClientTest : public ::testing::Test {
protected:
  void SetUp() override {
    JapaneseMessages = false;
    exe = FromPath(folder.Path() / "BouyomiChan.exe");
    std::ofstream(ToPath(exe)) << "x";
  }
  void TearDown() override {
    BouyomiStop(false);
    JapaneseMessages = false;
  }

  TempFolder folder;
  std::u16string exe;
  FakeLocale locale;
  FakeTcpClient tcp;
  FakeWindows windows;
  FakeShell shell;
  ScopedServices services{[this] {
    platform::TServices s;
    s.Locale = &locale;
    s.TcpClient = &tcp;
    s.Windows = &windows;
    s.Shell = &shell;
    return s;
  }()};
};

TEST_F(BouyomiClientTest, PacketIsTheHeaderThenTheTextOnOneConnection) {
  BouyomiStart(false, u"");
  EXPECT_TRUE(BouyomiSend(u"abc"));
  EXPECT_TRUE(BouyomiSend(u""));
  ASSERT_EQ(tcp.Connections.size(), 2u);
  EXPECT_EQ(tcp.Connections[0].Writes,
            (std::vector<std::string>{std::string("\x01\x00\xFF\xFF\xFF\xFF\xFF\xFF\x00\x00\x02"
                                                  "\x03\x00\x00\x00",
                                                  15),
                                      "abc"}));
  EXPECT_EQ(tcp.Connections[1].Writes,
            (std::vector<std::string>{std::string("\x01\x00\xFF\xFF\xFF\xFF\xFF\xFF\x00\x00\x02"
                                                  "\x00\x00\x00\x00",
                                                  15)}));
  EXPECT_EQ(BouyomiHeader(0x01020304).substr(11), std::string("\x04\x03\x02\x01"));
}

TEST_F(BouyomiClientTest, CombiningVoicedMarksAreJoinedOnlyForCodePage932) {
  BouyomiStart(false, u"");
  const std::u16string text = u"か\u3099ウ\u3099ホ\u309Aあ\u3099\u3099";
  locale.CodePage = 932;
  EXPECT_EQ(TextToAnsiBytes(text), std::string(6, '?')); // が ヴ ポ あ and two lone marks
  locale.CodePage = 1252;
  EXPECT_EQ(TextToAnsiBytes(text), std::string(9, '?'));
}

TEST_F(BouyomiClientTest, NoClientOrNoListenerMeansCantSpeak) {
  EXPECT_FALSE(BouyomiSend(u"abc"));
  EXPECT_EQ(BouyomiSpeakLine(u"a<b>c"), u"Can't speak: a<b>c");
  BouyomiStart(false, u"");
  tcp.Refuse = true;
  JapaneseMessages = true;
  EXPECT_EQ(BouyomiSpeakLine(u"abc"), u"以下の文章を話せませんでした。 : abc");
}

TEST_F(BouyomiClientTest, ErrorMessageFollowsTheLocaleNotTheMessageLanguage) {
  BouyomiStart(false, u"");
  tcp.Refuse = true;
  locale.Lcid = 0x0411;
  JapaneseMessages = false;
  EXPECT_EQ(
      ::BouyomiTest(),
      u"棒読みちゃんに接続できません。\r\n棒読みちゃんを起動し，\r\n-Socket通信を行うがTrue，\r\n"
      u"-ポート番号が50001であることを確認してください。");
  locale.Lcid = 0x0409;
  JapaneseMessages = true;
  EXPECT_EQ(::BouyomiTest(), u"MURMELO couldn't connect Bouyomichan.\r\n"
                             u"Please boot Bouyomicyan.\r\n"
                             u" And set \"Socket通信を行う\" to be checked.\r\n"
                             u" And set \"ポート番号\" to \"50001\".");
}

TEST_F(BouyomiClientTest, TestSendsThePlainGreeting) {
  BouyomiStart(false, u"");
  EXPECT_EQ(::BouyomiTest(), u"");
  EXPECT_EQ(tcp.Connections.back().Writes.back(), "Thank you for using MUR-MEH-LO..");
}

TEST_F(BouyomiClientTest, AutoStartLaunchesOnlyWhenNoKnownWindowIsOpen) {
  struct TCase {
    std::u16string ClassName, Caption;
    bool Launched;
  };
  const TCase cases[] = {
      {u"", u"", true},
      {kClass, kCaption + u"12", false},
      {kClass, kCaption + u"16", false},
      {kClass, kCaption + u"11", true},
      {kClass, kCaption + u"17", true},
      {kClass, kCaption + u" 14", true},
      {u"WindowsForms10.Window.8.app.0.378734a", kCaption + u"14", true},
  };
  for (const TCase &c : cases) {
    windows.Windows = {{7, c.ClassName, c.Caption}};
    shell.RunFiles.clear();
    BouyomiStart(true, exe);
    EXPECT_EQ(shell.RunFiles.size(), c.Launched ? 1u : 0u) << Utf16ToUtf8(c.Caption);
  }
  shell.RunFiles.clear();
  windows.Windows.clear();
  BouyomiStart(false, exe);
  BouyomiStart(true, FromPath(folder.Path() / "missing.exe"));
  EXPECT_TRUE(shell.RunFiles.empty());
}

TEST_F(BouyomiClientTest, AutoCloseClosesTheFirstKnownWindow) {
  windows.Windows = {
      {1, kClass, kCaption + u"17"}, {2, kClass, kCaption + u"15"}, {3, kClass, kCaption + u"13"}};
  BouyomiStart(false, u"");
  BouyomiStop(false);
  EXPECT_TRUE(windows.Closed.empty());
  BouyomiStop(true);
  EXPECT_EQ(windows.Closed, (std::vector<platform::TWindowHandle>{3}));
  EXPECT_FALSE(BouyomiSend(u"abc")); // the client is gone

  windows.Windows = {{1, kClass, kCaption + u"17"}};
  windows.Closed.clear();
  BouyomiStop(true);
  EXPECT_TRUE(windows.Closed.empty());
}

} // namespace
