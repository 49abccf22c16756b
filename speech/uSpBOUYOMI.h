#pragma once

#include <optional>
#include <string>

#include "platform/Windows.h"

// The Bouyomi-chan speech device: speaking, the connection test, and
// launching and closing the program.

std::u16string BouyomiSpeakLine(const std::u16string &text);
std::u16string BouyomiTest();
void BouyomiStart(bool autoStart, const std::u16string &path);
void BouyomiStop(bool autoClose);
std::optional<platform::TWindowHandle> FindBouyomiWindow();
// In the language of the user's locale.
std::u16string BouyomiErrorMessage();
