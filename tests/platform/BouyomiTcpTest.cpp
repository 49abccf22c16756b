#include <arpa/inet.h>
#include <future>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/linux/LinuxLocale.h"
#include "platform/linux/LinuxTcp.h"
#include "speech/uBOUYOMI.h"
#include "speech/uSpBOUYOMI.h"
#include "tests/fakes/ScopedServices.h"
#include "text/uMessages.h"

namespace {

// A reader on a free port of 127.0.0.1 that takes one connection per text
// and keeps every byte it was sent.
class TStandInReader {
public:
  TStandInReader() {
    fd_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd_, reinterpret_cast<sockaddr *>(&address), sizeof(address));
    socklen_t length = sizeof(address);
    getsockname(fd_, reinterpret_cast<sockaddr *>(&address), &length);
    port_ = ntohs(address.sin_port);
    listen(fd_, 8);
  }
  ~TStandInReader() { close(fd_); }
  TStandInReader(const TStandInReader &) = delete;
  TStandInReader &operator=(const TStandInReader &) = delete;

  std::uint16_t Port() const { return port_; }

  // Accepts one connection and reads it to its end.
  std::future<std::string> AcceptOne() {
    return std::async(std::launch::async, [this] {
      const int connection = accept(fd_, nullptr, nullptr);
      std::string bytes;
      char buffer[4096];
      for (ssize_t got; (got = read(connection, buffer, sizeof(buffer))) > 0;)
        bytes.append(buffer, static_cast<size_t>(got));
      close(connection);
      return bytes;
    });
  }

private:
  int fd_ = -1;
  std::uint16_t port_ = 0;
};

std::string Header(std::uint8_t n) {
  return std::string("\x01\x00\xFF\xFF\xFF\xFF\xFF\xFF\x00\x00\x02", 11) +
         std::string(1, static_cast<char>(n)) + std::string(3, '\0');
}

class BouyomiTcpTest : public ::testing::Test {
protected:
  void SetUp() override { JapaneseMessages = false; }
  void TearDown() override { BouyomiReleaseClient(); }

  std::string SendAndReceive(const std::u16string &text) {
    auto received = reader.AcceptOne();
    EXPECT_TRUE(BouyomiSend(text));
    return received.get();
  }

  TStandInReader reader;
  platform::linux_impl::TLinuxTcpClient tcp;
  platform::linux_impl::TLinuxLocale locale{"en_US.UTF-8"};
  ScopedServices services{[this] {
    platform::TServices s;
    s.Locale = &locale;
    s.TcpClient = &tcp;
    return s;
  }()};
};

TEST_F(BouyomiTcpTest, EachTextArrivesAsOnePacketOnItsOwnConnection) {
  BouyomiCreateClient(reader.Port());
  EXPECT_EQ(SendAndReceive(u"abc"), Header(3) + "abc");
  EXPECT_EQ(SendAndReceive(u""), Header(0));
}

TEST_F(BouyomiTcpTest, JapaneseTextGoesInCodePage932) {
  platform::linux_impl::TLinuxLocale japanese("ja_JP.UTF-8");
  ASSERT_EQ(japanese.AnsiCodePage(), 932u);
  ScopedServices jp([&] {
    platform::TServices s = platform::Services;
    s.Locale = &japanese;
    return s;
  }());
  BouyomiCreateClient(reader.Port());
  EXPECT_EQ(SendAndReceive(u"日本"), Header(4) + "\x93\xFA\x96\x7B");
  // é is not in the code page: its default character stands in and counts.
  EXPECT_EQ(SendAndReceive(u"aéb"), Header(3) + "a?b");
  EXPECT_EQ(SendAndReceive(u"ｱ"), Header(1) + "\xB1"); // half-width katakana: one byte
  // A kana with a combining voiced mark goes as the one voiced kana.
  EXPECT_EQ(SendAndReceive(u"か\u3099ハ\u309A"), Header(4) + "\x82\xAA\x83\x70");
}

TEST_F(BouyomiTcpTest, WesternCodePageKeepsItsOwnCharacters) {
  BouyomiCreateClient(reader.Port());
  EXPECT_EQ(SendAndReceive(u"é€日"), Header(3) + "\xE9\x80?");
}

TEST_F(BouyomiTcpTest, ClosedReaderMeansCantSpeakAtOnce) {
  std::uint16_t port;
  {
    TStandInReader gone;
    port = gone.Port();
  }
  BouyomiCreateClient(port);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(BouyomiSend(u"abc"));
  EXPECT_EQ(BouyomiSpeakLine(u"a<b>c"), u"Can't speak: a<b>c");
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
}

} // namespace
