#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace platform {
class IChangeNotifier;
class IMainThread;
} // namespace platform

class TFolderWatch;

// A new or grown file: its full path and the size recorded before (0 for a
// file seen for the first time). Runs on the main thread.
using TFolderWatchEvent =
    std::function<void(TFolderWatch &Sender, const std::u16string &FileName, std::int64_t old)>;
// Something went wrong (a handler threw, the folder cannot be watched); the
// watch goes on. Runs on the main thread.
using TFolderWatchErrorEvent =
    std::function<void(TFolderWatch &Sender, const std::u16string &Message)>;
// The watch thread has ended. Runs on the main thread.
using TFolderWatchEndEvent = std::function<void(TFolderWatch &Sender)>;

// Watches one folder for files matching one pattern whose size grows. The
// thread only waits; listing and comparing the files and calling the
// handlers run on the main thread (hand-over through platform::MainThread).
class TFolderWatch {
public:
  // Records the size of every matching file (what they hold counts as read)
  // and sets up the change notification. The thread starts with Start.
  TFolderWatch(const std::u16string &FolderName, const std::u16string &Filter);
  // Stops the thread (see StopFolderWatch) when it still runs.
  ~TFolderWatch();
  TFolderWatch(const TFolderWatch &) = delete;
  TFolderWatch &operator=(const TFolderWatch &) = delete;

  void Start();

  const TFolderWatchEvent &OnChange() const;
  void SetOnChange(TFolderWatchEvent handler);
  void SetOnError(TFolderWatchErrorEvent handler);
  void SetOnTerminate(TFolderWatchEndEvent handler);

  const std::u16string &Directory() const;
  const std::u16string &Filter() const;
  // True once the thread has ended. Readable on any thread.
  bool Finished() const;
  // Main thread: the size recorded for a known file (in a change handler, the
  // size this change was measured at), -1 for a file not known.
  std::int64_t RecordedSize(const std::u16string &FileName) const;

  // What the thread and the main thread share (defined in the .cpp).
  struct TState;

private:
  void Stop();

  std::shared_ptr<TState> FState;
  std::thread FThread;
};

// watch := a new watch of folder and filter with the given handlers, started.
// An earlier watch must have been stopped first.
void StartFolderWatch(std::unique_ptr<TFolderWatch> &watch, const std::u16string &folder,
                      const std::u16string &filter, TFolderWatchEvent onChange,
                      TFolderWatchEndEvent onTerminate, TFolderWatchErrorEvent onError = {});

// Main thread: asks the thread to end, waits for it while still serving its
// pending hand-over (so a file check already handed over still runs), frees
// the watch and sets watch to none. Nothing when watch is none.
void StopFolderWatch(std::unique_ptr<TFolderWatch> &watch);

// The size of a file in bytes, -1 when it cannot be taken (missing).
std::int64_t FileSizeOf(const std::u16string &path);

// Full paths of the files directly in directory whose names match filter,
// sorted by name; empty when the folder cannot be listed.
std::vector<std::u16string> GetFileList(const std::u16string &directory,
                                        const std::u16string &filter);

// Whether a file name matches a pattern in which "*" stands for any run of
// characters and "?" for one; every other character stands for itself, and
// letter case counts.
bool MatchesFileMask(std::u16string_view name, std::u16string_view mask);
