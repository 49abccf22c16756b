#include <cstdlib>
#include <optional>

#include <gtest/gtest.h>

#include "platform/linux/LinuxLocale.h"

using platform::linux_impl::TLinuxLocale;

TEST(LinuxLocale, MapsLocaleNamesToWindowsLocales) {
  struct TCase {
    const char *Name;
    std::uint32_t Lcid, CodePage;
  };
  const TCase cases[] = {
      {"ja_JP.UTF-8", 0x0411, 932},
      {"ja_JP.eucJP", 0x0411, 932},
      {"ja", 0x0411, 932},
      {"en_US.UTF-8", 0x0409, 1252},
      {"C", 0x0409, 1252},
      {"POSIX", 0x0409, 1252},
      {"C.UTF-8", 0x0409, 1252},
      {"", 0x0409, 1252},
      {"de_DE", 0x0407, 1252},
      {"de_DE@euro", 0x0407, 1252},
      {"en_GB.UTF-8", 0x0809, 1252},
      {"fr_CA", 0x0C0C, 1252},
      {"es_ES.UTF-8", 0x0C0A, 1252},
      {"pt_BR", 0x0416, 1252},
      {"zh_CN.GB18030", 0x0804, 936},
      {"zh_TW.UTF-8", 0x0404, 950},
      {"ko_KR.UTF-8", 0x0412, 949},
      {"pl_PL", 0x0415, 1250},
      {"ru_RU.KOI8-R", 0x0419, 1251},
      {"el_GR", 0x0408, 1253},
      {"tr_TR", 0x041F, 1254},
      {"he_IL", 0x040D, 1255},
      {"ar_SA", 0x0401, 1256},
      {"lt_LT", 0x0427, 1257},
      {"th_TH", 0x041E, 874},
      {"vi_VN", 0x042A, 1258},
      {"de_BE", 0x0407, 1252}, // unknown territory: the language's own locale
      {"xx_YY", 0x0409, 1252}, // unknown language: English (United States)
  };
  for (const auto &c : cases) {
    const TLinuxLocale locale(c.Name);
    EXPECT_EQ(locale.UserLcid(), c.Lcid) << c.Name;
    EXPECT_EQ(locale.AnsiCodePage(), c.CodePage) << c.Name;
  }
}

TEST(LinuxLocale, ReadsTheEnvironmentAsTheCLibraryDoes) {
  struct TSaved {
    const char *Name;
    std::optional<std::string> Value;
  };
  std::vector<TSaved> saved;
  for (const char *name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char *value = std::getenv(name);
    saved.push_back({name, value ? std::optional<std::string>(value) : std::nullopt});
  }
  setenv("LC_ALL", "", 1);
  setenv("LC_MESSAGES", "ja_JP.UTF-8", 1);
  setenv("LANG", "de_DE.UTF-8", 1);
  EXPECT_EQ(TLinuxLocale().UserLcid(), 0x0411u);
  setenv("LC_ALL", "fr_FR.UTF-8", 1);
  EXPECT_EQ(TLinuxLocale().UserLcid(), 0x040Cu);
  unsetenv("LC_ALL");
  unsetenv("LC_MESSAGES");
  EXPECT_EQ(TLinuxLocale().UserLcid(), 0x0407u);
  unsetenv("LANG");
  EXPECT_EQ(TLinuxLocale().UserLcid(), 0x0409u);
  for (const auto &s : saved)
    s.Value ? setenv(s.Name, s.Value->c_str(), 1) : unsetenv(s.Name);
}

TEST(LinuxLocale, EncodesInTheAnsiCodePage) {
  const TLinuxLocale japanese("ja_JP.UTF-8"), western("en_US.UTF-8");
  EXPECT_EQ(japanese.ToAnsi(u"\u3042"), "\x82\xA0");
  EXPECT_EQ(japanese.ToAnsi(u"A\u65E5\u672C"), "A\x93\xFA\x96\x7B");
  // Characters the code page lacks become "?", one for a surrogate pair too.
  EXPECT_EQ(japanese.ToAnsi(u"a\u00E9\U0001F600b"), "a??b");
  EXPECT_EQ(japanese.ToAnsi(std::u16string(u"x") + char16_t(0xD800) + u"y"), "x?y");
  EXPECT_EQ(western.ToAnsi(u"caf\u00E9 \u20AC"), "caf\xE9 \x80");
  EXPECT_EQ(western.ToAnsi(u"\u3042"), "?");
  EXPECT_EQ(western.ToAnsi(u""), "");
}

TEST(LinuxLocale, DecodesTheAnsiCodePage) {
  const TLinuxLocale japanese("ja_JP"), western("C"), russian("ru_RU");
  EXPECT_EQ(japanese.FromAnsi("\x82\xA0"), u"\u3042");
  EXPECT_EQ(japanese.FromAnsi("\x82\xA0"
                              "a\x82"),
            u"\u3042a\uFFFD"); // lead byte cut off
  EXPECT_EQ(western.FromAnsi("caf\xE9 \x80"), u"caf\u00E9 \u20AC");
  EXPECT_EQ(western.FromAnsi("a\x81z"), u"a\uFFFDz"); // a byte code page 1252 leaves undefined
  const std::u16string text = u"\u041F\u0440\u0438\u0432\u0435\u0442";
  EXPECT_EQ(russian.FromAnsi(russian.ToAnsi(text)), text);
  std::string every;
  for (int b = 0; b < 256; ++b)
    every += static_cast<char>(b);
  EXPECT_FALSE(japanese.FromAnsi(every).empty()); // every byte, no failure
}
