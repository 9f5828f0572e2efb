#pragma once
// A client backend with nothing behind it: no collection enumerates, no paddle, no messages,
// registration succeeds. A test's fake creates the driver and answers its calls, and overrides
// only what else it needs.
#include <optional>
#include <string>
#include <vector>

#include "client/client_backend.h"

namespace tramox::fakes {

class NullClientBackend : public client::IClientBackend {
 public:
  client::CallResult newEnum(client::ClientObject&) override { return {}; }
  std::int32_t next(client::ClientObject&, std::uint32_t, std::vector<client::Value>&) override {
    return 1;  // S_FALSE: nothing was there
  }
  bool supports(client::ClientObject&, const server::Guid&) override { return false; }
  std::int32_t canUnloadNow() override { return 0; }
  std::optional<std::vector<platform::PaddleControlState>> paddleControls() override {
    return std::nullopt;
  }
  platform::IPaddleEvents* paddleEvents() override { return nullptr; }
  std::vector<std::string> takeMessages() override { return {}; }
  void wait(double) override {}
  std::int32_t registerModule(const std::string&) override { return 0; }
  std::int32_t unregisterModule(const std::string&) override { return 0; }
  bool driverRegistered() override { return true; }
  std::string lastLoadError() const override { return {}; }
};

}  // namespace tramox::fakes
