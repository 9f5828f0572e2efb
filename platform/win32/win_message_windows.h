#pragma once
// Message boxes, titled with the module's name as the toolkit's application title.
//
// Unattended runs (installers, test harnesses, headless machines) cannot dismiss a modal box:
// when the environment variable TRAMOX_MESSAGE_FILE names a file, each message is appended to
// it as one UTF-8 line ("message: <text>" or "error: <text>") instead of being shown.
#include <string>

#include "platform/message_windows.h"

namespace tramox::platform::win32 {

class WinMessageWindows final : public IMessageWindows {
 public:
  static constexpr const char* kTitle = "TRAMOX";
  static constexpr const char* kUnattendedVariable = "TRAMOX_MESSAGE_FILE";

  void showMessage(const std::string& text) override;
  void showErrorBox(const std::string& text) override;
};

}  // namespace tramox::platform::win32
