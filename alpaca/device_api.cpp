#include "alpaca/device_api.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <span>
#include <string_view>
#include <vector>

#include "alpaca/error_numbers.h"
#include "alpaca/parameter_values.h"
#include "common/whole_number.h"
#include "server/status_codes.h"

namespace tramox::alpaca {

namespace {

using client::CallKind;
using client::Value;

constexpr std::string_view kDeviceType = "telescope";
constexpr std::uint32_t kDeviceNumber = 0;

HttpResponse badRequest(const std::string& why) {
  return textResponse(400, why);
}

// Whether path has exactly parts.size() parts, each between two '/', the empty one after a
// trailing '/' too ("member/" names no member); they are written to parts.
bool splitExactly(std::string_view path, std::span<std::string_view> parts) {
  for (std::string_view& part : parts) {
    const auto slash = path.find('/');
    part = path.substr(0, slash);
    if (slash == std::string_view::npos) {
      return &part == &parts.back();
    }
    path.remove_prefix(slash + 1);
  }
  return false;
}

// Digits only, as an unsigned 32-bit number, in its one form: "00" or "01" name no device.
std::optional<std::uint32_t> parseDeviceNumber(std::string_view text) {
  if (text.size() > 1 && text[0] == '0') {
    return std::nullopt;
  }
  return parseWholeNumber<std::uint32_t>(text);
}

template <typename T, typename Make>
std::optional<Value> valueOf(const std::optional<T>& parsed, Make make) {
  return parsed ? std::optional<Value>(make(*parsed)) : std::nullopt;
}

std::optional<Value> parseValue(ValueType type, const std::string& text) {
  switch (type) {
    case ValueType::Bool:
      return valueOf(parseBool(text), Value::ofBool);
    case ValueType::Double:
      return valueOf(parseDouble(text), Value::ofDouble);
    case ValueType::Int32:
      return valueOf(parseInt32(text), Value::ofInt32);
    case ValueType::Date:
      return valueOf(parseIsoDate(text), Value::ofDate);
    case ValueType::Text:
      return Value::ofText(text);
    default:
      return std::nullopt;
  }
}

const char* typeName(ValueType type) {
  switch (type) {
    case ValueType::Bool:
      return "True or False";
    case ValueType::Double:
      return "a number";
    case ValueType::Int32:
      return "a 32-bit integer";
    case ValueType::Date:
      return "an ISO 8601 date";
    default:
      return "a value";
  }
}

// What a client finds in Value when the member failed.
Json emptyValue(ValueType type) {
  switch (type) {
    case ValueType::Bool:
      return false;
    case ValueType::Double:
      return 0.0;
    case ValueType::Int32:
      return 0;
    case ValueType::Text:
    case ValueType::Date:
      return "";
    default:
      return Json::array();
  }
}

// A failed call ends the answer with the driver's failure.
Value valueOrThrow(client::DriverResult result) {
  if (!result.ok) {
    throw result;
  }
  return std::move(result.value);
}

client::DriverResult failed(std::string message) {
  client::DriverResult failure;
  failure.code = server::status::kUnexpected;
  failure.message = std::move(message);
  return failure;
}

std::vector<Value> elements(const client::DriverObject& driver, const Value& collection) {
  if (collection.kind != Value::Kind::Object || !collection.object) {
    throw failed("The driver returned no collection");
  }
  auto items = driver.child(collection.object).elements();
  if (!items) {
    throw failed("The driver's collection cannot be enumerated");
  }
  return std::move(*items);
}

Json encode(const client::DriverObject& driver, ValueType type, const Value& v) {
  switch (type) {
    case ValueType::Bool:
      return v.kind == Value::Kind::Bool ? v.boolean : v.asNumber() != 0.0;
    case ValueType::Double:
      return v.asNumber();
    case ValueType::Int32:
      return v.kind == Value::Kind::Int32 ? v.int32 : static_cast<std::int32_t>(v.asNumber());
    case ValueType::Text:
      return v.text;
    case ValueType::Date:
      return formatIsoDate(v.asNumber());
    case ValueType::AxisRates: {
      Json list = Json::array();
      for (const Value& rate : elements(driver, v)) {
        if (!rate.object) {
          continue;
        }
        const client::DriverObject axisRate = driver.child(rate.object);
        const auto limit = [&](const char* name) {
          return valueOrThrow(axisRate.get(name)).asNumber();
        };
        list.push_back({{"Minimum", limit("Minimum")}, {"Maximum", limit("Maximum")}});
      }
      return list;
    }
    case ValueType::TrackingRates: {
      Json list = Json::array();
      for (const Value& rate : elements(driver, v)) {
        list.push_back(static_cast<std::int32_t>(rate.asNumber()));
      }
      return list;
    }
    default:
      return Json::array();
  }
}

CallKind kindOf(DriverCall call) {
  switch (call) {
    case DriverCall::Get:
      return CallKind::Get;
    case DriverCall::Put:
      return CallKind::Put;
    default:
      return CallKind::Call;
  }
}

// An abort or a rate of 0: what a user waits for goes ahead of every other call.
bool isStop(const DeviceMember& member, const std::vector<Value>& arguments) {
  return member.path == "abortslew" ||
         (member.path == "moveaxis" && arguments.size() == 2 &&
          arguments[1].kind == Value::Kind::Double && arguments[1].number == 0.0);
}

}  // namespace

void DeviceApi::addRoutes(RouteTable& routes) {
  routes.addPrefix(kDeviceApiPrefix, [this](const HttpRequest& request, Reply reply) {
    handle(request, std::move(reply));
  });
}

void DeviceApi::handle(const HttpRequest& request, Reply reply) {
  if (std::any_of(request.path.begin(), request.path.end(),
                  [](char c) { return c >= 'A' && c <= 'Z'; })) {
    return reply(badRequest("Alpaca paths are lower case: " + request.path));
  }
  // "", "api", "v1", type, number, member
  std::array<std::string_view, 6> parts;
  if (!splitExactly(request.path, parts) || parts[2] != "v1") {
    return reply(badRequest("Expected /api/v1/telescope/0/member, got " + request.path));
  }
  if (parts[3] != kDeviceType) {
    return reply(badRequest("No device of type " + std::string(parts[3]) + " here"));
  }
  const auto number = parseDeviceNumber(parts[4]);
  if (!number) {
    return reply(badRequest("Device number " + std::string(parts[4]) + " is not a whole number"));
  }
  if (*number != kDeviceNumber) {
    return reply(badRequest("No telescope number " + std::string(parts[4]) + " here"));
  }
  const std::string path(parts[5]);
  const DeviceMember* member = findDeviceMember(path, request.method);
  if (!member) {
    if (isDeviceMemberPath(path)) {
      return reply(badRequest(request.methodName + " is not allowed for " + path));
    }
    return reply(badRequest("The telescope has no member " + path));
  }

  const bool isPut = request.method == HttpMethod::Put;
  auto list = parseForm(isPut ? request.body : request.query);
  if (!list) {
    return reply(badRequest("Parameters are not valid form encoding of UTF-8 text"));
  }
  const Parameters parameters(std::move(*list), isPut);
  const std::uint32_t clientId = parseIdentifier(parameters.find("ClientID"));
  const std::uint32_t clientTransactionId = parseIdentifier(parameters.find("ClientTransactionID"));

  std::vector<Value> arguments;
  for (const AlpacaParameter& parameter : member->params()) {
    const std::string name(parameter.name);
    if (parameters.misCased(name)) {
      return reply(badRequest("Parameter names are case-sensitive here: write " + name));
    }
    const std::string* text = parameters.find(name);
    if (!text) {
      return reply(badRequest("Missing parameter " + name));
    }
    auto value = parseValue(parameter.type, *text);
    if (!value) {
      return reply(badRequest("Parameter " + name + " must be " + typeName(parameter.type) +
                              ", not '" + *text + "'"));
    }
    if (parameter.type == ValueType::Date && !fitsAutomationDate(value->number)) {
      return reply(answers_.write(
          clientTransactionId, {std::nullopt, errors::kInvalidValue,
                                name + " " + *text + " is after the last date the driver holds"}));
    }
    if (parameter.passed) {
      arguments.push_back(std::move(*value));
    }
  }
  call(*member, std::move(arguments), clientId, clientTransactionId, std::move(reply));
}

void DeviceApi::call(const DeviceMember& member, std::vector<Value> arguments,
                     std::uint32_t clientId, std::uint32_t clientTransactionId, Reply reply) {
  switch (member.special) {
    case Special::SupportedActions:
      return reply(answers_.write(clientTransactionId, {Json::array(), 0, ""}));
    case Special::Action:
      return reply(answers_.write(clientTransactionId,
                                  {"", errors::kActionNotImplemented,
                                   "Action " + arguments.front().text + " is not implemented"}));
    default:
      break;
  }
  const bool stop = isStop(member, arguments);
  DriverHost::Work work = [this, &member, arguments = std::move(arguments), clientId,
                           clientTransactionId, reply = std::move(reply)](DriverAccess& access) {
    reply(answers_.write(clientTransactionId, answer(access, member, arguments, clientId)));
  };
  if (stop) {
    host_.postStop(std::move(work));
  } else {
    host_.post(std::move(work), member.waits);
  }
}

Answer DeviceApi::answer(DriverAccess& access, const DeviceMember& member,
                         const std::vector<Value>& arguments, std::uint32_t clientId) {
  if (member.special == Special::Connect) {
    return connect(access, arguments.front().boolean, clientId);
  }
  const client::DriverObject driver = access.object();
  Answer answer;
  try {
    const Value result =
        valueOrThrow(driver.invoke(std::string(member.path), kindOf(member.call), arguments));
    if (member.value != ValueType::None) {
      answer.value = encode(driver, member.value, result);
    }
  } catch (const client::DriverResult& failure) {
    answer.errorNumber = alpacaErrorNumber(failure.reason);
    answer.errorMessage = failure.message;
    if (member.value != ValueType::None) {
      answer.value = emptyValue(member.value);
    }
  }
  return answer;
}

// The mount stays connected while any client that connected it has not let it go.
Answer DeviceApi::connect(DriverAccess& access, bool connect, std::uint32_t clientId) {
  const client::DriverObject driver = access.object();
  Answer answer;
  try {
    if (connect) {
      if (!valueOrThrow(driver.get("Connected")).boolean) {
        valueOrThrow(driver.setConnected(true));
      }
      connectedClients_.insert(clientId);
    } else {
      connectedClients_.erase(clientId);
      if (connectedClients_.empty()) {
        valueOrThrow(driver.setConnected(false));
      }
    }
  } catch (const client::DriverResult& failure) {
    answer.errorNumber = alpacaErrorNumber(failure.reason);
    answer.errorMessage = failure.message;
  }
  return answer;
}

}  // namespace tramox::alpaca
