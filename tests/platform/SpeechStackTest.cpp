#include <gtest/gtest.h>

#include "platform/linux/LinuxEspeak.h"
#include "platform/linux/LinuxPulse.h"
#include "platform/linux/LinuxSpeechEngines.h"
#include "speech/uSpSpeechLib.h"
#include "speech/uSpeech.h"
#include "tests/fakes/FakeLocale.h"
#include "tests/fakes/ScopedServices.h"
#include "text/uMessages.h"

namespace {

using namespace std::chrono_literals;
using platform::linux_impl::TLinuxSpeechEngines;
using platform::linux_impl::TRecordingAudio;

// The device list and the dispatcher over the real engines.
class SpeechStackTest : public ::testing::Test {
protected:
  void Start(TLinuxSpeechEngines &engines) {
    services = std::make_unique<ScopedServices>([&] {
      platform::TServices s;
      s.SpeechEngines = &engines;
      s.Locale = &locale;
      return s;
    }());
    SapiLoadVoices();
    BuildSpeechItems();
  }
  void TearDown() override {
    SpeechItems.clear();
    SapiReleaseVoices();
    JapaneseMessages = false;
  }
  std::int32_t EnglishDevice() {
    for (size_t k = 0; k < SpeechItems.size(); ++k)
      if (SpeechItems[k].Name == u"eSpeak NG - English (America) (en-US)")
        return static_cast<std::int32_t>(k);
    return -1;
  }

  FakeLocale locale{0x0411, 932};
  std::unique_ptr<ScopedServices> services;
};

TEST_F(SpeechStackTest, WithoutSoundServerVoicesAreListedAndSpeakingReportsFailure) {
  if (platform::linux_impl::TLinuxPulseAudio().Reachable())
    GTEST_SKIP() << "a sound server runs here";
  TLinuxSpeechEngines engines;
  Start(engines);
  const std::int32_t english = EnglishDevice();
  ASSERT_GE(english, 0);
  EXPECT_GT(SpeechItems.size(), 100u);
  EXPECT_EQ(SpeechItems.back().Name, u"BouyomiChan");

  StartSpeechDevice(english, false, u"");
  EXPECT_FALSE(JapaneseMessages);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(SpeakText(english, 100, 0, u"Hello."), u"Can't speak: Hello.");
  EXPECT_EQ(TestSpeechDevice(english, 100, 0), SapiUnavailableMessage());
  EXPECT_EQ(SkipSpeech(english), u"Speech Skiped.");
  EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
  TStringList outputs;
  GetSpeechAudioOuts(english, outputs);
  EXPECT_EQ(outputs, TStringList{u"Default"});
}

TEST_F(SpeechStackTest, SpokenLineReachesTheOutputWithTheDevicesSettings) {
  auto audio = std::make_shared<TRecordingAudio>(
      TRecordingAudio::TOptions{{{"usb", u"USB Headset"}}, false, true});
  TLinuxSpeechEngines engines(audio, false);
  Start(engines);
  const std::int32_t english = EnglishDevice();
  ASSERT_GE(english, 0);
  TStringList outputs;
  GetSpeechAudioOuts(english, outputs);
  EXPECT_EQ(outputs, (TStringList{u"Default", u"USB Headset"}));
  SetSpeechAudioOut(english, 0);
  StartSpeechDevice(english, false, u"");

  EXPECT_EQ(SpeakText(english, 150, -3, u"Hello <b>world</b>."), u"Hello <b>world</b>.");
  EXPECT_EQ(SapiGetVolume(english), 100);
  EXPECT_EQ(SapiGetRate(english), -3);
  EXPECT_EQ(TestSpeechDevice(english, 100, 0), u"");
  auto *espeak = dynamic_cast<platform::linux_impl::TLinuxEspeakEngine *>(engines.SecondEngine());
  ASSERT_NE(espeak, nullptr);
  ASSERT_TRUE(espeak->WaitIdle(20s));
  const auto recording = audio->Take();
  EXPECT_GT(recording.Samples.size(), static_cast<size_t>(recording.SampleRate));
  EXPECT_EQ(recording.SinkOfWrite.front(), "usb");
}

} // namespace
