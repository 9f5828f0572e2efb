#include "client/client_backend.h"

#include <exception>
#include <utility>

#include "client/value_format.h"
#include "server/binding/abi.h"
#include "server/status_codes.h"

namespace tramox::client {

namespace binding = server::binding;

Value Value::ofBool(bool value) {
  Value v;
  v.kind = Kind::Bool;
  v.boolean = value;
  return v;
}

Value Value::ofInt32(std::int32_t value) {
  Value v;
  v.kind = Kind::Int32;
  v.int32 = value;
  return v;
}

Value Value::ofDouble(double value) {
  Value v;
  v.kind = Kind::Double;
  v.number = value;
  return v;
}

Value Value::ofDate(double value) {
  Value v;
  v.kind = Kind::Date;
  v.number = value;
  return v;
}

double Value::asNumber() const {
  switch (kind) {
    case Kind::Bool:
      return boolean ? 1.0 : 0.0;
    case Kind::Int32:
      return int32;
    case Kind::Double:
    case Kind::Date:
      return number;
    default:
      return 0.0;
  }
}

Value Value::ofText(std::string value) {
  Value v;
  v.kind = Kind::Text;
  v.text = std::move(value);
  return v;
}

std::uint16_t dispatchFlags(CallKind kind) {
  switch (kind) {
    case CallKind::Get:
      break;
    case CallKind::Put:
      return binding::kDispatchPropertyPut;
    case CallKind::Call:
      return binding::kDispatchMethod | binding::kDispatchPropertyGet;
  }
  return binding::kDispatchPropertyGet;
}

bool ensureRegistered(IClientBackend& backend, const std::string& modulePath, std::string& why) {
  try {
    if (backend.driverRegistered()) {
      return true;
    }
  } catch (const std::exception& e) {
    why = e.what();
    return false;
  }
  const std::int32_t hr = backend.registerModule(modulePath);
  if (hr == server::status::kOk) {
    return true;
  }
  why = "registering " + modulePath + " failed (" + formatCode(hr) + ")";
  const std::string loadError = backend.lastLoadError();
  if (!loadError.empty()) {
    why += ": " + loadError;
  }
  return false;
}

}  // namespace tramox::client
