#include "alpaca/management_api.h"

#include <boost/uuid/random_generator.hpp>
#include <boost/uuid/uuid_io.hpp>

#include "alpaca/parameter_values.h"
#include "platform/settings_key.h"

namespace tramox::alpaca {

namespace {

std::string randomUuid() {
  return boost::uuids::to_string(boost::uuids::random_generator()());
}

// Management requests are GETs with the same optional identifiers as device requests.
RouteHandler answering(AnswerWriter& answers, Json value) {
  return [&answers, value = std::move(value)](const HttpRequest& request, Reply reply) {
    if (request.method != HttpMethod::Get) {
      return reply(textResponse(400, request.methodName + " is not allowed for " + request.path));
    }
    const auto list = parseForm(request.query);
    if (!list) {
      return reply(textResponse(400, "Parameters are not valid form encoding of UTF-8 text"));
    }
    const Parameters parameters(*list, false);
    reply(answers.write(parseIdentifier(parameters.find("ClientTransactionID")), {value, 0, ""}));
  };
}

}  // namespace

std::string installationUniqueId(platform::IRegistry& registry) {
  platform::SettingsKey key(registry);
  if (auto stored = key.readString(kUniqueIdValue); stored && !stored->empty()) {
    return *stored;
  }
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
