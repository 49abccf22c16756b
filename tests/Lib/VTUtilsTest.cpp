#include <gtest/gtest.h>

#include "Lib/uStrUtils.h"
#include "Lib/uVTUtils.Base.h"
#include "Lib/uVTUtils.Win.h"
#include "tests/fakes/FakeAppInfo.h"
#include "tests/fakes/FakeLocale.h"
#include "tests/fakes/FakeShell.h"
#include "tests/fakes/ScopedServices.h"

using TBytes = std::vector<std::uint8_t>;

TEST(VTUtils, BytesToHexWritesTwoUpperCaseDigitsAByte) {
  const TBytes bytes{0x00, 0xAB, 0x0F};
  EXPECT_EQ(BytesToHex(bytes.data(), bytes.size()), u"00AB0F");
  EXPECT_EQ(BytesToHex(nullptr, 0), u"");
}

TEST(VTUtils, HexToBytesTable) {
  struct TCase {
    std::u16string Text;
    bool Ok;
    TBytes Bytes; // what the sink holds afterwards
  };
  const TCase cases[] = {
      {u"00AB0F", true, {0x00, 0xAB, 0x0F}},
      {u"00ab0f", true, {0x00, 0xAB, 0x0F}},
      {u"ABC", true, {0xAB, 0x0C}}, // the last step of an odd length takes one digit
      {u"", true, {}},
      {u"0G", false, {}},
      {u"AB0G12", false, {0xAB}}, // bytes before the bad step stay
      {u"A ", false, {}},
      {u"\uFF21\uFF22", false, {}}, // full-width letters are not digits
  };
  for (const auto &c : cases) {
    TBytes sink;
    EXPECT_EQ(HexToBytes(c.Text, sink), c.Ok) << Utf16ToUtf8(c.Text);
    EXPECT_EQ(sink, c.Bytes) << Utf16ToUtf8(c.Text);
  }
}

TEST(VTUtils, JapaneseLocaleIsExactly0411) {
  for (const auto &[lcid, japanese] : std::vector<std::pair<std::uint32_t, bool>>{
           {0x0411, true}, {0x10411, false}, {0x0409, false}, {0x0804, false}}) {
    FakeLocale locale(lcid, 932);
    platform::TServices services;
    services.Locale = &locale;
    ScopedServices scoped(services);
    EXPECT_EQ(IsJapaneseLocale(), japanese) << std::hex << lcid;
  }
}

TEST(VTUtils, FileVersionTextJoinsFourNumbersOrIsEmpty) {
  FakeAppInfo appInfo;
  platform::TServices services;
  services.AppInfo = &appInfo;
  ScopedServices scoped(services);
  appInfo.Version = {3, 7, 1, 2};
  EXPECT_EQ(GetFileVersionText(), u"3.7.1.2");
  appInfo.Version = {0, 0, 0, 0};
  EXPECT_EQ(GetFileVersionText(), u"");
  appInfo.Version = {0, 0, 0, 65535};
  EXPECT_EQ(GetFileVersionText(), u"0.0.0.65535");
}

TEST(VTUtils, ShellCallsReachTheShellService) {
  FakeShell shell;
  platform::TServices services;
  services.Shell = &shell;
  ScopedServices scoped(services);
  OpenURL(u"https://example.invalid/?q=a b");
  RunFile(u"/opt/reader/run");
  EXPECT_EQ(shell.OpenedURLs, std::vector<std::u16string>{u"https://example.invalid/?q=a b"});
  EXPECT_EQ(shell.RunFiles, std::vector<std::u16string>{u"/opt/reader/run"});
  shell.BrokenShortcuts.push_back(u"/x/broken.desktop");
  EXPECT_THROW(RunShortcut(u"/x/broken.desktop"), std::runtime_error);
}

TEST(VTUtils, DecryptStringOfEmptyTextIsTheDefaultWithoutAnyService) {
  ScopedServices scoped(platform::TServices{});
  EXPECT_EQ(DecryptString(u"", u"key", u"fallback"), u"fallback");
  // Bad hexadecimal never reaches the protection service either.
  EXPECT_EQ(DecryptString(u"0G", u"key", u"fallback"), u"");
}
