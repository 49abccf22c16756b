#pragma once

#include <memory>

class TPortalAppearance;
class TQtClipboard;
class TQtMainThread;

// The operating-system services of the running program: created and put into
// platform::Services for the life of this object, taken out again after.
// Create it on the main thread after the QApplication (the desktop services
// need Qt's event loop and session bus) and before any module's start work.
class TPlatformSetup {
public:
  TPlatformSetup();
  ~TPlatformSetup();
  TPlatformSetup(const TPlatformSetup &) = delete;
  TPlatformSetup &operator=(const TPlatformSetup &) = delete;

private:
  struct TLinuxServices;
  std::unique_ptr<TLinuxServices> FLinux;
  std::unique_ptr<TQtClipboard> FClipboard;
  std::unique_ptr<TPortalAppearance> FAppearance;
  std::unique_ptr<TQtMainThread> FMainThread;
};
