#include "alpaca/web/web_front_end.h"

#include <chrono>
#include <utility>

#include "alpaca/json_response.h"
#include "alpaca/parameter_values.h"
#include "alpaca/web/device_setup.h"
#include "alpaca/web/page_response.h"
#include "alpaca/web/web_assets.h"

namespace tramox::web {

using alpaca::HttpMethod;
using alpaca::HttpRequest;
using alpaca::HttpResponse;
using alpaca::Reply;

WebFrontEnd::WebFrontEnd(alpaca::DriverHost& host, alpaca::DeviceApi& device,
                         WebMessageWindows& dialogs, platform::IClock& clock, ServerFacts facts)
    : host_(host),
      device_(device),
      facts_(std::move(facts)),
      paddle_(host, device, dialogs, clock) {}

void WebFrontEnd::listeningOn(std::uint16_t port, const std::string& discovery) {
  std::lock_guard<std::mutex> lock(factsLock_);
  facts_.port = port;
  facts_.discovery = discovery;
}

WebFrontEnd::~WebFrontEnd() {
  stop();
}

void WebFrontEnd::leave(alpaca::DriverAccess& access) {
  paddle_.leave(access);
}

void WebFrontEnd::start(boost::asio::io_context& io) {
  ticker_.start(io, std::chrono::milliseconds(kTickMilliseconds), [this] { paddle_.queueTick(); });
}

void WebFrontEnd::stop() {
  ticker_.stop();
}

void WebFrontEnd::addRoutes(alpaca::RouteTable& routes) {
  const auto paddlePage = [](const HttpRequest&, Reply reply) {
    const WebAsset* html = findWebAsset("/web/paddle.html");
    HttpResponse response = alpaca::htmlResponse(std::string(html->body));
    reply(page(std::move(response)));
  };
  routes.addExact("/", paddlePage, "GET");
  routes.addExact("/paddle", paddlePage, "GET");
  routes.addPrefix(
      "/web/",
      [](const HttpRequest& request, Reply reply) {
        const WebAsset* asset = findWebAsset(request.path);
        if (asset == nullptr) {
          reply(alpaca::textResponse(404, "No such file"));
          return;
        }
        HttpResponse response;
        response.contentType = std::string(asset->contentType);
        response.body = std::string(asset->body);
        reply(page(std::move(response)));
      },
      "GET");
  paddle_.addRoutes(routes);
  routes.addExact(
      kDeviceSetupPath,
      [this](const HttpRequest& r, Reply reply) { deviceSetup(r, std::move(reply)); },
      "GET, POST, PUT");
  routes.addExact(
      kServerSetupPath,
      [this](const HttpRequest& r, Reply reply) { serverSetup(r, std::move(reply)); }, "GET");
}

void WebFrontEnd::deviceSetup(const HttpRequest& request, Reply reply) {
  if (request.method == HttpMethod::Get) {
    host_.post([reply = std::move(reply)](alpaca::DriverAccess& access) {
      reply(page(alpaca::htmlResponse(deviceSetupPage(readDeviceSetup(access.object())))));
    });
    return;
  }
  auto form = alpaca::parseForm(request.body);
  if (!form) {
    reply(alpaca::textResponse(400, "The form cannot be read"));
    return;
  }
  host_.post([form = std::move(*form), reply = std::move(reply)](alpaca::DriverAccess& access) {
    reply(page(alpaca::htmlResponse(deviceSetupPage(writeDeviceSetup(access.object(), form)))));
  });
}

void WebFrontEnd::serverSetup(const HttpRequest&, Reply reply) {
  host_.post([this, reply = std::move(reply)](alpaca::DriverAccess& access) {
    ServerSetupView view;
    {
      std::lock_guard<std::mutex> lock(factsLock_);
      view.address = facts_.address;
      view.port = facts_.port;
      view.discovery = facts_.discovery;
      view.uniqueId = facts_.uniqueId;
    }
    view.connected = access.object().connected();
    view.driverName = "TRAMOX.Telescope";
    view.connectedClients = static_cast<int>(device_.connectedClientCount());
    reply(page(alpaca::htmlResponse(serverSetupPage(view))));
  });
}

}  // namespace tramox::web
