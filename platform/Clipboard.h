#pragma once

#include <string>

namespace platform {

// The desktop's clipboard text, shared with every other program.
class IClipboard {
public:
  virtual ~IClipboard() = default;
  virtual void SetText(const std::u16string &text) = 0;
  // Empty when the clipboard holds no text.
  virtual std::u16string GetText() = 0;
};

} // namespace platform
