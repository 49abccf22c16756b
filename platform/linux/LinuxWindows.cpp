#include "platform/linux/LinuxWindows.h"

namespace platform::linux_impl {

std::optional<TWindowHandle> TLinuxWindows::FindWindow(const std::u16string &,
                                                       const std::u16string &) {
  return std::nullopt;
}

void TLinuxWindows::PostClose(TWindowHandle) {}

} // namespace platform::linux_impl
