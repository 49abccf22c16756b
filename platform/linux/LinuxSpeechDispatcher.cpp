#include "platform/linux/LinuxSpeechDispatcher.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <mutex>
#include <pthread.h>
#include <stdexcept>
#include <sys/socket.h>
#include <thread>

#include <libspeechd.h>

#include "Lib/uStrUtils.h"
#include "platform/linux/LinuxSpeechMarkup.h"

namespace platform::linux_impl {

namespace {

// The library writes to its socket without guarding against a server that
// went away; the kernel's broken-pipe signal would end the program. The
// signal is held back on this thread during a call and dropped afterwards.
class TNoBrokenPipe {
public:
  TNoBrokenPipe() {
    sigset_t pipe;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe, &saved_);
  }
  ~TNoBrokenPipe() {
    sigset_t pipe;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    const timespec none{0, 0};
    while (sigtimedwait(&pipe, nullptr, &none) > 0) {
    }
    pthread_sigmask(SIG_SETMASK, &saved_, nullptr);
  }
  TNoBrokenPipe(const TNoBrokenPipe &) = delete;
  TNoBrokenPipe &operator=(const TNoBrokenPipe &) = delete;

private:
  sigset_t saved_;
};

// How long the server may take to answer before it counts as missing (at
// the start) or a call counts as failed (later).
constexpr auto kAnswerTime = std::chrono::seconds(1);

// The library waits for the server's answers without a limit. A server that
// accepts but never answers would freeze the caller: opening runs on a thread
// of its own that is abandoned after kAnswerTime (it closes what it opened
// when it returns at last), and the socket gets send and receive timeouts.
SPDConnection *OpenWithin(const std::string &socketPath) {
  struct TOpening {
    std::mutex Mutex;
    std::condition_variable Done;
    bool Finished = false, Abandoned = false;
    SPDConnection *Connection = nullptr;
  };
  auto opening = std::make_shared<TOpening>();
  try {
    std::thread([opening, socketPath] {
      std::string path = socketPath;
      SPDConnectionAddress address{};
      address.method = SPD_METHOD_UNIX_SOCKET;
      address.unix_socket_name = path.data();
      char *error = nullptr;
      SPDConnection *connection;
      {
        const TNoBrokenPipe guard;
        connection = spd_open2("MURMELO", "main", nullptr, SPD_MODE_SINGLE,
                               path.empty() ? nullptr : &address, 0, &error);
      }
      std::free(error);
      std::lock_guard lock(opening->Mutex);
      if (opening->Abandoned && connection != nullptr) {
        const TNoBrokenPipe guard;
        spd_close(connection);
        connection = nullptr;
      }
      opening->Connection = connection;
      opening->Finished = true;
      opening->Done.notify_all();
    }).detach();
  } catch (const std::system_error &) {
    return nullptr;
  }
  std::unique_lock lock(opening->Mutex);
  if (!opening->Done.wait_for(lock, kAnswerTime, [&] { return opening->Finished; })) {
    opening->Abandoned = true;
    return nullptr;
  }
  SPDConnection *connection = opening->Connection;
  if (connection != nullptr) {
    const timeval limit{std::chrono::seconds(kAnswerTime).count(), 0};
    setsockopt(connection->socket, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    setsockopt(connection->socket, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
    // Programs the shell starts must not inherit the session.
    fcntl(connection->socket, F_SETFD, FD_CLOEXEC);
  }
  return connection;
}

} // namespace

struct TLinuxSpeechDispatcher::TConnection {
  explicit TConnection(SPDConnection *connection) : Handle(connection) {}
  ~TConnection() {
    const TNoBrokenPipe guard;
    spd_close(Handle);
  }
  TConnection(const TConnection &) = delete;
  TConnection &operator=(const TConnection &) = delete;
  SPDConnection *Handle;
};

std::unique_ptr<TLinuxSpeechDispatcher>
TLinuxSpeechDispatcher::Open(const std::string &socketPath) {
  SPDConnection *connection = OpenWithin(socketPath);
  if (connection == nullptr)
    return nullptr;
  return std::unique_ptr<TLinuxSpeechDispatcher>(
      new TLinuxSpeechDispatcher(std::make_unique<TConnection>(connection)));
}

TLinuxSpeechDispatcher::TLinuxSpeechDispatcher(std::unique_ptr<TConnection> connection)
    : connection_(std::move(connection)) {
  SPDVoice **voices = spd_list_synthesis_voices(connection_->Handle);
  for (SPDVoice **voice = voices; voice != nullptr && *voice != nullptr; ++voice) {
    const std::string name = (*voice)->name != nullptr ? (*voice)->name : "";
    const std::string language = (*voice)->language != nullptr ? (*voice)->language : "";
    voiceIds_.push_back(name);
    // The language goes into the shown name, which decides the language of
    // the program's own messages.
    voices_.push_back({Utf8ToUtf16(name + " (" + language + ")"),
                       Utf8ToUtf16("speech-dispatcher - " + name + " (" + language + ")")});
  }
  if (voices != nullptr)
    free_spd_voices(voices);
}

TLinuxSpeechDispatcher::~TLinuxSpeechDispatcher() = default;

std::vector<TSpeechEngineVoice> TLinuxSpeechDispatcher::Voices() { return voices_; }

std::vector<std::u16string> TLinuxSpeechDispatcher::AudioOutputs() { return {}; }

int TLinuxSpeechDispatcher::AudioOutput() { return -1; }

void TLinuxSpeechDispatcher::SetAudioOutput(int) {}

void TLinuxSpeechDispatcher::SetVoice(int position) {
  if (position < 0 || static_cast<size_t>(position) >= voiceIds_.size())
    throw std::out_of_range("no such speech-dispatcher voice");
  // A server that went away shows in the failing Speak, which the program
  // reports, rather than as an error in choosing the voice.
  const TNoBrokenPipe guard;
  spd_set_synthesis_voice(connection_->Handle, voiceIds_[static_cast<size_t>(position)].c_str());
}

int TLinuxSpeechDispatcher::Volume() { return volume_; }

void TLinuxSpeechDispatcher::SetVolume(int volume) {
  volume_ = std::clamp(volume, 0, 100);
  const TNoBrokenPipe guard;
  // speech-dispatcher's scale is -100..100 with 100 its normal loudness.
  spd_set_volume(connection_->Handle, volume_ * 2 - 100);
}

int TLinuxSpeechDispatcher::Rate() { return rate_; }

void TLinuxSpeechDispatcher::SetRate(int rate) {
  rate_ = std::clamp(rate, -10, 10);
  const TNoBrokenPipe guard;
  spd_set_voice_rate(connection_->Handle, rate_ * 10); // -100..100, 0 normal
}

bool TLinuxSpeechDispatcher::Speak(const std::u16string &text, TSpeakMode mode) {
  const TNoBrokenPipe guard;
  if (mode == TSpeakMode::PurgeText)
    spd_cancel(connection_->Handle);
  const std::u16string plain = mode == TSpeakMode::Markup ? MarkupPlainText(text) : text;
  return spd_say(connection_->Handle, SPD_TEXT, Utf16ToUtf8(plain).c_str()) >= 0;
}

} // namespace platform::linux_impl
