#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/Shell.h"

// Records what the program asked the desktop to start; starts nothing.
class FakeShell final : public platform::IShell {
public:
  void OpenURL(const std::u16string &address) override { OpenedURLs.push_back(address); }
  void RunFile(const std::u16string &path) override { RunFiles.push_back(path); }
  // Throws like the real shell for a launcher listed in BrokenShortcuts.
  void RunShortcut(const std::u16string &path) override;

  std::vector<std::u16string> OpenedURLs, RunFiles, RunShortcuts, BrokenShortcuts;
};
