#pragma once

#include <set>
#include <string>
#include <string_view>

// Whose chat is spoken and which chat files are never read: WhiteList.txt,
// BlackList.txt and BlackFiles.txt beside the program, read each time
// reading aloud starts. Used only on the main thread.

inline constexpr std::u16string_view UserListHeader = u"# VELTRA MURMELO User List Format V 1.0";
inline constexpr std::u16string_view FileListHeader = u"# VELTRA MURMELO File List Format V 1.0";

// Orders texts without regard to the case of ASCII letters.
struct TAsciiCaseLess {
  bool operator()(const std::u16string &a, const std::u16string &b) const;
};

// The names of WhiteList.txt or of BlackList.txt, never both.
extern std::set<std::u16string> UserNames;
// True when WhiteList.txt exists: then only its names are spoken.
extern bool WhiteListMode;
// Chat file names (without folder and extension) that are never read.
extern std::set<std::u16string, TAsciiCaseLess> BlockedFiles;

// Fill the lists from the files; an existing file that cannot be read
// throws.
void LoadUserLists();
void LoadFileList();
void LoadUserListFile(const std::u16string &path);

// The warning to speak when the lists silence everyone, or the user's own
// avatar (its folder name, such as 'bob_smith'); empty when there is none.
std::u16string CheckListsMessage(const std::u16string &name);

// name: a speaker's avatar name, trimmed and lower-cased.
bool IsNameMuted(const std::u16string &name);
// A well-formed avatar account name: 'bob.smith', or 'bob' of up to 31
// characters.
bool IsAvatarName(std::u16string_view text);
// name: a chat file's name without folder and extension.
bool IsFileBlocked(const std::u16string &name);
