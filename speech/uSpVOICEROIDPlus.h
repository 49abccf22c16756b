#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The first VOICEROID+ variant as speech devices (window automation).

extern const std::vector<std::u16string> VoiceroidPlusNames;

bool VoiceroidPlusInstalled(std::int32_t i);
std::u16string VoiceroidPlusSpeakLine(std::int32_t i, const std::u16string &text);
std::u16string VoiceroidPlusTest(std::int32_t i);
void VoiceroidPlusSkip(std::int32_t i);
void VoiceroidPlusStart(std::int32_t i);
void VoiceroidPlusClose(std::int32_t i);
