#pragma once

#include <optional>
#include <string>

#include "Lib/uStrUtils.h"
#include "app/uQtMainThread.h"
#include "platform/MainThread.h"
#include "platform/Platform.h"
#include "platform/linux/LinuxAppInfo.h"
#include "platform/linux/LinuxChangeNotification.h"
#include "platform/linux/LinuxClock.h"
#include "platform/linux/LinuxLocale.h"
#include "settings/uSetup.h"
#include "speech/uSpSpeechLib.h"
#include "speech/uSpeech.h"
#include "tests/fakes/FakeAppearance.h"
#include "tests/fakes/FakeShell.h"
#include "tests/fakes/FakeSpeechEngine.h"
#include "tests/fakes/ScopedServices.h"
#include "tests/fakes/TempFolder.h"
#include "text/uMessages.h"
#include "text/uTransList.h"

// What the main window needs around it: the real locale, program folder and
// clock; a desktop appearance the test controls, a shell and speech engines
// that record.
// The settings and the device list start fresh; the program folder is an
// empty temporary folder, so no Setup.ini is read.
struct AppTestEnvironment {
  explicit AppTestEnvironment(const std::string &localeName = "en_US.UTF-8",
                              std::optional<bool> light = true)
      : AppInfo(FromPath(Folder.Path()), Folder.File("config"), Folder.File("home")),
        Locale(localeName), Appearance(light), Scope(Services()) {
    Setup = TIdSetup();
    InitSetup(Setup);
    SapiVoices.clear();
    SpeechItems.clear();
    JapaneseMessages = false;
  }

  platform::TServices Services() {
    platform::TServices services;
    services.AppInfo = &AppInfo;
    services.Appearance = &Appearance;
    services.Clock = &Clock;
    services.Locale = &Locale;
    services.Shell = &Shell;
    services.SpeechEngines = &SpeechEngines;
    return services;
  }

  TempFolder Folder;
  platform::linux_impl::TLinuxAppInfo AppInfo;
  platform::linux_impl::TLinuxLocale Locale;
  platform::linux_impl::TLinuxClock Clock;
  FakeAppearance Appearance;
  FakeShell Shell;
  FakeSpeechEngines SpeechEngines;
  ScopedServices Scope;
};

// What reading aloud needs on top: the real inotify watch, the hand-over
// served by the Qt event loop, and one recording English voice; the device
// list and the dictionary are built as at program start.
struct ReadingEnvironment : AppTestEnvironment {
  ReadingEnvironment() {
    platform::Services.ChangeNotifier = &Notifier;
    platform::Services.MainThread = &MainThread.Queue();
    SpeechEngines.HasFirst = false;
    SpeechEngines.Second.VoiceList = {{u"English", u"eSpeak NG English (en-US)"}};
    SapiLoadVoices();
    BuildSpeechItems();
    LoadDictionary();
  }

  platform::linux_impl::TLinuxChangeNotifier Notifier;
  TQtMainThread MainThread;
};
