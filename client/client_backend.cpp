#include "client/client_backend.h"

#include <exception>

#include "client/value_format.h"
#include "server/binding/abi.h"
#include "server/status_codes.h"

namespace tramox::client {

namespace binding = server::binding;

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
    if (backend.driverRegistered())
      return true;
  } catch (const std::exception& e) {
    why = e.what();
    return false;
  }
  const std::int32_t hr = backend.registerModule(modulePath);
  if (hr == server::status::kOk)
    return true;
  why = "registering " + modulePath + " failed (" + formatCode(hr) + ")";
  const std::string loadError = backend.lastLoadError();
  if (!loadError.empty())
    why += ": " + loadError;
  return false;
}

}  // namespace tramox::client
