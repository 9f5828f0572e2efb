#pragma once
// The paddle as the Windows module shows it: a real window of this process and thread, read
// and driven through its child controls as a user's mouse would.
#include <windows.h>

#include <optional>
#include <vector>

#include "client/client_backend.h"
#include "platform/paddle_view.h"

namespace tramox::client {

// The paddle window of this process, or nullptr (never connected, or disconnected since).
HWND findPaddleWindow();
// Its controls in creation order, as they are on screen; nullopt when there is no paddle.
std::optional<std::vector<platform::PaddleControlState>> readPaddle();
// mousedown, mouseup, click, slider or closebox, sent to the window as the system would.
void drivePaddle(const PaddleAction& action);

}  // namespace tramox::client
