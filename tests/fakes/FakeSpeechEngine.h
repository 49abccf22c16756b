#pragma once

#include <string>
#include <vector>

#include "platform/SpeechEngine.h"

// A speech engine that records what it was asked to do, in order, as lines
// such as "voice 2", "volume 100", "rate -3", "speak plain:hello",
// "speak markup:...", "speak purge:.", "output 1". Speaks nothing.
class FakeSpeechEngine final : public platform::ISpeechEngine {
public:
  std::vector<platform::TSpeechEngineVoice> Voices() override;
  std::vector<std::u16string> AudioOutputs() override;
  int AudioOutput() override { return Output; }
  void SetAudioOutput(int position) override;
  void SetVoice(int position) override;
  int Volume() override { return CurrentVolume; }
  void SetVolume(int volume) override;
  int Rate() override { return CurrentRate; }
  void SetRate(int rate) override;
  bool Speak(const std::u16string &text, platform::TSpeakMode mode) override;

  // Set by the test.
  std::vector<platform::TSpeechEngineVoice> VoiceList;
  std::vector<std::u16string> Outputs;
  bool RefusePlain = false, RefuseMarkup = false;
  bool ThrowOnVoices = false, ThrowOnSetVoice = false, ThrowOnOutputs = false;
  bool ThrowOnSpeak = false;

  // Observed.
  std::vector<std::u16string> Calls;
  std::vector<std::u16string> Spoken; // texts accepted, any mode
  int Output = -1;
  int CurrentVoice = 0, CurrentVolume = 100, CurrentRate = 0;
};

class FakeSpeechEngines final : public platform::ISpeechEngines {
public:
  platform::ISpeechEngine *FirstEngine() override { return HasFirst ? &First : nullptr; }
  platform::ISpeechEngine *SecondEngine() override { return HasSecond ? &Second : nullptr; }

  FakeSpeechEngine First, Second;
  bool HasFirst = true, HasSecond = true;
};
