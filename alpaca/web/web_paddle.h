#pragma once
// The hand paddle as a web page sees it: the model's controls as data, and the page's actions
// played into the paddle's own event sink, so they run the window's handlers with the
// window's log lines, controller calls and error boxes. Direction buttons go through the
// dead man's switch. Every call belongs on the thread that owns the driver object.
#include <cstdint>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "alpaca/web/held_buttons.h"
#include "alpaca/web/paddle_link.h"
#include "alpaca/web/web_dialogs.h"

namespace tramox::web {

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
  WebPaddle(IPaddleLink& link, WebMessageWindows& dialogs, platform::IClock& clock);

  // Plays the event into the paddle; returns the windows it raised (also kept for the pages).
  // A heartbeat that finds its hold gone answers "held": false so the page can tell.
  nlohmann::json handle(const PaddleEvent& event);
  // Releases the buttons whose holders went silent; call it at least every few hundred ms.
  void tick();

  // {"connected": bool, "controls": [{"name", "kind", "text", "visible", "enabled", "left",
  //  "top", "width", "height" [, "position"]}, ...]}: the controls in creation order with
  // their design place in window pixels, none when not connected. The page lays itself out
  // from these, so the window's layout has one source.
  nlohmann::json state();
  // The windows kept after afterId, as [{"id", "kind": "error"|"message", "text", "page"}].
  nlohmann::json dialogsSince(std::uint64_t afterId) const;

 private:
  void release(const std::vector<std::string>& controls);

  IPaddleLink& link_;
  WebMessageWindows& dialogs_;
  HeldButtons held_;
};

// A page names itself with a short token; anything longer or odder is not a page of ours.
bool isValidPageId(const std::string& page);
bool isDirectionButton(const std::string& control);
bool isClickButton(const std::string& control);

}  // namespace tramox::web
