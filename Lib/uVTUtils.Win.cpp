#include "Lib/uVTUtils.Win.h"

#include <vector>

#include "Lib/uStrUtils.h"
#include "Lib/uVTUtils.Base.h"
#include "platform/AppInfo.h"
#include "platform/Clipboard.h"
#include "platform/DataProtection.h"
#include "platform/Locale.h"
#include "platform/Platform.h"
#include "platform/Shell.h"

namespace {

// The protection service takes bytes: texts travel as UTF-16 little-endian
// code units without a terminating zero.
platform::TBytes ToUtf16LeBytes(const std::u16string &text) {
  platform::TBytes bytes;
  bytes.reserve(text.size() * 2);
  for (const char16_t c : text) {
    bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  return bytes;
}

std::u16string FromUtf16LeBytes(const platform::TBytes &bytes) {
  std::u16string text;
  text.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2)
    text += static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
  return text;
}

} // namespace

bool IsJapaneseLocale() { return platform::Locale().UserLcid() == 0x0411; }

void OpenURL(const std::u16string &address) { platform::Shell().OpenURL(address); }

void RunFile(const std::u16string &path) { platform::Shell().RunFile(path); }

void RunShortcut(const std::u16string &path) { platform::Shell().RunShortcut(path); }

std::u16string ProtectData(const std::u16string &plain, const std::u16string &description,
                           const std::u16string &entropy, bool machineScope) {
  const auto blob = platform::DataProtection().Protect(ToUtf16LeBytes(plain), description,
                                                       ToUtf16LeBytes(entropy), machineScope);
  return BytesToHex(blob.data(), blob.size());
}

bool UnprotectData(const std::u16string &hex, const std::u16string &entropy, std::u16string &plain,
                   std::u16string &description) {
  platform::TBytes blob;
  if (!HexToBytes(hex, blob))
    return false;
  platform::TBytes data;
  std::u16string desc;
  if (!platform::DataProtection().Unprotect(blob, ToUtf16LeBytes(entropy), data, desc))
    return false;
  plain = FromUtf16LeBytes(data);
  description = desc;
  return true;
}

std::u16string EncryptString(const std::u16string &plain, const std::u16string &key) {
  return ProtectData(plain, key, key, true);
}

std::u16string DecryptString(const std::u16string &hex, const std::u16string &key,
                             const std::u16string &defaultValue) {
  if (hex.empty())
    return defaultValue;
  std::u16string plain, description;
  if (!UnprotectData(hex, key, plain, description))
    return std::u16string();
  return plain;
}

std::u16string GetFileVersionText() {
  const auto version = platform::AppInfo().FileVersion();
  if (version == std::array<std::uint16_t, 4>{})
    return std::u16string();
  std::u16string text;
  for (const auto part : version) {
    if (!text.empty())
      text += u'.';
    text += IntToStr(part);
  }
  return text;
}

std::u16string AppDataFolder() { return platform::AppInfo().AppDataFolder(); }

std::u16string GetCommonStartMenuFolder() { return platform::AppInfo().CommonStartMenuFolder(); }

void SetClipboardText(const std::u16string &text) { platform::Clipboard().SetText(text); }

std::u16string GetClipboardText() { return platform::Clipboard().GetText(); }
