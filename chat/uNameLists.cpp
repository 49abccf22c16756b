#include "chat/uNameLists.h"

#include <algorithm>
#include <vector>

#include "Lib/uFileUtils.h"
#include "Lib/uStrUtils.h"
#include "Lib/uVTUtils.Win.h"
#include "platform/AppInfo.h"
#include "platform/Platform.h"

std::set<std::u16string> UserNames;
bool WhiteListMode = false;
std::set<std::u16string, TAsciiCaseLess> BlockedFiles;

namespace {

std::u16string ListPath(std::u16string_view name) {
  return platform::AppInfo().ProgramFolder() + u"/" + std::u16string(name);
}

// The entries after the header; none when the header is missing.
std::vector<std::u16string> ReadListEntries(const std::u16string &path,
                                            std::u16string_view header) {
  std::vector<std::u16string> lines = ReadTextLines(path);
  if (lines.size() < 2 || lines[0] != header)
    return {};
  lines.erase(lines.begin());
  return lines;
}

// What Windows does not allow in a file name, wildcards included.
bool IsFileName(std::u16string_view name) {
  return std::none_of(name.begin(), name.end(), [](char16_t c) {
    return c < 32 || std::u16string_view(u":\\\"*/<>?|").find(c) != std::u16string_view::npos;
  });
}

} // namespace

bool TAsciiCaseLess::operator()(const std::u16string &a, const std::u16string &b) const {
  const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; };
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [&](char16_t x, char16_t y) { return lower(x) < lower(y); });
}

void LoadUserLists() {
  UserNames.clear();
  WhiteListMode = false;
  const std::u16string white = ListPath(u"WhiteList.txt");
  const std::u16string black = ListPath(u"BlackList.txt");
  if (FileExists(white)) {
    WhiteListMode = true;
    LoadUserListFile(white);
  } else if (FileExists(black)) {
    LoadUserListFile(black);
  }
}

void LoadUserListFile(const std::u16string &path) {
  for (const std::u16string &line : ReadListEntries(path, UserListHeader)) {
    std::u16string name = LowerAscii(Trim(line));
    std::replace(name.begin(), name.end(), u' ', u'.');
    if (IsAvatarName(name))
      UserNames.insert(name);
  }
}

void LoadFileList() {
  BlockedFiles.clear();
  const std::u16string path = ListPath(u"BlackFiles.txt");
  if (!FileExists(path))
    return;
  for (const std::u16string &line : ReadListEntries(path, FileListHeader)) {
    std::u16string name = LowerAscii(Trim(line));
    if (IsFileName(name))
      BlockedFiles.insert(name);
  }
}

std::u16string CheckListsMessage(const std::u16string &name) {
  const bool japanese = IsJapaneseLocale();
  if (WhiteListMode) {
    if (UserNames.empty() || (UserNames.size() == 1 && UserNames.count(u"user.name") == 1))
      return japanese ? u"ホワイトリストがカラなので，ムルメロは何も話しません。"
                      : u"MURMELO speaks nothing becasue the Whitelist is empty.";
    return {};
  }
  std::u16string own = LowerAscii(name);
  std::replace(own.begin(), own.end(), u'_', u'.');
  if (!UserNames.empty() && UserNames.count(own) == 1)
    return japanese ? u"あなたの名前がブラックリストにありますので，ムルメロはあなたのチャットを話"
                      u"しません。"
                    : u"MURMELO doesn't speak your message becasue your name is in the Blacklist.";
  return {};
}

bool IsNameMuted(const std::u16string &name) {
  const bool listed = UserNames.count(name) == 1;
  return WhiteListMode ? !listed : listed;
}

bool IsAvatarName(std::u16string_view text) {
  if (text.empty() || text.size() >= 64)
    return false;
  int dots = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'.') {
      // Position i + 1 counts from 1.
      if (++dots > 1 || i + 1 >= 33)
        return false;
    } else if (!((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z'))) {
      return false;
    }
  }
  return dots == 1 || text.size() <= 31;
}

bool IsFileBlocked(const std::u16string &name) { return BlockedFiles.count(name) == 1; }
