#pragma once

#include <functional>
#include <optional>

#include "platform/Appearance.h"

// A desktop whose light/dark preference the test sets and changes.
class FakeAppearance final : public platform::IAppearance {
public:
  explicit FakeAppearance(std::optional<bool> light = true) : FLight(light) {}

  std::optional<bool> PrefersLight() override;
  void SetChangedHandler(std::function<void()> handler) override;

  // The desktop switches its preference and tells the program, as a change
  // notification would.
  void Change(std::optional<bool> light);
  bool HasHandler() const { return static_cast<bool>(FHandler); }

private:
  std::optional<bool> FLight;
  std::function<void()> FHandler;
};
