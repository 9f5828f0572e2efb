#pragma once
// The hand paddle's requests (/paddle/state, /paddle/event, /paddle/connect): each runs on
// the driver thread, queued through the driver host like the API's own calls, with the
// paddle reached through that call's backend.
#include <atomic>
#include <cstdint>
#include <optional>
#include <vector>

#include "alpaca/device_api.h"
#include "alpaca/driver_host.h"
#include "alpaca/route_table.h"
#include "alpaca/web/paddle_feed.h"
#include "alpaca/web/paddle_link.h"
#include "alpaca/web/web_dialogs.h"
#include "alpaca/web/web_paddle.h"

namespace tramox::web {

// The web pages together count as one client of the server when they connect the mount.
inline constexpr std::uint32_t kWebPagesClientId = 0xFFFFFFFFu;

class PaddleRoutes {
 public:
  PaddleRoutes(alpaca::DriverHost& host, alpaca::DeviceApi& device, WebMessageWindows& dialogs,
               platform::IClock& clock);

  void addRoutes(alpaca::RouteTable& routes);
  // Queues a check of the held buttons and tells waiting pages of changes; one at most waits
  // in the queue, so a busy driver thread does not pile them up.
  void queueTick();
  // On the driver thread, when the server leaves: releases every held button and answers
  // every waiting page.
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
  template <class Work>
  void onDriver(Work work, Lane lane = Lane::Plain);

  void state(const alpaca::HttpRequest& request, alpaca::Reply reply);
  void event(const alpaca::HttpRequest& request, alpaca::Reply reply);
  void connect(const alpaca::HttpRequest& request, alpaca::Reply reply);

  alpaca::DriverHost& host_;
  alpaca::DeviceApi& device_;
  WebMessageWindows& dialogs_;
  platform::IClock& clock_;
  AttachedPaddle link_;
  WebPaddle paddle_;
  PaddleFeed feed_;
  std::atomic<bool> tickQueued_{false};
};

}  // namespace tramox::web
