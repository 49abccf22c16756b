#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace platform::linux_impl {

// An audio output device that speech can be sent to.
struct TAudioSink {
  std::string Name;           // the sound server's identifier
  std::u16string Description; // what the user sees
};

// One open playback stream of 16-bit mono samples. Used by one thread only.
class IPcmStream {
public:
  virtual ~IPcmStream() = default;
  // Blocks at most for a short while (the stream's buffer); false when the
  // sound server went away.
  virtual bool Write(const std::int16_t *samples, size_t count) = 0;
  // Drops what is buffered and not yet heard.
  virtual void Discard() = 0;
};

// Where the in-process synthesiser's samples go: the sound server, or memory.
// Thread-safe.
class IAudioDevices {
public:
  virtual ~IAudioDevices() = default;
  virtual std::vector<TAudioSink> Sinks() = 0;
  // Whether a stream can be opened now; answers quickly.
  virtual bool Reachable() = 0;
  // sinkName empty: the desktop's default output. nullptr on failure.
  virtual std::unique_ptr<IPcmStream> Open(const std::string &sinkName, int sampleRate) = 0;
};

// Renders to memory, for tests and measurements: every sample is kept with
// the sink it went to and where a purge cut it.
class TRecordingAudio final : public IAudioDevices {
public:
  struct TOptions {
    std::vector<TAudioSink> Sinks;
    // Write takes as long as the samples last, like a sound card.
    bool RealTime = false;
    bool Reachable = true;
  };
  TRecordingAudio();
  explicit TRecordingAudio(TOptions options);

  std::vector<TAudioSink> Sinks() override;
  bool Reachable() override;
  std::unique_ptr<IPcmStream> Open(const std::string &sinkName, int sampleRate) override;

  struct TRecording {
    std::vector<std::int16_t> Samples;
    std::vector<std::string> SinkOfWrite; // sink name for each Write call
    std::vector<size_t> Discards;         // sample positions where a purge cut
    int SampleRate = 0;
  };
  TRecording Take();                                   // and clears
  std::chrono::steady_clock::time_point FirstSample(); // of the current recording
  // Waits until at least one sample arrived since the last Take.
  bool WaitForSamples(std::chrono::milliseconds timeout);

private:
  class TStream;
  TOptions options_;
  std::mutex mutex_;
  std::condition_variable arrived_;
  TRecording recording_;
  std::chrono::steady_clock::time_point first_{};
};

} // namespace platform::linux_impl
