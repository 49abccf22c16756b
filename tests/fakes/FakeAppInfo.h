#pragma once

#include "platform/AppInfo.h"
#include "tests/fakes/TempFolder.h"

// The program's folders in a fresh temporary folder: ProgramFolder is its
// "program" subfolder (not created until something writes there).
class FakeAppInfo final : public platform::IAppInfo {
public:
  FakeAppInfo();

  std::u16string ProgramFolder() const override;
  std::array<std::uint16_t, 4> FileVersion() const override { return Version; }
  std::u16string AppDataFolder() const override;
  std::u16string CommonStartMenuFolder() const override;

  const TempFolder &Folder() const { return folder_; }
  std::array<std::uint16_t, 4> Version{3, 0, 0, 1};

private:
  TempFolder folder_;
};
