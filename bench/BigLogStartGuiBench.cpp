// Starting to read with a 4 GiB chat log already there must be as quick as
// with an empty one: what the log holds counts as read and is never opened.
// The log is sparse (it takes no disk). Each start is timed for both logs in
// turn, 15 times, and the medians compared:
// - BM_PressStart: the main window (offscreen) with the real inotify watch and
//   the Qt event loop; the time of pressing Start (the click returns once the
//   watch runs). Then one line is appended and the time until it is handed
//   to the (recording) speech engine is taken too, and the time of pressing
//   Stop.
// - BM_CoreStart: PrepareChatReading and StartFolderWatch, as Start calls
//   them, without the window.

#include <algorithm>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <sys/stat.h>
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
#include "chat/uChatReader.h"
#include "chat/uFolderWatchThread.h"
#include "tests/app/AppTestEnvironment.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int Repetitions = 15;
constexpr long long BigSize = 4LL << 30;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

double Median(std::vector<double> values) {
  if (values.empty())
    return -1;
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// The environment of both benchmarks, with an empty and a 4 GiB log, each
// alone in its own folder.
struct TLogs {
  TLogs() {
    std::filesystem::create_directories(Empty.parent_path());
    std::filesystem::create_directories(Big.parent_path());
    std::ofstream(Empty).close();
    const int fd = open(Big.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    BigReady = fd >= 0 && ftruncate(fd, BigSize) == 0;
    if (fd >= 0)
      close(fd);
    struct stat st {};
    if (stat(Big.c_str(), &st) == 0)
      BigOnDiskKiB = static_cast<double>(st.st_blocks) / 2.0;
  }
  ~TLogs() {
    SpeechItems.clear();
    SapiReleaseVoices();
  }

  ReadingEnvironment Env;
  std::filesystem::path Empty = Env.Folder.Path() / "empty" / "chat.txt";
  std::filesystem::path Big = Env.Folder.Path() / "big" / "chat.txt";
  bool BigReady = false;
  double BigOnDiskKiB = -1;
};

// Runs the event loop until done() or the timeout; whether done().
bool ServeUntil(const std::function<bool()> &done, std::chrono::milliseconds timeout) {
  QTimer tick; // the loop looks at done() at least this often
  tick.start(5);
  const auto deadline = Clock::now() + timeout;
  while (!done() && Clock::now() < deadline)
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  return done();
}

void ReportRatio(benchmark::State &state, const std::string &what, const std::vector<double> &empty,
                 const std::vector<double> &big) {
  const double e = Median(empty), b = Median(big);
  state.counters[what + "_empty_median_ms"] = e;
  state.counters[what + "_4gib_median_ms"] = b;
  state.counters[what + "_4gib_max_ms"] =
      big.empty() ? -1 : *std::max_element(big.begin(), big.end());
  state.counters[what + "_ratio"] = e > 0 ? b / e : -1;
}

void BM_PressStart(benchmark::State &state) {
  TLogs logs;
  std::vector<double> startEmpty, startBig, lineEmpty, lineBig, stop;
  int failures = 0;
  for (auto _ : state) {
    auto window = std::make_unique<TFrmMain>();
    Setup.ChatUse = true;
    Setup.ChatType = 0;
    Setup.ChatFilter = 0;
    window->show();
    if (!QTest::qWaitForWindowExposed(window.get()))
      state.SkipWithError("the window was not shown");
    auto *start = window->findChild<QToolButton *>(QStringLiteral("sbStart"));
    for (int n = 0; n < 2 * Repetitions; ++n) {
      const bool big = n % 2 == 1;
      Setup.ChatFile = FromPath(big ? logs.Big : logs.Empty);
      const auto t0 = Clock::now();
      start->click();
      const auto t1 = Clock::now();
      if (start->text() != QStringLiteral("Stop")) {
        ++failures;
        continue;
      }
      (big ? startBig : startEmpty).push_back(Ms(t1 - t0));
      auto &spoken = logs.Env.SpeechEngines.Second.Spoken;
      const auto before = spoken.size();
      const auto t2 = Clock::now();
      std::ofstream(big ? logs.Big : logs.Empty, std::ios::binary | std::ios::app)
          << "[2026/12/11 10:00] hello " << n << "\n";
      if (ServeUntil([&] { return spoken.size() > before; }, std::chrono::seconds(3)))
        (big ? lineBig : lineEmpty).push_back(Ms(Clock::now() - t2));
      else
        ++failures;
      const auto t3 = Clock::now();
      start->click();
      stop.push_back(Ms(Clock::now() - t3));
    }
  }
  ReportRatio(state, "start", startEmpty, startBig);
  ReportRatio(state, "first_line", lineEmpty, lineBig);
  // Stop waits for the watch thread to see the request.
  state.counters["stop_median_ms"] = Median(stop);
  state.counters["stop_max_ms"] = stop.empty() ? -1 : *std::max_element(stop.begin(), stop.end());
  state.counters["failures"] = failures;
  state.counters["big_log_on_disk_kib"] = logs.BigOnDiskKiB;
  if (!logs.BigReady)
    state.SkipWithError("cannot make the 4 GiB log");
}

void BM_CoreStart(benchmark::State &state) {
  TLogs logs;
  std::vector<double> empty, big;
  for (auto _ : state) {
    for (int n = 0; n < 2 * Repetitions; ++n) {
      const bool isBig = n % 2 == 1;
      const auto &path = isBig ? logs.Big : logs.Empty;
      std::unique_ptr<TFolderWatch> watch;
      const auto t0 = Clock::now();
      PrepareChatReading(0, 100, 0, 0, u"");
      StartFolderWatch(
          watch, FromPath(path.parent_path()), FromPath(path.filename()),
          [](TFolderWatch &, const std::u16string &, std::int64_t) {}, [](TFolderWatch &) {});
      const auto t1 = Clock::now();
      (isBig ? big : empty).push_back(Ms(t1 - t0));
      StopFolderWatch(watch);
    }
  }
  ReportRatio(state, "start", empty, big);
  if (!logs.BigReady)
    state.SkipWithError("cannot make the 4 GiB log");
}

BENCHMARK(BM_PressStart)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CoreStart)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
