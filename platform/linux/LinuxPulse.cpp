#include "platform/linux/LinuxPulse.h"

#include <algorithm>
#include <thread>

#include <pulse/pulseaudio.h>

#include "Lib/uStrUtils.h"

namespace platform::linux_impl {

namespace {

constexpr auto kConnectTimeout = std::chrono::milliseconds(500);
// A stream that takes no samples for this long counts as gone.
constexpr auto kStallTimeout = std::chrono::seconds(2);
constexpr char kClientName[] = "MURMELO";

// A short-lived connection on a private main loop, driven by polling with a
// deadline so that a missing or stuck server costs at most the timeout.
class TPulseConnection {
public:
  TPulseConnection() : loop_(pa_mainloop_new()) {
    if (loop_ == nullptr)
      return;
    context_ = pa_context_new(pa_mainloop_get_api(loop_), kClientName);
    if (context_ == nullptr ||
        pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
      return;
    ready_ = RunUntil([this] {
               const pa_context_state_t state = pa_context_get_state(context_);
               return state == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(state);
             }) &&
             pa_context_get_state(context_) == PA_CONTEXT_READY;
  }
  ~TPulseConnection() {
    if (context_ != nullptr) {
      pa_context_disconnect(context_);
      pa_context_unref(context_);
    }
    if (loop_ != nullptr)
      pa_mainloop_free(loop_);
  }
  TPulseConnection(const TPulseConnection &) = delete;
  TPulseConnection &operator=(const TPulseConnection &) = delete;

  bool Ready() const { return ready_; }
  pa_context *Context() { return context_; }

  template <typename Done> bool RunUntil(Done done) {
    const auto deadline = std::chrono::steady_clock::now() + kConnectTimeout;
    while (!done()) {
      if (std::chrono::steady_clock::now() > deadline)
        return false;
      if (pa_mainloop_iterate(loop_, 0, nullptr) < 0)
        return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
  }

private:
  pa_mainloop *loop_ = nullptr;
  pa_context *context_ = nullptr;
  bool ready_ = false;
};

struct TSinkList {
  std::vector<TAudioSink> Sinks;
  bool Done = false;
};

void OnSink(pa_context *, const pa_sink_info *info, int eol, void *data) {
  auto *list = static_cast<TSinkList *>(data);
  if (eol != 0 || info == nullptr) {
    list->Done = true;
    return;
  }
  const char *description = info->description != nullptr ? info->description : info->name;
  list->Sinks.push_back({info->name, Utf8ToUtf16(description)});
}

// A playback stream on its own threaded main loop. Write waits for room in
// the stream's short buffer, so it paces the synthesiser like a sound card.
class TPulseStream final : public IPcmStream {
public:
  TPulseStream() : loop_(pa_threaded_mainloop_new()) {}
  ~TPulseStream() override {
    if (loop_ == nullptr)
      return;
    pa_threaded_mainloop_stop(loop_);
    if (stream_ != nullptr) {
      pa_stream_disconnect(stream_);
      pa_stream_unref(stream_);
    }
    if (context_ != nullptr) {
      pa_context_disconnect(context_);
      pa_context_unref(context_);
    }
    pa_threaded_mainloop_free(loop_);
  }
  TPulseStream(const TPulseStream &) = delete;
  TPulseStream &operator=(const TPulseStream &) = delete;

  bool Connect(const std::string &sinkName, int sampleRate) {
    if (loop_ == nullptr || pa_threaded_mainloop_start(loop_) < 0)
      return false;
    {
      TLock lock(loop_);
      context_ = pa_context_new(pa_threaded_mainloop_get_api(loop_), kClientName);
      if (context_ == nullptr ||
          pa_context_connect(context_, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
        return false;
    }
    if (!WaitFor([this] { return pa_context_get_state(context_) == PA_CONTEXT_READY; },
                 [this] { return !PA_CONTEXT_IS_GOOD(pa_context_get_state(context_)); }))
      return false;
    {
      TLock lock(loop_);
      const pa_sample_spec spec{PA_SAMPLE_S16LE, static_cast<std::uint32_t>(sampleRate), 1};
      stream_ = pa_stream_new(context_, "speech", &spec, nullptr);
      if (stream_ == nullptr)
        return false;
      // A short buffer (100 ms), so that a purge is heard at once.
      const auto none = static_cast<std::uint32_t>(-1);
      const pa_buffer_attr attr{none, static_cast<std::uint32_t>(sampleRate / 10) * 2, none, none,
                                none};
      if (pa_stream_connect_playback(stream_, sinkName.empty() ? nullptr : sinkName.c_str(), &attr,
                                     PA_STREAM_ADJUST_LATENCY, nullptr, nullptr) < 0)
        return false;
    }
    return WaitFor([this] { return pa_stream_get_state(stream_) == PA_STREAM_READY; },
                   [this] { return !PA_STREAM_IS_GOOD(pa_stream_get_state(stream_)); });
  }

  // Waits for room in the stream by looking every 10 ms: the main loop's own
  // wait has no deadline, and a server that stops taking samples (suspended,
  // stopped) would hold the speech thread, and with it Skip and exit, forever.
  bool Write(const std::int16_t *samples, size_t count) override {
    const auto *bytes = reinterpret_cast<const std::uint8_t *>(samples);
    size_t left = count * sizeof(std::int16_t);
    auto progress = std::chrono::steady_clock::now();
    while (left > 0) {
      {
        TLock lock(loop_);
        if (pa_stream_get_state(stream_) != PA_STREAM_READY)
          return false;
        size_t room = pa_stream_writable_size(stream_);
        if (room == static_cast<size_t>(-1))
          return false;
        if (room > 0) {
          room = std::min(room, left);
          if (pa_stream_write(stream_, bytes, room, nullptr, 0, PA_SEEK_RELATIVE) < 0)
            return false;
          bytes += room;
          left -= room;
          progress = std::chrono::steady_clock::now();
          continue;
        }
      }
      if (std::chrono::steady_clock::now() - progress > kStallTimeout)
        return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
  }

  void Discard() override {
    TLock lock(loop_);
    if (pa_operation *operation = pa_stream_flush(stream_, nullptr, nullptr))
      pa_operation_unref(operation);
  }

private:
  struct TLock {
    explicit TLock(pa_threaded_mainloop *loop) : loop_(loop) { pa_threaded_mainloop_lock(loop_); }
    ~TLock() { pa_threaded_mainloop_unlock(loop_); }
    TLock(const TLock &) = delete;
    TLock &operator=(const TLock &) = delete;
    pa_threaded_mainloop *loop_;
  };

  // Polls with a deadline: the main loop's wait has none.
  template <typename Good, typename Bad> bool WaitFor(Good good, Bad bad) {
    const auto deadline = std::chrono::steady_clock::now() + kConnectTimeout;
    for (;;) {
      {
        TLock lock(loop_);
        if (good())
          return true;
        if (bad())
          return false;
      }
      if (std::chrono::steady_clock::now() > deadline)
        return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  }

  pa_threaded_mainloop *loop_;
  pa_context *context_ = nullptr;
  pa_stream *stream_ = nullptr;
};

} // namespace

std::vector<TAudioSink> TLinuxPulseAudio::Sinks() {
  TPulseConnection connection;
  if (!connection.Ready())
    return {};
  TSinkList list;
  pa_operation *operation = pa_context_get_sink_info_list(connection.Context(), OnSink, &list);
  if (operation == nullptr)
    return {};
  const bool done = connection.RunUntil([&list] { return list.Done; });
  pa_operation_cancel(operation);
  pa_operation_unref(operation);
  return done ? list.Sinks : std::vector<TAudioSink>{};
}

bool TLinuxPulseAudio::Reachable() { return TPulseConnection().Ready(); }

std::unique_ptr<IPcmStream> TLinuxPulseAudio::Open(const std::string &sinkName, int sampleRate) {
  auto stream = std::make_unique<TPulseStream>();
  if (!stream->Connect(sinkName, sampleRate))
    return nullptr;
  return stream;
}

} // namespace platform::linux_impl
