#pragma once
// A typed handle on one automation object (the driver or an object it returned): members by
// name, each answer either a value or the failure a client sees, code and message.
#include <cstdint>
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

  static DriverResult of(CallResult result);
  // The value as a number (booleans 0 or 1); 0 for anything that is not one.
  double number() const;
  bool truth() const { return number() != 0.0; }
};

class DriverObject {
 public:
  DriverObject(IClientBackend& backend, ObjectRef object)
      : backend_(backend), object_(std::move(object)) {}

  DriverResult get(const std::string& name, const std::vector<Value>& args = {}) const;
  DriverResult put(const std::string& name, Value value) const;
  DriverResult call(const std::string& name, const std::vector<Value>& args = {}) const;
  // The same backend's handle on an object one of these calls returned.
  DriverObject child(ObjectRef object) const { return DriverObject(backend_, std::move(object)); }

 private:
  DriverResult invoke(const std::string& name, CallKind kind, const std::vector<Value>& args) const;

  IClientBackend& backend_;
  ObjectRef object_;
};

}  // namespace tramox::client
