#include "speech/uSpeech.h"

#include "Lib/uVTUtils.Win.h"
#include "speech/uSpBOUYOMI.h"
#include "speech/uSpSpeechLib.h"
#include "speech/uSpVOICEROIDEx.h"
#include "speech/uSpVOICEROIDPlus.h"
#include "text/uMessages.h"

TSpeechItems SpeechItems;

namespace {

// The device at dev; the program passes only valid positions, anything else
// is treated as no device.
const TSpeechItem *Device(std::int32_t dev) {
  if (dev < 0 || static_cast<size_t>(dev) >= SpeechItems.size())
    return nullptr;
  return &SpeechItems[static_cast<size_t>(dev)];
}

} // namespace

void BuildSpeechItems() {
  SpeechItems.clear();
  for (size_t i = 0; i < SapiVoices.size(); ++i)
    SpeechItems.push_back(
        {SapiVoices[i].name, TSpeechType::stSpeechLib, static_cast<std::int32_t>(i), true});
  if (!IsJapaneseLocale())
    return;
  for (size_t j = 0; j < VoiceroidPlusNames.size(); ++j) {
    const auto index = static_cast<std::int32_t>(j);
    SpeechItems.push_back(
        {VoiceroidPlusNames[j], TSpeechType::stVOCALOIDP, index, VoiceroidPlusInstalled(index)});
  }
  for (size_t k = 0; k < VoiceroidExNames.size(); ++k) {
    const auto index = static_cast<std::int32_t>(k);
    SpeechItems.push_back(
        {VoiceroidExNames[k], TSpeechType::stVOCALOIDE, index, VoiceroidExInstalled(index)});
  }
  SpeechItems.push_back({u"BouyomiChan", TSpeechType::stBouyomi, 0, true});
}

std::u16string SpeakText(std::int32_t dev, std::int32_t volume, std::int32_t rate,
                         const std::u16string &text) {
  const TSpeechItem *item = Device(dev);
  if (item == nullptr)
    return {};
  switch (item->SPType) {
  case TSpeechType::stBouyomi:
    return BouyomiSpeakLine(text);
  case TSpeechType::stSpeechLib:
    return SapiSpeakLine(item->Index, volume, rate, text);
  case TSpeechType::stVOCALOIDP:
    return VoiceroidPlusSpeakLine(item->Index, text);
  case TSpeechType::stVOCALOIDE:
    return VoiceroidExSpeakLine(item->Index, text);
  }
  return {};
}

std::u16string TestSpeechDevice(std::int32_t dev, std::int32_t volume, std::int32_t rate) {
  const TSpeechItem *item = Device(dev);
  if (item == nullptr)
    return {};
  switch (item->SPType) {
  case TSpeechType::stBouyomi:
    return BouyomiTest();
  case TSpeechType::stSpeechLib:
    return SapiTest(item->Index, volume, rate);
  case TSpeechType::stVOCALOIDP:
    return VoiceroidPlusTest(item->Index);
  case TSpeechType::stVOCALOIDE:
    return VoiceroidExTest(item->Index);
  }
  return {};
}

std::u16string SkipSpeech(std::int32_t dev) {
  const TSpeechItem *item = Device(dev);
  if (item == nullptr)
    return {};
  switch (item->SPType) {
  case TSpeechType::stBouyomi:
    break;
  case TSpeechType::stSpeechLib:
    SapiSkip(item->Index);
    break;
  case TSpeechType::stVOCALOIDP:
    VoiceroidPlusSkip(item->Index);
    break;
  case TSpeechType::stVOCALOIDE:
    VoiceroidExSkip(item->Index);
    break;
  }
  return SkippedMessage();
}

void StartSpeechDevice(std::int32_t dev, bool autoStart, const std::u16string &bouyomiPath) {
  const TSpeechItem *item = Device(dev);
  if (item == nullptr)
    return;
  SetMessageLanguage(item->Name);
  switch (item->SPType) {
  case TSpeechType::stBouyomi:
    BouyomiStart(autoStart, bouyomiPath);
    break;
  case TSpeechType::stSpeechLib:
    break;
  case TSpeechType::stVOCALOIDP:
    if (autoStart)
      VoiceroidPlusStart(item->Index);
    break;
  case TSpeechType::stVOCALOIDE:
    if (autoStart)
      VoiceroidExStart(item->Index);
    break;
  }
}

void StopSpeechDevice(std::int32_t dev, bool autoClose) {
  const TSpeechItem *item = Device(dev);
  if (item == nullptr)
    return;
  switch (item->SPType) {
  case TSpeechType::stBouyomi:
    BouyomiStop(autoClose);
    break;
  case TSpeechType::stSpeechLib:
    break;
  case TSpeechType::stVOCALOIDP:
    if (autoClose)
      VoiceroidPlusClose(item->Index);
    break;
  case TSpeechType::stVOCALOIDE:
    if (autoClose)
      VoiceroidExClose(item->Index);
    break;
  }
}

void SetSpeechAudioOut(std::int32_t dev, std::int32_t audioOut) {
  const TSpeechItem *item = Device(dev);
  if (item != nullptr && item->SPType == TSpeechType::stSpeechLib)
    SapiSetAudioOut(item->Index, audioOut);
}

void GetSpeechAudioOuts(std::int32_t dev, TStringList &list) {
  const TSpeechItem *item = Device(dev);
  if (item != nullptr && item->SPType == TSpeechType::stSpeechLib)
    SapiGetAudioOuts(item->Index, list);
}
