#include "chat/uFolderWatchThread.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <filesystem>
#include <mutex>
#include <unordered_map>

#include "Lib/uStrUtils.h"
#include "platform/ChangeNotification.h"
#include "platform/MainThread.h"
#include "platform/Platform.h"

// The state the thread and the main thread share. The thread holds it by a
// shared pointer, so that a watch stopped from inside its own handler (which
// cannot wait for the thread, see Stop) can be freed while the thread ends
// later on its own.
struct TFolderWatch::TState {
  TState(platform::IMainThread &mainThread, platform::IChangeNotifier &notifier)
      : MainThread(mainThread), Notifier(notifier) {}

  platform::IMainThread &MainThread;
  platform::IChangeNotifier &Notifier;
  std::u16string FDirectory;
  std::u16string FFilter;

  // Set up on the main thread before the thread starts; the thread's alone
  // afterwards.
  std::unique_ptr<platform::IChangeNotification> FNotification;
  std::u16string FNotificationError;

  // Main thread only.
  // The recorded size of every file known so far, by full path. Entries are
  // never removed: a file that disappears keeps its size.
  std::unordered_map<std::u16string, std::int64_t> FileSizes;
  TFolderWatchEvent FOnChange;
  TFolderWatchErrorEvent FOnError;
  TFolderWatchEndEvent FOnTerminate;
  TFolderWatch *Owner = nullptr; // none once the owner let go of the watch
  int InHandOver = 0;            // hand-overs of this watch running on the main thread

  std::atomic<bool> Terminated{false};
  std::atomic<bool> Finished{false};
  std::mutex SleepMutex;
  std::condition_variable SleepCv;
};

namespace {

using TState = TFolderWatch::TState;

constexpr int WaitMs = 100;

void ReportError(TState &s, const std::u16string &message) {
  if (s.Owner == nullptr || !s.FOnError)
    return;
  auto handler = s.FOnError;
  try {
    handler(*s.Owner, message);
  } catch (...) {
    // An error handler that fails must not end the watch either.
  }
}

void Fire(TState &s, const std::u16string &path, std::int64_t old) {
  auto handler = s.FOnChange; // the handler may replace itself
  try {
    handler(*s.Owner, path, old);
  } catch (const std::exception &e) {
    ReportError(s, path + u": " + Utf8ToUtf16(e.what()));
  } catch (...) {
    ReportError(s, path + u": unknown error");
  }
}

// Main thread. Reports each new file with old = 0 and each grown file with
// its recorded size; a file that shrank keeps its larger recorded size, so it
// is reported again only once it grows past it.
void CheckFiles(TState &s) {
  if (s.Owner == nullptr || !s.FOnChange)
    return;
  for (const auto &path : GetFileList(s.FDirectory, s.FFilter)) {
    if (s.Owner == nullptr)
      break; // stopped from a handler
    const std::int64_t size = FileSizeOf(path);
    const auto [entry, isNew] = s.FileSizes.try_emplace(path, size);
    if (isNew) {
      Fire(s, path, 0);
      continue;
    }
    auto &recorded = entry->second;
    if (size > recorded) {
      const std::int64_t old = recorded;
      recorded = size;
      Fire(s, path, old);
    }
  }
}

// Runs call on the main thread, counted so that Stop knows when it is
// called from inside one of this watch's handlers.
bool HandOver(TState &s, const std::function<void()> &call) {
  return s.MainThread.RunAndWait([&s, &call] {
    ++s.InHandOver;
    try {
      call();
    } catch (...) {
      --s.InHandOver;
      throw;
    }
    --s.InHandOver;
  });
}

bool HandOverCheck(TState &s) {
  return HandOver(s, [&s] { CheckFiles(s); });
}

bool HandOverError(TState &s, const std::u16string &message) {
  return HandOver(s, [&s, &message] { ReportError(s, message); });
}

std::u16string CannotWatch(const TState &s, const std::u16string &reason) {
  return u"Cannot watch the folder \"" + s.FDirectory + u"\": " + reason;
}

// The thread's body. A folder that cannot be watched (missing, or gone while
// watched) is reported once and tried again every WaitMs, so that a log
// folder created later, or created again, is watched from then on. Returns
// when asked to terminate or when the main thread no longer serves.
void Run(TState &s) {
  auto &notification = s.FNotification;
  if (!notification && !HandOverError(s, CannotWatch(s, s.FNotificationError)))
    return;
  while (!s.Terminated) {
    if (!notification) {
      std::unique_lock lock(s.SleepMutex);
      s.SleepCv.wait_for(lock, std::chrono::milliseconds(WaitMs),
                         [&s] { return s.Terminated.load(); });
      lock.unlock();
      std::u16string error;
      if (s.Terminated || !(notification = s.Notifier.Watch(s.FDirectory, error)))
        continue;
      // Files may have come with the folder.
      if (!HandOverCheck(s))
        return;
      continue;
    }
    switch (notification->Wait(WaitMs)) {
    case platform::TChangeWait::Timeout:
      break;
    case platform::TChangeWait::Error:
      notification.reset();
      if (!HandOverError(s, CannotWatch(s, u"the folder is gone")))
        return;
      break;
    case platform::TChangeWait::Signalled:
      if (!HandOverCheck(s))
        return;
      break;
    }
  }
}

void Execute(std::shared_ptr<TState> s) {
  try {
    Run(*s);
  } catch (...) {
    // Nothing escapes CheckFiles; this only keeps a stray error from ending
    // the program.
  }
  s->Finished = true;
  s->MainThread.Notify();
}

} // namespace

TFolderWatch::TFolderWatch(const std::u16string &FolderName, const std::u16string &Filter)
    : FState(std::make_shared<TState>(platform::MainThread(), platform::ChangeNotifier())) {
  auto &s = *FState;
  s.FDirectory = FolderName;
  s.FFilter = Filter;
  s.Owner = this;
  // InitFileList: whatever the files hold now counts as already read.
  for (const auto &path : GetFileList(s.FDirectory, s.FFilter))
    s.FileSizes.emplace(path, FileSizeOf(path));
  s.FNotification = s.Notifier.Watch(s.FDirectory, s.FNotificationError);
}

TFolderWatch::~TFolderWatch() {
  Stop();
  FState->Owner = nullptr;
}

void TFolderWatch::Start() {
  if (!FThread.joinable() && !FState->Finished && !FState->Terminated)
    FThread = std::thread(Execute, FState);
}

// The thread may be blocked in a hand-over of CheckFiles; waiting with
// WaitServing runs that check, after which the thread sees the request and
// ends. When Stop is called from inside one of this watch's own handlers
// (one that stops reading), the thread is waiting for that very call to
// return, so it is let go instead: it ends on its own right after.
void TFolderWatch::Stop() {
  if (!FThread.joinable())
    return;
  auto &s = *FState;
  {
    std::lock_guard lock(s.SleepMutex);
    s.Terminated = true;
  }
  s.SleepCv.notify_all();
  if (s.InHandOver > 0) {
    s.Owner = nullptr;
    FThread.detach();
    return;
  }
  s.MainThread.WaitServing([&s] { return s.Finished.load(); });
  FThread.join();
  if (s.FOnTerminate) {
    auto handler = s.FOnTerminate;
    handler(*this);
  }
}

const TFolderWatchEvent &TFolderWatch::OnChange() const { return FState->FOnChange; }
void TFolderWatch::SetOnChange(TFolderWatchEvent handler) {
  FState->FOnChange = std::move(handler);
}
void TFolderWatch::SetOnError(TFolderWatchErrorEvent handler) {
  FState->FOnError = std::move(handler);
}
void TFolderWatch::SetOnTerminate(TFolderWatchEndEvent handler) {
  FState->FOnTerminate = std::move(handler);
}
const std::u16string &TFolderWatch::Directory() const { return FState->FDirectory; }
const std::u16string &TFolderWatch::Filter() const { return FState->FFilter; }
bool TFolderWatch::Finished() const { return FState->Finished; }

std::int64_t TFolderWatch::RecordedSize(const std::u16string &FileName) const {
  const auto found = FState->FileSizes.find(FileName);
  return found == FState->FileSizes.end() ? -1 : found->second;
}

void StartFolderWatch(std::unique_ptr<TFolderWatch> &watch, const std::u16string &folder,
                      const std::u16string &filter, TFolderWatchEvent onChange,
                      TFolderWatchEndEvent onTerminate, TFolderWatchErrorEvent onError) {
  watch = std::make_unique<TFolderWatch>(folder, filter);
  watch->SetOnTerminate(std::move(onTerminate));
  watch->SetOnChange(std::move(onChange));
  watch->SetOnError(std::move(onError));
  watch->Start();
}

void StopFolderWatch(std::unique_ptr<TFolderWatch> &watch) { watch.reset(); }

std::int64_t FileSizeOf(const std::u16string &path) {
  std::error_code ec;
  const auto size = std::filesystem::file_size(ToPath(path), ec);
  return ec ? -1 : static_cast<std::int64_t>(size);
}

std::vector<std::u16string> GetFileList(const std::u16string &directory,
                                        const std::u16string &filter) {
  std::vector<std::u16string> names;
  std::error_code ec;
  std::filesystem::directory_iterator it(ToPath(directory), ec);
  for (; !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
    std::error_code typeError;
    if (!it->is_regular_file(typeError))
      continue;
    const auto name = FromPath(it->path().filename());
    if (MatchesFileMask(name, filter))
      names.push_back(name);
  }
  if (ec)
    return {};
  std::sort(names.begin(), names.end());
  std::u16string folder = directory;
  if (!folder.empty() && folder.back() != u'/')
    folder += u'/';
  for (auto &name : names)
    name = folder + name;
  return names;
}

bool MatchesFileMask(std::u16string_view name, std::u16string_view mask) {
  std::size_t n = 0, m = 0;
  std::size_t starMask = std::u16string_view::npos, starName = 0;
  while (n < name.size()) {
    if (m < mask.size() && (mask[m] == u'?' || mask[m] == name[n])) {
      ++n;
      ++m;
    } else if (m < mask.size() && mask[m] == u'*') {
      starMask = m++;
      starName = n;
    } else if (starMask != std::u16string_view::npos) {
      m = starMask + 1;
      n = ++starName;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == u'*')
    ++m;
  return m == mask.size();
}
