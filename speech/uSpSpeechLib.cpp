#include "speech/uSpSpeechLib.h"

#include <algorithm>
#include <stdexcept>

#include "platform/Platform.h"
#include "platform/SpeechEngine.h"
#include "text/uMessages.h"

std::vector<TSapiVoice> SapiVoices;

namespace {

using platform::ISpeechEngine;
using platform::TSpeakMode;

constexpr std::int32_t kFirstVersion = 11;
constexpr std::int32_t kSecondVersion = 5;

// The engines as found at start, and the output each had then (restored when
// a chosen output is gone).
struct TEngineState {
  ISpeechEngine *Engine = nullptr;
  int DefaultOutput = -1;
};
TEngineState First;
TEngineState Second;

TEngineState &StateOf(const TSapiVoice &voice) {
  return voice.Version == kFirstVersion ? First : Second;
}

ISpeechEngine &EngineOf(const TSapiVoice &voice) {
  ISpeechEngine *engine = StateOf(voice).Engine;
  if (engine == nullptr) // only after SapiReleaseVoices
    throw std::logic_error("speech engine released");
  return *engine;
}

// Loads one engine's voices; any failure leaves it without voices.
std::vector<platform::TSpeechEngineVoice> LoadEngine(ISpeechEngine *engine, TEngineState &state) {
  state = TEngineState{engine, -1};
  if (engine == nullptr)
    return {};
  try {
    state.DefaultOutput = engine->AudioOutput();
    return engine->Voices();
  } catch (...) {
    return {};
  }
}

std::int32_t ClampVoice(std::int32_t i) {
  return std::clamp<std::int32_t>(i, 0, static_cast<std::int32_t>(SapiVoices.size()) - 1);
}

bool SpeakWith(const std::u16string &text, std::int32_t i, std::int32_t volume, std::int32_t rate,
               TSpeakMode mode) {
  if (SapiVoices.empty())
    return false;
  const TSapiVoice &voice = SapiVoices[ClampVoice(i)];
  ISpeechEngine &engine = EngineOf(voice);
  // Choosing the voice and writing volume and rate may throw to the caller;
  // only the speak itself is guarded.
  engine.SetVoice(voice.index);
  engine.SetVolume(std::clamp<std::int32_t>(volume, 0, 100));
  engine.SetRate(std::clamp<std::int32_t>(rate, -10, 10));
  try {
    return engine.Speak(text, mode);
  } catch (...) {
    return false;
  }
}

void SetDefaultOutputGuarded(const TEngineState &state) {
  try {
    state.Engine->SetAudioOutput(state.DefaultOutput);
  } catch (...) {
  }
}

} // namespace

bool SapiLoadVoices() {
  platform::ISpeechEngines &engines = platform::SpeechEngines();
  SapiVoices.clear();
  const auto firstVoices = LoadEngine(engines.FirstEngine(), First);
  const auto secondVoices = LoadEngine(engines.SecondEngine(), Second);
  SapiVoices.reserve(firstVoices.size() + secondVoices.size());
  for (size_t j = 0; j < firstVoices.size(); ++j)
    SapiVoices.push_back({kFirstVersion, static_cast<std::int32_t>(j), firstVoices[j].Name});
  for (size_t j = 0; j < secondVoices.size(); ++j)
    SapiVoices.push_back(
        {kSecondVersion, static_cast<std::int32_t>(j), secondVoices[j].Description});
  return !SapiVoices.empty();
}

void SapiReleaseVoices() {
  SapiVoices.clear();
  First = TEngineState{};
  Second = TEngineState{};
}

bool SapiSpeak(const std::u16string &text, std::int32_t i, std::int32_t volume, std::int32_t rate) {
  return SpeakWith(text, i, volume, rate, TSpeakMode::Plain);
}

bool SapiSpeakXml(const std::u16string &text, std::int32_t i, std::int32_t volume,
                  std::int32_t rate) {
  return SpeakWith(text, i, volume, rate, TSpeakMode::Markup);
}

std::u16string SapiSpeakLine(std::int32_t i, std::int32_t volume, std::int32_t rate,
                             const std::u16string &text) {
  if (SapiSpeak(StripTags(text), i, volume, rate))
    return text;
  return CantSpeakMessage() + text;
}

std::u16string SapiTest(std::int32_t i, std::int32_t volume, std::int32_t rate) {
  if (SapiSpeakXml(ConnectedMessageSapi(), i, volume, rate))
    return {};
  if (SapiSpeak(ConnectedMessage(), i, volume, rate))
    return {};
  return SapiUnavailableMessage();
}

void SapiSkip(std::int32_t i) {
  if (SapiVoices.empty())
    return;
  try {
    EngineOf(SapiVoices[ClampVoice(i)]).Speak(u".", TSpeakMode::PurgeText);
  } catch (...) {
  }
}

std::int32_t SapiGetVolume(std::int32_t i) {
  if (SapiVoices.empty())
    return 0;
  return EngineOf(SapiVoices[ClampVoice(i)]).Volume();
}

std::int32_t SapiGetRate(std::int32_t i) {
  if (SapiVoices.empty())
    return 0;
  return EngineOf(SapiVoices[ClampVoice(i)]).Rate();
}

void SapiSetAudioOut(std::int32_t i, std::int32_t audioOut) {
  const TSapiVoice &voice = SapiVoices.at(i);
  TEngineState &state = StateOf(voice);
  ISpeechEngine &engine = EngineOf(voice);
  if (voice.Version == kFirstVersion) {
    const auto count = static_cast<std::int32_t>(engine.AudioOutputs().size());
    engine.SetAudioOutput(audioOut >= 0 && audioOut < count ? audioOut : state.DefaultOutput);
    return;
  }
  if (audioOut < 0) {
    SetDefaultOutputGuarded(state);
    return;
  }
  try {
    const auto count = static_cast<std::int32_t>(engine.AudioOutputs().size());
    engine.SetAudioOutput(audioOut < count ? audioOut : state.DefaultOutput);
  } catch (...) {
    SetDefaultOutputGuarded(state);
  }
}

void SapiGetAudioOuts(std::int32_t i, TStringList &list) {
  list.assign(1, u"Default");
  const TSapiVoice &voice = SapiVoices.at(i);
  ISpeechEngine &engine = EngineOf(voice);
  engine.SetVoice(voice.index);
  try {
    for (const std::u16string &description : engine.AudioOutputs())
      list.push_back(description);
  } catch (...) {
  }
}
