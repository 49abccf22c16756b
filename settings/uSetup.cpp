#include "settings/uSetup.h"

#include <exception>

#include "Lib/uFileUtils.h"
#include "Lib/uIniFile.h"
#include "Lib/uVTUtils.Win.h"
#include "chat/uChatFilter.h"
#include "platform/AppInfo.h"
#include "platform/Platform.h"
#include "speech/uSpSpeechLib.h"
#include "speech/uSpeech.h"

namespace {

// Protects the stored path of the Bouyomi-chan program; changing it makes
// every stored path unreadable.
const std::u16string kBouyomiKey =
    u"Qr7tLm2vXc9pZs4nHb8wKd3fJg6yTa1eUo5iRx0qNl7cVm2sPz9kBh4dWf8gYj3t";

std::int32_t Clamp(std::int32_t value, std::int32_t low, std::int32_t high) {
  return value < low ? low : value > high ? high : value;
}

// The device entry of index, or nullptr when the list has no such entry (it
// may be empty).
const TSpeechItem *DeviceAt(std::int32_t index) {
  if (index < 0 || static_cast<size_t>(index) >= SpeechItems.size())
    return nullptr;
  return &SpeechItems[static_cast<size_t>(index)];
}

} // namespace

TIdSetup Setup = [] {
  TIdSetup record;
  InitSetup(record);
  return record;
}();

void InitSetup(TIdSetup &record) {
  record = TIdSetup{};
  record.ChatRegEx = u"^\\[\\d{4}/\\d{2}/\\d{2} \\d{1,2}:\\d{2}\\] ";
  record.OllamaHost = u"localhost";
  record.OllamaModel = u"gemma2:2b";
}

std::u16string SetupFileName() { return platform::AppInfo().ProgramFolder() + u"/Setup.ini"; }

void LoadSetup() {
  const TIniFile ini(SetupFileName());
  auto &s = Setup;
  s.ChatType = ini.ReadInteger(u"TextChat", u"FileType", s.ChatType);
  s.ChatFile = ini.ReadString(u"TextChat", u"TargetFile", s.ChatFile);
  s.ChatEncIndex = ini.ReadInteger(u"TextChat", u"Encoding", s.ChatEncIndex);
  s.ChatInterval = ini.ReadInteger(u"TextChat", u"Interval", s.ChatInterval);
  s.ChatFilter = ini.ReadInteger(u"TextChat", u"TexType", s.ChatFilter);
  s.ChatRegEx = ini.ReadString(u"TextChat", u"RegEx", s.ChatRegEx);
  s.ChatUse = ini.ReadBool(u"TextChat", u"Use", s.ChatUse);
  s.SLViewer = ini.ReadInteger(u"SecondLife", u"Viewer", s.SLViewer);
  s.SLAvatar = ini.ReadString(u"SecondLife", u"Avatar", s.SLAvatar);
  s.SLTranslate = ini.ReadInteger(u"SecondLife", u"Translate", s.SLTranslate);
  s.SLReadName = ini.ReadInteger(u"SecondLife", u"ReadName", s.SLReadName);
  s.SLAllChats = ini.ReadBool(u"Secondlife", u"AllChats", s.SLAllChats);
  s.TimeSignal = ini.ReadInteger(u"TimeSignal", u"Interval", s.TimeSignal);
  s.SpeechIndex = ini.ReadInteger(u"Device", u"Index", s.SpeechIndex);
  s.AudioOut = ini.ReadInteger(u"Device", u"AudioOut", s.AudioOut);
  s.StayOnTop = ini.ReadBool(u"System", u"StayOnTop", s.StayOnTop);
  s.BouyomiFile = DecryptString(ini.ReadString(u"Bouyomi", u"Path", u""), kBouyomiKey, u"");
  s.OllamaisUse = ini.ReadBool(u"Ollama", u"isUse", s.OllamaisUse);
  s.OllamaHost = ini.ReadString(u"Ollama", u"Host", s.OllamaHost);
  s.OllamaModel = ini.ReadString(u"Ollama", u"Model", s.OllamaModel);
  s.OllamaLanguage = ini.ReadInteger(u"Ollama", u"TargetLanguage", s.OllamaLanguage);
  s.OllamaNumCtx = ini.ReadInteger(u"Ollama", u"NumCtx", s.OllamaNumCtx);
  ValidateSetup();
}

void SaveSetup() {
  const TIniFile ini(SetupFileName());
  const auto &s = Setup;
  ini.WriteInteger(u"TextChat", u"FileType", s.ChatType);
  ini.WriteString(u"TextChat", u"TargetFile", s.ChatFile);
  ini.WriteInteger(u"TextChat", u"Encoding", s.ChatEncIndex);
  ini.WriteInteger(u"TextChat", u"Interval", s.ChatInterval);
  ini.WriteInteger(u"TextChat", u"TexType", s.ChatFilter);
  ini.WriteString(u"TextChat", u"RegEx", s.ChatRegEx);
  ini.WriteBool(u"TextChat", u"Use", s.ChatUse);
  ini.WriteInteger(u"SecondLife", u"Viewer", s.SLViewer);
  ini.WriteString(u"SecondLife", u"Avatar", s.SLAvatar);
  ini.WriteInteger(u"SecondLife", u"Translate", s.SLTranslate);
  ini.WriteInteger(u"SecondLife", u"ReadName", s.SLReadName);
  ini.WriteBool(u"Secondlife", u"AllChats", s.SLAllChats);
  ini.WriteInteger(u"Device", u"Index", s.SpeechIndex);
  ini.WriteInteger(u"Device", u"AudioOut", s.AudioOut);
  ini.WriteInteger(u"TimeSignal", u"Interval", s.TimeSignal);
  ini.WriteBool(u"System", u"StayOnTop", s.StayOnTop);
  std::u16string protectedPath;
  if (!s.BouyomiFile.empty()) {
    try {
      protectedPath = EncryptString(s.BouyomiFile, kBouyomiKey);
    } catch (const std::exception &) {
      protectedPath.clear();
    }
  }
  ini.WriteString(u"Bouyomi", u"Path", protectedPath);
  ini.WriteBool(u"Ollama", u"isUse", s.OllamaisUse);
  ini.WriteString(u"Ollama", u"Host", s.OllamaHost);
  ini.WriteString(u"Ollama", u"Model", s.OllamaModel);
  ini.WriteInteger(u"Ollama", u"TargetLanguage", s.OllamaLanguage);
}

void ValidateSetup() {
  auto &s = Setup;
  s.ChatType = Clamp(s.ChatType, 0, 1);
  if (!FileExists(s.ChatFile))
    s.ChatFile.clear();
  s.ChatEncIndex = s.ChatType == 1 ? 0 : Clamp(s.ChatEncIndex, 0, 1);
  s.ChatInterval = Clamp(s.ChatInterval, 1, 10);
  s.ChatFilter = Clamp(s.ChatFilter, 0, 2);
  s.SLViewer = Clamp(s.SLViewer, 0, 2);
  s.SLTranslate = Clamp(s.SLTranslate, 0, 2);
  s.SLReadName = Clamp(s.SLReadName, 0, 1);
  SecondLifeLogOptions.Translate = s.SLTranslate;
  SecondLifeLogOptions.ReadName = s.SLReadName;
  if (s.TimeSignal < 0)
    s.TimeSignal = 0;
  if (DeviceAt(s.SpeechIndex) == nullptr)
    s.SpeechIndex = 0;
  LoadDeviceVolumeRate(s.SpeechIndex, s.SpeechVolume, s.SpeechRate);
  LoadDeviceAutoStartClose(s.SpeechIndex, s.SpAutoStart, s.SpAutoClose);
  if (!FileExists(s.BouyomiFile))
    s.BouyomiFile.clear();
}

void LoadDeviceVolumeRate(std::int32_t index, std::int32_t &volume, std::int32_t &rate) {
  const TSpeechItem *device = DeviceAt(index);
  if (device == nullptr || device->SPType != TSpeechType::stSpeechLib)
    return;
  volume = SapiGetVolume(device->Index);
  rate = SapiGetRate(device->Index);
  const TIniFile ini(SetupFileName());
  volume = ini.ReadInteger(device->Name, u"DeviceVolume", volume);
  rate = ini.ReadInteger(device->Name, u"DeviceRate", rate);
}

void SaveDeviceVolumeRate(std::int32_t index, std::int32_t volume, std::int32_t rate) {
  const TSpeechItem *device = DeviceAt(index);
  if (device == nullptr || device->SPType != TSpeechType::stSpeechLib)
    return;
  const TIniFile ini(SetupFileName());
  ini.WriteInteger(device->Name, u"DeviceVolume", volume);
  ini.WriteInteger(device->Name, u"DeviceRate", rate);
}

void LoadDeviceAutoStartClose(std::int32_t index, bool &autoStart, bool &autoClose) {
  const TSpeechItem *device = DeviceAt(index);
  if (device == nullptr)
    return;
  if (device->SPType == TSpeechType::stSpeechLib) {
    autoStart = false;
    autoClose = false;
    return;
  }
  const TIniFile ini(SetupFileName());
  autoStart = ini.ReadBool(device->Name, u"AutoStart", autoStart);
  autoClose = ini.ReadBool(device->Name, u"AutoClose", autoClose);
}

void SaveDeviceAutoStartClose(std::int32_t index, bool autoStart, bool autoClose) {
  const TSpeechItem *device = DeviceAt(index);
  if (device == nullptr || device->SPType == TSpeechType::stSpeechLib)
    return;
  const TIniFile ini(SetupFileName());
  ini.WriteBool(device->Name, u"AutoStart", autoStart);
  ini.WriteBool(device->Name, u"AutoClose", autoClose);
}
