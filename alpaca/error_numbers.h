#pragma once
// Alpaca error numbers, chosen from what a driver failure means. Clients turn 0x400 to 0x40C
// into typed exceptions, so the number must say what happened; the message stays the
// driver's own.
#include "common/failure_reason.h"

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

int alpacaErrorNumber(FailureReason reason);

}  // namespace tramox::alpaca
