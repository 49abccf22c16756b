#include "text/uMessages.h"

#include "Lib/uStrUtils.h"
#include "Lib/uVTUtils.Win.h"
#include "platform/Clock.h"
#include "platform/Platform.h"

bool JapaneseMessages = false;

namespace {

std::u16string Pick(const char16_t *japanese, const char16_t *english) {
  return JapaneseMessages ? japanese : english;
}

void ReplaceAll(std::u16string &text, std::u16string_view what, std::u16string_view with) {
  for (size_t at = text.find(what); at != std::u16string::npos;
       at = text.find(what, at + with.size()))
    text.replace(at, what.size(), with);
}

std::u16string TwoDigits(int value) {
  std::u16string text = IntToStr(value);
  return text.size() < 2 ? u"0" + text : text;
}

} // namespace

void SetMessageLanguage(const std::u16string &name) {
  JapaneseMessages = IsJapaneseLocale() && name.find(u"en-US") == std::u16string::npos &&
                     name.find(u" - English") == std::u16string::npos;
}

std::u16string ConnectedMessage() {
  return Pick(u"ムルメロ に接続しました。", u"Thank you for using MUR-MEH-LO..");
}

std::u16string ConnectedMessageSapi() {
  return Pick(u"ムルメロ に接続しました。",
              u"Thank you for using <pron sym=\"m uh r ! m eh l ow\">MURMELO</pron>..");
}

std::u16string CantSpeakMessage() {
  return Pick(u"以下の文章を話せませんでした。 : ", u"Can't speak: ");
}

std::u16string SkippedMessage() { return Pick(u"スキップしました。", u"Speech Skiped."); }

std::u16string PleaseBootMessage(const std::u16string &name) {
  return JapaneseMessages ? name + u" を起動してください。" : u"Please boot " + name + u".";
}

std::u16string SapiUnavailableMessage() {
  return u"Application can't access SAPI.\r\n"
         u"Please check Control Panel - Speech Recognition - Text to Speech.";
}

std::u16string StudiedMessage(const std::u16string &word, const std::u16string &reading) {
  if (JapaneseMessages)
    return u"\"" + word + u"\"を\"" + reading + u"\"と学習しました。";
  return u"I studyed " + word + u" as " + reading + u".";
}

std::u16string ForgotMessage(const std::u16string &word) {
  if (JapaneseMessages)
    return u"\"" + word + u"\"を忘れました。";
  return u"I forget " + word + u".";
}

std::u16string FormatTimeJapanese(const std::u16string &templ) {
  const platform::TLocalTime now = platform::Clock().Now();
  int hour = now.Hour;
  std::u16string text = templ;
  ReplaceAll(text, u"\\V", u"ムルメロ");
  if (text.find(u"\\AM/PM") != std::u16string::npos) {
    ReplaceAll(text, u"\\AM/PM", hour < 12 ? u"午前" : u"午後");
    if (hour >= 12)
      hour -= 12;
  }
  ReplaceAll(text, u"\\H", IntToStr(hour) + u"時");
  if (now.Minute == 0 && text.find(u"\\S") == std::u16string::npos)
    ReplaceAll(text, u"\\M", u"ちょうど");
  else
    ReplaceAll(text, u"\\M", IntToStr(now.Minute) + u"分");
  ReplaceAll(text, u"\\S", IntToStr(now.Second) + u"秒");
  return text;
}

std::u16string FormatTimeEnglish(bool withSeconds) {
  const platform::TLocalTime now = platform::Clock().Now();
  const int hour12 = now.Hour % 12 == 0 ? 12 : now.Hour % 12;
  std::u16string text = u"The time is ";
  text += now.Hour < 12 ? u"am " : u"pm ";
  text += TwoDigits(hour12) + u":" + TwoDigits(now.Minute);
  if (withSeconds)
    text += u":" + TwoDigits(now.Second);
  return text + u".";
}

std::u16string TimeSignalText() {
  return JapaneseMessages ? FormatTimeJapanese(u"\\V が \\AM/PM \\H \\M を，おつたえします。")
                          : FormatTimeEnglish(false);
}

std::u16string CurrentTimeText() {
  return JapaneseMessages ? FormatTimeJapanese(u"ただいま \\AM/PM \\H \\M \\S です。")
                          : FormatTimeEnglish(true);
}

std::u16string StripTags(const std::u16string &text) { return RemoveTags(text); }
