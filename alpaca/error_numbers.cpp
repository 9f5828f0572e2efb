#include "alpaca/error_numbers.h"

namespace tramox::alpaca {

int alpacaErrorNumber(FailureReason reason) {
  switch (reason) {
    case FailureReason::NotImplemented:
      return errors::kNotImplemented;
    case FailureReason::InvalidValue:
      return errors::kInvalidValue;
    case FailureReason::ValueNotSet:
      return errors::kValueNotSet;
    case FailureReason::NotConnected:
      return errors::kNotConnected;
    case FailureReason::Parked:
      return errors::kInvalidWhileParked;
    case FailureReason::InvalidOperation:
      return errors::kInvalidOperation;
    case FailureReason::ControllerRefused:
      return errors::kControllerFailure;
    case FailureReason::Unexpected:
      break;
  }
  return errors::kUnspecified;
}

}  // namespace tramox::alpaca
