#include "chat/uSecondLife.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <string>

#include <pugixml.hpp>

#include "Lib/uStrUtils.h"
#include "Lib/uVTUtils.Win.h"
#include "chat/uFolderWatchThread.h"

namespace {

constexpr std::u16string_view PerAccountFile = u"settings_per_account.xml";

std::u16string WithSlash(std::u16string folder) {
  if (folder.empty() || folder.back() != u'/')
    folder += u'/';
  return folder;
}

// The viewers write their settings as structured-data XML: the root's first
// child is a map of "key"/"map" pairs, and inside each setting's map the key
// "Value" is followed by the value element. Calls onValue with the text of
// every value element named valueElement of setting `name`, the last one
// last. Returns false when the file is no readable XML or lacks that map;
// an exception of onValue ends the walk and leaves here.
bool WalkSetting(const std::u16string &file, const char *name, const char *valueElement,
                 const std::function<void(const char *)> &onValue) {
  pugi::xml_document doc;
  if (!doc.load_file(ToPath(file).c_str()))
    return false;
  const auto map = doc.first_child().first_child();
  if (!map)
    return false;
  for (auto key = map.first_child(); key; key = key.next_sibling()) {
    if (std::string_view(key.name()) != "key" || std::string_view(key.text().get()) != name)
      continue;
    const auto setting = key.next_sibling();
    if (!setting || std::string_view(setting.name()) != "map")
      continue;
    for (auto inner = setting.first_child(); inner; inner = inner.next_sibling()) {
      if (std::string_view(inner.name()) != "key" ||
          std::string_view(inner.text().get()) != "Value")
        continue;
      const auto value = inner.next_sibling();
      if (value && std::string_view(value.name()) == valueElement)
        onValue(value.text().get());
    }
  }
  return true;
}

// A whole decimal number (blanks around it allowed), as the viewers write
// integers; anything else throws.
int ParseInteger(const char *text) {
  const std::string trimmed = Utf16ToUtf8(Trim(Utf8ToUtf16(text)));
  const char *first = trimmed.data();
  const char *last = first + trimmed.size();
  if (first != last && *first == '+')
    ++first;
  int value = 0;
  const auto [end, error] = std::from_chars(first, last, value);
  if (first == last || error != std::errc() || end != last)
    throw std::invalid_argument("not a number: " + trimmed);
  return value;
}

} // namespace

std::u16string ViewerDataFolder(std::u16string_view viewer) {
  return WithSlash(AppDataFolder()) + std::u16string(viewer);
}

void ListAvatars(std::u16string_view viewer, std::vector<std::u16string> &names) {
  names.clear();
  const auto folder = ToPath(ViewerDataFolder(viewer));
  std::error_code ec;
  std::filesystem::directory_iterator it(folder, ec);
  for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
    std::error_code typeError;
    if (!it->is_directory(typeError))
      continue;
    if (std::filesystem::is_regular_file(it->path() / ToPath(PerAccountFile), typeError))
      names.push_back(FromPath(it->path().filename()));
  }
  if (ec)
    names.clear();
  std::sort(names.begin(), names.end());
}

std::u16string AvatarDisplayName(std::u16string_view name) {
  const auto slash = name.rfind(u'/');
  if (slash != std::u16string_view::npos)
    name.remove_prefix(slash + 1);
  const auto dot = name.rfind(u'.');
  if (dot != std::u16string_view::npos)
    name = name.substr(0, dot);
  std::u16string shown(name);
  std::replace(shown.begin(), shown.end(), u'_', u' ');
  return shown;
}

std::u16string ReadIMLogPath(std::u16string_view viewer, std::u16string_view avatar) {
  const auto file = ViewerDataFolder(viewer) + u"/" + std::u16string(avatar) + u"/" +
                    std::u16string(PerAccountFile);
  std::string path;
  try {
    if (!WalkSetting(file, "InstantMessageLogPath", "string",
                     [&](const char *value) { path = value; }))
      return {};
  } catch (...) {
    return {};
  }
  return Utf8ToUtf16(path);
}

std::u16string NewestSettingsFile(const std::u16string &pattern) {
  const auto slash = pattern.rfind(u'/');
  const std::u16string folder =
      slash == std::u16string::npos ? std::u16string() : pattern.substr(0, slash + 1);
  const std::u16string mask = pattern.substr(folder.size());
  std::vector<std::filesystem::directory_entry> entries;
  std::error_code ec;
  std::filesystem::directory_iterator it(ToPath(folder.empty() ? u"." : folder), ec);
  for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec))
    entries.push_back(*it);
  std::sort(entries.begin(), entries.end());

  std::u16string newest;
  std::filesystem::file_time_type newestTime{};
  for (const auto &entry : entries) {
    const auto name = FromPath(entry.path().filename());
    std::error_code entryError;
    if (entry.is_directory(entryError) || name == u"settings_crash_behavior.xml" ||
        !MatchesFileMask(name, mask))
      continue;
    const auto written = entry.last_write_time(entryError);
    if (entryError)
      continue;
    if (newest.empty() || written > newestTime) {
      newest = name;
      newestTime = written;
    }
  }
  return newest.empty() ? newest : folder + newest;
}

bool ReadUseDisplayNames(std::u16string_view viewer) {
  bool result = true;
  const auto file = NewestSettingsFile(ViewerDataFolder(viewer) + u"/user_settings/settings*.xml");
  if (file.empty())
    return result;
  try {
    WalkSetting(file, "UseDisplayNames", "integer",
                [&](const char *value) { result = ParseInteger(value) != 0; });
  } catch (...) {
    // A value that is no number ends the walk; what was read so far stands.
  }
  return result;
}

std::u16string ChatLogPath(int ChatType, int SLViewer, bool SLAllChats,
                           const std::u16string &ChatFile, const std::u16string &SLAvatar) {
  if (ChatType == 0)
    return ChatFile;
  const auto viewer = ViewerFolders[static_cast<std::size_t>(
      std::clamp(SLViewer, 0, static_cast<int>(ViewerFolders.size()) - 1))];
  auto logFolder = ReadIMLogPath(viewer, SLAvatar);
  if (logFolder.empty())
    logFolder = ViewerDataFolder(viewer);
  return WithSlash(logFolder) + SLAvatar + (SLAllChats ? u"/*.txt" : u"/chat.txt");
}
