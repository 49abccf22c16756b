#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "speech/uSpeech.h"

// The system voices of the two speech engines, as devices.

struct TSapiVoice {
  std::int32_t Version = 0; // 11: the first engine, 5: the second engine
  std::int32_t index = 0;   // position in that engine's own voice list
  std::u16string name;
};

extern std::vector<TSapiVoice> SapiVoices;

// Lists the voices of the two engines of platform::SpeechEngines(); a missing
// engine only removes its voices. Called once at start.
bool SapiLoadVoices();
// Forgets the engines and the voices (program exit).
void SapiReleaseVoices();
bool SapiSpeak(const std::u16string &text, std::int32_t i, std::int32_t volume, std::int32_t rate);
bool SapiSpeakXml(const std::u16string &text, std::int32_t i, std::int32_t volume,
                  std::int32_t rate);
std::u16string SapiSpeakLine(std::int32_t i, std::int32_t volume, std::int32_t rate,
                             const std::u16string &text);
std::u16string SapiTest(std::int32_t i, std::int32_t volume, std::int32_t rate);
void SapiSkip(std::int32_t i);
std::int32_t SapiGetVolume(std::int32_t i);
std::int32_t SapiGetRate(std::int32_t i);
void SapiSetAudioOut(std::int32_t i, std::int32_t audioOut);
void SapiGetAudioOuts(std::int32_t i, TStringList &list);
