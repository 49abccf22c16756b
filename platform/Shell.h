#pragma once

#include <string>

namespace platform {

// Starting documents, programs and launchers the way the desktop does.
class IShell {
public:
  virtual ~IShell() = default;

  // Opens an address or a document with the desktop's default program.
  // Returns at once; whether the desktop managed it is not reported.
  virtual void OpenURL(const std::u16string &address) = 0;

  // Runs a file with its default action (an executable is started).
  // Returns at once; a failure is not reported.
  virtual void RunFile(const std::u16string &path) = 0;

  // Starts the program a launcher file describes (a .desktop entry on Linux).
  // Throws std::runtime_error, naming the file, when it cannot be read or
  // names no program; nothing is started then.
  virtual void RunShortcut(const std::u16string &path) = 0;
};

} // namespace platform
