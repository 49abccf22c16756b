#include "speech/uSpVOICEROIDPlus.h"

#include "text/uMessages.h"

// Until the window automation of these programs is written, every voice
// answers as a program that is not running: nothing is installed, nothing is
// spoken, the test asks the user to start it.

const std::vector<std::u16string> VoiceroidPlusNames = {u"結月ゆかり"};

bool VoiceroidPlusInstalled(std::int32_t) { return false; }

std::u16string VoiceroidPlusSpeakLine(std::int32_t, const std::u16string &text) {
  return CantSpeakMessage() + text;
}

std::u16string VoiceroidPlusTest(std::int32_t i) {
  return PleaseBootMessage(u"VOICEROID＋ " + VoiceroidPlusNames.at(i));
}

void VoiceroidPlusSkip(std::int32_t) {}
void VoiceroidPlusStart(std::int32_t) {}
void VoiceroidPlusClose(std::int32_t) {}
