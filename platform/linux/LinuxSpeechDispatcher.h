#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/SpeechEngine.h"

namespace platform::linux_impl {

// The desktop's speech service, speech-dispatcher, reached through its
// socket. It speaks and queues in its own process, to the output its own
// configuration names, so it offers no choice of audio output.
class TLinuxSpeechDispatcher final : public ISpeechEngine {
public:
  // nullptr when no speech-dispatcher runs (it is never started here).
  // socketPath empty: the user's own speech-dispatcher socket.
  static std::unique_ptr<TLinuxSpeechDispatcher> Open(const std::string &socketPath = {});
  ~TLinuxSpeechDispatcher() override;
  TLinuxSpeechDispatcher(const TLinuxSpeechDispatcher &) = delete;
  TLinuxSpeechDispatcher &operator=(const TLinuxSpeechDispatcher &) = delete;

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

private:
  struct TConnection; // the library's connection, closed with the engine
  explicit TLinuxSpeechDispatcher(std::unique_ptr<TConnection> connection);

  std::unique_ptr<TConnection> connection_;
  std::vector<std::string> voiceIds_;
  std::vector<TSpeechEngineVoice> voices_;
  int volume_ = 100;
  int rate_ = 0;
};

} // namespace platform::linux_impl
