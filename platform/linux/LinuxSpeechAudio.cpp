#include "platform/linux/LinuxSpeechAudio.h"

#include <thread>

namespace platform::linux_impl {

class TRecordingAudio::TStream final : public IPcmStream {
public:
  TStream(TRecordingAudio &owner, std::string sinkName, int sampleRate)
      : owner_(owner), sinkName_(std::move(sinkName)), sampleRate_(sampleRate) {}

  bool Write(const std::int16_t *samples, size_t count) override {
    {
      std::lock_guard lock(owner_.mutex_);
      auto &recording = owner_.recording_;
      if (recording.Samples.empty())
        owner_.first_ = std::chrono::steady_clock::now();
      recording.SampleRate = sampleRate_;
      recording.Samples.insert(recording.Samples.end(), samples, samples + count);
      recording.SinkOfWrite.push_back(sinkName_);
    }
    owner_.arrived_.notify_all();
    if (owner_.options_.RealTime)
      std::this_thread::sleep_for(std::chrono::microseconds(count * 1'000'000 / sampleRate_));
    return true;
  }

  void Discard() override {
    std::lock_guard lock(owner_.mutex_);
    owner_.recording_.Discards.push_back(owner_.recording_.Samples.size());
  }

private:
  TRecordingAudio &owner_;
  std::string sinkName_;
  int sampleRate_;
};

TRecordingAudio::TRecordingAudio() : TRecordingAudio(TOptions{}) {}

TRecordingAudio::TRecordingAudio(TOptions options) : options_(std::move(options)) {}

std::vector<TAudioSink> TRecordingAudio::Sinks() { return options_.Sinks; }

bool TRecordingAudio::Reachable() { return options_.Reachable; }

std::unique_ptr<IPcmStream> TRecordingAudio::Open(const std::string &sinkName, int sampleRate) {
  if (!options_.Reachable || sampleRate <= 0)
    return nullptr;
  return std::make_unique<TStream>(*this, sinkName, sampleRate);
}

TRecordingAudio::TRecording TRecordingAudio::Take() {
  std::lock_guard lock(mutex_);
  TRecording taken = std::move(recording_);
  recording_ = TRecording{};
  return taken;
}

std::chrono::steady_clock::time_point TRecordingAudio::FirstSample() {
  std::lock_guard lock(mutex_);
  return first_;
}

bool TRecordingAudio::WaitForSamples(std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  return arrived_.wait_for(lock, timeout, [this] { return !recording_.Samples.empty(); });
}

} // namespace platform::linux_impl
