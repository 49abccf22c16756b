#pragma once

#include <string>
#include <vector>

#include "platform/TcpClient.h"

// Records every connection and what was written on it; connects nowhere.
class FakeTcpClient final : public platform::ITcpClient {
public:
  struct TConnectionLog {
    std::string Host;
    std::uint16_t Port = 0;
    std::vector<std::string> Writes;
  };

  std::unique_ptr<platform::ITcpConnection> Connect(const std::string &host,
                                                    std::uint16_t port) override;

  bool Refuse = false; // nothing listens
  std::vector<TConnectionLog> Connections;
};
