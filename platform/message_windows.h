#pragma once
// Modal message windows. Both block the calling thread until the user dismisses them.
#include <string>

namespace tramox::platform {

class IMessageWindows {
 public:
  virtual ~IMessageWindows() = default;
  // A plain message with an OK button (the controller loader's messages).
  virtual void showMessage(const std::string& text) = 0;
  // The error box the window toolkit shows for a failure escaping a paddle event.
  virtual void showErrorBox(const std::string& text) = 0;
};

}  // namespace tramox::platform
