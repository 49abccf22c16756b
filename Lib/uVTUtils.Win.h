#pragma once

#include <string>

// Small wrappers over the operating-system services the program needs,
// reached through the platform registry. None keeps state between calls.

bool IsJapaneseLocale();
void OpenURL(const std::u16string &address);
void RunFile(const std::u16string &path);
void RunShortcut(const std::u16string &path);

// Machine-bound protection of a text, stored as hexadecimal text.
std::u16string ProtectData(const std::u16string &plain, const std::u16string &description,
                           const std::u16string &entropy, bool machineScope);
bool UnprotectData(const std::u16string &hex, const std::u16string &entropy,
                   std::u16string &plain, std::u16string &description);
std::u16string EncryptString(const std::u16string &plain, const std::u16string &key);
std::u16string DecryptString(const std::u16string &hex, const std::u16string &key,
                             const std::u16string &defaultValue);

std::u16string GetFileVersionText();
std::u16string AppDataFolder();
std::u16string GetCommonStartMenuFolder();
void SetClipboardText(const std::u16string &text);
std::u16string GetClipboardText();
