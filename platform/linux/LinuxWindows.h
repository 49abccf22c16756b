#pragma once

#include "platform/Windows.h"

namespace platform::linux_impl {

// Linux desktops have no Win32 windows of other programs: nothing is found,
// so nothing is ever closed.
class TLinuxWindows final : public IWindows {
public:
  std::optional<TWindowHandle> FindWindow(const std::u16string &className,
                                          const std::u16string &caption) override;
  void PostClose(TWindowHandle window) override;
};

} // namespace platform::linux_impl
