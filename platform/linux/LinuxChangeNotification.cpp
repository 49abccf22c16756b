#include "platform/linux/LinuxChangeNotification.h"

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/inotify.h>
#include <unistd.h>

#include "Lib/uStrUtils.h"

namespace platform::linux_impl {

namespace {

// Writes (IN_MODIFY also covers truncation), new files and files moved in,
// and the events that say the folder itself is gone.
constexpr std::uint32_t WatchMask = IN_MODIFY | IN_CLOSE_WRITE | IN_CREATE | IN_MOVED_TO |
                                    IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
constexpr std::uint32_t GoneMask = IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT | IN_IGNORED;

class TLinuxChangeNotification final : public IChangeNotification {
public:
  explicit TLinuxChangeNotification(int fd) : FFd(fd) {}
  ~TLinuxChangeNotification() override { close(FFd); }
  TLinuxChangeNotification(const TLinuxChangeNotification &) = delete;
  TLinuxChangeNotification &operator=(const TLinuxChangeNotification &) = delete;

  TChangeWait Wait(int timeoutMs) override {
    if (FBroken)
      return TChangeWait::Error;
    pollfd p{FFd, POLLIN, 0};
    const int n = poll(&p, 1, timeoutMs);
    if (n == 0 || (n < 0 && errno == EINTR))
      return TChangeWait::Timeout;
    if (n < 0)
      return Broken();
    return Drain();
  }

private:
  TChangeWait Broken() {
    FBroken = true;
    return TChangeWait::Error;
  }

  // Takes every queued event; the folder's own removal wins over file events.
  TChangeWait Drain() {
    alignas(inotify_event) char buffer[4096];
    bool changed = false;
    for (;;) {
      const ssize_t got = read(FFd, buffer, sizeof buffer);
      if (got < 0 && errno == EINTR)
        continue;
      if (got < 0 && errno == EAGAIN)
        break;
      if (got <= 0)
        return Broken();
      for (ssize_t at = 0; at < got;) {
        const auto *event = reinterpret_cast<const inotify_event *>(buffer + at);
        if (event->mask & GoneMask)
          return Broken();
        changed = true; // includes IN_Q_OVERFLOW: something changed, look again
        at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
      }
    }
    return changed ? TChangeWait::Signalled : TChangeWait::Timeout;
  }

  int FFd;
  bool FBroken = false;
};

} // namespace

std::unique_ptr<IChangeNotification> TLinuxChangeNotifier::Watch(const std::u16string &folder,
                                                                 std::u16string &error) {
  const int fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (fd < 0) {
    error = Utf8ToUtf16(std::strerror(errno));
    return nullptr;
  }
  if (inotify_add_watch(fd, ToPath(folder).c_str(), WatchMask) < 0) {
    error = Utf8ToUtf16(std::strerror(errno));
    close(fd);
    return nullptr;
  }
  error.clear();
  return std::make_unique<TLinuxChangeNotification>(fd);
}

} // namespace platform::linux_impl
