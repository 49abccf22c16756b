#include <gtest/gtest.h>

#include "speech/uSpBOUYOMI.h"
#include "speech/uSpSpeechLib.h"
#include "speech/uSpeech.h"
#include "tests/fakes/FakeLocale.h"
#include "tests/fakes/FakeShell.h"
#include "tests/fakes/FakeSpeechEngine.h"
#include "tests/fakes/FakeTcpClient.h"
#include "tests/fakes/FakeWindows.h"
#include "tests/fakes/ScopedServices.h"
#include "text/uMessages.h"

namespace {

class SpeechTest : public ::testing::Test {
protected:
  SpeechTest() {
    engines.First.VoiceList = {{u"Haruka (ja)", u"speech-dispatcher - Haruka (ja)"}};
    engines.Second.VoiceList = {{u"English (America)", u"eSpeak NG - English (America) (en-US)"},
                                {u"Japanese", u"eSpeak NG - Japanese (ja)"}};
    engines.Second.Outputs = {u"Speakers"};
  }
  void SetUp() override { JapaneseMessages = false; }
  void TearDown() override {
    BouyomiStop(false);
    SpeechItems.clear();
    SapiReleaseVoices();
    JapaneseMessages = false;
  }

  void Build(std::uint32_t lcid) {
    locale.Lcid = lcid;
    SapiLoadVoices();
    BuildSpeechItems();
  }
  std::int32_t IndexOf(const std::u16string &name) {
    for (size_t k = 0; k < SpeechItems.size(); ++k)
      if (SpeechItems[k].Name == name)
        return static_cast<std::int32_t>(k);
    return -1;
  }

  FakeSpeechEngines engines;
  FakeLocale locale;
  FakeTcpClient tcp;
  FakeWindows windows;
  FakeShell shell;
  ScopedServices services{[this] {
    platform::TServices s;
    s.SpeechEngines = &engines;
    s.Locale = &locale;
    s.TcpClient = &tcp;
    s.Windows = &windows;
    s.Shell = &shell;
    return s;
  }()};
};

TEST_F(SpeechTest, OtherLocalesListOnlyTheVoices) {
  Build(0x0409);
  ASSERT_EQ(SpeechItems.size(), 3u);
  EXPECT_EQ(SpeechItems[0].Name, u"Haruka (ja)");
  EXPECT_EQ(SpeechItems[2].Name, u"eSpeak NG - Japanese (ja)");
  for (size_t k = 0; k < 3; ++k) {
    EXPECT_EQ(SpeechItems[k].SPType, TSpeechType::stSpeechLib);
    EXPECT_EQ(SpeechItems[k].Index, static_cast<std::int32_t>(k));
    EXPECT_TRUE(SpeechItems[k].Enabled);
  }
}

TEST_F(SpeechTest, JapaneseLocaleAddsTheReadingProgramsWithBouyomiLast) {
  engines.HasFirst = false;
  Build(0x0411);
  const std::u16string names[] = {u"eSpeak NG - English (America) (en-US)",
                                  u"eSpeak NG - Japanese (ja)",
                                  u"結月ゆかり",
                                  u"琴葉葵",
                                  u"琴葉茜",
                                  u"結月ゆかり EX",
                                  u"鷹の爪 吉田くん EX",
                                  u"BouyomiChan"};
  const TSpeechType types[] = {TSpeechType::stSpeechLib, TSpeechType::stSpeechLib,
                               TSpeechType::stVOCALOIDP, TSpeechType::stVOCALOIDE,
                               TSpeechType::stVOCALOIDE, TSpeechType::stVOCALOIDE,
                               TSpeechType::stVOCALOIDE, TSpeechType::stBouyomi};
  const int indexes[] = {0, 1, 0, 0, 1, 2, 3, 0};
  ASSERT_EQ(SpeechItems.size(), 8u);
  for (size_t k = 0; k < 8; ++k) {
    EXPECT_EQ(SpeechItems[k].Name, names[k]);
    EXPECT_EQ(SpeechItems[k].SPType, types[k]);
    EXPECT_EQ(SpeechItems[k].Index, indexes[k]);
    EXPECT_EQ(SpeechItems[k].Enabled, k < 2 || k == 7) << k; // no launcher on Linux
  }
}

TEST_F(SpeechTest, SpeakTextHandsThePlainTextAndReturnsTheOriginal) {
  Build(0x0409);
  EXPECT_EQ(SpeakText(1, 80, 2, u"a<b>c"), u"a<b>c");
  EXPECT_EQ(SpeakText(1, 80, 2, u"x > y"), u"x > y");
  EXPECT_EQ(SpeakText(1, 80, 2, u"a < b"), u"a < b");
  EXPECT_EQ(engines.Second.Spoken, (std::vector<std::u16string>{u"ac", u"x > y", u"a "}));
  EXPECT_EQ(engines.Second.CurrentVolume, 80);
  EXPECT_EQ(engines.Second.CurrentRate, 2);

  engines.Second.RefusePlain = true;
  EXPECT_EQ(SpeakText(1, 80, 2, u"a<b>c"), u"Can't speak: a<b>c");
}

TEST_F(SpeechTest, TestSkipAndOutputsRouteToTheVoice) {
  Build(0x0409);
  EXPECT_EQ(TestSpeechDevice(2, 100, 0), u"");
  EXPECT_EQ(engines.Second.Spoken.back(), ConnectedMessageSapi());
  EXPECT_EQ(SkipSpeech(2), u"Speech Skiped.");
  EXPECT_EQ(engines.Second.Calls.back(), u"speak purge:.");

  TStringList list;
  GetSpeechAudioOuts(1, list);
  EXPECT_EQ(list, (TStringList{u"Default", u"Speakers"}));
  SetSpeechAudioOut(1, 0);
  EXPECT_EQ(engines.Second.Output, 0);
  SetSpeechAudioOut(1, -1);
  EXPECT_EQ(engines.Second.Output, -1);
}

TEST_F(SpeechTest, StartChoosesTheMessageLanguageFromTheDevice) {
  Build(0x0411);
  StartSpeechDevice(IndexOf(u"eSpeak NG - English (America) (en-US)"), false, u"");
  EXPECT_FALSE(JapaneseMessages);
  EXPECT_EQ(SkipSpeech(0), u"Speech Skiped.");
  StartSpeechDevice(IndexOf(u"BouyomiChan"), false, u"");
  EXPECT_TRUE(JapaneseMessages);
  EXPECT_EQ(SkipSpeech(IndexOf(u"BouyomiChan")), u"スキップしました。");
  EXPECT_TRUE(tcp.Connections.empty()); // skipping sends nothing to the reader
}

TEST_F(SpeechTest, ReadingProgramsAnswerAsNotRunning) {
  Build(0x0411);
  const std::int32_t akane = IndexOf(u"琴葉茜");
  const std::int32_t yukari = IndexOf(u"結月ゆかり");
  StartSpeechDevice(akane, true, u"");
  EXPECT_EQ(TestSpeechDevice(akane, 100, 0), u"VOICEROID＋ 琴葉茜 を起動してください。");
  EXPECT_EQ(TestSpeechDevice(yukari, 100, 0), u"VOICEROID＋ 結月ゆかり を起動してください。");
  EXPECT_EQ(SpeakText(akane, 100, 0, u"a<b>"), u"以下の文章を話せませんでした。 : a<b>");
  EXPECT_EQ(SkipSpeech(yukari), u"スキップしました。");
  StopSpeechDevice(akane, true);
  EXPECT_TRUE(shell.RunShortcuts.empty());
}

TEST_F(SpeechTest, OutputListIsLeftAloneForOtherDevices) {
  Build(0x0411);
  for (const std::u16string name : {u"BouyomiChan", u"琴葉葵", u"結月ゆかり"}) {
    TStringList list{u"keep", u"these"};
    GetSpeechAudioOuts(IndexOf(name), list);
    EXPECT_EQ(list, (TStringList{u"keep", u"these"}));
    SetSpeechAudioOut(IndexOf(name), 0);
  }
  EXPECT_TRUE(engines.Second.Calls.empty());
}

TEST_F(SpeechTest, BouyomiDeviceSpeaksThroughItsClientBetweenStartAndStop) {
  Build(0x0411);
  const std::int32_t bouyomi = IndexOf(u"BouyomiChan");
  EXPECT_EQ(SpeakText(bouyomi, 100, 0, u"abc"), u"Can't speak: abc"); // not started yet
  StartSpeechDevice(bouyomi, false, u"");
  EXPECT_EQ(SpeakText(bouyomi, 100, 0, u"a<b>c"), u"a<b>c");
  ASSERT_EQ(tcp.Connections.size(), 1u);
  EXPECT_EQ(tcp.Connections[0].Host, "127.0.0.1");
  EXPECT_EQ(tcp.Connections[0].Port, 50001);
  EXPECT_EQ(tcp.Connections[0].Writes.back(), "ac");
  EXPECT_EQ(TestSpeechDevice(bouyomi, 100, 0), u"");
  StopSpeechDevice(bouyomi, false);
  EXPECT_NE(TestSpeechDevice(bouyomi, 100, 0), u"");
}

TEST_F(SpeechTest, EmptyListMakesEveryOperationANoOp) {
  engines.HasFirst = engines.HasSecond = false;
  Build(0x0409);
  ASSERT_TRUE(SpeechItems.empty());
  EXPECT_EQ(SpeakText(0, 100, 0, u"x"), u"");
  EXPECT_EQ(TestSpeechDevice(0, 100, 0), u"");
  EXPECT_EQ(SkipSpeech(0), u"");
  TStringList list{u"keep"};
  GetSpeechAudioOuts(0, list);
  EXPECT_EQ(list, TStringList{u"keep"});
  EXPECT_NO_THROW(StartSpeechDevice(0, true, u""));
  EXPECT_NO_THROW(StopSpeechDevice(0, true));
}

} // namespace
