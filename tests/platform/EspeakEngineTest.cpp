#include <algorithm>
#include <cmath>

#include <gtest/gtest.h>

#include "Lib/uStrUtils.h"
#include "platform/linux/LinuxEspeak.h"
#include "platform/linux/LinuxPulse.h"

namespace {

using namespace std::chrono_literals;
using platform::TSpeakMode;
using platform::linux_impl::TLinuxEspeakEngine;
using platform::linux_impl::TRecordingAudio;

double Rms(const std::vector<std::int16_t> &samples, size_t from = 0) {
  double sum = 0;
  for (size_t k = from; k < samples.size(); ++k)
    sum += static_cast<double>(samples[k]) * samples[k];
  return samples.size() > from ? std::sqrt(sum / static_cast<double>(samples.size() - from)) : 0;
}

int Peak(const std::vector<std::int16_t> &samples, size_t from = 0) {
  int peak = 0;
  for (size_t k = from; k < samples.size(); ++k)
    peak = std::max(peak, std::abs(static_cast<int>(samples[k])));
  return peak;
}

int EnglishVoice(TLinuxEspeakEngine &engine) {
  const auto voices = engine.Voices();
  for (size_t k = 0; k < voices.size(); ++k)
    if (voices[k].Description.find(u"(en-US)") != std::u16string::npos)
      return static_cast<int>(k);
  return -1;
}

class EspeakEngineTest : public ::testing::Test {
protected:
  void SetUp() override {
    const int english = EnglishVoice(engine);
    ASSERT_GE(english, 0);
    engine.SetVoice(english);
  }

  // Renders one text with the given volume and rate, as fast as it goes.
  TRecordingAudio::TRecording Render(const std::u16string &text, int volume, int rate,
                                     TSpeakMode mode = TSpeakMode::Plain) {
    audio->Take();
    engine.SetVolume(volume);
    engine.SetRate(rate);
    EXPECT_TRUE(engine.Speak(text, mode));
    EXPECT_TRUE(engine.WaitIdle(20s));
    return audio->Take();
  }

  std::shared_ptr<TRecordingAudio> audio = std::make_shared<TRecordingAudio>(
      TRecordingAudio::TOptions{{{"sink.a", u"Speakers"}, {"sink.b", u"Headphones"}}, false, true});
  TLinuxEspeakEngine engine{audio};
};

const std::u16string kLine = u"The quick brown fox jumps over the lazy dog near the river bank.";

TEST_F(EspeakEngineTest, VoicesNameTheirLanguage) {
  const auto voices = engine.Voices();
  ASSERT_GT(voices.size(), 10u);
  const int english = EnglishVoice(engine);
  EXPECT_EQ(voices[static_cast<size_t>(english)].Description.rfind(u"eSpeak NG - English", 0), 0u);
  EXPECT_THROW(engine.SetVoice(static_cast<int>(voices.size())), std::out_of_range);
  EXPECT_EQ(engine.Volume(), 100);
  EXPECT_EQ(engine.Rate(), 0);
}

TEST(EspeakVoiceOrderTest, TheUsersLanguageComesFirst) {
  auto audio = std::make_shared<TRecordingAudio>(TRecordingAudio::TOptions{});
  struct Case {
    const char *locale;
    const char16_t *firstTag;
  } cases[] = {{"en_US.UTF-8", u"(en-US)"},
               {"C", u"(en-US)"},
               {"de_DE.UTF-8", u"(de)"},
               {"ja_JP.UTF-8", u"(ja)"}};
  for (const auto &c : cases) {
    TLinuxEspeakEngine engine(audio, c.locale);
    const auto voices = engine.Voices();
    ASSERT_FALSE(voices.empty());
    EXPECT_NE(voices[0].Description.find(c.firstTag), std::u16string::npos)
        << c.locale << ": " << Utf16ToUtf8(voices[0].Description);
  }
}

TEST_F(EspeakEngineTest, TextBecomesAudibleSpeech) {
  const auto recording = Render(kLine, 100, 0);
  EXPECT_GT(recording.SampleRate, 8000);
  const double seconds = static_cast<double>(recording.Samples.size()) / recording.SampleRate;
  EXPECT_GT(seconds, 1.5);
  EXPECT_LT(seconds, 10.0);
  EXPECT_GT(Rms(recording.Samples), 500.0);
}

TEST_F(EspeakEngineTest, ChatTextCannotCommandTheSynthesiser) {
  // U+0001 "200A" would be eSpeak's inline command for double loudness; it
  // must be spoken as the same text with a blank would be.
  const auto plain = Render(u" 200A hello there", 30, 0).Samples;
  const auto commanded = Render(u"\u0001200A hello there", 30, 0).Samples;
  // (Renderings of one text differ by a few samples.)
  EXPECT_NEAR(static_cast<double>(commanded.size()), static_cast<double>(plain.size()),
              plain.size() * 0.1);
  EXPECT_LT(Peak(commanded), Peak(plain) * 13 / 10);
}

TEST_F(EspeakEngineTest, RateChangesTheLengthAndVolumeTheLoudness) {
  const size_t normal = Render(kLine, 100, 0).Samples.size();
  const size_t fast = Render(kLine, 100, 5).Samples.size();
  const size_t slow = Render(kLine, 100, -5).Samples.size();
  EXPECT_LT(fast, normal * 8 / 10);
  EXPECT_GT(slow, normal * 12 / 10);

  const double loud = Rms(Render(kLine, 100, 0).Samples);
  const double quiet = Rms(Render(kLine, 30, 0).Samples);
  EXPECT_LT(quiet, loud * 0.6);
  EXPECT_EQ(Peak(Render(kLine, 0, 0).Samples), 0);
}

TEST_F(EspeakEngineTest, TextsAreSpokenInOrderAfterEachOther) {
  const size_t one = Render(u"Hello there.", 100, 0).Samples.size();
  const size_t other = Render(kLine, 100, 0).Samples.size();
  audio->Take();
  EXPECT_TRUE(engine.Speak(u"Hello there.", TSpeakMode::Plain));
  EXPECT_TRUE(engine.Speak(kLine, TSpeakMode::Plain));
  ASSERT_TRUE(engine.WaitIdle(20s));
  const size_t both = audio->Take().Samples.size();
  EXPECT_NEAR(static_cast<double>(both), static_cast<double>(one + other), 0.05 * both);
}

TEST_F(EspeakEngineTest, PurgeStopsTheSentenceAndEmptiesTheQueue) {
  auto paced = std::make_shared<TRecordingAudio>(TRecordingAudio::TOptions{{}, true, true});
  TLinuxEspeakEngine live(paced);
  live.SetVoice(EnglishVoice(live));
  ASSERT_TRUE(live.Speak(kLine, TSpeakMode::Plain));
  ASSERT_TRUE(live.Speak(kLine, TSpeakMode::Plain));
  ASSERT_TRUE(live.Speak(kLine, TSpeakMode::Plain));
  ASSERT_TRUE(paced->WaitForSamples(5s));
  std::this_thread::sleep_for(300ms);
  ASSERT_TRUE(live.Speak(u".", TSpeakMode::PurgeText));
  EXPECT_LE(live.Queued(), 1u);
  ASSERT_TRUE(live.WaitIdle(5s));
  EXPECT_EQ(live.Queued(), 0u);
  const auto recording = paced->Take();
  ASSERT_EQ(recording.Discards.size(), 1u);
  const double seconds = static_cast<double>(recording.Samples.size()) / recording.SampleRate;
  EXPECT_LT(seconds, 2.0); // far from three whole sentences
  EXPECT_LT(Peak(recording.Samples, recording.Discards[0]), 200) << "speech after the purge";

  // The next text is spoken at once.
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(live.Speak(u"Again.", TSpeakMode::Plain));
  ASSERT_TRUE(paced->WaitForSamples(2s));
  EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms);
}

TEST(EspeakLifetimeTest, DestroyingWhileSpeakingStopsAtOnce) {
  auto paced = std::make_shared<TRecordingAudio>(TRecordingAudio::TOptions{{}, true, true});
  auto engine = std::make_unique<TLinuxEspeakEngine>(paced);
  for (int k = 0; k < 5; ++k)
    ASSERT_TRUE(engine->Speak(kLine, TSpeakMode::Plain));
  ASSERT_TRUE(paced->WaitForSamples(5s));
  const auto start = std::chrono::steady_clock::now();
  engine.reset();
  EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms);
}

TEST_F(EspeakEngineTest, MarkupGreetingIsSpokenWithoutItsTags) {
  const auto plain = Render(u"Thank you for using MURMELO..", 100, 0);
  const auto marked =
      Render(u"Thank you for using <pron sym=\"m uh r ! m eh l ow\">MURMELO</pron>..", 100, 0,
             TSpeakMode::Markup);
  const auto tagsRead =
      Render(u"Thank you for using <pron sym=\"m uh r ! m eh l ow\">MURMELO</pron>..", 100, 0);
  EXPECT_GT(Rms(marked.Samples), 500.0);
  // Reading the tags out would take far longer than the greeting itself.
  EXPECT_LT(marked.Samples.size(), plain.Samples.size() * 13 / 10);
  EXPECT_GT(tagsRead.Samples.size(), plain.Samples.size() * 13 / 10);
}

TEST_F(EspeakEngineTest, ChosenOutputReceivesTheSpeech) {
  EXPECT_EQ(engine.AudioOutputs(), (std::vector<std::u16string>{u"Speakers", u"Headphones"}));
  engine.SetAudioOutput(1);
  EXPECT_EQ(engine.AudioOutput(), 1);
  auto recording = Render(u"Hi.", 100, 0);
  ASSERT_FALSE(recording.SinkOfWrite.empty());
  EXPECT_EQ(recording.SinkOfWrite.back(), "sink.b");
  engine.SetAudioOutput(5);
  EXPECT_EQ(engine.AudioOutput(), -1);
  recording = Render(u"Hi.", 100, 0);
  ASSERT_FALSE(recording.SinkOfWrite.empty());
  EXPECT_EQ(recording.SinkOfWrite.back(), ""); // the desktop's default
}

TEST(EspeakWithoutSoundTest, SpeakIsRefusedWhenNoOutputCanBeReached) {
  auto unreachable = std::make_shared<TRecordingAudio>(TRecordingAudio::TOptions{{}, false, false});
  TLinuxEspeakEngine engine(unreachable);
  EXPECT_FALSE(engine.Voices().empty());
  EXPECT_FALSE(engine.Speak(u"Hello.", TSpeakMode::Plain));
  EXPECT_FALSE(engine.Speak(u".", TSpeakMode::PurgeText));
  EXPECT_TRUE(engine.WaitIdle(1s));
}

TEST(EspeakWithoutSoundTest, NoSoundServerMeansNoOutputsAndARefusalQuickly) {
  auto pulse = std::make_shared<platform::linux_impl::TLinuxPulseAudio>();
  if (pulse->Reachable())
    GTEST_SKIP() << "a sound server runs here";
  const auto start = std::chrono::steady_clock::now();
  TLinuxEspeakEngine engine(pulse);
  EXPECT_TRUE(engine.AudioOutputs().empty());
  EXPECT_FALSE(engine.Speak(u"Hello.", TSpeakMode::Plain));
  EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
}

TEST(EspeakRateTest, RateMapsOntoWordsAMinute) {
  EXPECT_EQ(TLinuxEspeakEngine::WordsPerMinute(0), 175);
  EXPECT_EQ(TLinuxEspeakEngine::WordsPerMinute(10), 450);
  EXPECT_EQ(TLinuxEspeakEngine::WordsPerMinute(-10), 80);
  EXPECT_EQ(TLinuxEspeakEngine::WordsPerMinute(5), 303);
  EXPECT_EQ(TLinuxEspeakEngine::WordsPerMinute(-20), 80);
}

} // namespace
