#include "alpaca/web/paddle_routes.h"

#include <cstdio>
#include <string>
#include <utility>

#include "alpaca/json_response.h"
#include "alpaca/parameter_values.h"
#include "alpaca/web/page_response.h"
#include "paddle/error_box_text.h"

namespace tramox::web {

using alpaca::HttpRequest;
using alpaca::Reply;

PaddleRoutes::PaddleRoutes(alpaca::DriverHost& host, alpaca::DeviceApi& device,
                           WebMessageWindows& dialogs, platform::IClock& clock)
    : host_(host),
      device_(device),
      dialogs_(dialogs),
      clock_(clock),
      paddle_(link_, dialogs_, clock_,
              [](const std::string& line) {
                std::printf("paddle: %s\n", line.c_str());
                std::fflush(stdout);
              }),
      feed_([this](std::uint64_t after) { return paddle_.dialogsSince(after); }) {}

template <class Work>
void PaddleRoutes::onDriver(Work work, Lane lane) {
  alpaca::DriverHost::Work attached =
      [this, work = std::move(work)](alpaca::DriverAccess& access) mutable {
        // Restored, not cleared: a stop may run inside another call's wait.
        alpaca::DriverAccess* outer = std::exchange(link_.access, &access);
        work(access);
        link_.access = outer;
      };
  if (lane == Lane::Stop) {
    host_.postStop(std::move(attached));
  } else {
    host_.post(std::move(attached), lane == Lane::MayWait);
  }
}

void PaddleRoutes::leave(alpaca::DriverAccess& access) {
  alpaca::DriverAccess* outer = std::exchange(link_.access, &access);
  paddle_.releaseEveryHold();
  link_.access = outer;
  feed_.close();
}

// A stop, since it carries the dead man's release.
void PaddleRoutes::queueTick() {
  if (tickQueued_.exchange(true)) {
    return;
  }
  onDriver(
      [this](alpaca::DriverAccess&) {
        tickQueued_ = false;
        paddle_.tick();
        feed_.update(paddle_.state(), dialogs_.lastId(), clock_.monotonicSeconds());
      },
      Lane::Stop);
}

void PaddleRoutes::addRoutes(alpaca::RouteTable& routes) {
  routes.addExact(
      "/paddle/state", [this](const HttpRequest& r, Reply reply) { state(r, std::move(reply)); },
      "GET");
  routes.addExact(
      "/paddle/event", [this](const HttpRequest& r, Reply reply) { event(r, std::move(reply)); },
      kChangeMethods);
  routes.addExact(
      "/paddle/connect",
      [this](const HttpRequest& r, Reply reply) { connect(r, std::move(reply)); }, kChangeMethods);
}

void PaddleRoutes::state(const HttpRequest& request, Reply reply) {
  const auto query = alpaca::parseForm(request.query).value_or(std::vector<alpaca::Parameter>{});
  const std::string* versionText = alpaca::lastValue(query, "version");
  const std::string* dialogText = alpaca::lastValue(query, "dialog");
  // Absent or unreadable values fall below their ranges (version >= 0, dialog >= -1).
  const std::int32_t version = versionText ? alpaca::parseInt32(*versionText).value_or(-1) : -1;
  const std::int32_t dialog = dialogText ? alpaca::parseInt32(*dialogText).value_or(-2) : -2;
  if (version < 0 || dialog < -1) {
    reply(alpaca::textResponse(400, "Expected version=N&dialog=N"));
    return;
  }
  onDriver([this, version, dialog, reply = std::move(reply)](alpaca::DriverAccess&) mutable {
    feed_.wait(
        static_cast<std::uint64_t>(version), dialog, clock_.monotonicSeconds(),
        [reply = std::move(reply)](const nlohmann::json& answer) { reply(pageJson(answer)); });
  });
}

void PaddleRoutes::event(const HttpRequest& request, Reply reply) {
  PaddleEvent event;
  std::string why;
  if (!parsePaddleEvent(request.body, event, why)) {
    reply(alpaca::textResponse(400, why));
    return;
  }
  const bool stops = event.action == PaddleAction::Release || event.action == PaddleAction::Leave;
  onDriver([this, event, reply = std::move(reply)](
               alpaca::DriverAccess&) { reply(pageJson(paddle_.handle(event))); },
           stops ? Lane::Stop : Lane::Plain);
}

void PaddleRoutes::connect(const HttpRequest& request, Reply reply) {
  const auto body = nlohmann::json::parse(request.body, nullptr, false);
  const auto wanted = body.is_object() ? body.find("connected") : body.end();
  const auto page = body.is_object() ? body.find("page") : body.end();
  if (!body.is_object() || wanted == body.end() || !wanted->is_boolean() || page == body.end() ||
      !page->is_string() || !isValidPageId(page->get<std::string>())) {
    reply(alpaca::textResponse(400, "Expected {\"connected\": true|false, \"page\": \"id\"}"));
    return;
  }
  const bool connecting = wanted->get<bool>();
  const std::string pageId = page->get<std::string>();
  onDriver(
      [this, connecting, pageId, reply = std::move(reply)](alpaca::DriverAccess& access) {
        const std::uint64_t before = dialogs_.lastId();
        {
          WebMessageWindows::PageScope scope(dialogs_, pageId);
          const alpaca::Answer answer = device_.connect(access, connecting, kWebPagesClientId);
          if (answer.errorNumber != 0) {
            dialogs_.showErrorBox(paddle::errorBoxText(answer.errorMessage));
          }
        }
        reply(pageJson({{"state", paddle_.state()}, {"dialogs", paddle_.dialogsSince(before)}}));
      },
      Lane::MayWait);
}

}  // namespace tramox::web
