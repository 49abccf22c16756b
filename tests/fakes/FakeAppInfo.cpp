#include "tests/fakes/FakeAppInfo.h"

#include "Lib/uStrUtils.h"

FakeAppInfo::FakeAppInfo() = default;

std::u16string FakeAppInfo::ProgramFolder() const { return FromPath(folder_.Path() / "program"); }

std::u16string FakeAppInfo::AppDataFolder() const { return FromPath(folder_.Path() / "home"); }

std::u16string FakeAppInfo::CommonStartMenuFolder() const {
  return FromPath(folder_.Path() / "applications");
}
