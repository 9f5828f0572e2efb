#pragma once
// The window message by which a hosting process (the Alpaca server) asks its apartment's
// thread to serve the calls it has queued for the driver. The driver's sleeps dispatch this
// message and no other, so a synchronous slew lets queued calls through while the paddle's
// clicks still wait for it, as they always have.
#include <windows.h>

namespace tramox::platform::win32 {

inline UINT queuedCallsMessage() {
  static const UINT message = RegisterWindowMessageW(L"TRAMOX.ServeQueuedCalls");
  return message;
}

}  // namespace tramox::platform::win32
