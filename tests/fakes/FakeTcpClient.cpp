#include "tests/fakes/FakeTcpClient.h"

namespace {

class TFakeConnection final : public platform::ITcpConnection {
public:
  TFakeConnection(FakeTcpClient &client, size_t index) : client_(client), index_(index) {}
  bool Write(std::string_view bytes) override {
    client_.Connections[index_].Writes.emplace_back(bytes);
    return true;
  }

private:
  FakeTcpClient &client_;
  size_t index_;
};

} // namespace

std::unique_ptr<platform::ITcpConnection> FakeTcpClient::Connect(const std::string &host,
                                                                 std::uint16_t port) {
  if (Refuse)
    return nullptr;
  Connections.push_back({host, port, {}});
  return std::make_unique<TFakeConnection>(*this, Connections.size() - 1);
}
