#include <gtest/gtest.h>

#include "tests/fakes/FakeClock.h"
#include "tests/fakes/FakeLocale.h"
#include "tests/fakes/ScopedServices.h"
#include "text/uMessages.h"

namespace {

class MessagesTest : public ::testing::Test {
protected:
  void SetUp() override { JapaneseMessages = false; }
  void TearDown() override { JapaneseMessages = false; }

  void Japanese(bool on) { JapaneseMessages = on; }

  FakeClock clock;
  FakeLocale locale{0x0411, 932};
  ScopedServices services{[this] {
    platform::TServices s;
    s.Clock = &clock;
    s.Locale = &locale;
    return s;
  }()};
};

TEST_F(MessagesTest, LanguageFollowsLocaleAndDeviceName) {
  struct TCase {
    std::uint32_t Lcid;
    const char16_t *Name;
    bool Japanese;
  };
  const TCase cases[] = {
      {0x0411, u"Voice A - Japanese", true},
      {0x0411, u"Voice B - English (United States)", false},
      {0x0411, u"Zira en-US", false},
      {0x0411, u"Voice C - english", true}, // the tests are case-sensitive
      {0x0411, u"BouyomiChan", true},
      {0x0409, u"Voice A - Japanese", false},
      {0x0407, u"BouyomiChan", false},
  };
  for (const TCase &c : cases) {
    locale.Lcid = c.Lcid;
    JapaneseMessages = !c.Japanese;
    SetMessageLanguage(c.Name);
    EXPECT_EQ(JapaneseMessages, c.Japanese) << std::hex << c.Lcid;
  }
}

TEST_F(MessagesTest, EnglishTexts) {
  Japanese(false);
  EXPECT_EQ(ConnectedMessage(), u"Thank you for using MUR-MEH-LO..");
  EXPECT_EQ(ConnectedMessageSapi(),
            u"Thank you for using <pron sym=\"m uh r ! m eh l ow\">MURMELO</pron>..");
  EXPECT_EQ(CantSpeakMessage(), u"Can't speak: ");
  EXPECT_EQ(SkippedMessage(), u"Speech Skiped.");
  EXPECT_EQ(PleaseBootMessage(u"VOICEROID＋ 琴葉茜"), u"Please boot VOICEROID＋ 琴葉茜.");
  EXPECT_EQ(StudiedMessage(u"ねこ", u"猫"), u"I studyed ねこ as 猫.");
  EXPECT_EQ(ForgotMessage(u"ねこ"), u"I forget ねこ.");
}

TEST_F(MessagesTest, JapaneseTexts) {
  Japanese(true);
  EXPECT_EQ(ConnectedMessage(), u"ムルメロ に接続しました。");
  EXPECT_EQ(ConnectedMessageSapi(), u"ムルメロ に接続しました。");
  EXPECT_EQ(CantSpeakMessage(), u"以下の文章を話せませんでした。 : ");
  EXPECT_EQ(SkippedMessage(), u"スキップしました。");
  EXPECT_EQ(PleaseBootMessage(u"VOICEROID＋ 琴葉茜"), u"VOICEROID＋ 琴葉茜 を起動してください。");
  EXPECT_EQ(StudiedMessage(u"ねこ", u"猫"), u"\"ねこ\"を\"猫\"と学習しました。");
  EXPECT_EQ(ForgotMessage(u"ねこ"), u"\"ねこ\"を忘れました。");
}

TEST_F(MessagesTest, SapiUnavailableIsEnglishInBothLanguages) {
  const std::u16string expected = u"Application can't access SAPI.\r\n"
                                  u"Please check Control Panel - Speech Recognition - Text to "
                                  u"Speech.";
  Japanese(true);
  EXPECT_EQ(SapiUnavailableMessage(), expected);
  Japanese(false);
  EXPECT_EQ(SapiUnavailableMessage(), expected);
}

TEST_F(MessagesTest, JapaneseTimeSentences) {
  Japanese(true);
  struct TCase {
    int H, M, S;
    const char16_t *Signal, *Current;
  };
  const TCase cases[] = {
      {15, 0, 7, u"ムルメロ が 午後 3時 ちょうど を，おつたえします。",
       u"ただいま 午後 3時 0分 7秒 です。"},
      {9, 5, 30, u"ムルメロ が 午前 9時 5分 を，おつたえします。",
       u"ただいま 午前 9時 5分 30秒 です。"},
      {12, 0, 0, u"ムルメロ が 午後 0時 ちょうど を，おつたえします。",
       u"ただいま 午後 0時 0分 0秒 です。"},
      {0, 0, 59, u"ムルメロ が 午前 0時 ちょうど を，おつたえします。",
       u"ただいま 午前 0時 0分 59秒 です。"},
  };
  for (const TCase &c : cases) {
    clock.Set(c.H, c.M, c.S);
    EXPECT_EQ(TimeSignalText(), c.Signal);
    EXPECT_EQ(CurrentTimeText(), c.Current);
  }
}

TEST_F(MessagesTest, JapaneseTemplateWithoutAmPmKeepsTheDayClock) {
  clock.Set(15, 0, 7);
  EXPECT_EQ(FormatTimeJapanese(u"\\H \\M"), u"15時 ちょうど");
  EXPECT_EQ(FormatTimeJapanese(u"\\V \\H\\H"), u"ムルメロ 15時15時");
  clock.Set(23, 9, 0);
  EXPECT_EQ(FormatTimeJapanese(u"\\AM/PM \\H \\M \\S"), u"午後 11時 9分 0秒");
}

TEST_F(MessagesTest, EnglishTimeSentences) {
  Japanese(false);
  struct TCase {
    int H, M, S;
    const char16_t *Signal, *Current;
  };
  const TCase cases[] = {
      {15, 5, 9, u"The time is pm 03:05.", u"The time is pm 03:05:09."},
      {0, 30, 0, u"The time is am 12:30.", u"The time is am 12:30:00."},
      {12, 0, 0, u"The time is pm 12:00.", u"The time is pm 12:00:00."},
      {11, 59, 59, u"The time is am 11:59.", u"The time is am 11:59:59."},
      {23, 1, 2, u"The time is pm 11:01.", u"The time is pm 11:01:02."},
  };
  for (const TCase &c : cases) {
    clock.Set(c.H, c.M, c.S);
    EXPECT_EQ(TimeSignalText(), c.Signal);
    EXPECT_EQ(CurrentTimeText(), c.Current);
  }
}

TEST(StripTagsTest, RemovesEveryRunFromOpenToClose) {
  const std::pair<std::u16string, std::u16string> cases[] = {
      {u"a<b>c>d", u"ac>d"},
      {u"x<y", u"x"},
      {u"a < b", u"a "},
      {u"x > y", u"x > y"},
      {u"<<a>b>c", u"b>c"},
      {u"Thank you for using <pron sym=\"m uh r\">MURMELO</pron>..",
       u"Thank you for using MURMELO.."},
      {u"", u""},
  };
  for (const auto &[text, plain] : cases)
    EXPECT_EQ(StripTags(text), plain);
}

} // namespace
