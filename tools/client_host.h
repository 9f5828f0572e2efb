#pragma once
// Everything the tramox client sets up before it talks to the driver: the controller choice,
// the message windows and paddle view it lends the module, the automation runtime, and the
// registration of the module when the driver's class is not registered yet.
#include <memory>
#include <string>

#include "platform/posix/headless_paddle_view.h"
#include "server/portable/client_runtime.h"
#include "tools/console_message_windows.h"

namespace tramox::tools {

// Built with the client (empty when the build had no simulator).
std::string defaultModulePath();
std::string simulatorPath();

class ClientHost {
 public:
  // Reads the registry of TRAMOX_HOME as it is at this moment: set the environment first.
  ClientHost();

  server::portable::ClientRuntime& runtime() { return *runtime_; }
  platform::HeadlessPaddleViewFactory& paddles() { return paddles_; }

  // Registers modulePath when "TRAMOX.Telescope" is not registered, or its registered module
  // file is gone. False (with the reason) when registration fails.
  bool ensureRegistered(const std::string& modulePath, std::string& why);

 private:
  ConsoleMessageWindows messages_;
  platform::HeadlessPaddleViewFactory paddles_;
  std::unique_ptr<server::portable::ClientRuntime> runtime_;
};

}  // namespace tramox::tools
