#pragma once
// Message windows for a process without a desktop: each message is one line on standard error
// and nothing waits for a user.
#include <string>

#include "platform/message_windows.h"

namespace tramox::platform {

class StderrMessageWindows : public IMessageWindows {
 public:
  void showMessage(const std::string& text) override;
  void showErrorBox(const std::string& text) override;
};

// The text on one line: line breaks inside it become blanks.
std::string asOneLine(const std::string& text);

}  // namespace tramox::platform
