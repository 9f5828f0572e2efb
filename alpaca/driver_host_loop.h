#pragma once
// How the driver thread waits for calls: on the work queue on POSIX; on Windows in a message
// loop around a message-only window, so that the apartment's windows (the hand paddle) keep
// working and the driver's own waits can dispatch queued calls.
#include <memory>

#include "alpaca/work_queue.h"

namespace tramox::alpaca {

class DriverHost;

class DriverLoop {
 public:
  virtual ~DriverLoop() = default;
  // Serves calls through host.serveQueue() until quit is set; on the driver thread.
  virtual void run(const bool& quit) = 0;
  // From any thread: a call was queued.
  virtual void wake() = 0;
};

// Made on the driver thread before the first call is posted.
std::unique_ptr<DriverLoop> makeDriverLoop(DriverHost& host, WorkQueue& queue);

}  // namespace tramox::alpaca
