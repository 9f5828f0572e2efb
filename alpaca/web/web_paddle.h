#pragma once
// The hand paddle as a web page sees it: the model's controls as data, and the page's actions
// played into the paddle's own event sink, so they run the window's handlers with the
// window's log lines, controller calls and error boxes. Direction buttons go through the
// dead man's switch. Every call belongs on the thread that owns the driver object.
//
// A stop the controller refuses leaves the axis running: the button stays shown as moving,
// every page shows the alarm, and the stop is tried again every kStopRetrySeconds (each try
// logged) until the controller takes it or someone presses that button again.
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "alpaca/web/held_buttons.h"
#include "alpaca/web/paddle_link.h"
#include "alpaca/web/web_dialogs.h"

namespace tramox::web {

inline constexpr double kStopRetrySeconds = 1.0;
inline constexpr const char* kRefusedStopAlarm =
    "Stop Axis impossible: the controller refused to stop the axis, which may still be moving. "
    "The server tries again every second; press the button again to take over, or stop the "
    "mount at its controller.";

enum class PaddleAction { Press, Release, Heartbeat, Click, Slider, Leave };

struct PaddleEvent {
  PaddleAction action = PaddleAction::Click;
  std::string page;     // the page's own identifier, chosen by the page
  std::string control;  // Press, Release, Heartbeat, Click
  int position = 0;     // Slider
};

// {"page":"...","action":"press|release|heartbeat|click|slider|leave","control":"ButtonNorth",
//  "position":1}; why says what is wrong when the text is no such event.
bool parsePaddleEvent(const std::string& body, PaddleEvent& event, std::string& why);

class WebPaddle {
 public:
  // log: one line for each try at a refused stop.
  using Log = std::function<void(const std::string&)>;
  WebPaddle(IPaddleLink& link, WebMessageWindows& dialogs, platform::IClock& clock, Log log = {});

  // Plays the event into the paddle; returns the windows it raised (also kept for the pages).
  // A heartbeat that finds its hold gone answers "held": false so the page can tell.
  nlohmann::json handle(const PaddleEvent& event);
  // Releases the buttons whose holders went silent and tries the refused stops again when
  // due; call it at least every few hundred ms.
  void tick();
  // Releases every button every page holds (the server is leaving).
  void releaseEveryHold();

  // {"connected": bool, "controls": [{"name", "kind", "text", "visible", "enabled", "left",
  //  "top", "width", "height" [, "position"] [, "moving"]}, ...] [, "alarm"]}: the controls
  // in creation order with their design place in window pixels, none when not connected; a
  // button whose stop was refused is "moving", and the alarm says what to do. The page lays
  // itself out from these, so the window's layout has one source.
  nlohmann::json state();
  // The windows kept after afterId, as [{"id", "kind": "error"|"message", "text", "page",
  // "hint"}]; hint is empty unless the page has something to add beside the text.
  nlohmann::json dialogsSince(std::uint64_t afterId) const;

 private:
  void release(const std::vector<std::string>& controls);
  // The release handler of one button; false when the controller refused the stop.
  bool stop(platform::IPaddleEvents& paddle, const std::string& control, bool retry);
  void retryRefusedStops();

  IPaddleLink& link_;
  WebMessageWindows& dialogs_;
  platform::IClock& clock_;
  Log log_;
  HeldButtons held_;
  // Buttons whose stop the controller refused, with when to try again (steady seconds).
  std::map<std::string, double> refusedStops_;
};

// A page names itself with a short token; anything longer or odder is not a page of ours.
bool isValidPageId(const std::string& page);
bool isDirectionButton(const std::string& control);
bool isClickButton(const std::string& control);

}  // namespace tramox::web
