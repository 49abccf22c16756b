#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

// The viewers' data folders in the home folder, indexed by Setup.SLViewer,
// and the captions the settings dialog shows for them.
inline constexpr std::array<std::u16string_view, 3> ViewerFolders{u".secondlife", u".firestorm",
                                                                  u".firestorm_x64"};
inline constexpr std::array<std::u16string_view, 3> ViewerCaptions{u"Secondlife", u"Firestorm",
                                                                   u"Firestorm x64"};

// The viewer's data folder: AppDataFolder() + "/" + viewer.
std::u16string ViewerDataFolder(std::u16string_view viewer);

// The avatar folder names of a viewer (sub-folders of its data folder that
// hold settings_per_account.xml), sorted; empty when the folder is missing.
void ListAvatars(std::u16string_view viewer, std::vector<std::u16string> &names);

// 'bob_smith' -> 'bob smith'.
std::u16string AvatarDisplayName(std::u16string_view name);

// Whether the viewer writes display names into its chat lines; true unless
// its newest user settings say otherwise.
bool ReadUseDisplayNames(std::u16string_view viewer);

// The file, or the "*.txt" wildcard, to watch for the chosen chat source.
std::u16string ChatLogPath(int ChatType, int SLViewer, bool SLAllChats,
                           const std::u16string &ChatFile, const std::u16string &SLAvatar);

// The avatar's InstantMessageLogPath setting, empty when missing or
// unreadable.
std::u16string ReadIMLogPath(std::u16string_view viewer, std::u16string_view avatar);

// The last written file matching pattern (a path whose last part may hold
// "*" and "?"), other than settings_crash_behavior.xml; empty when none.
std::u16string NewestSettingsFile(const std::u16string &pattern);
