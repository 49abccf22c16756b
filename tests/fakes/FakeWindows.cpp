#include "tests/fakes/FakeWindows.h"

std::optional<platform::TWindowHandle> FakeWindows::FindWindow(const std::u16string &className,
                                                               const std::u16string &caption) {
  for (const TWindow &window : Windows)
    if (window.ClassName == className && window.Caption == caption)
      return window.Handle;
  return std::nullopt;
}
