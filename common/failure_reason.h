#pragma once
// What a failure means, beside its interface code and message. One code covers failures of
// different meaning (0x80040401 is a parked mount, a mount not tracking or a controller that
// refused), so a front end that must tell them apart (an Alpaca error number, say) asks the
// reason, never the message.
namespace tramox {

enum class FailureReason {
  NotImplemented,     // a member or value the mount does not have
  InvalidValue,       // a value out of range or not accepted
  ValueNotSet,        // read before it was ever set (the targets)
  NotConnected,       // no controller to ask
  Parked,             // refused because the mount is parked
  InvalidOperation,   // refused in the current state, which the client can mend
  ControllerRefused,  // the controller refused or failed the operation
  Unexpected,         // anything else (the registry, the automation layer)
};

}  // namespace tramox
