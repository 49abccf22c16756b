#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// Another program's top-level window, as the desktop names it.
using TWindowHandle = std::uint64_t;

// Finding other programs' top-level windows and asking them to close. On a
// desktop without such windows (Linux) nothing is ever found.
class IWindows {
public:
  virtual ~IWindows() = default;
  // The first top-level window whose class and caption are exactly these.
  virtual std::optional<TWindowHandle> FindWindow(const std::u16string &className,
                                                  const std::u16string &caption) = 0;
  // Asks the window to close (a posted close message); does not wait.
  virtual void PostClose(TWindowHandle window) = 0;
};

} // namespace platform
