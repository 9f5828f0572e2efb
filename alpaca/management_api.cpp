#include "alpaca/management_api.h"

#include <cstdio>
#include <random>

#include "alpaca/parameter_values.h"
#include "platform/settings_key.h"

namespace tramox::alpaca {

namespace {

std::string randomUuid() {
  std::random_device device;
  std::uint8_t bytes[16];
  for (std::uint8_t& byte : bytes)
    byte = static_cast<std::uint8_t>(device());
  bytes[6] = static_cast<std::uint8_t>((bytes[6] & 0x0F) | 0x40);  // version 4: random
  bytes[8] = static_cast<std::uint8_t>((bytes[8] & 0x3F) | 0x80);  // RFC 4122 variant
  char text[37];
  std::snprintf(text, sizeof text,
                "%02x%02x%02x%02x-%02x%02x-%02x%02x-%02x%02x-%02x%02x%02x%02x%02x%02x", bytes[0],
                bytes[1], bytes[2], bytes[3], bytes[4], bytes[5], bytes[6], bytes[7], bytes[8],
                bytes[9], bytes[10], bytes[11], bytes[12], bytes[13], bytes[14], bytes[15]);
  return text;
}

// Management requests are GETs with the same optional identifiers as device requests.
RouteHandler answering(AnswerWriter& answers, Json value) {
  return [&answers, value = std::move(value)](const HttpRequest& request, Reply reply) {
    if (request.method != HttpMethod::Get)
      return reply(textResponse(400, request.methodName + " is not allowed for " + request.path));
    const auto list = parseForm(request.query);
    if (!list)
      return reply(textResponse(400, "Parameters are not valid form encoding of UTF-8 text"));
    const Parameters parameters(*list, false);
    reply(answers.write(parseIdentifier(parameters.find("ClientTransactionID")), {value, 0, ""}));
  };
}

}  // namespace

std::string installationUniqueId(platform::IRegistry& registry) {
  platform::SettingsKey key(registry);
  if (auto stored = key.readString(kUniqueIdValue); stored && !stored->empty())
    return *stored;
  const std::string made = randomUuid();
  key.writeString(kUniqueIdValue, made);
  return made;
}

void addManagementRoutes(RouteTable& routes, const ServerDescription& description,
                         AnswerWriter& answers) {
  routes.addExact("/management/apiversions", answering(answers, Json::array({1})));
  routes.addExact("/management/v1/description",
                  answering(answers, Json{{"ServerName", description.serverName},
                                          {"Manufacturer", description.manufacturer},
                                          {"ManufacturerVersion", description.manufacturerVersion},
                                          {"Location", description.location}}));
  routes.addExact("/management/v1/configureddevices",
                  answering(answers, Json::array({Json{{"DeviceName", kDeviceName},
                                                       {"DeviceType", "Telescope"},
                                                       {"DeviceNumber", 0},
                                                       {"UniqueID", description.uniqueId}}})));
}

}  // namespace tramox::alpaca
