#include "app/uPlatformSetup.h"

#include "app/uPortalAppearance.h"
#include "app/uQtClipboard.h"
#include "app/uQtMainThread.h"
#include "platform/MainThread.h"
#include "platform/Platform.h"
#include "platform/linux/LinuxAppInfo.h"
#include "platform/linux/LinuxChangeNotification.h"
#include "platform/linux/LinuxClock.h"
#include "platform/linux/LinuxDataProtection.h"
#include "platform/linux/LinuxLocale.h"
#include "platform/linux/LinuxShell.h"
#include "platform/linux/LinuxSpeechEngines.h"
#include "platform/linux/LinuxTcp.h"
#include "platform/linux/LinuxWindows.h"

// The services from platform/linux/; add each new one here and in the
// constructor below.
struct TPlatformSetup::TLinuxServices {
  platform::linux_impl::TLinuxAppInfo AppInfo;
  platform::linux_impl::TLinuxChangeNotifier ChangeNotifier;
  platform::linux_impl::TLinuxClock Clock;
  platform::linux_impl::TLinuxDataProtection DataProtection;
  platform::linux_impl::TLinuxLocale Locale;
  platform::linux_impl::TLinuxShell Shell;
  platform::linux_impl::TLinuxSpeechEngines SpeechEngines;
  platform::linux_impl::TLinuxTcpClient TcpClient;
  platform::linux_impl::TLinuxWindows Windows;
};

TPlatformSetup::TPlatformSetup()
    : FLinux(std::make_unique<TLinuxServices>()), FClipboard(std::make_unique<TQtClipboard>()),
      FAppearance(std::make_unique<TPortalAppearance>()),
      FMainThread(std::make_unique<TQtMainThread>()) {
  platform::TServices &services = platform::Services;
  services.AppInfo = &FLinux->AppInfo;
  services.ChangeNotifier = &FLinux->ChangeNotifier;
  services.Clock = &FLinux->Clock;
  services.DataProtection = &FLinux->DataProtection;
  services.Locale = &FLinux->Locale;
  services.Shell = &FLinux->Shell;
  services.SpeechEngines = &FLinux->SpeechEngines;
  services.TcpClient = &FLinux->TcpClient;
  services.Windows = &FLinux->Windows;
  services.Clipboard = FClipboard.get();
  services.Appearance = FAppearance.get();
  services.MainThread = &FMainThread->Queue();
}

TPlatformSetup::~TPlatformSetup() { platform::Services = platform::TServices(); }
