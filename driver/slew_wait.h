#pragma once
// How a synchronous slew waits for its end: it polls Slewing with a short pause and gives up
// after a time limit, read from "SlewTimeout" (seconds, REG_DWORD) in the settings key.
#include <cstdint>
#include <optional>
#include <string>

namespace tramox::driver {

inline constexpr const char* kSlewTimeoutValue = "SlewTimeout";
// Well above the longest real slew of a mount (half a turn at the slowest goto speed).
inline constexpr std::int32_t kDefaultSlewTimeoutSeconds = 600;
// Short enough that the end is seen at once, long enough not to spin a core or flood the log.
inline constexpr int kSlewPollPauseMs = 50;

// The configured limit when positive, otherwise the default.
double slewTimeLimitFrom(std::optional<std::int32_t> configuredSeconds);
std::string slewTimeoutMessage(double limitSeconds);

}  // namespace tramox::driver
