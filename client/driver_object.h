#pragma once
// A typed handle on one automation object (the driver or an object it returned): members by
// name, each answer either a value or the failure a client sees, code and message.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "client/client_backend.h"

namespace tramox::client {

struct DriverResult {
  bool ok = false;
  Value value;
  // On failure: the member's own code and message, or the automation call's status with a
  // message naming it.
  std::int32_t code = 0;
  std::string message;
  // What the failure means, as the driver said; Unexpected for a failed automation call.
  FailureReason reason = FailureReason::Unexpected;

  static DriverResult of(CallResult result);
  double number() const { return value.asNumber(); }
  bool truth() const { return number() != 0.0; }
};

class DriverObject {
 public:
  DriverObject(IClientBackend& backend, ObjectRef object)
      : backend_(backend), object_(std::move(object)) {}

  DriverResult get(const std::string& name, const std::vector<Value>& args = {}) const;
  DriverResult put(const std::string& name, Value value) const;
  DriverResult call(const std::string& name, const std::vector<Value>& args = {}) const;
  // A member of the kind a caller looked up (Put: its one argument is the new value).
  DriverResult invoke(const std::string& name, CallKind kind, const std::vector<Value>& args) const;
  // Whether the driver says it is connected; false when that cannot be read either.
  bool connected() const { return get("Connected").truth(); }
  DriverResult setConnected(bool on) const { return put("Connected", Value::ofBool(on)); }
  // The elements of a collection (its enumerator's, in order); nullopt when it has none.
  std::optional<std::vector<Value>> elements() const;
  // The same backend's handle on an object one of these calls returned.
  DriverObject child(ObjectRef object) const { return DriverObject(backend_, std::move(object)); }

 private:
  static constexpr std::uint32_t kElementsFetch = 64;

  IClientBackend& backend_;
  ObjectRef object_;
};

}  // namespace tramox::client
