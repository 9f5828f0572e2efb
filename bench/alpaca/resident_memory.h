#pragma once
// Resident memory of a server process this program started.
#include <sys/types.h>

#include <cstdint>

namespace tramox::alpaca::bench {

// The child of this process that listens on this TCP port; -1 when none does.
pid_t childListeningOn(std::uint16_t port);
// VmRSS from /proc/PID/status in KiB; -1 when the process is gone.
long residentKiB(pid_t pid);

}  // namespace tramox::alpaca::bench
