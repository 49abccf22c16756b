#include "platform/linux/LinuxTcp.h"

#include <cerrno>
#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace platform::linux_impl {

namespace {

constexpr int kConnectTimeoutMs = 1000;

class TSocket final : public ITcpConnection {
public:
  explicit TSocket(int fd) : fd_(fd) {}
  ~TSocket() override { close(fd_); }
  TSocket(const TSocket &) = delete;
  TSocket &operator=(const TSocket &) = delete;

  bool Write(std::string_view bytes) override {
    while (!bytes.empty()) {
      const ssize_t sent = send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
      if (sent < 0 && errno == EINTR)
        continue;
      if (sent <= 0)
        return false;
      bytes.remove_prefix(static_cast<size_t>(sent));
    }
    return true;
  }

private:
  int fd_;
};

// Connects without blocking longer than the time-out, then makes the socket
// blocking again for the writes.
int ConnectWithTimeout(const addrinfo &address) {
  const int fd = socket(address.ai_family, address.ai_socktype | SOCK_CLOEXEC | SOCK_NONBLOCK,
                        address.ai_protocol);
  if (fd < 0)
    return -1;
  if (connect(fd, address.ai_addr, address.ai_addrlen) != 0) {
    pollfd waiting{fd, POLLOUT, 0};
    int error = 0;
    socklen_t length = sizeof(error);
    if (errno != EINPROGRESS || poll(&waiting, 1, kConnectTimeoutMs) != 1 ||
        getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0 || error != 0) {
      close(fd);
      return -1;
    }
  }
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

} // namespace

std::unique_ptr<ITcpConnection> TLinuxTcpClient::Connect(const std::string &host,
                                                         std::uint16_t port) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo *found = nullptr;
  if (getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0)
    return nullptr;
  int fd = -1;
  for (const addrinfo *address = found; address != nullptr && fd < 0; address = address->ai_next)
    fd = ConnectWithTimeout(*address);
  freeaddrinfo(found);
  if (fd < 0)
    return nullptr;
  return std::make_unique<TSocket>(fd);
}

} // namespace platform::linux_impl
