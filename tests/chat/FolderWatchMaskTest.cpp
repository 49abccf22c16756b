#include <gtest/gtest.h>

#include "Lib/uStrUtils.h"
#include "chat/uFolderWatchThread.h"

// Only "*" and "?" are wildcards: a chat file the user picked may well be
// named with brackets.
TEST(FolderWatchMask, WildcardsAreStarAndQuestionMarkOnly) {
  const struct {
    const char *Name, *Mask;
    bool Matches;
  } cases[] = {
      {"chat.txt", "chat.txt", true},
      {"Chat.txt", "chat.txt", false},
      {"chat.txt", "*.txt", true},
      {"im alice.txt", "*.txt", true},
      {".txt", "*.txt", true},
      {"chat.txt.bak", "*.txt", false},
      {"notes.log", "*.txt", false},
      {"settings.xml", "settings*.xml", true},
      {"settings_x.xml", "settings*.xml", true},
      {"my_settings.xml", "settings*.xml", false},
      {"log1.txt", "log?.txt", true},
      {"log.txt", "log?.txt", false},
      {"log[1].txt", "log[1].txt", true},
      {"log1.txt", "log[1].txt", false},
      {"a.b.c", "*.*.*", true},
      {"abc", "*", true},
      {"", "*", true},
      {"x", "", false},
  };
  for (const auto &c : cases)
    EXPECT_EQ(MatchesFileMask(U16(c.Name), U16(c.Mask)), c.Matches) << c.Name << " " << c.Mask;
}
