#pragma once

#include <memory>
#include <string>

namespace platform {

enum class TChangeWait { Signalled, Timeout, Error };

// Change notification of one folder: tells that files directly in it (not in
// sub-folders) were created, written, grown or truncated, or moved in. Only
// "something changed" is told, never which file: the caller compares the
// files itself. Used by one thread at a time; closed by its destructor.
class IChangeNotification {
public:
  virtual ~IChangeNotification() = default;

  // Waits at most timeoutMs milliseconds. Signalled: at least one change
  // happened since the previous Wait returned (all of them are taken, so the
  // next Wait waits for a new one; a change made while the caller was busy
  // is never lost). Error: the folder can no longer be watched (it was
  // deleted, moved away or unmounted, or the wait failed); every later Wait
  // gives Error too, and the caller opens a new notification.
  virtual TChangeWait Wait(int timeoutMs) = 0;
};

class IChangeNotifier {
public:
  virtual ~IChangeNotifier() = default;

  // Starts watching folder. Returns nullptr, with a readable reason in
  // error, when the folder is missing or cannot be watched.
  virtual std::unique_ptr<IChangeNotification> Watch(const std::u16string &folder,
                                                     std::u16string &error) = 0;
};

} // namespace platform
