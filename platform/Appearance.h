#pragma once

#include <functional>
#include <optional>

namespace platform {

// The desktop's light/dark preference for applications.
class IAppearance {
public:
  virtual ~IAppearance() = default;

  // true: the desktop asks for light applications, false: for dark ones,
  // nullopt: no preference can be read.
  virtual std::optional<bool> PrefersLight() = 0;

  // Called on the main thread after the preference may have changed while the
  // program runs. One handler; an empty function removes it.
  virtual void SetChangedHandler(std::function<void()> handler) = 0;
};

} // namespace platform
