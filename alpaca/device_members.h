#pragma once
// The Telescope members of the Alpaca device API (interface version 2 and the common device
// members), as data: path, method, the parameters a client sends with their value types and
// the type of the answer's Value. Each member reaches the driver's member of the same name,
// resolved by name through the automation layer as a script client calls it; the few members
// the server answers itself are marked.
#include <array>
#include <cstddef>
#include <span>
#include <string_view>

#include "alpaca/http_message.h"

namespace tramox::alpaca {

enum class ValueType {
  None,  // no Value in the answer (PUT of a method without a result)
  Bool,
  Double,
  Int32,  // also the enumerations
  Text,
  Date,           // "yyyy-MM-ddTHH:mm:ss.fffffffZ"
  AxisRates,      // [{"Minimum": x, "Maximum": y}, ...], degrees per second
  TrackingRates,  // [DriveRates, ...]
  TextList,
};

// How the driver's member is reached.
enum class DriverCall { Get, Put, Method };

// Members answered without the driver's own member of that name.
enum class Special { None, Connect, SupportedActions, Action };

struct AlpacaParameter {
  std::string_view name;  // exact casing, as a PUT body must spell it
  ValueType type = ValueType::None;
  bool passed = true;  // false: checked, then not handed to the driver
};

struct DeviceMember {
  HttpMethod method = HttpMethod::Get;
  std::string_view path;  // lower case; also the driver's member name, matched in any case
  ValueType value = ValueType::None;
  DriverCall call = DriverCall::Get;
  std::array<AlpacaParameter, 2> parameters{};
  std::size_t parameterCount = 0;
  bool waits = false;  // a synchronous member: answers when the mount has finished
  Special special = Special::None;

  std::span<const AlpacaParameter> params() const { return {parameters.data(), parameterCount}; }
};

std::span<const DeviceMember> telescopeMembers();
// The member at that path for that method, or nullptr.
const DeviceMember* findDeviceMember(std::string_view path, HttpMethod method);
// Whether any method serves that path.
bool isDeviceMemberPath(std::string_view path);

}  // namespace tramox::alpaca
