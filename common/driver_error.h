#pragma once
// Failures that carry an interface error code and what the failure means. Anything thrown
// that is not a DriverError reaches clients as E_UNEXPECTED with its own message (see
// server/).
#include <cstdint>
#include <stdexcept>
#include <string>

#include "common/failure_reason.h"

namespace tramox {

// Status codes the telescope interface reports, as signed 32-bit HRESULT values.
namespace codes {
inline constexpr std::int32_t kNotImplemented = static_cast<std::int32_t>(0x80040400u);
inline constexpr std::int32_t kInvalidState = static_cast<std::int32_t>(0x80040401u);
inline constexpr std::int32_t kDeclinationUnreadable = static_cast<std::int32_t>(0x80040402u);
inline constexpr std::int32_t kTargetNotSet = static_cast<std::int32_t>(0x80040403u);
inline constexpr std::int32_t kInvalidValue = static_cast<std::int32_t>(0x80040405u);
inline constexpr std::int32_t kUnexpected = static_cast<std::int32_t>(0x8000FFFFu);
}  // namespace codes

// The reason a failure has unless it is raised with another: the meaning its code has most.
constexpr FailureReason reasonForCode(std::int32_t code) {
  switch (code) {
    case codes::kNotImplemented:
      return FailureReason::NotImplemented;
    case codes::kInvalidValue:
      return FailureReason::InvalidValue;
    case codes::kTargetNotSet:
      return FailureReason::ValueNotSet;
    // 0x80040401 once the driver's own states are told apart, and a declination the
    // controller could not give.
    case codes::kInvalidState:
    case codes::kDeclinationUnreadable:
      return FailureReason::ControllerRefused;
    default:
      return FailureReason::Unexpected;
  }
}

class DriverError : public std::runtime_error {
 public:
  DriverError(std::int32_t code, const std::string& message)
      : DriverError(code, reasonForCode(code), message) {}
  DriverError(std::int32_t code, FailureReason reason, const std::string& message)
      : std::runtime_error(message), code_(code), reason_(reason) {}
  std::int32_t code() const noexcept { return code_; }
  FailureReason reason() const noexcept { return reason_; }

 private:
  std::int32_t code_;
  FailureReason reason_;
};

}  // namespace tramox
