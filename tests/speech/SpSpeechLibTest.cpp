#include <gtest/gtest.h>

#include "Lib/uStrUtils.h"
#include "speech/uSpSpeechLib.h"
#include "tests/fakes/FakeSpeechEngine.h"
#include "tests/fakes/ScopedServices.h"
#include "text/uMessages.h"

namespace {

using Calls = std::vector<std::u16string>;

std::vector<platform::TSpeechEngineVoice> MakeVoices(const char16_t *prefix, int count) {
  std::vector<platform::TSpeechEngineVoice> voices;
  for (int k = 0; k < count; ++k)
    voices.push_back({prefix + IntToStr(k), std::u16string(u"desc ") + prefix + IntToStr(k)});
  return voices;
}

class SpSpeechLibTest : public ::testing::Test {
protected:
  SpSpeechLibTest() {
    engines.First.VoiceList = MakeVoices(u"first", 3);
    engines.Second.VoiceList = MakeVoices(u"second", 2);
  }
  void SetUp() override { JapaneseMessages = false; }
  void TearDown() override { SapiReleaseVoices(); }

  void Load() {
    SapiLoadVoices();
    engines.First.Calls.clear();
    engines.Second.Calls.clear();
  }

  FakeSpeechEngines engines;
  ScopedServices services{[this] {
    platform::TServices s;
    s.SpeechEngines = &engines;
    return s;
  }()};
};

TEST_F(SpSpeechLibTest, ListsFirstEngineByNameThenSecondByDescription) {
  EXPECT_TRUE(SapiLoadVoices());
  ASSERT_EQ(SapiVoices.size(), 5u);
  const std::pair<int, int> expected[] = {{11, 0}, {11, 1}, {11, 2}, {5, 0}, {5, 1}};
  for (size_t k = 0; k < 5; ++k) {
    EXPECT_EQ(SapiVoices[k].Version, expected[k].first);
    EXPECT_EQ(SapiVoices[k].index, expected[k].second);
  }
  EXPECT_EQ(SapiVoices[2].name, u"first2");
  EXPECT_EQ(SapiVoices[4].name, u"desc second1");
}

TEST_F(SpSpeechLibTest, MissingOrFailingEngineOnlyRemovesItsVoices) {
  engines.HasFirst = false;
  EXPECT_TRUE(SapiLoadVoices());
  ASSERT_EQ(SapiVoices.size(), 2u);
  EXPECT_EQ(SapiVoices[0].Version, 5);

  engines.HasFirst = true;
  engines.Second.ThrowOnVoices = true;
  EXPECT_TRUE(SapiLoadVoices());
  ASSERT_EQ(SapiVoices.size(), 3u);
  EXPECT_EQ(SapiVoices[2].Version, 11);

  engines.HasFirst = false;
  EXPECT_FALSE(SapiLoadVoices());
  EXPECT_TRUE(SapiVoices.empty());
}

TEST_F(SpSpeechLibTest, SpeakSelectsVoiceThenVolumeThenRateWithinBounds) {
  Load();
  EXPECT_TRUE(SapiSpeak(u"hello", 99, 150, -20)); // the last voice, 100, -10
  EXPECT_EQ(engines.Second.Calls,
            (Calls{u"voice 1", u"volume 100", u"rate -10", u"speak plain:hello"}));
  EXPECT_TRUE(SapiSpeak(u"hi", -5, -3, 20)); // the first voice, 0, 10
  EXPECT_EQ(engines.First.Calls, (Calls{u"voice 0", u"volume 0", u"rate 10", u"speak plain:hi"}));
  EXPECT_TRUE(SapiSpeakXml(u"<pron sym=\"m\">M</pron>", 3, 50, 0));
  EXPECT_EQ(engines.Second.Calls.back(), u"speak markup:<pron sym=\"m\">M</pron>");
}

TEST_F(SpSpeechLibTest, SpeakFailsOnlyWhereTheEngineRefusesOrThrowsInSpeak) {
  Load();
  engines.First.RefusePlain = true;
  EXPECT_FALSE(SapiSpeak(u"x", 0, 50, 0));
  engines.First.RefusePlain = false;
  engines.First.ThrowOnSpeak = true;
  EXPECT_FALSE(SapiSpeak(u"x", 0, 50, 0));
  // Choosing the voice is not guarded: its failure reaches the caller.
  engines.First.ThrowOnSetVoice = true;
  EXPECT_THROW(SapiSpeak(u"x", 0, 50, 0), std::out_of_range);

  SapiReleaseVoices();
  EXPECT_FALSE(SapiSpeak(u"x", 0, 50, 0));
  EXPECT_EQ(SapiGetVolume(0), 0);
  EXPECT_EQ(SapiGetRate(0), 0);
}

TEST_F(SpSpeechLibTest, SpeakLineStripsMarkupAndReportsFailureWithTheOriginal) {
  Load();
  EXPECT_EQ(SapiSpeakLine(3, 100, 0, u"a<b>c"), u"a<b>c");
  EXPECT_EQ(engines.Second.Spoken.back(), u"ac");
  engines.Second.RefusePlain = true;
  EXPECT_EQ(SapiSpeakLine(3, 100, 0, u"a<b>c"), u"Can't speak: a<b>c");
}

TEST_F(SpSpeechLibTest, TestFallsBackFromMarkupToPlainToUnavailable) {
  Load();
  EXPECT_EQ(SapiTest(0, 100, 0), u"");
  EXPECT_EQ(engines.First.Spoken, (Calls{ConnectedMessageSapi()}));

  engines.First.RefuseMarkup = true;
  EXPECT_EQ(SapiTest(0, 100, 0), u"");
  EXPECT_EQ(engines.First.Spoken.back(), u"Thank you for using MUR-MEH-LO..");

  engines.First.RefusePlain = true;
  EXPECT_EQ(SapiTest(0, 100, 0), SapiUnavailableMessage());
}

TEST_F(SpSpeechLibTest, SkipPurgesTheVoicesEngineWithoutTouchingSettings) {
  Load();
  SapiSkip(4);
  EXPECT_EQ(engines.Second.Calls, (Calls{u"speak purge:."}));
  EXPECT_TRUE(engines.First.Calls.empty());
  engines.Second.ThrowOnSpeak = true;
  EXPECT_NO_THROW(SapiSkip(4));
  SapiReleaseVoices();
  EXPECT_NO_THROW(SapiSkip(0));
}

TEST_F(SpSpeechLibTest, VolumeAndRateAreTheEnginesCurrentValues) {
  Load();
  engines.Second.CurrentVolume = 42;
  engines.Second.CurrentRate = -4;
  EXPECT_EQ(SapiGetVolume(3), 42);
  EXPECT_EQ(SapiGetRate(100), -4); // bounded to the last voice
  SapiSpeak(u"x", 0, 70, 3);
  EXPECT_EQ(SapiGetVolume(1), 70); // the same engine as voice 0
  EXPECT_EQ(SapiGetRate(2), 3);
}

TEST_F(SpSpeechLibTest, AudioOutputsListDefaultThenDescriptionsAndSelectTheVoice) {
  engines.Second.Outputs = {u"Speakers", u"Headphones"};
  Load();
  TStringList list{u"old"};
  SapiGetAudioOuts(4, list);
  EXPECT_EQ(list, (TStringList{u"Default", u"Speakers", u"Headphones"}));
  EXPECT_EQ(engines.Second.Calls, (Calls{u"voice 1"}));

  engines.Second.ThrowOnOutputs = true;
  SapiGetAudioOuts(3, list);
  EXPECT_EQ(list, (TStringList{u"Default"}));
}

TEST_F(SpSpeechLibTest, SetAudioOutChoosesAnOutputOrRestoresTheDefault) {
  engines.First.Output = -1;
  engines.Second.Output = -1;
  engines.First.Outputs = engines.Second.Outputs = {u"Speakers", u"Headphones"};
  Load();
  const std::pair<int, int> cases[] = {{1, 1}, {-1, -1}, {0, 0}, {2, -1}, {7, -1}};
  for (const auto &[chosen, result] : cases) {
    SapiSetAudioOut(0, chosen);
    EXPECT_EQ(engines.First.Output, result) << chosen;
    SapiSetAudioOut(4, chosen);
    EXPECT_EQ(engines.Second.Output, result) << chosen;
  }
  // The second engine falls back to the default when listing fails; the
  // first lets the failure through.
  SapiSetAudioOut(4, 1);
  engines.Second.ThrowOnOutputs = true;
  SapiSetAudioOut(4, 0);
  EXPECT_EQ(engines.Second.Output, -1);
  engines.First.ThrowOnOutputs = true;
  EXPECT_THROW(SapiSetAudioOut(0, 0), std::runtime_error);
}

} // namespace
