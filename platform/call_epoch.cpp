#include "platform/call_epoch.h"

#include <atomic>

namespace tramox::platform {

namespace {

std::atomic<std::uint64_t> callsBegun{0};
thread_local std::uint64_t threadCall = 0;

}  // namespace

std::uint64_t currentCallEpoch() {
  return threadCall;
}

CallScope::CallScope() : outer_(threadCall) {
  threadCall = callsBegun.fetch_add(1, std::memory_order_relaxed) + 1;
}

CallScope::~CallScope() {
  threadCall = outer_;
}

}  // namespace tramox::platform
