#pragma once
// Alpaca error numbers, chosen from what a driver failure means. Clients turn 0x400 to 0x40C
// into typed exceptions, so the number must say what happened; the message stays the
// driver's own.
#include <cstdint>
#include <string_view>

namespace tramox::alpaca {

namespace errors {
inline constexpr int kNone = 0;
inline constexpr int kNotImplemented = 0x400;
inline constexpr int kInvalidValue = 0x401;
inline constexpr int kValueNotSet = 0x402;
inline constexpr int kNotConnected = 0x407;
inline constexpr int kInvalidWhileParked = 0x408;
inline constexpr int kInvalidOperation = 0x40B;
inline constexpr int kActionNotImplemented = 0x40C;
inline constexpr int kUnspecified = 0x4FF;
// The controller refused or failed an operation.
inline constexpr int kControllerFailure = 0x500;
}  // namespace errors

// code: the status code the automation layer reported for the member (the driver's own
// failure code, or 0x8000FFFF for registry and automation-layer failures); message: its text.
int alpacaErrorNumber(std::int32_t code, std::string_view message);

}  // namespace tramox::alpaca
