#include <filesystem>
#include <unistd.h>

#include <gtest/gtest.h>

#include "Lib/uIniFile.h"
#include "Lib/uStrUtils.h"
#include "tests/fakes/TempFolder.h"

namespace {

const std::string kSample = "; settings of the reader\r\n"
                            "[TextChat]\r\n"
                            "FileType=1\r\n"
                            "Unknown = kept as is \r\n"
                            "\r\n"
                            "[SecondLife]\r\n"
                            "Viewer=2\r\n"
                            "; a comment inside\r\n"
                            "Avatar=  Bob Smith  \r\n"
                            "[Other]\r\n"
                            "X=\"quoted\"\r\n";

} // namespace

TEST(IniFile, ReadsSectionsAndKeysWithoutRegardToCase) {
  TempFolder folder;
  const TIniFile ini(folder.Write("a.ini", kSample));
  EXPECT_EQ(ini.ReadInteger(u"textchat", u"FILETYPE", 0), 1);
  EXPECT_EQ(ini.ReadInteger(u"Secondlife", u"viewer", 0), 2);
  EXPECT_EQ(ini.ReadString(u"SecondLife", u"Avatar", u""), u"Bob Smith");
  EXPECT_EQ(ini.ReadString(u"Other", u"X", u""), u"quoted");
  EXPECT_EQ(ini.ReadString(u"SecondLife", u"FileType", u"none"), u"none");
  EXPECT_EQ(ini.ReadString(u"Missing", u"Key", u"dflt"), u"dflt");
}

TEST(IniFile, IntegerTable) {
  struct TCase {
    std::string Text;
    std::int32_t Expected;
  };
  const TCase cases[] = {
      {"42", 42},
      {"-7", -7},
      {"+3", 3},
      {"$1F", 31},
      {"0x1f", 31},
      {"0X10", 16},
      {"$FFFFFFFF", -1},
      {"2147483647", 2147483647},
      {"-2147483648", -2147483647 - 1},
      {"2147483648", 99},
      {"$100000000", 99},
      {"12abc", 99},
      {"", 99},
      {"abc", 99},
      {"1 2", 99},
      {"$", 99},
      {"0x", 99},
      {"1.5", 99},
      {"\xEF\xBC\x91", 99}, // a full-width digit
  };
  TempFolder folder;
  for (const auto &c : cases) {
    const TIniFile ini(folder.Write("i.ini", "[S]\nK=" + c.Text + "\n"));
    EXPECT_EQ(ini.ReadInteger(u"S", u"K", 99), c.Expected) << c.Text;
  }
  const TIniFile ini(folder.Write("b.ini", "[S]\nOn=2\nOff=0\nBad=yes\n"));
  EXPECT_TRUE(ini.ReadBool(u"S", u"On", false));
  EXPECT_FALSE(ini.ReadBool(u"S", u"Off", true));
  EXPECT_TRUE(ini.ReadBool(u"S", u"Bad", true));
  EXPECT_FALSE(ini.ReadBool(u"S", u"Bad", false));
}

TEST(IniFile, LongValuesAreStoredWholeAndCutOnReading) {
  TempFolder folder;
  const TIniFile ini(folder.File("long.ini"));
  const std::u16string value(3000, u'x');
  ini.WriteString(u"S", u"K", value);
  EXPECT_EQ(ini.ReadString(u"S", u"K", u"").size(), TIniFile::MaxValueLength);
  EXPECT_NE(folder.Read("long.ini").find(std::string(3000, 'x')), std::string::npos);
  // A surrogate pair astride the cut is not split in half.
  ini.WriteString(u"S", u"K", std::u16string(2046, u'a') + u"\U0001F600");
  EXPECT_EQ(ini.ReadString(u"S", u"K", u""), std::u16string(2046, u'a'));
}

TEST(IniFile, WriteRewritesOneKeyAndKeepsEveryOtherLine) {
  TempFolder folder;
  const TIniFile ini(folder.Write("a.ini", kSample));
  ini.WriteInteger(u"textchat", u"filetype", 0);
  std::string expected = kSample;
  expected.replace(expected.find("FileType=1"), 10, "FileType=0");
  EXPECT_EQ(folder.Read("a.ini"), expected);

  // A new key goes after the section's last key, a new section at the end.
  ini.WriteString(u"TextChat", u"RegEx", u"abc");
  ini.WriteBool(u"Ollama", u"isUse", true);
  expected.insert(expected.find("\r\n\r\n[SecondLife]") + 2, "RegEx=abc\r\n");
  expected += "\r\n[Ollama]\r\nisUse=1\r\n";
  EXPECT_EQ(folder.Read("a.ini"), expected);
  EXPECT_TRUE(ini.ReadBool(u"OLLAMA", u"ISUSE", false));
}

TEST(IniFile, ValuesReadBackExactly) {
  TempFolder folder;
  const TIniFile ini(folder.File("v.ini"));
  const std::u16string values[] = {
      u"^\\[\\d{4}/\\d{2}/\\d{2} \\d{1,2}:\\d{2}\\] ", // a trailing blank
      u"  leading",
      u"\"both\"",
      u"'single'",
      u"a=b;c",
      u"\u65e5\u672c\u8a9e",
      u"",
  };
  for (const auto &value : values) {
    ini.WriteString(u"S", u"K", value);
    EXPECT_EQ(ini.ReadString(u"S", u"K", u"dflt"), value) << Utf16ToUtf8(value);
  }
  // A line break cannot break the file: it becomes a blank.
  ini.WriteString(u"S", u"K", u"one\r\ntwo\nthree");
  ini.WriteString(u"S", u"After", u"x");
  EXPECT_EQ(ini.ReadString(u"S", u"K", u""), u"one  two three");
  EXPECT_EQ(ini.ReadString(u"S", u"After", u""), u"x");
}

TEST(IniFile, EncodingsOnReadAndWrite) {
  TempFolder folder;
  // UTF-16 little endian with byte-order mark: read, then rewritten as UTF-8.
  std::string utf16 = "\xFF\xFE";
  for (const char c : std::string("[S]\r\nK=v\r\n")) {
    utf16 += c;
    utf16 += '\0';
  }
  const TIniFile wide(folder.Write("w.ini", utf16));
  EXPECT_EQ(wide.ReadString(u"s", u"k", u""), u"v");
  wide.WriteString(u"S", u"K", u"\u3042");
  EXPECT_EQ(folder.Read("w.ini"), "\xEF\xBB\xBF[S]\r\nK=\xE3\x81\x82\r\n");

  // A UTF-8 byte-order mark is kept; a file without one gets none.
  const TIniFile bom(folder.Write("b.ini", "\xEF\xBB\xBF[S]\nK=1\n"));
  EXPECT_EQ(bom.ReadInteger(u"S", u"K", 0), 1);
  bom.WriteInteger(u"S", u"K", 2);
  EXPECT_EQ(folder.Read("b.ini"), "\xEF\xBB\xBF[S]\nK=2\n");
  const TIniFile plain(folder.File("new.ini"));
  plain.WriteInteger(u"S", u"K", 3);
  EXPECT_EQ(folder.Read("new.ini"), "[S]\r\nK=3\r\n");
}

TEST(IniFile, MissingAndGarbageFilesReadAsEmpty) {
  TempFolder folder;
  std::string garbage;
  for (int i = 0; i < 4096; ++i)
    garbage += static_cast<char>((i * 131 + 7) % 256);
  garbage += "\n[S\xFF]\nK=\xC3\n=\n[\n]]\n";
  const std::u16string missing = folder.File("none.ini");
  for (const auto &file : {missing, folder.Write("g.ini", garbage),
                           folder.Write("z.ini", std::string("\0\0\0[S]\0K=1", 10))}) {
    const TIniFile ini(file);
    EXPECT_EQ(ini.ReadString(u"S", u"K", u"d"), u"d");
    EXPECT_EQ(ini.ReadInteger(u"S", u"K", 5), 5);
  }
  EXPECT_FALSE(std::filesystem::exists(folder.Path() / "none.ini"));
  // Writing into garbage keeps the garbage and adds a readable section.
  const TIniFile ini(folder.File("g.ini"));
  ini.WriteInteger(u"Device", u"Index", 4);
  EXPECT_EQ(ini.ReadInteger(u"Device", u"Index", 0), 4);
  EXPECT_EQ(folder.Read("g.ini").substr(0, garbage.size()), garbage);
}

TEST(IniFile, FailedWriteThrowsNamingTheFileAndKeepsIt) {
  TempFolder folder;
  const auto file = folder.Write("ro.ini", "[S]\nK=1\n");
  // A "folder" that is a plain file cannot be written even by root.
  folder.Write("plain", "x");
  const TIniFile blocked(FromPath(folder.Path() / "plain" / "ro.ini"));
  EXPECT_THROW(blocked.WriteInteger(u"S", u"K", 2), std::runtime_error);

  std::filesystem::permissions(folder.Path(), std::filesystem::perms::owner_read |
                                                  std::filesystem::perms::owner_exec);
  if (access(folder.Path().c_str(), W_OK) == 0)
    GTEST_SKIP() << "running as root: a read-only folder is still writable";
  const TIniFile ini(file);
  try {
    ini.WriteInteger(u"S", u"K", 2);
    FAIL() << "no error";
  } catch (const std::runtime_error &e) {
    EXPECT_NE(std::string(e.what()).find("ro.ini"), std::string::npos) << e.what();
  }
  EXPECT_EQ(ini.ReadInteger(u"S", u"K", 0), 1);
}
