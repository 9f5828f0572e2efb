#include "alpaca/web/web_paddle.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "client/error_box_meaning.h"
#include "paddle/paddle_layout.h"

namespace tramox::web {
namespace {

namespace n = paddle::names;

constexpr std::array<std::string_view, 4> kDirectionButtons = {n::kButtonNorth, n::kButtonSouth,
                                                               n::kButtonEast, n::kButtonWest};
constexpr std::array<std::string_view, 4> kClickButtons = {n::kButtonSetPark, n::kButtonPark,
                                                           n::kButtonTracking, n::kButtonMaj};

struct ActionName {
  std::string_view name;
  PaddleAction action;
};
constexpr std::array<ActionName, 6> kActions = {{{"press", PaddleAction::Press},
                                                 {"release", PaddleAction::Release},
                                                 {"heartbeat", PaddleAction::Heartbeat},
                                                 {"click", PaddleAction::Click},
                                                 {"slider", PaddleAction::Slider},
                                                 {"leave", PaddleAction::Leave}}};

const char* kindName(platform::PaddleControlKind kind) {
  switch (kind) {
    case platform::PaddleControlKind::Label:
      return "label";
    case platform::PaddleControlKind::Button:
      return "button";
    case platform::PaddleControlKind::BitmapButton:
      return "direction";
    case platform::PaddleControlKind::Slider:
      return "slider";
    case platform::PaddleControlKind::Picture:
      return "picture";
  }
  return "label";
}

}  // namespace

bool isValidPageId(const std::string& page) {
  return !page.empty() && page.size() <= 64 && std::all_of(page.begin(), page.end(), [](char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '-' ||
           c == '_';
  });
}

namespace {

bool controlFits(PaddleAction action, const std::string& control) {
  switch (action) {
    case PaddleAction::Press:
    case PaddleAction::Release:
    case PaddleAction::Heartbeat:
      return isDirectionButton(control);
    case PaddleAction::Click:
      return isClickButton(control);
    case PaddleAction::Slider:
    case PaddleAction::Leave:
      return true;
  }
  return false;
}

}  // namespace

bool isDirectionButton(const std::string& control) {
  return std::find(kDirectionButtons.begin(), kDirectionButtons.end(), control) !=
         kDirectionButtons.end();
}

bool isClickButton(const std::string& control) {
  return std::find(kClickButtons.begin(), kClickButtons.end(), control) != kClickButtons.end();
}

bool parsePaddleEvent(const std::string& body, PaddleEvent& event, std::string& why) {
  const auto json = nlohmann::json::parse(body, nullptr, false);
  if (!json.is_object()) {
    why = "The event is not a JSON object";
    return false;
  }
  const auto text = [&](const char* key) {
    const auto found = json.find(key);
    return found != json.end() && found->is_string() ? found->get<std::string>() : std::string();
  };
  event.page = text("page");
  if (!isValidPageId(event.page)) {
    why = "The event has no valid page";
    return false;
  }
  const std::string action = text("action");
  const auto known = std::find_if(kActions.begin(), kActions.end(),
                                  [&](const ActionName& a) { return a.name == action; });
  if (known == kActions.end()) {
    why = "Unknown action '" + action + "'";
    return false;
  }
  event.action = known->action;
  event.control = text("control");
  if (!controlFits(event.action, event.control)) {
    why = "No control '" + event.control + "' for " + action;
    return false;
  }
  if (event.action == PaddleAction::Slider) {
    const auto position = json.find("position");
    if (position == json.end() || !position->is_number_integer()) {
      why = "The slider event has no position";
      return false;
    }
    event.position = position->get<int>();
  }
  return true;
}

WebPaddle::WebPaddle(IPaddleLink& link, WebMessageWindows& dialogs, platform::IClock& clock,
                     Log log)
    : link_(link), dialogs_(dialogs), clock_(clock), log_(std::move(log)), held_(clock) {}

nlohmann::json WebPaddle::handle(const PaddleEvent& event) {
  const std::uint64_t before = dialogs_.lastId();
  nlohmann::json answer = nlohmann::json::object();
  if (event.action == PaddleAction::Leave) {
    release(held_.releaseAll(event.page));
  } else {
    WebMessageWindows::PageScope scope(dialogs_, event.page);
    platform::IPaddleEvents* paddle = link_.events();
    switch (event.action) {
      case PaddleAction::Press:
        refusedStops_.erase(event.control);  // the person has taken over
        if (held_.press(event.control, event.page) && paddle != nullptr) {
          paddle->mouseDown(event.control);
        }
        break;
      case PaddleAction::Release:
        if (held_.release(event.control, event.page) && paddle != nullptr) {
          stop(*paddle, event.control, false);
        }
        break;
      case PaddleAction::Heartbeat:
        answer["held"] = held_.heartbeat(event.control, event.page);
        break;
      case PaddleAction::Click:
        if (paddle != nullptr) {
          paddle->click(event.control);
        }
        break;
      case PaddleAction::Slider:
        if (paddle != nullptr) {
          paddle->sliderMoved(event.position);
        }
        break;
      case PaddleAction::Leave:
        break;
    }
  }
  answer["dialogs"] = dialogsSince(before);
  return answer;
}

void WebPaddle::tick() {
  release(held_.expire());
  retryRefusedStops();
}

void WebPaddle::releaseEveryHold() {
  release(held_.releaseEvery());
}

// Released buttons go through the window's release handler; the windows they raise are for
// every page, since the page that held the button may be gone.
void WebPaddle::release(const std::vector<std::string>& controls) {
  platform::IPaddleEvents* paddle = link_.events();
  for (const auto& control : controls) {
    if (paddle != nullptr) {
      stop(*paddle, control, false);
    }
  }
}

// The paddle's handlers report a failure only through their error box.
bool WebPaddle::stop(platform::IPaddleEvents& paddle, const std::string& control, bool retry) {
  bool accepted = true;
  if (retry) {
    // Tried every second: the pages show the alarm rather than a window each time.
    WebMessageWindows::Muted muted(dialogs_);
    paddle.mouseUp(control);
    accepted = std::none_of(muted.errorBoxes().begin(), muted.errorBoxes().end(),
                            [](const std::string& box) { return client::showsRefusedStop(box); });
  } else {
    const std::uint64_t before = dialogs_.lastId();
    paddle.mouseUp(control);
    for (const auto& dialog : dialogs_.since(before)) {
      accepted = accepted && !(dialog.error && client::showsRefusedStop(dialog.text));
    }
  }
  if (accepted) {
    if (refusedStops_.erase(control) != 0 && log_) {
      log_("stop of " + control + " accepted");
    }
    return true;
  }
  if (log_) {
    log_("stop of " + control + " refused by the controller, trying again in 1 s");
  }
  refusedStops_[control] = clock_.monotonicSeconds() + kStopRetrySeconds;
  return false;
}

void WebPaddle::retryRefusedStops() {
  platform::IPaddleEvents* paddle = link_.events();
  if (paddle == nullptr) {
    refusedStops_.clear();  // disconnected: the driver has closed the controller
    return;
  }
  const double now = clock_.monotonicSeconds();
  std::vector<std::string> due;
  for (const auto& [control, when] : refusedStops_) {
    if (when <= now) {
      due.push_back(control);
    }
  }
  for (const auto& control : due) {
    stop(*paddle, control, true);
  }
}

nlohmann::json WebPaddle::state() {
  nlohmann::json controls = nlohmann::json::array();
  const auto current = link_.controls();
  if (current) {
    for (const auto& control : *current) {
      if (control.kind == platform::PaddleControlKind::Picture) {
        continue;  // the page draws its own sky
      }
      nlohmann::json item = {{"name", control.name},       {"kind", kindName(control.kind)},
                             {"text", control.text},       {"visible", control.visible},
                             {"enabled", control.enabled}, {"left", control.left},
                             {"top", control.top},         {"width", control.width},
                             {"height", control.height}};
      if (control.kind == platform::PaddleControlKind::Slider) {
        item["position"] = control.position;
      }
      if (refusedStops_.contains(control.name)) {
        item["moving"] = true;
      }
      controls.push_back(std::move(item));
    }
  }
  nlohmann::json state = {{"connected", current.has_value()}, {"controls", std::move(controls)}};
  if (current && !refusedStops_.empty()) {
    state["alarm"] = kRefusedStopAlarm;
  }
  return state;
}

nlohmann::json WebPaddle::dialogsSince(std::uint64_t afterId) const {
  nlohmann::json list = nlohmann::json::array();
  for (const auto& dialog : dialogs_.since(afterId)) {
    list.push_back({{"id", dialog.id},
                    {"kind", dialog.error ? "error" : "message"},
                    {"text", dialog.text},
                    {"page", dialog.page},
                    {"hint", dialog.hint}});
  }
  return list;
}

}  // namespace tramox::web
