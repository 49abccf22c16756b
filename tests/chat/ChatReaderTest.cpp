#include <fcntl.h>
#include <string>
#include <unistd.h>

#include <gtest/gtest.h>

#include "Lib/uFileUtils.h"
#include "Lib/uStrUtils.h"
#include "chat/uChatReader.h"
#include "chat/uNameLists.h"
#include "platform/Platform.h"
#include "tests/fakes/FakeAppInfo.h"
#include "tests/fakes/FakeLocale.h"
#include "tests/fakes/ScopedServices.h"
#include "tests/fakes/TempFolder.h"

namespace {

// Filter 2 with a pattern that matches nothing passes lines through, so the
// tests below see exactly what was read and decoded.
constexpr int kCustom = 2;
const std::u16string kNoMatch = u"^\\x{1}";

class ChatReader : public ::testing::Test {
protected:
  ChatReader() : services_(MakeServices()) { LoadFileList(); }
  platform::TServices MakeServices() {
    platform::TServices s;
    s.AppInfo = &appInfo_;
    s.Locale = &locale_;
    return s;
  }
  std::u16string Read(const std::u16string &path, std::int64_t from, int encoding,
                      std::int64_t end = -1) {
    return ReadAppendedText(path, from, encoding, kCustom, kNoMatch, end);
  }

  FakeAppInfo appInfo_;
  FakeLocale locale_;
  ScopedServices services_;
  TempFolder dir_;
};

} // namespace

TEST_F(ChatReader, ReadsExactlyTheAppendedRange) {
  const auto path = dir_.Write("chat.txt", "old line\nnew one\r\nand two\n");
  EXPECT_EQ(Read(path, 9, 0), u"new one\r\nand two");
  // The watch recorded 18 bytes for this change: the rest is read at the next one.
  EXPECT_EQ(Read(path, 9, 0, 18), u"new one");
  EXPECT_EQ(Read(path, 18, 0), u"and two");
  EXPECT_EQ(Read(path, 26, 0), u""); // nothing new
}

TEST_F(ChatReader, DecodesByEncodingAndByteOrderMarkAtTheReadPosition) {
  struct Case {
    const char *name;
    std::string bytes;
    std::int64_t from;
    int encoding;
    std::u16string expected;
  } cases[] = {
      {"utf8 mark skipped", "\xEF\xBB\xBFhi\n", 0, 0, u"hi"},
      {"utf8", "caf\xC3\xA9\n", 0, 0, u"caf\u00e9"},
      {"utf16 mark in ansi mode", std::string("\xFF\xFEh\0i\0", 6), 0, 1, u"hi"},
      {"utf16 appended later is ansi", std::string("\xFF\xFEh\0", 4) + "ok", 4, 1, u"ok"},
      {"ansi", "plain\n", 0, 1, u"plain"},
      {"unknown encoding", "text\n", 0, 7, u""},
  };
  for (const auto &c : cases) {
    const auto path = dir_.Write("c.txt", c.bytes);
    EXPECT_EQ(Read(path, c.from, c.encoding), c.expected) << c.name;
  }
}

TEST_F(ChatReader, CharacterSplitAcrossTwoWritesYieldsNeitherHalf) {
  const auto path = dir_.Write("chat.txt", "\xE7\x8C"); // first two bytes of a kanji
  const auto first = Read(path, 0, 0);
  dir_.Write("chat.txt", "\xE7\x8C\xAB!\n");
  const auto second = Read(path, 2, 0);
  EXPECT_EQ(first.find(u'\u732B'), std::u16string::npos);
  EXPECT_EQ(second.find(u'\u732B'), std::u16string::npos);
  EXPECT_NE(second.find(u'!'), std::u16string::npos);
}

TEST_F(ChatReader, ReadsBeyondFourGibibytes) {
  const auto path = dir_.Write("big.txt", "");
  const std::int64_t size = 4LL * 1024 * 1024 * 1024 + 7; // sparse, costs no disk
  const int fd = open(ToPath(path).c_str(), O_WRONLY);
  ASSERT_EQ(ftruncate(fd, size), 0);
  ASSERT_EQ(pwrite(fd, "far away\n", 9, size), 9);
  close(fd);
  EXPECT_EQ(Read(path, size, 0), u"far away");
}

TEST_F(ChatReader, BlockedFileIsNeitherOpenedNorRead) {
  WriteUtf8BomLines(appInfo_.ProgramFolder() + u"/BlackFiles.txt",
                    {std::u16string(FileListHeader), u"chat"});
  LoadFileList();
  // Blocked by name: case and blanks around the name do not matter, and a
  // missing file raises nothing because it is never opened.
  EXPECT_EQ(Read(dir_.File("Chat.TXT"), 0, 0), u"");
  EXPECT_EQ(Read(dir_.File(" chat .txt"), 0, 0), u"");
  EXPECT_EQ(Read(dir_.Write("other.txt", "spoken\n"), 0, 0), u"spoken");
}

TEST_F(ChatReader, MissingFileRaisesAnErrorNamingIt) {
  try {
    (void)Read(dir_.File("gone.txt"), 0, 0);
    FAIL() << "no error";
  } catch (const std::runtime_error &e) {
    EXPECT_NE(std::string(e.what()).find("gone.txt"), std::string::npos);
  }
}
