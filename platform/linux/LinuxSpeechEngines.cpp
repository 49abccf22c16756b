#include "platform/linux/LinuxSpeechEngines.h"

#include "platform/linux/LinuxEspeak.h"
#include "platform/linux/LinuxPulse.h"
#include "platform/linux/LinuxSpeechDispatcher.h"

namespace platform::linux_impl {

TLinuxSpeechEngines::TLinuxSpeechEngines()
    : TLinuxSpeechEngines(std::make_shared<TLinuxPulseAudio>(), true) {}

TLinuxSpeechEngines::TLinuxSpeechEngines(std::shared_ptr<IAudioDevices> audio, bool useDispatcher)
    : dispatcher_(useDispatcher ? TLinuxSpeechDispatcher::Open() : nullptr),
      espeak_(std::make_unique<TLinuxEspeakEngine>(std::move(audio))) {}

TLinuxSpeechEngines::~TLinuxSpeechEngines() = default;

ISpeechEngine *TLinuxSpeechEngines::FirstEngine() { return dispatcher_.get(); }

ISpeechEngine *TLinuxSpeechEngines::SecondEngine() { return espeak_.get(); }

} // namespace platform::linux_impl
