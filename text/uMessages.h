#pragma once

#include <string>

// The program's own spoken texts in Japanese and English, the two time
// sentences, and the removal of markup tags.

// false at start; written only by SetMessageLanguage.
extern bool JapaneseMessages;

void SetMessageLanguage(const std::u16string &name);

std::u16string ConnectedMessage();
std::u16string ConnectedMessageSapi();
std::u16string CantSpeakMessage();
std::u16string SkippedMessage();
std::u16string PleaseBootMessage(const std::u16string &name);
std::u16string SapiUnavailableMessage();
std::u16string StudiedMessage(const std::u16string &word, const std::u16string &reading);
std::u16string ForgotMessage(const std::u16string &word);

std::u16string FormatTimeJapanese(const std::u16string &templ);
std::u16string FormatTimeEnglish(bool withSeconds);
std::u16string TimeSignalText();
std::u16string CurrentTimeText();

std::u16string StripTags(const std::u16string &text);
