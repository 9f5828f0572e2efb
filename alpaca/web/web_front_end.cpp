#include "alpaca/web/web_front_end.h"

#include <chrono>
#include <cstdio>
#include <utility>

#include "alpaca/json_response.h"
#include "alpaca/parameter_values.h"
#include "alpaca/web/web_assets.h"
#include "client/setup_settings.h"
#include "common/units.h"
#include "paddle/error_box_text.h"
#include "platform/services.h"
#include "platform/settings_key.h"

namespace tramox::web {
namespace {

using alpaca::HttpMethod;
using alpaca::HttpRequest;
using alpaca::HttpResponse;
using alpaca::Reply;
using client::Value;

constexpr const char* kLogEnabledValue = "LogEnabled";

HttpResponse page(HttpResponse response) {
  response.headers.emplace_back("Content-Security-Policy", kContentSecurityPolicy);
  response.headers.emplace_back("X-Content-Type-Options", "nosniff");
  // Not no-referrer: under it a browser sends "Origin: null" with a form, which the origin
  // check must refuse.
  response.headers.emplace_back("Referrer-Policy", "same-origin");
  return response;
}

HttpResponse json(const nlohmann::json& value) {
  return page(alpaca::jsonResponse(value));
}

// A page's own state change comes as POST (or PUT); the server has already refused any
// request a page of another site sent.
constexpr const char* kChangeMethods = "POST, PUT";

const std::string* formValue(const std::vector<alpaca::Parameter>& form, std::string_view name) {
  const std::string* found = nullptr;
  for (const auto& parameter : form) {
    if (parameter.name == name) {
      found = &parameter.value;  // the last one: a ticked box follows its hidden default
    }
  }
  return found;
}

std::string numberText(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.15g", value);
  return text;
}

struct SiteMember {
  const char* member;
  const char* label;
  const char* unit;
};
constexpr SiteMember kSiteMembers[] = {{"SiteLatitude", "Latitude", "degrees, north positive"},
                                       {"SiteLongitude", "Longitude", "degrees, east positive"},
                                       {"SiteElevation", "Elevation", "metres"}};

// The site as the driver's members give it, and the rest from the settings key.
DeviceSetupView readDeviceSetup(alpaca::DriverAccess& access) {
  const client::DriverObject driver = access.object();
  DeviceSetupView view;
  view.connected = driver.connected();
  for (const auto& site : kSiteMembers) {
    SetupField field{site.member, site.label, site.unit, "", ""};
    const auto result = driver.get(site.member);
    if (!result.ok) {
      field.error = result.message;
    } else {
      field.value = numberText(result.value.number);
    }
    view.fields.push_back(std::move(field));
  }
  platform::SettingsKey key(*platform::nativeServices().registry);
  SetupField timeout{client::kSlewTimeoutValue, "Slew time limit", "seconds", "", ""};
  try {
    view.logEnabled = key.readInt32(kLogEnabledValue).value_or(0) != 0;
  } catch (const std::exception& e) {
    view.logError = e.what();
  }
  try {
    timeout.value = std::to_string(
        key.readInt32(client::kSlewTimeoutValue).value_or(client::kDefaultSlewTimeoutSeconds));
  } catch (const std::exception& e) {
    timeout.error = e.what();
  }
  view.fields.push_back(std::move(timeout));
  SetupField guideRate{client::kGuideRateValue, "Guide rate", "× sidereal rate, in ]0,2]", "", ""};
  try {
    const auto multiple = client::storedGuideRate(key);
    guideRate.value = multiple ? numberText(*multiple) : "";
  } catch (const std::exception& e) {
    guideRate.error = e.what();
  }
  view.fields.push_back(std::move(guideRate));
  try {
    const auto hourAngle = key.readDouble("Park_AH");
    const auto declination = key.readDouble("Park_Dec");
    view.parkPosition = hourAngle && declination
                            ? "hour angle " + numberText(units::radiansToHours(*hourAngle)) +
                                  " h, declination " +
                                  numberText(units::radiansToDegrees(*declination)) + "°"
                            : "not set";
  } catch (const std::exception& e) {
    view.parkPosition = e.what();
  }
  view.controllerLibrary = client::controllerLibraryPath(*platform::nativeServices().libraries);
  return view;
}

// Writes what the form holds: the site through the driver's members, whose refusals show
// beside their field, the log switch and the slew time limit into the settings key.
DeviceSetupView writeDeviceSetup(alpaca::DriverAccess& access,
                                 const std::vector<alpaca::Parameter>& form) {
  const client::DriverObject driver = access.object();
  std::vector<std::pair<std::string, std::string>> refusals;
  for (const auto& site : kSiteMembers) {
    const std::string* typed = formValue(form, site.member);
    if (typed == nullptr) {
      continue;
    }
    const auto number = alpaca::parseDouble(*typed);
    if (!number) {
      refusals.emplace_back(site.member, "Not a number");
      continue;
    }
    const auto result = driver.put(site.member, Value::ofDouble(*number));
    if (!result.ok) {
      refusals.emplace_back(site.member, result.message);
    }
  }
  platform::SettingsKey key(*platform::nativeServices().registry);
  std::string logError;
  if (const std::string* log = formValue(form, kLogEnabledValue)) {
    try {
      key.writeInt32(kLogEnabledValue, *log == "1" ? 1 : 0);
    } catch (const std::exception& e) {
      logError = e.what();
    }
  }
  if (const std::string* typed = formValue(form, client::kSlewTimeoutValue)) {
    const auto seconds = alpaca::parseInt32(*typed);
    if (!seconds || *seconds <= 0) {
      refusals.emplace_back(client::kSlewTimeoutValue,
                            "The slew time limit is a whole number of seconds above 0");
    } else {
      try {
        key.writeInt32(client::kSlewTimeoutValue, *seconds);
      } catch (const std::exception& e) {
        refusals.emplace_back(client::kSlewTimeoutValue, e.what());
      }
    }
  }
  // An empty field leaves the guide rate as it is (not set, perhaps).
  if (const std::string* typed = formValue(form, client::kGuideRateValue);
      typed != nullptr && !typed->empty()) {
    const auto multiple = alpaca::parseDouble(*typed);
    try {
      if (!multiple) {
        refusals.emplace_back(client::kGuideRateValue, "Not a number");
      } else {
        client::storeGuideRate(key, *multiple);
      }
    } catch (const std::exception& e) {
      refusals.emplace_back(client::kGuideRateValue, e.what());
    }
  }
  DeviceSetupView view = readDeviceSetup(access);
  // A refused field shows what was typed, so the person can mend it.
  for (auto& field : view.fields) {
    for (const auto& [name, message] : refusals) {
      if (field.name == name) {
        field.error = message;
        if (const std::string* typed = formValue(form, name)) {
          field.value = *typed;
        }
      }
    }
  }
  if (!logError.empty()) {
    view.logError = logError;
  }
  view.noticeIsError = !refusals.empty() || !logError.empty();
  view.notice = view.noticeIsError ? "Some values were not saved." : "Saved.";
  return view;
}

}  // namespace

WebFrontEnd::WebFrontEnd(alpaca::DriverHost& host, alpaca::DeviceApi& device,
                         WebMessageWindows& dialogs, platform::IClock& clock, ServerFacts facts)
    : host_(host),
      device_(device),
      dialogs_(dialogs),
      clock_(clock),
      facts_(std::move(facts)),
      paddle_(link_, dialogs_, clock_,
              [](const std::string& line) {
                std::printf("paddle: %s\n", line.c_str());
                std::fflush(stdout);
              }),
      feed_([this](std::uint64_t after) { return paddle_.dialogsSince(after); }) {}

void WebFrontEnd::listeningOn(std::uint16_t port, const std::string& discovery) {
  std::lock_guard<std::mutex> lock(factsLock_);
  facts_.port = port;
  facts_.discovery = discovery;
}

WebFrontEnd::~WebFrontEnd() {
  stop();
}

template <class Work>
void WebFrontEnd::onDriver(Work work, Lane lane) {
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

void WebFrontEnd::leave(alpaca::DriverAccess& access) {
  alpaca::DriverAccess* outer = std::exchange(link_.access, &access);
  paddle_.releaseEveryHold();
  link_.access = outer;
  feed_.close();
}

void WebFrontEnd::start() {
  running_ = true;
  ticker_ = std::thread([this] {
    while (running_) {
      std::this_thread::sleep_for(std::chrono::milliseconds(kTickMilliseconds));
      // One tick in the queue at most: a busy driver thread does not pile them up. A stop,
      // since it carries the dead man's release.
      if (!tickQueued_.exchange(true)) {
        onDriver(
            [this](alpaca::DriverAccess& access) {
              tickQueued_ = false;
              tick(access);
            },
            Lane::Stop);
      }
    }
  });
}

void WebFrontEnd::stop() {
  running_ = false;
  if (ticker_.joinable()) {
    ticker_.join();
  }
}

void WebFrontEnd::tick(alpaca::DriverAccess&) {
  paddle_.tick();
  feed_.update(paddle_.state(), dialogs_.lastId(), clock_.monotonicSeconds());
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
  routes.addExact(
      "/paddle/state",
      [this](const HttpRequest& r, Reply reply) { paddleState(r, std::move(reply)); }, "GET");
  routes.addExact(
      "/paddle/event",
      [this](const HttpRequest& r, Reply reply) { paddleEvent(r, std::move(reply)); },
      kChangeMethods);
  routes.addExact(
      "/paddle/connect",
      [this](const HttpRequest& r, Reply reply) { paddleConnect(r, std::move(reply)); },
      kChangeMethods);
  routes.addExact(
      kDeviceSetupPath,
      [this](const HttpRequest& r, Reply reply) { deviceSetup(r, std::move(reply)); },
      "GET, POST, PUT");
  routes.addExact(
      kServerSetupPath,
      [this](const HttpRequest& r, Reply reply) { serverSetup(r, std::move(reply)); }, "GET");
}

void WebFrontEnd::paddleState(const HttpRequest& request, Reply reply) {
  const auto query = alpaca::parseForm(request.query).value_or(std::vector<alpaca::Parameter>{});
  const std::string* versionText = formValue(query, "version");
  const std::string* dialogText = formValue(query, "dialog");
  // Absent or unreadable values fall below their ranges (version >= 0, dialog >= -1).
  const std::int32_t version = versionText ? alpaca::parseInt32(*versionText).value_or(-1) : -1;
  const std::int32_t dialog = dialogText ? alpaca::parseInt32(*dialogText).value_or(-2) : -2;
  if (version < 0 || dialog < -1) {
    reply(alpaca::textResponse(400, "Expected version=N&dialog=N"));
    return;
  }
  onDriver([this, version, dialog, reply = std::move(reply)](alpaca::DriverAccess&) mutable {
    feed_.wait(static_cast<std::uint64_t>(version), dialog, clock_.monotonicSeconds(),
               [reply = std::move(reply)](const nlohmann::json& answer) { reply(json(answer)); });
  });
}

void WebFrontEnd::paddleEvent(const HttpRequest& request, Reply reply) {
  PaddleEvent event;
  std::string why;
  if (!parsePaddleEvent(request.body, event, why)) {
    reply(alpaca::textResponse(400, why));
    return;
  }
  const bool stops = event.action == PaddleAction::Release || event.action == PaddleAction::Leave;
  onDriver([this, event, reply = std::move(reply)](
               alpaca::DriverAccess&) { reply(json(paddle_.handle(event))); },
           stops ? Lane::Stop : Lane::Plain);
}

void WebFrontEnd::paddleConnect(const HttpRequest& request, Reply reply) {
  const auto body = nlohmann::json::parse(request.body, nullptr, false);
  const auto wanted = body.is_object() ? body.find("connected") : body.end();
  const auto page = body.is_object() ? body.find("page") : body.end();
  if (!body.is_object() || wanted == body.end() || !wanted->is_boolean() || page == body.end() ||
      !page->is_string() || !isValidPageId(page->get<std::string>())) {
    reply(alpaca::textResponse(400, "Expected {\"connected\": true|false, \"page\": \"id\"}"));
    return;
  }
  const bool connect = wanted->get<bool>();
  const std::string pageId = page->get<std::string>();
  onDriver(
      [this, connect, pageId, reply = std::move(reply)](alpaca::DriverAccess& access) {
        const std::uint64_t before = dialogs_.lastId();
        {
          WebMessageWindows::PageScope scope(dialogs_, pageId);
          const alpaca::Answer answer = device_.connect(access, connect, kWebPagesClientId);
          if (answer.errorNumber != 0) {
            dialogs_.showErrorBox(paddle::errorBoxText(answer.errorMessage));
          }
        }
        reply(json({{"state", paddle_.state()}, {"dialogs", paddle_.dialogsSince(before)}}));
      },
      Lane::MayWait);
}

void WebFrontEnd::deviceSetup(const HttpRequest& request, Reply reply) {
  if (request.method == HttpMethod::Get) {
    onDriver([reply = std::move(reply)](alpaca::DriverAccess& access) {
      reply(page(alpaca::htmlResponse(deviceSetupPage(readDeviceSetup(access)))));
    });
    return;
  }
  auto form = alpaca::parseForm(request.body);
  if (!form) {
    reply(alpaca::textResponse(400, "The form cannot be read"));
    return;
  }
  onDriver([form = std::move(*form), reply = std::move(reply)](alpaca::DriverAccess& access) {
    reply(page(alpaca::htmlResponse(deviceSetupPage(writeDeviceSetup(access, form)))));
  });
}

void WebFrontEnd::serverSetup(const HttpRequest&, Reply reply) {
  onDriver([this, reply = std::move(reply)](alpaca::DriverAccess& access) {
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
