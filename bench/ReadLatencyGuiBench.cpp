// Time from the write of one chat line to the chat log until the speech
// engine is handed its text: the real main window (offscreen) with Start
// pressed, the real inotify watch, the Qt event loop serving the hand-over,
// the real reader, time-stamp filter and a 100-rule dictionary; the engine
// only notes the time. Measured side by side, from the same write, with
// `tail -n0 -F` on the same file (until its line can be read from its pipe).
// Lines are written one at a time, each once the last has arrived, 5 ms
// apart, so the program is idle before each; 1,000 lines, p50 and p99.

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <optional>
#include <poll.h>
#include <spawn.h>
#include <string>
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

#include "Lib/uFileUtils.h"
#include "Lib/uStrUtils.h"
#include "app/uFrmMain.h"
#include "app/uQtMainThread.h"
#include "platform/MainThread.h"
#include "platform/linux/LinuxChangeNotification.h"
#include "tests/app/AppTestEnvironment.h"
#include "text/uTransList.h"

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int Lines = 1000;
constexpr auto Gap = std::chrono::milliseconds(5);
constexpr auto LineTimeout = std::chrono::seconds(2);
constexpr auto RunBudget = std::chrono::seconds(45);

// Notes when each text arrives. Speak runs on the main thread; the writer
// thread waits for it.
class TTimingEngine final : public platform::ISpeechEngine {
public:
  std::vector<platform::TSpeechEngineVoice> Voices() override {
    return {{u"Timing", u"Timing English (en-US)"}};
  }
  std::vector<std::u16string> AudioOutputs() override { return {}; }
  int AudioOutput() override { return -1; }
  void SetAudioOutput(int) override {}
  void SetVoice(int) override {}
  int Volume() override { return 100; }
  void SetVolume(int) override {}
  int Rate() override { return 0; }
  void SetRate(int) override {}
  bool Speak(const std::u16string &text, platform::TSpeakMode) override {
    const auto now = Clock::now();
    {
      std::lock_guard lock(FMutex);
      FTimes.push_back(now);
      FLast = text;
    }
    FArrived.notify_all();
    return true;
  }

  std::size_t Count() {
    std::lock_guard lock(FMutex);
    return FTimes.size();
  }
  // The time of text number index (from 0), once it has come.
  std::optional<Clock::time_point> WaitFor(std::size_t index, Clock::time_point deadline) {
    std::unique_lock lock(FMutex);
    if (!FArrived.wait_until(lock, deadline, [&] { return FTimes.size() > index; }))
      return std::nullopt;
    return FTimes[index];
  }
  std::u16string Last() {
    std::lock_guard lock(FMutex);
    return FLast;
  }

private:
  std::mutex FMutex;
  std::condition_variable FArrived;
  std::vector<Clock::time_point> FTimes;
  std::u16string FLast;
};

class TTimingEngines final : public platform::ISpeechEngines {
public:
  platform::ISpeechEngine *FirstEngine() override { return nullptr; }
  platform::ISpeechEngine *SecondEngine() override { return &Engine; }
  TTimingEngine Engine;
};

// `tail -n0 -F file` with its output on a pipe.
class TTail {
public:
  explicit TTail(const std::string &file) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
      return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    std::string tail = "tail", n0 = "-n0", follow = "-F", path = file;
    char *argv[] = {tail.data(), n0.data(), follow.data(), path.data(), nullptr};
    if (posix_spawnp(&FPid, "tail", &actions, nullptr, argv, environ) != 0)
      FPid = -1;
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    FFd = fds[0];
  }
  ~TTail() {
    if (FPid > 0) {
      kill(FPid, SIGTERM);
      waitpid(FPid, nullptr, 0);
    }
    if (FFd >= 0)
      close(FFd);
  }
  TTail(const TTail &) = delete;
  TTail &operator=(const TTail &) = delete;

  // The time at which the output holds lines whole lines, or none.
  std::optional<Clock::time_point> WaitForLines(long lines, Clock::time_point deadline) {
    while (FLines < lines) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
      if (left < 0)
        return std::nullopt;
      pollfd p{FFd, POLLIN, 0};
      if (poll(&p, 1, static_cast<int>(left) + 1) <= 0)
        continue;
      char buffer[4096];
      const ssize_t got = read(FFd, buffer, sizeof buffer);
      if (got <= 0)
        return std::nullopt;
      FLines += std::count(buffer, buffer + got, '\n');
    }
    return Clock::now();
  }
  long LinesSoFar() const { return FLines; }

private:
  pid_t FPid = -1;
  int FFd = -1;
  long FLines = 0;
};

// A mix of rules as users teach them: plain words, a class, a group and
// Japanese words; several of them match the line below.
std::vector<std::u16string> DictionaryLines() {
  std::vector<std::u16string> lines{std::u16string(DictionaryHeader)};
  for (int i = 0; i < 100; ++i) {
    const std::u16string n = IntToStr(i);
    switch (i % 5) {
    case 0:
      lines.push_back(u"\\bw" + n + u"\\b\tword " + n);
      break;
    case 1:
      lines.push_back(u"(?i)abbr" + n + u"\tabbreviation");
      break;
    case 2:
      lines.push_back(u"(\\d+)x" + n + u"\t$1 times " + n);
      break;
    case 3:
      lines.push_back(u"猫" + n + u"\tねこ");
      break;
    default:
      lines.push_back(u"name" + n + u"\treading" + n);
      break;
    }
  }
  return lines;
}

// A line as a chat client writes it: a time stamp and a name, or the
// viewer's time stamp and 'Display (user.name):'.
std::string ChatLine(bool secondLife, int n) {
  return std::string(secondLife ? "[2026/12/11 10:00]  Bob (bob.smith): "
                                : "[2026/12/11 10:00] Bob: ") +
         "hi all, w10 and name14 say 3x2 lol, 猫3 is here, abbr1 " + std::to_string(n) + "\n";
}

struct TRun {
  std::vector<double> Murmelo, Tail; // milliseconds
  int MissedMurmelo = 0, MissedTail = 0;
  bool Ready = false;
};

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// The writer: appends each line with one write() on the open log, like a
// chat client, and waits for tail and then for the engine.
void WriteLines(int fd, bool secondLife, TTail &tail, TTimingEngine &engine, TRun &run) {
  // tail sets up its watch after it started: write until it passes a line on.
  for (int attempt = 0; attempt < 10 && !run.Ready; ++attempt) {
    const std::string line = ChatLine(secondLife, -1);
    if (write(fd, line.data(), line.size()) != static_cast<ssize_t>(line.size()))
      return;
    run.Ready = tail.WaitForLines(tail.LinesSoFar() + 1, Clock::now() + std::chrono::seconds(1))
                    .has_value();
  }
  if (!run.Ready)
    return;
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  std::size_t spoken = engine.Count();
  long tailLines = tail.LinesSoFar();
  const auto budgetEnd = Clock::now() + RunBudget;
  for (int n = 0; n < Lines && Clock::now() < budgetEnd; ++n) {
    std::this_thread::sleep_for(Gap);
    const std::string line = ChatLine(secondLife, n);
    const auto start = Clock::now();
    if (write(fd, line.data(), line.size()) != static_cast<ssize_t>(line.size()))
      return;
    const auto deadline = start + LineTimeout;
    if (const auto t = tail.WaitForLines(++tailLines, deadline))
      run.Tail.push_back(Ms(*t - start));
    else
      ++run.MissedTail;
    if (const auto t = engine.WaitFor(spoken, deadline)) {
      run.Murmelo.push_back(Ms(*t - start));
      ++spoken;
    } else {
      ++run.MissedMurmelo;
    }
    // A late text still counts as this line's, so the next is not misread.
    spoken = std::max(spoken, engine.Count());
    tailLines = std::max(tailLines, tail.LinesSoFar());
  }
}

void Report(benchmark::State &state, std::vector<double> values, const std::string &prefix) {
  if (values.empty())
    return;
  std::sort(values.begin(), values.end());
  state.counters[prefix + "_p50_ms"] = values[values.size() / 2];
  state.counters[prefix + "_p99_ms"] = values[values.size() * 99 / 100];
  state.counters[prefix + "_max_ms"] = values.back();
}

// secondLife: the viewer's log folder with every log read ("*.txt") and
// otherLogs IM logs beside chat.txt; else one log with time-stamped lines.
void RunLatency(benchmark::State &state, bool secondLife, int otherLogs) {
  AppTestEnvironment env;
  platform::linux_impl::TLinuxChangeNotifier notifier;
  TQtMainThread mainThread;
  TTimingEngines engines;
  platform::Services.ChangeNotifier = &notifier;
  platform::Services.MainThread = &mainThread.Queue();
  platform::Services.SpeechEngines = &engines;
  SapiLoadVoices();
  BuildSpeechItems();
  WriteUtf8BomLines(DictionaryPath(), DictionaryLines());
  LoadDictionary();

  const auto folder = secondLife ? env.Folder.Path() / "home" / ".secondlife" / "me_resident"
                                 : env.Folder.Path() / "logs";
  const auto chat = folder / "chat.txt";
  std::filesystem::create_directories(folder);
  for (int i = 0; i < otherLogs; ++i)
    std::ofstream(folder / ("partner" + std::to_string(i) + ".txt"))
        << "[2026/12/10 20:00]  Partner (partner.resident): see you\n";
  const int fd = open(chat.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);

  auto window = std::make_unique<TFrmMain>();
  TIdSetup wanted = Setup;
  wanted.ChatUse = true;
  wanted.ChatFile = FromPath(chat);
  wanted.ChatType = secondLife ? 1 : 0;
  wanted.ChatFilter = secondLife ? 1 : 0;
  wanted.SLAvatar = u"me_resident";
  wanted.SLAllChats = true;
  Setup = wanted;
  window->show();
  if (!QTest::qWaitForWindowExposed(window.get()))
    state.SkipWithError("the window was not shown");
  auto *start = window->findChild<QToolButton *>(QStringLiteral("sbStart"));
  start->click();
  const bool reading = start->text() == QStringLiteral("Stop");

  TRun run;
  for (auto _ : state) {
    if (!reading || fd < 0)
      break;
    TTail tail(chat.string());
    QEventLoop loop;
    QTimer::singleShot(RunBudget + std::chrono::seconds(20), &loop, &QEventLoop::quit);
    std::thread writer([&] {
      WriteLines(fd, secondLife, tail, engines.Engine, run);
      QMetaObject::invokeMethod(
          &loop, [&loop] { loop.quit(); }, Qt::QueuedConnection);
    });
    loop.exec();
    writer.join();
  }
  if (reading)
    start->click();
  window.reset();
  if (fd >= 0)
    close(fd);
  std::fprintf(stderr, "last text spoken: %s\n", Utf16ToUtf8(engines.Engine.Last()).c_str());
  Report(state, run.Murmelo, "murmelo");
  Report(state, run.Tail, "tail");
  state.counters["lines"] = static_cast<double>(run.Murmelo.size());
  state.counters["missed_murmelo"] = run.MissedMurmelo;
  state.counters["missed_tail"] = run.MissedTail;
  if (!reading || !run.Ready)
    state.SkipWithError("reading did not start, or tail never passed a line on");
  Dictionary.clear();
  SpeechItems.clear();
  SapiReleaseVoices();
}

void BM_LineToSpeak(benchmark::State &state) { RunLatency(state, false, 0); }

// Every line makes the watch list and measure the whole folder.
void BM_LineToSpeakSecondLifeAllChats(benchmark::State &state) {
  RunLatency(state, true, static_cast<int>(state.range(0)));
}

BENCHMARK(BM_LineToSpeak)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LineToSpeakSecondLifeAllChats)
    ->ArgName("other_logs")
    ->Arg(0)
    ->Arg(1000)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace
