#pragma once

#include <string>
#include <vector>

#include "platform/Shell.h"

namespace platform::linux_impl {

// Starts documents and programs as the desktop does: xdg-open for addresses
// and documents, freedesktop .desktop files as launchers. Nothing goes
// through a shell, so an address is never interpreted as a command. Every
// child is reaped by a small thread of its own.
class TLinuxShell final : public IShell {
public:
  void OpenURL(const std::u16string &address) override;
  void RunFile(const std::u16string &path) override;
  void RunShortcut(const std::u16string &path) override;
};

// The command a .desktop file launches: Exec= of [Desktop Entry] split into
// arguments by the desktop-entry quoting rules, field codes (%f, %U...)
// removed; WorkingFolder from Path= (empty when absent). Throws
// std::runtime_error naming the file when it cannot be read or names no
// program.
struct TDesktopCommand {
  std::vector<std::string> Arguments;
  std::string WorkingFolder;
};
TDesktopCommand ReadDesktopEntry(const std::u16string &path);

} // namespace platform::linux_impl
