#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace platform {

// Facts about the running program and the folders it uses. Paths are
// absolute, UTF-16, without a trailing "/".
class IAppInfo {
public:
  virtual ~IAppInfo() = default;

  // Where Setup.ini, Dictionary.txt and the list files live: the
  // executable's folder when it is writable, otherwise the user's
  // configuration folder for the program (created on first write, not here).
  virtual std::u16string ProgramFolder() const = 0;

  // The program's file version as four numbers (major, minor, patch, build);
  // all zero when the program carries none.
  virtual std::array<std::uint16_t, 4> FileVersion() const = 0;

  // Where the chat viewers keep their per-user data (the home folder).
  virtual std::u16string AppDataFolder() const = 0;

  // The folder of the system's application menu entries.
  virtual std::u16string CommonStartMenuFolder() const = 0;
};

} // namespace platform
