#pragma once

#include <cstdint>

// How the Second Life log filter treats a line: copied from Setup by the
// settings validation.
struct TSecondLifeLogOptions {
  std::int32_t Translate = 0; // 0 none, 1 the translated text, 2 the original text
  std::int32_t ReadName = 0;  // 0 display name, 1 avatar name
  bool UseDisplayNames = false;
};

extern TSecondLifeLogOptions SecondLifeLogOptions;
