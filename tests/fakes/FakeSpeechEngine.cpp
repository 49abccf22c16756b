#include "tests/fakes/FakeSpeechEngine.h"

#include <stdexcept>

#include "Lib/uStrUtils.h"

std::vector<platform::TSpeechEngineVoice> FakeSpeechEngine::Voices() {
  if (ThrowOnVoices)
    throw std::runtime_error("voices unavailable");
  return VoiceList;
}

std::vector<std::u16string> FakeSpeechEngine::AudioOutputs() {
  if (ThrowOnOutputs)
    throw std::runtime_error("outputs unavailable");
  return Outputs;
}

void FakeSpeechEngine::SetAudioOutput(int position) {
  Calls.push_back(u"output " + IntToStr(position));
  Output = position;
}

void FakeSpeechEngine::SetVoice(int position) {
  if (ThrowOnSetVoice || position < 0 || static_cast<size_t>(position) >= VoiceList.size())
    throw std::out_of_range("no such voice");
  Calls.push_back(u"voice " + IntToStr(position));
  CurrentVoice = position;
}

void FakeSpeechEngine::SetVolume(int volume) {
  Calls.push_back(u"volume " + IntToStr(volume));
  CurrentVolume = volume;
}

void FakeSpeechEngine::SetRate(int rate) {
  Calls.push_back(u"rate " + IntToStr(rate));
  CurrentRate = rate;
}

bool FakeSpeechEngine::Speak(const std::u16string &text, platform::TSpeakMode mode) {
  const char16_t *kind = mode == platform::TSpeakMode::Plain    ? u"plain:"
                         : mode == platform::TSpeakMode::Markup ? u"markup:"
                                                                : u"purge:";
  Calls.push_back(u"speak " + std::u16string(kind) + text);
  if (ThrowOnSpeak)
    throw std::runtime_error("engine failed");
  if ((mode == platform::TSpeakMode::Plain && RefusePlain) ||
      (mode == platform::TSpeakMode::Markup && RefuseMarkup))
    return false;
  Spoken.push_back(text);
  return true;
}
