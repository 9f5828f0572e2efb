#include "alpaca/process_resources.h"

#ifndef _WIN32
#include <sys/resource.h>
#endif
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace tramox::alpaca {

namespace {

// What the server assumes when the system does not say.
constexpr std::size_t kAssumedDescriptors = 1024;
#ifdef _WIN32
// Windows has no per-process descriptor limit for sockets (memory bounds them): the caps then
// only guard against one peer taking everything.
constexpr std::size_t kWindowsSockets = 1 << 14;
#endif

}  // namespace

std::size_t raiseDescriptorLimit() {
#ifdef _WIN32
  return kWindowsSockets;
#else
  rlimit limit{};
  if (::getrlimit(RLIMIT_NOFILE, &limit) != 0) {
    return kAssumedDescriptors;
  }
  if (limit.rlim_cur < limit.rlim_max) {
    rlimit raised = limit;
    raised.rlim_cur = limit.rlim_max;
    if (::setrlimit(RLIMIT_NOFILE, &raised) == 0) {
      limit = raised;
    }
  }
  // An unlimited hard limit still meets the kernel's own ceiling; a server needs no more.
  constexpr rlim_t kEnough = 1 << 16;
  return static_cast<std::size_t>(
      limit.rlim_cur == RLIM_INFINITY || limit.rlim_cur > kEnough ? kEnough : limit.rlim_cur);
#endif
}

void releaseFreedMemory() {
#ifdef __GLIBC__
  ::malloc_trim(0);
#endif
}

}  // namespace tramox::alpaca
