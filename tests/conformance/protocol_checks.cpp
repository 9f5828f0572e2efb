// The Alpaca protocol checks: every GET member's answer layout and transaction numbers, the
// casing rules of parameter names, unreadable values, bad paths and the management API.
#include <cctype>
#include <string>
#include <vector>

#include "tests/conformance/checks.h"

namespace tramox::conformance {

namespace {

const std::vector<std::pair<const char*, const char*>> kGetMembers = {
    {"athome", ""},
    {"atpark", ""},
    {"canfindhome", ""},
    {"canpark", ""},
    {"canpulseguide", ""},
    {"cansetdeclinationrate", ""},
    {"cansetguiderates", ""},
    {"cansetpark", ""},
    {"cansetpierside", ""},
    {"cansetrightascensionrate", ""},
    {"cansettracking", ""},
    {"canslew", ""},
    {"canslewaltaz", ""},
    {"canslewaltazasync", ""},
    {"canslewasync", ""},
    {"cansync", ""},
    {"cansyncaltaz", ""},
    {"canunpark", ""},
    {"ispulseguiding", ""},
    {"slewing", ""},
    {"altitude", ""},
    {"aperturearea", ""},
    {"aperturediameter", ""},
    {"azimuth", ""},
    {"declination", ""},
    {"focallength", ""},
    {"rightascension", ""},
    {"siderealtime", ""},
    {"alignmentmode", ""},
    {"equatorialsystem", ""},
    {"declinationrate", ""},
    {"doesrefraction", ""},
    {"guideratedeclination", ""},
    {"guideraterightascension", ""},
    {"rightascensionrate", ""},
    {"sideofpier", ""},
    {"siteelevation", ""},
    {"sitelatitude", ""},
    {"sitelongitude", ""},
    {"slewsettletime", ""},
    {"targetdeclination", ""},
    {"targetrightascension", ""},
    {"tracking", ""},
    {"trackingrate", ""},
    {"utcdate", ""},
    {"axisrates", "Axis=0"},
    {"canmoveaxis", "Axis=0"},
    {"destinationsideofpier", "RightAscension=1&Declination=45"},
    {"trackingrates", ""},
    {"connected", ""},
    {"description", ""},
    {"driverinfo", ""},
    {"driverversion", ""},
    {"interfaceversion", ""},
    {"name", ""},
    {"supportedactions", ""},
};

// Each PUT member with parameters and harmless values for them.
struct PutMember {
  const char* member;
  std::vector<std::pair<std::string, std::string>> parameters;
};

std::vector<PutMember> putMembers(Mount& mount) {
  const std::string ra = text(mount.number("rightascension"));
  const std::string dec = text(mount.number("declination"));
  const std::string lat = text(mount.facts.siteLatitude);
  const std::string lon = text(mount.facts.siteLongitude);
  return {
      {"connected", {{"Connected", "True"}}},
      {"declinationrate", {{"DeclinationRate", "0"}}},
      {"doesrefraction", {{"DoesRefraction", "False"}}},
      {"guideratedeclination", {{"GuideRateDeclination", "0.002"}}},
      {"guideraterightascension", {{"GuideRateRightAscension", "0.002"}}},
      {"rightascensionrate", {{"RightAscensionRate", "0"}}},
      {"sideofpier", {{"SideOfPier", "0"}}},
      {"siteelevation", {{"SiteElevation", "0"}}},
      {"sitelatitude", {{"SiteLatitude", lat}}},
      {"sitelongitude", {{"SiteLongitude", lon}}},
      {"slewsettletime", {{"SlewSettleTime", "0"}}},
      {"targetdeclination", {{"TargetDeclination", dec}}},
      {"targetrightascension", {{"TargetRightAscension", ra}}},
      {"tracking", {{"Tracking", "True"}}},
      {"trackingrate", {{"TrackingRate", "0"}}},
      {"moveaxis", {{"Axis", "0"}, {"Rate", "0"}}},
      {"pulseguide", {{"Direction", "0"}, {"Duration", "0"}}},
      {"slewtoaltaz", {{"Azimuth", "150"}, {"Altitude", "50"}}},
      {"slewtoaltazasync", {{"Azimuth", "150"}, {"Altitude", "50"}}},
      {"synctoaltaz", {{"Azimuth", "150"}, {"Altitude", "50"}}},
      {"slewtocoordinates", {{"RightAscension", ra}, {"Declination", dec}}},
      {"slewtocoordinatesasync", {{"RightAscension", ra}, {"Declination", dec}}},
      {"synctocoordinates", {{"RightAscension", ra}, {"Declination", dec}}},
  };
}

std::string swappedCase(std::string name) {
  for (char& c : name) {
    const auto u = static_cast<unsigned char>(c);
    c = static_cast<char>(std::isupper(u) ? std::tolower(u) : std::toupper(u));
  }
  return name;
}

// The answer's layout: its field names, exactly cased, and the transaction numbers.
std::string layoutFault(const alpaca::testing::HttpReply& reply, bool isGet,
                        unsigned clientTransaction, long& lastServerTransaction) {
  if (reply.status != 200) {
    return "HTTP " + std::to_string(reply.status) + ": " + reply.body;
  }
  if (reply.contentType.rfind("application/json", 0) != 0) {
    return "Content-Type " + reply.contentType;
  }
  nlohmann::json body;
  try {
    body = reply.json();
  } catch (const std::exception&) {
    return "not JSON: " + reply.body;
  }
  if (isGet && !body.contains("Value")) {
    return "no Value field";
  }
  if (!body.contains("ErrorNumber") || !body["ErrorNumber"].is_number_integer()) {
    return "no integer ErrorNumber field";
  }
  if (!body.contains("ErrorMessage") || !body["ErrorMessage"].is_string()) {
    return "no string ErrorMessage field";
  }
  if (!body.contains("ClientTransactionID") || body["ClientTransactionID"] != clientTransaction) {
    return "ClientTransactionID not echoed: " +
           body.value("ClientTransactionID", nlohmann::json()).dump();
  }
  if (!body.contains("ServerTransactionID") || !body["ServerTransactionID"].is_number_integer()) {
    return "no integer ServerTransactionID field";
  }
  const long server = body["ServerTransactionID"].get<long>();
  if (server < 1 || server <= lastServerTransaction) {
    return "ServerTransactionID " + std::to_string(server) + " not increasing";
  }
  lastServerTransaction = server;
  return "";
}

void checkGetMembers(Mount& mount) {
  const auto& server = mount.server();
  long lastServer = 0;
  unsigned transaction = 1000;
  for (const auto& [member, query] : kGetMembers) {
    const std::string test = std::string("Protocol GET ") + member;
    const std::string path = alpaca::testing::devicePath(member) + "?";
    const std::string own = query[0] ? std::string(query) + "&" : "";
    ++transaction;
    const std::string fault = layoutFault(
        server.get(path + own + "ClientID=1&ClientTransactionID=" + std::to_string(transaction)),
        true, transaction, lastServer);
    if (fault.empty()) {
      mount.report.ok(test, "answer fields and transaction numbers as required");
    } else {
      mount.report.issue(test, fault);
    }
    const std::string odd =
        swappedCase(own) + "clientid=1&CLIENTTRANSACTIONID=" + std::to_string(++transaction);
    const int oddStatus = server.get(path + odd).status;
    if (oddStatus == 200) {
      mount.report.ok(test, "parameter names in odd casing accepted");
    } else {
      mount.report.issue(
          test, "parameter names in odd casing answered HTTP " + std::to_string(oddStatus));
    }
    std::string badIds;
    for (const char* bad : {"", "%20", "-1", "asduio6fghZZ", "4294967296"}) {
      const int status = server.get(path + own + "ClientTransactionID=" + bad).status;
      if (status != 200 && status != 400) {
        badIds += std::string(" '") + bad + "' gave HTTP " + std::to_string(status);
      }
    }
    if (badIds.empty()) {
      mount.report.ok(test, "bad ClientTransactionID values answered 200 or 400");
    } else {
      mount.report.issue(test, "bad ClientTransactionID:" + badIds);
    }
  }
}

std::string form(const PutMember& put, std::size_t changed, const std::string& name,
                 const std::string& value) {
  std::string body;
  for (std::size_t i = 0; i < put.parameters.size(); ++i) {
    body += body.empty() ? "" : "&";
    body += i == changed ? name + "=" + value
                         : put.parameters[i].first + "=" + put.parameters[i].second;
  }
  return body + "&ClientID=1&ClientTransactionID=77";
}

void checkPutMembers(Mount& mount) {
  for (const PutMember& put : putMembers(mount)) {
    const std::string test = std::string("Protocol PUT ") + put.member;
    const std::string path = alpaca::testing::devicePath(put.member);
    for (std::size_t i = 0; i < put.parameters.size(); ++i) {
      const auto& [name, value] = put.parameters[i];
      const auto misCased = mount.server().put(path, form(put, i, swappedCase(name), value));
      if (misCased.status == 400) {
        mount.report.ok(test, "mis-cased " + name + " refused with HTTP 400");
      } else {
        mount.report.issue(test, "mis-cased " + name + " answered HTTP " +
                                     std::to_string(misCased.status) + " " + misCased.body);
      }
      const auto bad = mount.server().put(path, form(put, i, name, "asduio6fghZZ"));
      const bool refused =
          bad.status == 400 ||
          (bad.status == 200 && bad.json().value("ErrorNumber", 0) == kInvalidValue);
      if (refused) {
        mount.report.ok(test, "unreadable " + name + " refused");
      } else {
        mount.report.issue(test, "unreadable " + name + " answered HTTP " +
                                     std::to_string(bad.status) + " " + bad.body);
      }
    }
  }
  mount.put("abortslew");
  mount.waitForSlew();
}

void checkPaths(Mount& mount) {
  for (const char* path : {"/api/v1/TELESCOPE/0/description", "/api/v1/telescope/0/DESCRIPTION",
                           "/api/v1/nosuchdevice/0/description", "/api/v1/telescope/-1/description",
                           "/api/v1/telescope/99999/description", "/api/v1/telescope/A/description",
                           "/api/v1/telescope/0/nosuchmember"}) {
    const int status = mount.server().get(path).status;
    if (status >= 400 && status < 500) {
      mount.report.ok("Protocol path",
                      std::string(path) + " refused with HTTP " + std::to_string(status));
    } else {
      mount.report.issue("Protocol path",
                         std::string(path) + " answered HTTP " + std::to_string(status));
    }
  }
}

void checkManagement(Mount& mount) {
  const auto value = [&](const char* path) {
    const auto reply = mount.server().get(path);
    return reply.status == 200 ? reply.json().value("Value", nlohmann::json()) : nlohmann::json();
  };
  const nlohmann::json versions = value("/management/apiversions");
  if (versions == nlohmann::json::array({1})) {
    mount.report.ok("Management apiversions", "[1]");
  } else {
    mount.report.issue("Management apiversions", versions.dump());
  }
  const nlohmann::json description = value("/management/v1/description");
  bool complete = description.is_object();
  for (const char* field : {"ServerName", "Manufacturer", "ManufacturerVersion", "Location"}) {
    complete = complete && description.contains(field) && description[field].is_string();
  }
  if (complete) {
    mount.report.ok("Management description", description.dump());
  } else {
    mount.report.issue("Management description", description.dump());
  }
  const nlohmann::json devices = value("/management/v1/configureddevices");
  const bool listed = devices.is_array() && devices.size() == 1 &&
                      devices[0].value("DeviceType", "") == "Telescope" &&
                      devices[0].value("DeviceNumber", -1) == 0 &&
                      devices[0].contains("DeviceName") && devices[0].contains("UniqueID");
  if (listed) {
    mount.report.ok("Management configureddevices", devices.dump());
  } else {
    mount.report.issue("Management configureddevices", devices.dump());
  }
}

}  // namespace

void checkAlpacaProtocol(Mount& mount) {
  checkManagement(mount);
  checkPaths(mount);
  checkGetMembers(mount);
  checkPutMembers(mount);
}

}  // namespace tramox::conformance
