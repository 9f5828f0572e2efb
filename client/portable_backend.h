#pragma once
// The tramox client on the portable automation runtime: the module is loaded in-process with
// the message windows and headless paddle this client lends it.
#include <memory>
#include <string>

#include "client/client_backend.h"
#include "client/console_message_windows.h"
#include "platform/posix/headless_paddle_view.h"
#include "server/portable/client_runtime.h"

namespace tramox::client {

class PortableBackend final : public IClientBackend {
 public:
  // Reads the registry of TRAMOX_HOME as it is at this moment: set the environment first.
  explicit PortableBackend(platform::IClock* lentClock = nullptr,
                           platform::IMessageWindows* lentMessages = nullptr);
  ~PortableBackend() override;

  std::int32_t createDriver(ObjectRef& driver, std::string& why) override;
  CallResult invoke(ClientObject& object, const std::string& member, CallKind kind,
                    const std::vector<Value>& positional,
                    const std::vector<NamedValue>& named) override;
  CallResult newEnum(ClientObject& object) override;
  std::int32_t next(ClientObject& enumerator, std::uint32_t count,
                    std::vector<Value>& items) override;
  bool supports(ClientObject& object, const server::Guid& iid) override;
  std::int32_t canUnloadNow() override;
  std::optional<std::vector<platform::PaddleControlState>> paddleControls() override;
  platform::IPaddleEvents* paddleEvents() override;
  // Messages are printed the moment they are shown.
  std::vector<std::string> takeMessages() override { return {}; }
  void wait(double seconds) override;
  std::int32_t registerModule(const std::string& path) override;
  std::int32_t unregisterModule(const std::string& path) override;
  bool driverRegistered() override;
  std::string lastLoadError() const override { return runtime_->lastLoadError(); }

 private:
  ConsoleMessageWindows messages_;
  platform::HeadlessPaddleViewFactory paddles_;
  std::unique_ptr<server::portable::ClientRuntime> runtime_;
};

}  // namespace tramox::client
