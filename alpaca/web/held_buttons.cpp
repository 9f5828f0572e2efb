#include "alpaca/web/held_buttons.h"

namespace tramox::web {

bool HeldButtons::press(const std::string& control, const std::string& holder) {
  auto& holders = holds_[control];
  const bool first = holders.empty();
  holders[holder] = clock_.monotonicSeconds();
  return first;
}

bool HeldButtons::release(const std::string& control, const std::string& holder) {
  const auto button = holds_.find(control);
  if (button == holds_.end() || button->second.erase(holder) == 0) {
    return false;
  }
  if (!button->second.empty()) {
    return false;
  }
  holds_.erase(button);
  return true;
}

bool HeldButtons::heartbeat(const std::string& control, const std::string& holder) {
  const auto button = holds_.find(control);
  if (button == holds_.end()) {
    return false;
  }
  const auto hold = button->second.find(holder);
  if (hold == button->second.end()) {
    return false;
  }
  hold->second = clock_.monotonicSeconds();
  return true;
}

std::vector<std::string> HeldButtons::expire() {
  const double now = clock_.monotonicSeconds();
  std::vector<std::string> released;
  for (auto button = holds_.begin(); button != holds_.end();) {
    std::erase_if(button->second,
                  [&](const auto& hold) { return now - hold.second > kHoldTimeoutSeconds; });
    if (button->second.empty()) {
      released.push_back(button->first);
      button = holds_.erase(button);
    } else {
      ++button;
    }
  }
  return released;
}

std::vector<std::string> HeldButtons::releaseAll(const std::string& holder) {
  std::vector<std::string> controls;
  for (const auto& [control, holders] : holds_) {
    if (holders.contains(holder)) {
      controls.push_back(control);
    }
  }
  std::vector<std::string> released;
  for (const auto& control : controls) {
    if (release(control, holder)) {
      released.push_back(control);
    }
  }
  return released;
}

std::vector<std::string> HeldButtons::releaseEvery() {
  std::vector<std::string> released;
  for (const auto& hold : holds_) {
    released.push_back(hold.first);
  }
  holds_.clear();
  return released;
}

}  // namespace tramox::web
