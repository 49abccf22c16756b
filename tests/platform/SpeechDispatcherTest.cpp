#include <atomic>
#include <cctype>
#include <chrono>
#include <mutex>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/linux/LinuxSpeechDispatcher.h"
#include "tests/fakes/TempFolder.h"

// libspeechd keeps a copy of the socket name from every successful connect
// for the life of the process; that is the library's, not ours. Its stack
// often shows only glib's allocator, and nothing else here uses glib.
extern "C" const char *__lsan_default_suppressions() {
  return "leak:spd_open2\nleak:libglib-2.0.so\n";
}

namespace {

using platform::TSpeakMode;
using platform::linux_impl::TLinuxSpeechDispatcher;

// A stand-in speech-dispatcher on a Unix socket: it answers the speech
// protocol's commands the way the server does and keeps every command line
// and every spoken text.
class TStandInServer {
public:
  explicit TStandInServer(const std::string &path) {
    fd_ = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    path.copy(address.sun_path, sizeof(address.sun_path) - 1);
    bind(fd_, reinterpret_cast<sockaddr *>(&address), sizeof(address));
    listen(fd_, 1);
    thread_ = std::thread([this] { Serve(); });
  }
  ~TStandInServer() {
    shutdown(fd_, SHUT_RDWR);
    close(fd_);
    thread_.join();
  }
  TStandInServer(const TStandInServer &) = delete;
  TStandInServer &operator=(const TStandInServer &) = delete;

  // The server goes away under the client's feet.
  void DropClient() { shutdown(client_.load(), SHUT_RDWR); }

  std::vector<std::string> Commands() {
    std::lock_guard lock(mutex_);
    return commands_;
  }
  std::vector<std::string> Spoken() {
    std::lock_guard lock(mutex_);
    return spoken_;
  }

private:
  void Serve() {
    const int client = accept(fd_, nullptr, nullptr);
    if (client < 0)
      return;
    client_ = client;
    std::string pending, line, text;
    bool receiving = false;
    char buffer[1024];
    for (ssize_t got; (got = read(client, buffer, sizeof(buffer))) > 0;) {
      pending.append(buffer, static_cast<size_t>(got));
      for (size_t end; (end = pending.find("\r\n")) != std::string::npos;) {
        line = pending.substr(0, end);
        pending.erase(0, end + 2);
        std::string reply;
        std::lock_guard lock(mutex_);
        if (receiving) {
          if (line != ".") {
            if (line.rfind("..", 0) == 0) // a leading dot travels doubled
              line.erase(0, 1);
            text += (text.empty() ? "" : "\n") + line;
            continue;
          }
          receiving = false;
          spoken_.push_back(text);
          reply = "225-1\r\n225 OK MESSAGE QUEUED\r\n";
        } else {
          commands_.push_back(line);
          for (char &c : line) // commands are not case-sensitive
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
          if (line == "SPEAK") {
            receiving = true;
            text.clear();
            reply = "230 OK RECEIVING DATA\r\n";
          } else if (line == "LIST SYNTHESIS_VOICES") {
            reply = "249-Alice\ten-US\tnone\r\n249-Haruka\tja\tnone\r\n249 OK VOICE LIST SENT\r\n";
          } else if (line == "QUIT") {
            reply = "231 HAPPY HACKING\r\n";
          } else {
            reply = "200 OK\r\n";
          }
        }
        if (write(client, reply.data(), reply.size()) < 0)
          break;
      }
    }
    close(client);
  }

  int fd_ = -1;
  std::atomic<int> client_{-1};
  std::thread thread_;
  std::mutex mutex_;
  std::vector<std::string> commands_, spoken_;
};

bool Contains(const std::vector<std::string> &lines, const std::string &wanted) {
  for (const std::string &line : lines)
    if (line.find(wanted) != std::string::npos)
      return true;
  return false;
}

TEST(SpeechDispatcherTest, MissingServiceMeansMissingEngine) {
  TempFolder folder;
  EXPECT_EQ(TLinuxSpeechDispatcher::Open((folder.Path() / "none").string()), nullptr);
}

TEST(SpeechDispatcherTest, ServiceThatNeverAnswersMeansMissingEngineSoon) {
  TempFolder folder;
  const std::string path = (folder.Path() / "silent").string();
  const int listener = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  path.copy(address.sun_path, sizeof address.sun_path - 1);
  ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
  ASSERT_EQ(listen(listener, 4), 0); // connections are taken and never answered
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(TLinuxSpeechDispatcher::Open(path), nullptr);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
  close(listener); // the abandoned opening ends with an error and closes itself
}

TEST(SpeechDispatcherTest, SpeaksThroughTheServiceWithItsOwnScales) {
  TempFolder folder;
  const std::string path = (folder.Path() / "speechd.sock").string();
  TStandInServer server(path);
  {
    auto engine = TLinuxSpeechDispatcher::Open(path);
    ASSERT_NE(engine, nullptr);
    const auto voices = engine->Voices();
    ASSERT_EQ(voices.size(), 2u);
    EXPECT_EQ(voices[0].Name, u"Alice (en-US)");
    EXPECT_EQ(voices[1].Description, u"speech-dispatcher - Haruka (ja)");
    EXPECT_TRUE(engine->AudioOutputs().empty());
    EXPECT_THROW(engine->SetVoice(2), std::out_of_range);

    engine->SetVoice(1);
    engine->SetVolume(40);
    engine->SetRate(-3);
    EXPECT_EQ(engine->Volume(), 40);
    EXPECT_EQ(engine->Rate(), -3);
    EXPECT_TRUE(engine->Speak(u"こんにちは", TSpeakMode::Plain));
    EXPECT_TRUE(
        engine->Speak(u"Thank you for using <pron sym=\"m uh r ! m eh l ow\">MURMELO</pron>..",
                      TSpeakMode::Markup));
    EXPECT_TRUE(engine->Speak(u".", TSpeakMode::PurgeText));
    engine->SetVolume(100);
    engine->SetRate(10);
  }
  const auto commands = server.Commands();
  EXPECT_TRUE(Contains(commands, "Haruka"));
  EXPECT_TRUE(Contains(commands, "VOLUME -20"));
  EXPECT_TRUE(Contains(commands, "RATE -30"));
  EXPECT_TRUE(Contains(commands, "CANCEL"));
  EXPECT_TRUE(Contains(commands, "VOLUME 100"));
  EXPECT_TRUE(Contains(commands, "RATE 100"));
  EXPECT_EQ(server.Spoken(),
            (std::vector<std::string>{"こんにちは", "Thank you for using MURMELO..", "."}));
}

} // namespace

namespace {

TEST(SpeechDispatcherTest, ServerThatWentAwayMakesSpeakFailNotTheProgram) {
  TempFolder folder;
  const std::string path = (folder.Path() / "speechd.sock").string();
  TStandInServer server(path);
  auto engine = TLinuxSpeechDispatcher::Open(path);
  ASSERT_NE(engine, nullptr);
  server.DropClient();
  EXPECT_FALSE(engine->Speak(u"Hello.", TSpeakMode::Plain));
  EXPECT_FALSE(engine->Speak(u"Hello.", TSpeakMode::Plain));
  EXPECT_NO_THROW(engine->SetVolume(50));
  EXPECT_NO_THROW(engine->SetVoice(0));
}

} // namespace
