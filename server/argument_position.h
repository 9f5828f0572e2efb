#pragma once
// IDispatch::Invoke names the argument at fault by its place in DISPPARAMS (named arguments
// first, then the positional ones last-first); clients report it in call order.
#include <cstdint>

namespace tramox::server {

// The argument at fault in call order (positional ones first; 0 = first). A property put's
// value is its only argument, and an index past the arguments leaves the first one.
constexpr std::uint32_t argumentInCallOrder(std::uint32_t invokeIndex, bool put,
                                            std::uint32_t namedCount, std::uint32_t positionalCount,
                                            std::uint32_t argCount) {
  if (put) {
    return 0;
  }
  if (invokeIndex < namedCount) {
    return positionalCount + invokeIndex;
  }
  if (invokeIndex < argCount) {
    return positionalCount - 1 - (invokeIndex - namedCount);
  }
  return 0;
}

}  // namespace tramox::server
