#pragma once
// The management API v1: the API versions, the server's description and its one configured
// device.
#include <string>

#include "alpaca/alpaca_answer.h"
#include "alpaca/route_table.h"
#include "platform/registry.h"

namespace tramox::alpaca {

inline constexpr const char* kUniqueIdValue = "AlpacaUniqueID";
inline constexpr const char* kDeviceName = "TRAMOX";

struct ServerDescription {
  std::string serverName = "TRAMOX Alpaca server";
  std::string manufacturer = "TRAMOX";
  std::string manufacturerVersion;
  std::string location;
  std::string uniqueId;
};

// The installation's UniqueID from "AlpacaUniqueID" in the per-user settings key, made (a
// random UUID) and stored there on first use. Throws the registry's error when it can be
// neither read nor stored.
std::string installationUniqueId(platform::IRegistry& registry);

void addManagementRoutes(RouteTable& routes, const ServerDescription& description,
                         AnswerWriter& answers);

}  // namespace tramox::alpaca
