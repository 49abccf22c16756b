#include "speech/uSpVOICEROIDEx.h"

#include "text/uMessages.h"

// Until the window automation of these programs is written, every voice
// answers as a program that is not running: nothing is installed, nothing is
// spoken, the test asks the user to start it.

const std::vector<std::u16string> VoiceroidExNames = {u"琴葉葵", u"琴葉茜", u"結月ゆかり EX",
                                                      u"鷹の爪 吉田くん EX"};

bool VoiceroidExInstalled(std::int32_t) { return false; }

std::u16string VoiceroidExSpeakLine(std::int32_t, const std::u16string &text) {
  return CantSpeakMessage() + text;
}

std::u16string VoiceroidExTest(std::int32_t i) {
  return PleaseBootMessage(u"VOICEROID＋ " + VoiceroidExNames.at(i));
}

void VoiceroidExSkip(std::int32_t) {}
void VoiceroidExStart(std::int32_t) {}
void VoiceroidExClose(std::int32_t) {}
