#pragma once
// The pages `tramox serve` adds to the Alpaca API: the hand paddle (/, /paddle and its
// requests), the server's setup page and the telescope's. Every driver and paddle call runs on
// the driver thread, queued through the driver host like the API's own calls.
#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>

#include "alpaca/device_api.h"
#include "alpaca/driver_host.h"
#include "alpaca/route_table.h"
#include "alpaca/web/paddle_feed.h"
#include "alpaca/web/paddle_link.h"
#include "alpaca/web/setup_pages.h"
#include "alpaca/web/web_dialogs.h"
#include "alpaca/web/web_paddle.h"

namespace tramox::web {

// The web pages together count as one client of the server when they connect the mount.
inline constexpr std::uint32_t kWebPagesClientId = 0xFFFFFFFFu;
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
  // Starts and stops the tick; stop before the driver host stops.
  void start();
  void stop();
  // On the driver thread, when the server leaves: releases every held button and answers
  // every waiting page, before the HTTP server goes.
  void leave(alpaca::DriverAccess& access);

 private:
  // The paddle of the call now running on the driver thread; none between calls.
  struct AttachedPaddle final : IPaddleLink {
    std::optional<std::vector<platform::PaddleControlState>> controls() override {
      return access != nullptr ? access->backend.paddleControls() : std::nullopt;
    }
    platform::IPaddleEvents* events() override {
      return access != nullptr ? access->backend.paddleEvents() : nullptr;
    }
    alpaca::DriverAccess* access = nullptr;
  };

  // How a call is queued for the driver thread.
  enum class Lane { Plain, MayWait, Stop };
  // On the driver thread, with the paddle reachable through access.
  template <class Work>
  void onDriver(Work work, Lane lane = Lane::Plain);
  void tick(alpaca::DriverAccess& access);

  void paddleState(const alpaca::HttpRequest& request, alpaca::Reply reply);
  void paddleEvent(const alpaca::HttpRequest& request, alpaca::Reply reply);
  void paddleConnect(const alpaca::HttpRequest& request, alpaca::Reply reply);
  void deviceSetup(const alpaca::HttpRequest& request, alpaca::Reply reply);
  void serverSetup(const alpaca::HttpRequest& request, alpaca::Reply reply);

  alpaca::DriverHost& host_;
  alpaca::DeviceApi& device_;
  WebMessageWindows& dialogs_;
  platform::IClock& clock_;
  std::mutex factsLock_;  // the server page reads them on the driver thread
  ServerFacts facts_;
  AttachedPaddle link_;
  WebPaddle paddle_;
  PaddleFeed feed_;
  std::atomic<bool> running_{false};
  std::atomic<bool> tickQueued_{false};
  std::thread ticker_;
};

}  // namespace tramox::web
