#include "platform/linux/LinuxAppInfo.h"

#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <unistd.h>
#include <vector>

#include "Lib/uStrUtils.h"
#include "murmelo_version.h"

namespace platform::linux_impl {

namespace {

std::u16string WithoutTrailingSlash(std::u16string path) {
  while (path.size() > 1 && path.back() == u'/')
    path.pop_back();
  return path;
}

std::u16string ExecutableFolder() {
  std::error_code ec;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec)
    return FromPath(std::filesystem::current_path(ec));
  return FromPath(exe.parent_path());
}

std::u16string HomeFromSystem() {
  const char *home = std::getenv("HOME");
  if (home != nullptr && *home == '/')
    return Utf8ToUtf16(home);
  long size = sysconf(_SC_GETPW_R_SIZE_MAX);
  std::vector<char> buffer(size > 0 ? static_cast<size_t>(size) : 16384);
  passwd entry{};
  passwd *result = nullptr;
  if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &result) == 0 &&
      result != nullptr && result->pw_dir != nullptr)
    return Utf8ToUtf16(result->pw_dir);
  return u"/";
}

std::u16string ConfigHomeFromSystem(const std::u16string &home) {
  const char *config = std::getenv("XDG_CONFIG_HOME");
  // The base-directory rules ignore a relative XDG_CONFIG_HOME.
  if (config != nullptr && *config == '/')
    return Utf8ToUtf16(config);
  return (home == u"/" ? std::u16string() : home) + u"/.config";
}

bool IsWritableFolder(const std::u16string &folder) {
  return access(Utf16ToUtf8(folder).c_str(), W_OK) == 0;
}

} // namespace

TLinuxAppInfo::TLinuxAppInfo(const std::u16string &executableFolder,
                             const std::u16string &configHome, const std::u16string &homeFolder) {
  homeFolder_ = WithoutTrailingSlash(homeFolder.empty() ? HomeFromSystem() : homeFolder);
  const auto exeFolder =
      WithoutTrailingSlash(executableFolder.empty() ? ExecutableFolder() : executableFolder);
  // An installed program's folder (/usr/bin) is not the user's to write: the
  // settings then live in the user's configuration folder.
  if (IsWritableFolder(exeFolder)) {
    programFolder_ = exeFolder;
  } else {
    const auto config = configHome.empty() ? ConfigHomeFromSystem(homeFolder_) : configHome;
    programFolder_ = WithoutTrailingSlash(config) + u"/murmelo";
  }
}

std::array<std::uint16_t, 4> TLinuxAppInfo::FileVersion() const {
  // An empty tweak number in the project version reads as 0.
  return {MURMELO_VERSION_MAJOR + 0, MURMELO_VERSION_MINOR + 0, MURMELO_VERSION_PATCH + 0,
          MURMELO_VERSION_TWEAK + 0};
}

std::u16string TLinuxAppInfo::CommonStartMenuFolder() const { return u"/usr/share/applications"; }

} // namespace platform::linux_impl
