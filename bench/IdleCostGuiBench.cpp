// What the program costs while nobody chats: CPU time (all threads) and
// resident memory.
//
// BM_IdleReadingWindow: the main window (offscreen) on the Linux services the
// program installs, started as main.cpp starts it, with Start pressed on an
// empty chat log. The one difference from the program: eSpeak NG (real) sends
// its samples to memory in real time instead of to a sound server, as there
// is none here; without one the program refuses to start reading. Measured
// first for a while before Start (idle, not reading), then while reading.
//
// BM_ProgramBinaryIdle: the built program itself, QT_QPA_PLATFORM=offscreen,
// with a temporary home; nobody presses Start, so it is idle and NOT reading.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include "Lib/uStrUtils.h"
#include "app/uFrmMain.h"
#include "app/uPortalAppearance.h"
#include "app/uQtClipboard.h"
#include "app/uQtMainThread.h"
#include "app/uVCLTheme.h"
#include "platform/MainThread.h"
#include "platform/Platform.h"
#include "platform/linux/LinuxAppInfo.h"
#include "platform/linux/LinuxChangeNotification.h"
#include "platform/linux/LinuxClock.h"
#include "platform/linux/LinuxDataProtection.h"
#include "platform/linux/LinuxEspeak.h"
#include "platform/linux/LinuxLocale.h"
#include "platform/linux/LinuxShell.h"
#include "platform/linux/LinuxSpeechEngines.h"
#include "platform/linux/LinuxTcp.h"
#include "platform/linux/LinuxWindows.h"
#include "settings/uSetup.h"
#include "speech/uSpSpeechLib.h"
#include "speech/uSpeech.h"
#include "tests/fakes/ScopedServices.h"
#include "tests/fakes/TempFolder.h"
#include "text/uTransList.h"

extern char **environ;

namespace {

namespace lx = platform::linux_impl;
using Clock = std::chrono::steady_clock;

constexpr auto IdleTime = std::chrono::seconds(15);
constexpr auto SettleTime = std::chrono::seconds(3);

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The number of a field of /proc/<pid>/status ("VmRSS", in KiB; "Threads").
double StatusValue(const std::string &pid, const std::string &field) {
  std::ifstream in("/proc/" + pid + "/status");
  std::string line;
  while (std::getline(in, line))
    if (line.rfind(field + ":", 0) == 0)
      return std::stod(line.substr(field.size() + 1));
  return -1;
}

double StatusMiB(const std::string &pid, const std::string &field) {
  return StatusValue(pid, field) / 1024.0;
}

// CPU time of a process in seconds, all its threads, in nanoseconds'
// resolution: the sum of the run times in /proc/<pid>/task/*/schedstat.
double ProcessCpuSeconds(pid_t pid) {
  std::error_code ec;
  double total = 0;
  for (const auto &task :
       std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task", ec)) {
    std::ifstream in(task.path() / "schedstat");
    unsigned long long runNs = 0;
    if (in >> runNs)
      total += static_cast<double>(runNs) / 1e9;
  }
  return total;
}

void RunEventLoopFor(std::chrono::milliseconds time) {
  QEventLoop loop;
  QTimer::singleShot(time, &loop, &QEventLoop::quit);
  loop.exec();
}

// CPU in percent of one core used by this process while its event loop idles.
double IdlePercent(std::chrono::seconds time) {
  const double cpu = CpuSeconds();
  const auto start = Clock::now();
  RunEventLoopFor(time);
  const double wall = std::chrono::duration<double>(Clock::now() - start).count();
  return 100.0 * (CpuSeconds() - cpu) / wall;
}

// The services main.cpp's TPlatformSetup installs, but with the folders in a
// temporary folder and eSpeak NG recording in real time.
struct TProgramServices {
  explicit TProgramServices(const TempFolder &folder)
      : AppInfo(FromPath(folder.Path()), folder.File("config"), folder.File("home")),
        SpeechEngines(std::make_shared<lx::TRecordingAudio>(
                          lx::TRecordingAudio::TOptions{{{"", u"Memory"}}, true, true}),
                      true),
        Scope(Services()) {}

  platform::TServices Services() {
    platform::TServices services;
    services.AppInfo = &AppInfo;
    services.ChangeNotifier = &ChangeNotifier;
    services.Clock = &ClockService;
    services.DataProtection = &DataProtection;
    services.Locale = &Locale;
    services.Shell = &Shell;
    services.SpeechEngines = &SpeechEngines;
    services.TcpClient = &TcpClient;
    services.Windows = &Windows;
    services.Clipboard = &Clipboard;
    services.Appearance = &Appearance;
    services.MainThread = &MainThread.Queue();
    return services;
  }

  lx::TLinuxAppInfo AppInfo;
  lx::TLinuxChangeNotifier ChangeNotifier;
  lx::TLinuxClock ClockService;
  lx::TLinuxDataProtection DataProtection;
  lx::TLinuxLocale Locale;
  lx::TLinuxShell Shell;
  lx::TLinuxSpeechEngines SpeechEngines;
  lx::TLinuxTcpClient TcpClient;
  lx::TLinuxWindows Windows;
  TQtClipboard Clipboard;
  TPortalAppearance Appearance;
  TQtMainThread MainThread;
  ScopedServices Scope;
};

void BM_IdleReadingWindow(benchmark::State &state) {
  TempFolder folder;
  const auto chat = folder.Path() / "logs" / "chat.txt";
  std::filesystem::create_directories(chat.parent_path());
  std::ofstream(chat).close();
  const double rssBefore = StatusMiB("self", "VmRSS");
  for (auto _ : state) {
    TProgramServices services(folder);
    // What main.cpp does before the window.
    RefreshLightMode();
    SapiLoadVoices();
    BuildSpeechItems();
    LoadDictionary();
    InitSetup(Setup);
    ApplyStyle(LightStyleName(), nullptr);
    {
      TFrmMain window;
      window.show();
      if (!QTest::qWaitForWindowExposed(&window))
        state.SkipWithError("the window was not shown");
      Setup.ChatUse = true;
      Setup.ChatType = 0;
      Setup.ChatFile = FromPath(chat);
      Setup.ChatFilter = 0;
      RunEventLoopFor(SettleTime);
      state.counters["not_reading_cpu_pct"] = IdlePercent(IdleTime);
      state.counters["not_reading_rss_mib"] = StatusMiB("self", "VmRSS");

      auto *start = window.findChild<QToolButton *>(QStringLiteral("sbStart"));
      start->click();
      state.counters["reading"] = start->text() == QStringLiteral("Stop") ? 1 : 0;
      // The spoken greeting plays out first (real time, into memory).
      auto &espeak = dynamic_cast<lx::TLinuxEspeakEngine &>(*services.SpeechEngines.SecondEngine());
      espeak.WaitIdle(std::chrono::seconds(10));
      RunEventLoopFor(SettleTime);
      state.counters["reading_cpu_pct"] = IdlePercent(IdleTime);
      state.counters["reading_rss_mib"] = StatusMiB("self", "VmRSS");
      state.counters["peak_rss_mib"] = StatusMiB("self", "VmHWM");
      state.counters["threads"] = StatusValue("self", "Threads");
      start->click();
    }
    SpeechItems.clear();
    SapiReleaseVoices();
    Dictionary.clear();
  }
  state.counters["rss_before_window_mib"] = rssBefore;
}

void BM_ProgramBinaryIdle(benchmark::State &state) {
  TempFolder home;
  std::filesystem::create_directories(home.Path() / "config");
  const std::string program = MURMELO_PROGRAM;
  std::vector<std::string> env{"QT_QPA_PLATFORM=offscreen", "HOME=" + home.Path().string(),
                               "XDG_CONFIG_HOME=" + (home.Path() / "config").string()};
  if (const char *path = std::getenv("PATH"))
    env.push_back(std::string("PATH=") + path);
  std::vector<char *> envp;
  for (auto &e : env)
    envp.push_back(e.data());
  envp.push_back(nullptr);
  std::string arg0 = program;
  char *argv[] = {arg0.data(), nullptr};
  const std::string errors = (home.Path() / "stderr.txt").string();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errors.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  for (auto _ : state) {
    pid_t pid = -1;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, envp.data()) != 0) {
      state.SkipWithError("cannot start the program");
      break;
    }
    const std::string id = std::to_string(pid);
    std::this_thread::sleep_for(SettleTime);
    const double startCpu = ProcessCpuSeconds(pid);
    const auto start = Clock::now();
    double rssMax = 0;
    while (Clock::now() - start < IdleTime) {
      std::this_thread::sleep_for(std::chrono::seconds(1));
      rssMax = std::max(rssMax, StatusMiB(id, "VmRSS"));
    }
    const double cpu = ProcessCpuSeconds(pid) - startCpu;
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    state.counters["startup_cpu_s"] = startCpu;
    state.counters["idle_not_reading_cpu_pct"] = 100.0 * cpu / wall;
    state.counters["rss_mib"] = StatusMiB(id, "VmRSS");
    state.counters["rss_max_mib"] = rssMax;
    state.counters["peak_rss_mib"] = StatusMiB(id, "VmHWM");
    state.counters["threads"] = StatusValue(id, "Threads");
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
  }
  posix_spawn_file_actions_destroy(&actions);
}

BENCHMARK(BM_IdleReadingWindow)->Iterations(1)->Unit(benchmark::kSecond);
BENCHMARK(BM_ProgramBinaryIdle)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace
