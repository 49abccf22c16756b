#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The speech devices and the dispatcher that routes every text to the
// adapter of the chosen device's kind.

enum class TSpeechType : std::uint8_t {
  stBouyomi = 0,
  stSpeechLib = 1,
  stVOCALOIDP = 2,
  stVOCALOIDE = 3
};

struct TSpeechItem {
  std::u16string Name;
  TSpeechType SPType = TSpeechType::stSpeechLib;
  std::int32_t Index = 0;
  bool Enabled = true;
};

using TSpeechItems = std::vector<TSpeechItem>;

// Built once at start by BuildSpeechItems; read directly by other modules.
extern TSpeechItems SpeechItems;

using TStringList = std::vector<std::u16string>;

void BuildSpeechItems();
std::u16string SpeakText(std::int32_t dev, std::int32_t volume, std::int32_t rate,
                         const std::u16string &text);
std::u16string TestSpeechDevice(std::int32_t dev, std::int32_t volume, std::int32_t rate);
std::u16string SkipSpeech(std::int32_t dev);
void StartSpeechDevice(std::int32_t dev, bool autoStart, const std::u16string &bouyomiPath);
void StopSpeechDevice(std::int32_t dev, bool autoClose);
void SetSpeechAudioOut(std::int32_t dev, std::int32_t audioOut);
void GetSpeechAudioOuts(std::int32_t dev, TStringList &list);
