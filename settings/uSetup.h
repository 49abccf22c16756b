#pragma once

#include <cstdint>
#include <string>

// Every setting of the program. One working instance, Setup, touched only on
// the main thread; worker threads get copies of what they need.
struct TIdSetup {
  std::int32_t ChatType = 0;
  std::u16string ChatFile;
  std::int32_t ChatEncIndex = 0;
  std::int32_t ChatInterval = 1;
  std::int32_t ChatFilter = 0;
  std::u16string ChatRegEx;
  bool ChatUse = false;
  std::int32_t SLViewer = 0;
  std::u16string SLAvatar;
  std::int32_t SLTranslate = 0;
  std::int32_t SLReadName = 0;
  bool SLAllChats = false;
  std::int32_t SpeechIndex = 0;
  std::int32_t SpeechVolume = 100;
  std::int32_t SpeechRate = 0;
  bool SpAutoStart = false;
  bool SpAutoClose = false;
  std::u16string BouyomiFile;
  std::int32_t TimeSignal = 0;
  std::int32_t AudioOut = -1;
  bool StayOnTop = false;
  bool OllamaisUse = false;
  std::u16string OllamaHost;
  std::u16string OllamaModel;
  std::int32_t OllamaLanguage = 0;
  std::u16string OllamaSystemPrompt;
  std::u16string OllamaPrompt;
  std::u16string OllamaPromptTest;
  std::int32_t OllamaNumCtx = 2048;
};

extern TIdSetup Setup;

void InitSetup(TIdSetup &record);
std::u16string SetupFileName();
void LoadSetup();
// Throws std::runtime_error naming Setup.ini when a key cannot be written;
// the keys written before it stay.
void SaveSetup();
void ValidateSetup();
void LoadDeviceVolumeRate(std::int32_t index, std::int32_t &volume, std::int32_t &rate);
void SaveDeviceVolumeRate(std::int32_t index, std::int32_t volume, std::int32_t rate);
void LoadDeviceAutoStartClose(std::int32_t index, bool &autoStart, bool &autoClose);
void SaveDeviceAutoStartClose(std::int32_t index, bool autoStart, bool autoClose);
