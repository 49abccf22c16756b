#pragma once

#include "platform/TcpClient.h"

namespace platform::linux_impl {

// TCP over the kernel's sockets; connecting gives up after one second.
class TLinuxTcpClient final : public ITcpClient {
public:
  std::unique_ptr<ITcpConnection> Connect(const std::string &host, std::uint16_t port) override;
};

} // namespace platform::linux_impl
