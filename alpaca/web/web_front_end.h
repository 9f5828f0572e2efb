#pragma once
// The pages `tramox serve` adds to the Alpaca API: the hand paddle (/, /paddle and its
// requests), the server's setup page and the telescope's. Every driver and paddle call runs on
// the driver thread, queued through the driver host like the API's own calls.
#include <cstdint>
#include <mutex>
#include <string>

#include "alpaca/asio_forward.h"
#include "alpaca/device_api.h"
#include "alpaca/driver_host.h"
#include "alpaca/periodic_timer.h"
#include "alpaca/route_table.h"
#include "alpaca/web/paddle_routes.h"
#include "alpaca/web/setup_pages.h"
#include "alpaca/web/web_dialogs.h"

namespace tramox::web {

// How often held buttons are checked and waiting pages told of changes.
inline constexpr int kTickMilliseconds = 100;

struct ServerFacts {
  std::string address;
  std::uint16_t port = 0;
  std::string discovery;
  std::string uniqueId;
};

class WebFrontEnd {
 public:
  // dialogs: the message windows lent to the driver object, so its windows reach the pages.
  WebFrontEnd(alpaca::DriverHost& host, alpaca::DeviceApi& device, WebMessageWindows& dialogs,
              platform::IClock& clock, ServerFacts facts);
  ~WebFrontEnd();
  WebFrontEnd(const WebFrontEnd&) = delete;
  WebFrontEnd& operator=(const WebFrontEnd&) = delete;

  void addRoutes(alpaca::RouteTable& routes);
  // The port the server got (when it was asked for any free one) and whether discovery runs.
  void listeningOn(std::uint16_t port, const std::string& discovery);
  // Starts and stops the tick, run by io's threads (the HTTP server's); stop before the driver
  // host stops and before io is destroyed.
  void start(boost::asio::io_context& io);
  void stop();
  // On the driver thread, when the server leaves: releases every held button and answers
  // every waiting page, before the HTTP server goes.
  void leave(alpaca::DriverAccess& access);

 private:
  void deviceSetup(const alpaca::HttpRequest& request, alpaca::Reply reply);
  void serverSetup(const alpaca::HttpRequest& request, alpaca::Reply reply);

  alpaca::DriverHost& host_;
  alpaca::DeviceApi& device_;
  std::mutex factsLock_;  // the server page reads them on the driver thread
  ServerFacts facts_;
  PaddleRoutes paddle_;
  alpaca::PeriodicTimer ticker_;
};

}  // namespace tramox::web
