#pragma once

#include "platform/AppInfo.h"

namespace platform::linux_impl {

// Folders and version of the running program. The folders are worked out once,
// when the object is made.
class TLinuxAppInfo final : public IAppInfo {
public:
  // Empty arguments mean: the folder of /proc/self/exe, $XDG_CONFIG_HOME (or
  // ~/.config) and $HOME (or the password database). Tests pass their own.
  explicit TLinuxAppInfo(const std::u16string &executableFolder = {},
                         const std::u16string &configHome = {},
                         const std::u16string &homeFolder = {});

  std::u16string ProgramFolder() const override { return programFolder_; }
  std::array<std::uint16_t, 4> FileVersion() const override;
  std::u16string AppDataFolder() const override { return homeFolder_; }
  std::u16string CommonStartMenuFolder() const override;

private:
  std::u16string programFolder_;
  std::u16string homeFolder_;
};

} // namespace platform::linux_impl
