#include "tests/fakes/FakeShell.h"

#include <algorithm>

#include "Lib/uStrUtils.h"

void FakeShell::RunShortcut(const std::u16string &path) {
  if (std::find(BrokenShortcuts.begin(), BrokenShortcuts.end(), path) != BrokenShortcuts.end())
    throw std::runtime_error("Cannot read the launcher \"" + Utf16ToUtf8(path) + "\"");
  RunShortcuts.push_back(path);
}
