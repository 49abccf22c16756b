#include "tests/fakes/FakeAppearance.h"

std::optional<bool> FakeAppearance::PrefersLight() { return FLight; }

void FakeAppearance::SetChangedHandler(std::function<void()> handler) {
  FHandler = std::move(handler);
}

void FakeAppearance::Change(std::optional<bool> light) {
  FLight = light;
  if (FHandler)
    FHandler();
}
