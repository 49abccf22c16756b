#pragma once

#include "platform/Clipboard.h"

// The desktop clipboard through Qt. Needs the QApplication; without one the
// clipboard reads empty and writes are dropped.
class TQtClipboard final : public platform::IClipboard {
public:
  void SetText(const std::u16string &text) override;
  std::u16string GetText() override;
};
