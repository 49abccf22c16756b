#include "platform/Platform.h"

#include <stdexcept>

namespace platform {

TServices Services;

namespace {

template <typename T> T &Require(T *service, const char *name) {
  if (service == nullptr)
    throw std::logic_error(std::string("platform service not installed: ") + name);
  return *service;
}

} // namespace

IAppInfo &AppInfo() { return Require(Services.AppInfo, "AppInfo"); }
IAppearance &Appearance() { return Require(Services.Appearance, "Appearance"); }
IChangeNotifier &ChangeNotifier() { return Require(Services.ChangeNotifier, "ChangeNotifier"); }
IClipboard &Clipboard() { return Require(Services.Clipboard, "Clipboard"); }
IClock &Clock() { return Require(Services.Clock, "Clock"); }
IDataProtection &DataProtection() { return Require(Services.DataProtection, "DataProtection"); }
ILocale &Locale() { return Require(Services.Locale, "Locale"); }
IMainThread &MainThread() { return Require(Services.MainThread, "MainThread"); }
IShell &Shell() { return Require(Services.Shell, "Shell"); }
ISpeechEngines &SpeechEngines() { return Require(Services.SpeechEngines, "SpeechEngines"); }
ITcpClient &TcpClient() { return Require(Services.TcpClient, "TcpClient"); }
IWindows &Windows() { return Require(Services.Windows, "Windows"); }

} // namespace platform
