#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The second VOICEROID+ variant as speech devices (window automation).

extern const std::vector<std::u16string> VoiceroidExNames;

bool VoiceroidExInstalled(std::int32_t i);
std::u16string VoiceroidExSpeakLine(std::int32_t i, const std::u16string &text);
std::u16string VoiceroidExTest(std::int32_t i);
void VoiceroidExSkip(std::int32_t i);
void VoiceroidExStart(std::int32_t i);
void VoiceroidExClose(std::int32_t i);
