#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/SpeechEngine.h"
#include "platform/linux/LinuxLocale.h"
#include "platform/linux/LinuxSpeechAudio.h"

namespace platform::linux_impl {

// eSpeak NG in-process. Texts are synthesised one after another on the
// engine's own thread and written to the chosen audio sink as they come.
// The library keeps global state, so at most one engine should exist at a
// time; a second one would wait for the first's sentences.
class TLinuxEspeakEngine final : public ISpeechEngine {
public:
  // The voices of the user's language come first (its region's first of
  // all), so that the first device speaks what the user reads.
  explicit TLinuxEspeakEngine(std::shared_ptr<IAudioDevices> audio,
                              const std::string &userLocale = EnvironmentLocale());
  ~TLinuxEspeakEngine() override;
  TLinuxEspeakEngine(const TLinuxEspeakEngine &) = delete;
  TLinuxEspeakEngine &operator=(const TLinuxEspeakEngine &) = delete;

  std::vector<TSpeechEngineVoice> Voices() override;
  std::vector<std::u16string> AudioOutputs() override;
  int AudioOutput() override;
  void SetAudioOutput(int position) override;
  void SetVoice(int position) override;
  int Volume() override;
  void SetVolume(int volume) override;
  int Rate() override;
  void SetRate(int rate) override;
  bool Speak(const std::u16string &text, TSpeakMode mode) override;

  // Texts waiting, not counting the one being spoken.
  size_t Queued();
  // Waits until the queue is empty and nothing is being spoken.
  bool WaitIdle(std::chrono::milliseconds timeout);

  // eSpeak's words a minute for a rate of -10..10 (175 at 0).
  static int WordsPerMinute(int rate);

private:
  struct TJob {
    std::string Text; // UTF-8
    bool Phonemes = false;
    std::string Voice;
    int Volume = 100;
    int Rate = 0;
    std::string Sink; // empty: the default output
    std::uint64_t Generation = 0;
  };
  struct TVoiceInfo {
    std::string Id;
    TSpeechEngineVoice Shown;
    int Rank = 2; // how near the voice is to the user's locale
  };

  void Run();
  void Synthesise(const TJob &job, std::unique_ptr<IPcmStream> &stream, std::string &openSink);
  // Called by the synthesiser on the worker thread; false stops the sentence.
  bool TakeSamples(const short *samples, int count);
  friend struct TEspeakCallback;

  std::shared_ptr<IAudioDevices> audio_;
  int sampleRate_ = 0;
  std::vector<TVoiceInfo> voices_;

  // Main-thread state.
  int voice_ = 0;
  int volume_ = 100;
  int rate_ = 0;
  int output_ = -1;
  std::string outputSink_;

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<TJob> queue_;
  bool busy_ = false;
  bool stopping_ = false;
  // A purge starts a new generation; samples of older jobs are dropped.
  std::atomic<std::uint64_t> generation_{0};
  std::atomic<bool> streamWorks_{false}; // the last stream opened and wrote fine

  // Worker-only state of the sentence being synthesised.
  IPcmStream *current_ = nullptr;
  std::uint64_t currentGeneration_ = 0;
  bool writeFailed_ = false;

  std::thread worker_;
};

} // namespace platform::linux_impl
