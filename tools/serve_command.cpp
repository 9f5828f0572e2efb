#include "tools/serve_command.h"

#include <cstdio>
#include <exception>
#include <memory>
#include <optional>

#include "alpaca/alpaca_answer.h"
#include "alpaca/device_api.h"
#include "alpaca/discovery.h"
#include "alpaca/driver_host.h"
#include "alpaca/http_server.h"
#include "alpaca/management_api.h"
#include "alpaca/process_resources.h"
#include "alpaca/route_table.h"
#include "alpaca/web/web_front_end.h"
#include "client/client_backend.h"
#include "client/console_message_windows.h"
#include "client/driver_object.h"
#include "common/whole_number.h"
#include "lx200/lx200_listener.h"
#include "platform/services.h"
#include "platform/stop_request.h"

namespace tramox::tools {

namespace {

using client::IClientBackend;
using client::Value;

// Opening the mount to the network is the user's explicit choice.
constexpr const char* kDefaultBind = "127.0.0.1";
constexpr std::uint16_t kDefaultPort = 11111;
constexpr std::uint16_t kDefaultDiscoveryPort = 32227;

struct ServeOptions {
  std::string bind = kDefaultBind;
  std::uint16_t port = kDefaultPort;
  std::uint16_t discoveryPort = kDefaultDiscoveryPort;
  std::vector<std::string> trustedHosts;
  std::optional<std::uint16_t> lx200Port;  // off unless asked for
};

bool parsePort(const std::string& text, std::uint16_t& port) {
  const auto parsed = parseWholeNumber<std::uint16_t>(text);
  port = parsed.value_or(port);
  return parsed.has_value();
}

bool parseOptions(const std::vector<std::string>& args, ServeOptions& options) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (i + 1 >= args.size()) {
      return false;
    }
    const std::string& value = args[++i];
    if (args[i - 1] == "--bind") {
      options.bind = value;
    } else if (args[i - 1] == "--trusted-host") {
      options.trustedHosts.push_back(value);
    } else if (args[i - 1] == "--lx200-port" && parsePort(value, options.lx200Port.emplace())) {
      continue;
    } else if (args[i - 1] == "--port"             ? !parsePort(value, options.port)
               : args[i - 1] == "--discovery-port" ? !parsePort(value, options.discoveryPort)
                                                   : true) {
      return false;
    }
  }
  return true;
}

std::string urlHost(const std::string& address) {
  return address.find(':') == std::string::npos ? address : "[" + address + "]";
}

// Leaving stops whatever the server's clients set moving (tracking stays as it is): the
// pages' held buttons, the LX200 clients' directions, a slew, hand motion on both axes.
// Nothing is left to stop the mount once the server has gone.
void stopMotion(alpaca::DriverAccess& access, web::WebFrontEnd& pages, lx200::Listener& lx200) {
  pages.leave(access);
  lx200.leave(access);
  const client::DriverObject driver = access.object();
  if (!driver.connected()) {
    return;
  }
  driver.call("AbortSlew");
  for (std::int32_t axis : {0, 1}) {
    driver.call("MoveAxis", {Value::ofInt32(axis), Value::ofDouble(0.0)});
  }
}

// Disconnects as a client would before the driver object goes.
void disconnect(alpaca::DriverAccess& access) {
  const client::DriverObject driver = access.object();
  if (driver.connected()) {
    driver.setConnected(false);
  }
}

}  // namespace

int runServe(const std::vector<std::string>& args) {
  ServeOptions options;
  if (!parseOptions(args, options)) {
    std::fputs(
        "usage: tramox [--sim | --controller PATH] serve [--bind ADDR] [--port N] "
        "[--discovery-port N] [--trusted-host NAME]... [--lx200-port N]\n",
        stderr);
    return 1;
  }
  platform::prepareStopRequest();
  // Every connection holds a descriptor: the server takes all it may have.
  const std::size_t descriptors = alpaca::raiseDescriptorLimit();

  alpaca::ServerDescription description;
  description.manufacturerVersion = TRAMOX_VERSION;
  try {
    description.uniqueId = alpaca::installationUniqueId(*platform::nativeServices().registry);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tramox: cannot keep the server's UniqueID: %s\n", e.what());
    return 1;
  }

  // The driver's message windows show on the console and in the web pages.
  client::ConsoleMessageWindows console;
  web::WebMessageWindows dialogs(&console);
  alpaca::DriverHost host([&dialogs](platform::IClock& clock) {
    std::unique_ptr<IClientBackend> backend = client::makeClientBackend(&clock, &dialogs);
    std::string why;
    if (!client::ensureRegistered(*backend, client::defaultModulePath(), why)) {
      throw std::runtime_error(why);
    }
    return backend;
  });
  std::string why;
  if (!host.start(why)) {
    std::fprintf(stderr, "tramox: %s\n", why.c_str());
    return 1;
  }

  alpaca::AnswerWriter answers;
  alpaca::RouteTable routes;
  alpaca::DeviceApi device(host, answers);
  device.addRoutes(routes);
  alpaca::addManagementRoutes(routes, description, answers);
  web::WebFrontEnd pages(host, device, dialogs, *platform::nativeServices().clock,
                         {options.bind, options.port, "off", description.uniqueId});
  pages.addRoutes(routes);

  alpaca::HttpServerLimits limits;
  limits.connections = alpaca::capsForDescriptors(descriptors);
  alpaca::HttpServer server(routes, limits, alpaca::localOriginRule(options.trustedHosts));
  try {
    server.start(options.bind, options.port);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "tramox: %s\n", e.what());
    host.stop([](alpaca::DriverAccess&) {}, [](alpaca::DriverAccess&) {});
    return 1;
  }
  std::printf("Alpaca server on http://%s:%u/\n", urlHost(options.bind).c_str(),
              static_cast<unsigned>(server.port()));
  alpaca::DiscoveryResponder discovery;
  bool discovering = false;
  if (options.discoveryPort != 0) {
    try {
      discovery.start(server.ioContext(), options.bind, server.port(), options.discoveryPort);
      discovering = true;
    } catch (const std::exception& e) {
      std::fprintf(stderr, "tramox: discovery: %s\n", e.what());
    }
  }
  const std::string discoveryText =
      discovering ? "on UDP port " + std::to_string(options.discoveryPort) : "off";
  std::printf("Discovery %s\n", discoveryText.c_str());
  lx200::Listener lx200(host, device, *platform::nativeServices().clock,
                        {"TRAMOX", TRAMOX_VERSION, TRAMOX_BUILD_DATE, TRAMOX_BUILD_TIME},
                        [](const std::string& line) {
                          std::fprintf(stderr, "tramox: %s\n", line.c_str());
                          std::fflush(stderr);
                        });
  if (options.lx200Port) {
    try {
      lx200.start(options.bind, *options.lx200Port);
      std::printf("LX200 on TCP port %u\n", static_cast<unsigned>(lx200.port()));
    } catch (const std::exception& e) {
      std::fprintf(stderr, "tramox: LX200: %s\n", e.what());
    }
  }
  pages.listeningOn(server.port(), discoveryText);
  pages.start(server.ioContext());
  std::fflush(stdout);

  platform::waitForStopRequest();
  pages.stop();
  discovery.stop();
  // The driver thread ends before the HTTP server: every answer it still holds is given or
  // dropped while the connections exist.
  host.stop([&pages, &lx200](alpaca::DriverAccess& access) { stopMotion(access, pages, lx200); },
            disconnect);
  lx200.stop();
  server.stop();
  platform::stopRequestHandled();
  return 0;
}

}  // namespace tramox::tools
