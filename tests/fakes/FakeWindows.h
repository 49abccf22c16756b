#pragma once

#include <string>
#include <vector>

#include "platform/Windows.h"

// Top-level windows of other programs, as the test lays them out, and the
// close requests posted to them.
class FakeWindows final : public platform::IWindows {
public:
  struct TWindow {
    platform::TWindowHandle Handle;
    std::u16string ClassName, Caption;
  };

  std::optional<platform::TWindowHandle> FindWindow(const std::u16string &className,
                                                    const std::u16string &caption) override;
  void PostClose(platform::TWindowHandle window) override { Closed.push_back(window); }

  std::vector<TWindow> Windows;
  std::vector<platform::TWindowHandle> Closed;
};
