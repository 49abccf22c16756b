#include "speech/uSpBOUYOMI.h"

#include "Lib/uFileUtils.h"
#include "Lib/uStrUtils.h"
#include "Lib/uVTUtils.Win.h"
#include "platform/Platform.h"
#include "speech/uBOUYOMI.h"
#include "text/uMessages.h"

namespace {

constexpr char16_t kWindowClass[] = u"WindowsForms10.Window.8.app.0.33c0d9d";
constexpr char16_t kCaptionStart[] = u"棒読みちゃん Ver0.1.11.0 Beta";

} // namespace

std::u16string BouyomiSpeakLine(const std::u16string &text) {
  if (BouyomiSend(StripTags(text)))
    return text;
  return CantSpeakMessage() + text;
}

std::u16string BouyomiTest() {
  if (BouyomiSend(ConnectedMessage()))
    return {};
  return BouyomiErrorMessage();
}

std::u16string BouyomiErrorMessage() {
  if (IsJapaneseLocale())
    return u"棒読みちゃんに接続できません。\r\n棒読みちゃんを起動し，\r\n-"
           u"Socket通信を行うがTrue，\r\n"
           u"-ポート番号が50001であることを確認してください。";
  return JoinLines({u"MURMELO couldn't connect Bouyomichan.", u"Please boot Bouyomicyan.",
                    u" And set \"Socket通信を行う\" to be checked.",
                    u" And set \"ポート番号\" to \"50001\"."});
}

std::optional<platform::TWindowHandle> FindBouyomiWindow() {
  for (int n = 12; n <= 16; ++n) {
    if (auto window = platform::Windows().FindWindow(kWindowClass, kCaptionStart + IntToStr(n)))
      return window;
  }
  return std::nullopt;
}

void BouyomiStart(bool autoStart, const std::u16string &path) {
  BouyomiCreateClient();
  if (autoStart && FileExists(path) && !FindBouyomiWindow())
    RunFile(path);
}

void BouyomiStop(bool autoClose) {
  BouyomiReleaseClient();
  if (!autoClose)
    return;
  if (auto window = FindBouyomiWindow())
    platform::Windows().PostClose(*window);
}
