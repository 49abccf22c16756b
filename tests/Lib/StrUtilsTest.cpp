#include <gtest/gtest.h>

#include "Lib/uFileUtils.h"
#include "Lib/uStrUtils.h"
#include "tests/fakes/TempFolder.h"

TEST(StrUtils, TrimRemovesControlCodesAndBlanksOnly) {
  EXPECT_EQ(Trim(u"\t\r\n  a b \x01\x20"), u"a b");
  EXPECT_EQ(Trim(u"\u3000x\u3000"), u"\u3000x\u3000"); // ideographic space is not 0..32
  EXPECT_EQ(Trim(u"   "), u"");
}

TEST(StrUtils, LowerAsciiTouchesOnlyAToZ) {
  EXPECT_EQ(LowerAscii(u"ABC xyz \u00C4\uFF21"), u"abc xyz \u00C4\uFF21");
}

TEST(StrUtils, Utf8RoundTripAndBrokenInput) {
  const std::u16string text = u"a\u00e9\u732b\U0001F600";
  EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(text)), text);
  // A cut sequence, a stray continuation byte and an overlong form each give U+FFFD.
  EXPECT_EQ(Utf8ToUtf16("a\xE7\x8C"), u"a\uFFFD");
  EXPECT_EQ(Utf8ToUtf16("\x80x"), u"\uFFFDx");
  EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");
  // A lone surrogate cannot be written as UTF-8.
  EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

TEST(StrUtils, SplitLinesAcceptsEveryBreak) {
  const std::vector<std::u16string> expected{u"a", u"b", u"", u"c"};
  EXPECT_EQ(SplitLines(u"a\r\nb\n\rc"), expected);
  EXPECT_EQ(SplitLines(u"x\r\n"), std::vector<std::u16string>{u"x"});
  EXPECT_EQ(JoinLines({u"a", u"b"}), u"a\r\nb");
}

TEST(FileUtils, DecodesEveryByteOrderMark) {
  EXPECT_EQ(DecodeText("\xEF\xBB\xBFh\xC3\xA9"), u"h\u00e9");
  EXPECT_EQ(DecodeText(std::string("\xFF\xFEh\0i\0", 6)), u"hi");
  EXPECT_EQ(DecodeText(std::string("\xFE\xFF\0h\0i", 6)), u"hi");
  EXPECT_EQ(DecodeText("plain"), u"plain");
}

TEST(FileUtils, AtomicWriteReplacesAndKeepsNoTemporaryFile) {
  TempFolder dir;
  const auto path = dir.Write("f.txt", "old");
  WriteFileAtomic(path, "new");
  EXPECT_EQ(dir.Read("f.txt"), "new");
  int files = 0;
  for ([[maybe_unused]] auto &entry : std::filesystem::directory_iterator(dir.Path()))
    ++files;
  EXPECT_EQ(files, 1);
}

TEST(FileUtils, AtomicWriteKeepsALinkAndReplacesWhatItPointsTo) {
  TempFolder dir;
  dir.Write("real.ini", "old");
  std::filesystem::create_symlink(dir.Path() / "real.ini", dir.Path() / "link.ini");
  WriteFileAtomic(dir.File("link.ini"), "new");
  EXPECT_TRUE(std::filesystem::is_symlink(dir.Path() / "link.ini"));
  EXPECT_EQ(dir.Read("real.ini"), "new");
}

TEST(FileUtils, ErrorsNameTheFile) {
  TempFolder dir;
  try {
    (void)ReadFileBytes(dir.File("missing.txt"));
    FAIL();
  } catch (const std::runtime_error &e) {
    EXPECT_NE(std::string(e.what()).find("missing.txt"), std::string::npos);
  }
}
