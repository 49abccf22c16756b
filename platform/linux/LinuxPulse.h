#pragma once

#include "platform/linux/LinuxSpeechAudio.h"

namespace platform::linux_impl {

// The PulseAudio (or PipeWire-Pulse) sound server. The server is never
// started on demand; when none runs there are no sinks and nothing opens.
class TLinuxPulseAudio final : public IAudioDevices {
public:
  std::vector<TAudioSink> Sinks() override;
  bool Reachable() override;
  std::unique_ptr<IPcmStream> Open(const std::string &sinkName, int sampleRate) override;
};

} // namespace platform::linux_impl
