#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace platform {

// One TCP connection to a host on this computer. Every call blocks the
// caller; connecting gives up after a short time.
class ITcpConnection {
public:
  virtual ~ITcpConnection() = default;
  // Writes every byte or returns false (the peer went away).
  virtual bool Write(std::string_view bytes) = 0;
};

class ITcpClient {
public:
  virtual ~ITcpClient() = default;
  // A new connection, or nullptr when nothing listens there or the
  // connection cannot be made in time. Closing is destroying it.
  virtual std::unique_ptr<ITcpConnection> Connect(const std::string &host, std::uint16_t port) = 0;
};

} // namespace platform
