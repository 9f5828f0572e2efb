#pragma once
// Which member call the current thread is in. The kernel's change notices for the settings and
// the time zone are taken once per call: what changed while a call runs counts from the next
// one, as an edit by hand always has. Outside any call (tools, tests, the paddle's own
// handlers) every look takes them.
#include <cstdint>

namespace tramox::platform {

// 0 outside a call; else a number no other call of the process has had.
std::uint64_t currentCallEpoch();

// Opened by the automation layer around each member call, nested ones too: a call served
// inside another's wait is a client's call of its own and sees what changed before it.
class CallScope {
 public:
  CallScope();
  ~CallScope();
  CallScope(const CallScope&) = delete;
  CallScope& operator=(const CallScope&) = delete;

 private:
  std::uint64_t outer_;
};

}  // namespace tramox::platform
