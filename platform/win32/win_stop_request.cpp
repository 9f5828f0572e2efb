#include <windows.h>

#include "platform/stop_request.h"

namespace tramox::platform {

namespace {

// Windows allows a closing console's handler about 5 seconds.
constexpr DWORD kCleanUpLimitMs = 4500;

HANDLE requested = nullptr;
HANDLE handled = nullptr;

BOOL WINAPI onConsoleEvent(DWORD event) {
  SetEvent(requested);
  if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) {
    WaitForSingleObject(handled, kCleanUpLimitMs);
  }
  return TRUE;
}

}  // namespace

void prepareStopRequest() {
  requested = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  handled = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

void waitForStopRequest() {
  WaitForSingleObject(requested, INFINITE);
}

void stopRequestHandled() {
  SetEvent(handled);
}

}  // namespace tramox::platform
