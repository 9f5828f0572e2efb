#include "driver/failure_reasons.h"

#include "common/driver_error.h"
#include "controller/controller_library.h"
#include "driver/telescope_messages.h"

namespace tramox::driver {

namespace {

// The failures raised with another reason than their code's.
struct ReasonRule {
  std::int32_t code;
  const char* message;
  FailureReason reason;
};
constexpr ReasonRule kOtherReasons[] = {
    {codes::kInvalidState, messages::kParked, FailureReason::Parked},
    {codes::kInvalidState, messages::kNotTracking, FailureReason::InvalidOperation},
    {codes::kInvalidState, controller::kNotLoadedMessage, FailureReason::NotConnected},
    {codes::kInvalidState, messages::kRightAscensionOutOfRange, FailureReason::InvalidValue},
    {codes::kInvalidState, messages::kDeclinationOutOfRange, FailureReason::InvalidValue},
    {codes::kInvalidState, messages::kCoordinatesNotAvailable, FailureReason::InvalidValue},
    {codes::kNotImplemented, messages::kParkFailed, FailureReason::ControllerRefused},
    {codes::kNotImplemented, messages::kUnParkFailed, FailureReason::ControllerRefused},
};

}  // namespace

FailureReason failureReason(std::int32_t code, std::string_view message) {
  if (code == codes::kUnexpected && messages::isMissingParkPosition(message)) {
    return FailureReason::InvalidOperation;
  }
  for (const ReasonRule& rule : kOtherReasons) {
    if (rule.code == code && message == rule.message) {
      return rule.reason;
    }
  }
  return reasonForCode(code);
}

}  // namespace tramox::driver
