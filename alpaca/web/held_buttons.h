#pragma once
// The web paddle's dead man's switch. A page holding a direction button tells the server so
// every 200 ms (the page's HEARTBEAT_MS); a hold not heard of for more than kHoldTimeoutSeconds
// is dropped, so a locked phone, a lost network or a closed tab stops the axis. Several pages
// may hold the same button: it is pressed when the first takes it and released when the last
// lets go.
#include <map>
#include <string>
#include <vector>

#include "platform/clock.h"

namespace tramox::web {

inline constexpr double kHoldTimeoutSeconds = 1.0;

class HeldButtons {
 public:
  explicit HeldButtons(platform::IClock& clock) : clock_(clock) {}

  // True when this makes the button held (no other page held it): press it then.
  bool press(const std::string& control, const std::string& holder);
  // True when this was the button's last holder: release it then. A page that did not hold
  // the button changes nothing.
  bool release(const std::string& control, const std::string& holder);
  // The page still holds the button; false when it does not (its hold expired or never was).
  bool heartbeat(const std::string& control, const std::string& holder);
  // Drops the holds not heard of for longer than the time-out; returns the buttons that lost
  // their last holder, to be released.
  std::vector<std::string> expire();
  // Drops every hold of a page (the page went away); returns the buttons to release.
  std::vector<std::string> releaseAll(const std::string& holder);
  // Drops every hold of every page (the server is leaving); returns the buttons to release.
  std::vector<std::string> releaseEvery();

  bool held(const std::string& control) const { return holds_.contains(control); }

 private:
  // Per button, the last time each holder was heard of (steady clock, seconds).
  std::map<std::string, std::map<std::string, double>> holds_;
  platform::IClock& clock_;
};

}  // namespace tramox::web
