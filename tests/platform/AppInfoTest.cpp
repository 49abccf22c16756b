#include <cstdlib>
#include <filesystem>
#include <unistd.h>

#include <gtest/gtest.h>

#include "Lib/uStrUtils.h"
#include "murmelo_version.h"
#include "platform/linux/LinuxAppInfo.h"
#include "tests/fakes/TempFolder.h"

using platform::linux_impl::TLinuxAppInfo;

TEST(LinuxAppInfo, ProgramFolderIsTheWritableExecutableFolder) {
  TempFolder folder;
  const auto exe = FromPath(folder.Path());
  const TLinuxAppInfo info(exe + u"/", u"/cfg", u"/home/bob");
  EXPECT_EQ(info.ProgramFolder(), exe);
  EXPECT_EQ(info.AppDataFolder(), u"/home/bob");
  EXPECT_EQ(info.CommonStartMenuFolder(), u"/usr/share/applications");

  // Without overrides: the folder of the running test program.
  std::error_code ec;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", ec).parent_path();
  if (access(self.c_str(), W_OK) == 0) {
    EXPECT_EQ(TLinuxAppInfo().ProgramFolder(), FromPath(self));
  }
}

TEST(LinuxAppInfo, FallsBackToTheConfigurationFolder) {
  TempFolder folder;
  const auto missing = FromPath(folder.Path() / "no-such-folder");
  EXPECT_EQ(TLinuxAppInfo(missing, u"/cfg/", u"/home/bob").ProgramFolder(), u"/cfg/murmelo");

  const char *savedXdg = std::getenv("XDG_CONFIG_HOME");
  const std::string saved = savedXdg ? savedXdg : "";
  setenv("XDG_CONFIG_HOME", "/xdg", 1);
  EXPECT_EQ(TLinuxAppInfo(missing, u"", u"/home/bob").ProgramFolder(), u"/xdg/murmelo");
  setenv("XDG_CONFIG_HOME", "relative/ignored", 1);
  EXPECT_EQ(TLinuxAppInfo(missing, u"", u"/home/bob").ProgramFolder(),
            u"/home/bob/.config/murmelo");
  savedXdg ? setenv("XDG_CONFIG_HOME", saved.c_str(), 1) : unsetenv("XDG_CONFIG_HOME");
  EXPECT_FALSE(std::filesystem::exists("/cfg/murmelo")); // not created here

  // A read-only executable folder (root may write anywhere, so only as a user).
  std::filesystem::permissions(folder.Path(), std::filesystem::perms::owner_read |
                                                  std::filesystem::perms::owner_exec);
  if (access(folder.Path().c_str(), W_OK) != 0) {
    EXPECT_EQ(TLinuxAppInfo(FromPath(folder.Path()), u"/cfg", u"/h").ProgramFolder(),
              u"/cfg/murmelo");
  }
}

TEST(LinuxAppInfo, VersionIsTheProjectVersion) {
  const auto version = TLinuxAppInfo().FileVersion();
  EXPECT_EQ(version[0], MURMELO_VERSION_MAJOR);
  EXPECT_EQ(version[1], MURMELO_VERSION_MINOR);
  EXPECT_EQ(version[2], MURMELO_VERSION_PATCH);
  EXPECT_EQ(version[3], MURMELO_VERSION_TWEAK + 0);
}
