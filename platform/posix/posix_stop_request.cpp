#include <signal.h>

#include "platform/stop_request.h"

namespace tramox::platform {

namespace {
sigset_t stopSignals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  return set;
}
}  // namespace

// Blocked in every thread, taken only by sigwait.
void prepareStopRequest() {
  const sigset_t set = stopSignals();
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
}

void waitForStopRequest() {
  const sigset_t set = stopSignals();
  int received = 0;
  while (sigwait(&set, &received) != 0) {
  }
}

void stopRequestHandled() {}

}  // namespace tramox::platform
