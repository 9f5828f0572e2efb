#include "tools/interruption.h"

#include <atomic>
#include <csignal>

namespace tramox::tools {
namespace {

// Lock-free atomics are the only shared state a signal handler may touch (on Windows the
// handler even runs on a thread of its own).
std::atomic<int> caught{0};
static_assert(std::atomic<int>::is_always_lock_free);

extern "C" void onInterruption(int signal) {
  caught.store(signal);
  std::signal(signal, SIG_DFL);
}

void catchSignal(int signal) {
  if (std::signal(signal, onInterruption) == SIG_IGN) {
    std::signal(signal, SIG_IGN);
  }
}

}  // namespace

void catchInterruptions() {
  catchSignal(SIGINT);
  catchSignal(SIGTERM);
}

bool interrupted() {
  return caught.load() != 0;
}

void endByInterruption() {
  if (const int signal = caught.load(); signal != 0) {
    std::signal(signal, SIG_DFL);
    std::raise(signal);
  }
}

}  // namespace tramox::tools
