#pragma once
// The paddle as the Windows module shows it: a real window of this process and thread, read
// and driven through its child controls as a user's mouse would.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/paddle_view.h"

namespace tramox::client {

// The paddle window of this process, or nullptr (never connected, or disconnected since).
HWND findPaddleWindow();
// Its controls in creation order, as they are on screen; nullopt when there is no paddle.
std::optional<std::vector<platform::PaddleControlState>> readPaddle();
// The user's actions sent to the paddle window as the system would; settle runs after each
// (the client pumps the thread's messages and passes on the windows the action raised).
class WindowPaddleEvents final : public platform::IPaddleEvents {
 public:
  explicit WindowPaddleEvents(std::function<void()> settle) : settle_(std::move(settle)) {}

  void mouseDown(const std::string& control) override;
  void mouseUp(const std::string& control) override;
  void click(const std::string& control) override;
  void sliderMoved(int position) override;
  void closeBox() override;

 private:
  void send(const std::string& control, UINT message, WPARAM w, LPARAM l);

  std::function<void()> settle_;
};

}  // namespace tramox::client
