#pragma once

#include <memory>

#include "platform/SpeechEngine.h"
#include "platform/linux/LinuxSpeechAudio.h"

namespace platform::linux_impl {

class TLinuxEspeakEngine;
class TLinuxSpeechDispatcher;

// The two engines: speech-dispatcher when its service can be reached, and
// eSpeak NG, always, sending its speech to the sound server (or, for tests,
// to the given audio devices).
class TLinuxSpeechEngines final : public ISpeechEngines {
public:
  TLinuxSpeechEngines();
  TLinuxSpeechEngines(std::shared_ptr<IAudioDevices> audio, bool useDispatcher);
  ~TLinuxSpeechEngines() override;
  TLinuxSpeechEngines(const TLinuxSpeechEngines &) = delete;
  TLinuxSpeechEngines &operator=(const TLinuxSpeechEngines &) = delete;

  ISpeechEngine *FirstEngine() override;
  ISpeechEngine *SecondEngine() override;

private:
  std::unique_ptr<TLinuxSpeechDispatcher> dispatcher_;
  std::unique_ptr<TLinuxEspeakEngine> espeak_;
};

} // namespace platform::linux_impl
