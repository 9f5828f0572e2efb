#include "client/driver_object.h"

#include <utility>

#include "client/value_format.h"
#include "server/status_codes.h"

namespace tramox::client {

DriverResult DriverResult::of(CallResult result) {
  DriverResult answer;
  answer.ok = result.hr >= 0;
  if (answer.ok) {
    answer.value = std::move(result.value);
  } else if (result.hr == server::status::kDispException) {
    answer.code = result.code;
    answer.message = std::move(result.description);
  } else {
    answer.code = result.hr;
    answer.message = "Automation call failed (" + formatCode(result.hr) + ")";
  }
  return answer;
}

double DriverResult::number() const {
  switch (value.kind) {
    case Value::Kind::Bool:
      return value.boolean ? 1.0 : 0.0;
    case Value::Kind::Int32:
      return value.int32;
    case Value::Kind::Double:
    case Value::Kind::Date:
      return value.number;
    default:
      return 0.0;
  }
}

DriverResult DriverObject::get(const std::string& name, const std::vector<Value>& args) const {
  return invoke(name, CallKind::Get, args);
}

DriverResult DriverObject::put(const std::string& name, Value value) const {
  return invoke(name, CallKind::Put, {std::move(value)});
}

DriverResult DriverObject::call(const std::string& name, const std::vector<Value>& args) const {
  return invoke(name, CallKind::Call, args);
}

DriverResult DriverObject::invoke(const std::string& name, CallKind kind,
                                  const std::vector<Value>& args) const {
  if (!object_) {
    DriverResult missing;
    missing.code = server::status::kPointer;
    missing.message = "No object";
    return missing;
  }
  return DriverResult::of(backend_.invoke(*object_, name, kind, args, {}));
}

}  // namespace tramox::client
