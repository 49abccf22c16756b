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
IClipboard &Clipboard() { return Require(Services.Clipboard, "Clipboard"); }
IClock &Clock() { return Require(Services.Clock, "Clock"); }
IDataProtection &DataProtection() { return Require(Services.DataProtection, "DataProtection"); }
ILocale &Locale() { return Require(Services.Locale, "Locale"); }
IShell &Shell() { return Require(Services.Shell, "Shell"); }

} // namespace platform
