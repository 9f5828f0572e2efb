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
    answer.code = result.error.scode;
    answer.message = std::move(result.error.description);
    answer.reason = result.error.reason;
  } else {
    answer.code = result.hr;
    answer.message = "Automation call failed (" + formatCode(result.hr) + ")";
  }
  return answer;
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

std::optional<std::vector<Value>> DriverObject::elements() const {
  if (!object_) {
    return std::nullopt;
  }
  const CallResult enumerator = backend_.newEnum(*object_);
  if (enumerator.hr < 0 || !enumerator.value.object) {
    return std::nullopt;
  }
  std::vector<Value> items;
  for (;;) {
    const std::size_t before = items.size();
    if (backend_.next(*enumerator.value.object, kElementsFetch, items) != server::status::kOk ||
        items.size() - before < kElementsFetch) {
      return items;
    }
  }
}

}  // namespace tramox::client
