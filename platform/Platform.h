#pragma once

// The one registry of operating-system services the core reaches. app/
// installs the Linux services at start-up; a test installs fakes for the
// time of the test (tests/fakes/ScopedServices.h). Core code asks for a
// service with the accessors below, which throw std::logic_error when the
// service was never installed, so a missing installation is loud.

namespace platform {

class IAppInfo;
class IAppearance;
class IChangeNotifier;
class IClipboard;
class IClock;
class IDataProtection;
class ILocale;
class IMainThread;
class IShell;
class ISpeechEngines;
class ITcpClient;
class IWindows;

struct TServices {
  IAppInfo *AppInfo = nullptr;
  IAppearance *Appearance = nullptr;
  IChangeNotifier *ChangeNotifier = nullptr;
  IClipboard *Clipboard = nullptr;
  IClock *Clock = nullptr;
  IDataProtection *DataProtection = nullptr;
  ILocale *Locale = nullptr;
  IMainThread *MainThread = nullptr;
  IShell *Shell = nullptr;
  ISpeechEngines *SpeechEngines = nullptr;
  ITcpClient *TcpClient = nullptr;
  IWindows *Windows = nullptr;
};

// The installed services. Written at start-up (or by a test) on the main
// thread before any worker exists; only read afterwards.
extern TServices Services;

IAppInfo &AppInfo();
IAppearance &Appearance();
IChangeNotifier &ChangeNotifier();
IClipboard &Clipboard();
IClock &Clock();
IDataProtection &DataProtection();
ILocale &Locale();
IMainThread &MainThread();
IShell &Shell();
ISpeechEngines &SpeechEngines();
ITcpClient &TcpClient();
IWindows &Windows();

} // namespace platform
