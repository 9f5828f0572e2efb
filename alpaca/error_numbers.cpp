#include "alpaca/error_numbers.h"

#include "common/driver_error.h"
#include "controller/controller_library.h"
#include "driver/telescope_messages.h"

namespace tramox::alpaca {

namespace {

namespace msg = driver::messages;

// Where one code covers failures of different meaning, the driver's message tells them apart.
struct MessageRule {
  std::int32_t code;
  const char* message;
  int number;
};
constexpr MessageRule kByMessage[] = {
    {codes::kInvalidState, msg::kParked, errors::kInvalidWhileParked},
    {codes::kInvalidState, msg::kNotTracking, errors::kInvalidOperation},
    {codes::kInvalidState, controller::kNotLoadedMessage, errors::kNotConnected},
    {codes::kInvalidState, msg::kRightAscensionOutOfRange, errors::kInvalidValue},
    {codes::kInvalidState, msg::kDeclinationOutOfRange, errors::kInvalidValue},
    {codes::kInvalidState, msg::kCoordinatesNotAvailable, errors::kInvalidValue},
    {codes::kNotImplemented, msg::kParkFailed, errors::kControllerFailure},
    {codes::kNotImplemented, msg::kUnParkFailed, errors::kControllerFailure},
};

// Otherwise the code alone. 0x80040401 left over is the controller refusing an operation
// ("Connection impossible", "Sync impossible", "Move Axis impossible", the tracking switches,
// the slew time limit...); 0x80040402 is a declination the controller could not give.
struct CodeRule {
  std::int32_t code;
  int number;
};
constexpr CodeRule kByCode[] = {
    {codes::kNotImplemented, errors::kNotImplemented},
    {codes::kInvalidValue, errors::kInvalidValue},
    {codes::kTargetNotSet, errors::kValueNotSet},
    {codes::kInvalidState, errors::kControllerFailure},
    {codes::kDeclinationUnreadable, errors::kControllerFailure},
};

}  // namespace

int alpacaErrorNumber(std::int32_t code, std::string_view message) {
  // A state the client can mend with SetPark, not a fault of the server.
  if (code == codes::kUnexpected && msg::isMissingParkPosition(message)) {
    return errors::kInvalidOperation;
  }
  for (const MessageRule& rule : kByMessage) {
    if (rule.code == code && message == rule.message)
      return rule.number;
  }
  for (const CodeRule& rule : kByCode) {
    if (rule.code == code)
      return rule.number;
  }
  return errors::kUnspecified;
}

}  // namespace tramox::alpaca
