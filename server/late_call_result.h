#pragma once
// The answer of one late-bound call, as a script host sees it: the status, the value, and on
// failure the member's own error and the argument or name at fault. The runtime answers with
// its variants, a client with its own values: one shape, so nothing is copied field by field.
#include <cstdint>
#include <string>
#include <utility>

#include "server/binding/excep_info.h"

namespace tramox::server {

template <typename V>
struct LateCallResult {
  status::HResult hr = status::kOk;
  V value;
  binding::ExcepInfo error;  // when hr is kDispException
  std::uint32_t argErr = 0;  // argument at fault, in call order (0 = first)
  // The first parameter name the object could not resolve, when the member's was known.
  std::string unknownParameter;

  // The same answer with its value in another form.
  template <typename Convert>
  auto withValue(Convert convert) && -> LateCallResult<decltype(convert(value))> {
    return {hr, convert(value), std::move(error), argErr, std::move(unknownParameter)};
  }
};

}  // namespace tramox::server
