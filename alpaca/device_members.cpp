#include "alpaca/device_members.h"

#include <algorithm>
#include <unordered_map>

namespace tramox::alpaca {

namespace {

using enum ValueType;
using M = HttpMethod;

constexpr DeviceMember get(std::string_view path, ValueType value) {
  DeviceMember m;
  m.path = path;
  m.value = value;
  return m;
}

// A GET served by a driver method with arguments (AxisRates, CanMoveAxis...).
constexpr DeviceMember query(std::string_view path, ValueType value, AlpacaParameter first,
                             AlpacaParameter second = {}) {
  DeviceMember m = get(path, value);
  m.call = DriverCall::Method;
  m.parameters = {first, second};
  m.parameterCount = second.name.empty() ? 1 : 2;
  return m;
}

constexpr DeviceMember put(std::string_view path, ValueType parameter, std::string_view name) {
  DeviceMember m;
  m.method = M::Put;
  m.path = path;
  m.call = DriverCall::Put;
  m.parameters = {AlpacaParameter{name, parameter}, {}};
  m.parameterCount = 1;
  return m;
}

constexpr DeviceMember method(std::string_view path, AlpacaParameter first = {},
                              AlpacaParameter second = {}, ValueType value = None) {
  DeviceMember m;
  m.method = M::Put;
  m.path = path;
  m.value = value;
  m.call = DriverCall::Method;
  m.parameters = {first, second};
  m.parameterCount = first.name.empty() ? 0 : second.name.empty() ? 1 : 2;
  return m;
}

constexpr DeviceMember waiting(DeviceMember m) {
  m.waits = true;
  return m;
}

constexpr DeviceMember special(DeviceMember m, Special what) {
  m.special = what;
  return m;
}

constexpr AlpacaParameter kAxis{"Axis", Int32};
constexpr AlpacaParameter kRightAscension{"RightAscension", Double};
constexpr AlpacaParameter kDeclination{"Declination", Double};
constexpr AlpacaParameter kAzimuth{"Azimuth", Double};
constexpr AlpacaParameter kAltitude{"Altitude", Double};
constexpr AlpacaParameter kCommand{"Command", Text};
// The driver's Command members take no Raw flag; it is still required of the client.
constexpr AlpacaParameter kRaw{"Raw", Bool, false};

constexpr DeviceMember kMembers[] = {
    get("athome", Bool),
    get("atpark", Bool),
    get("canfindhome", Bool),
    get("canpark", Bool),
    get("canpulseguide", Bool),
    get("cansetdeclinationrate", Bool),
    get("cansetguiderates", Bool),
    get("cansetpark", Bool),
    get("cansetpierside", Bool),
    get("cansetrightascensionrate", Bool),
    get("cansettracking", Bool),
    get("canslew", Bool),
    get("canslewaltaz", Bool),
    get("canslewaltazasync", Bool),
    get("canslewasync", Bool),
    get("cansync", Bool),
    get("cansyncaltaz", Bool),
    get("canunpark", Bool),
    get("ispulseguiding", Bool),
    get("slewing", Bool),
    get("altitude", Double),
    get("aperturearea", Double),
    get("aperturediameter", Double),
    get("azimuth", Double),
    get("declination", Double),
    get("focallength", Double),
    get("rightascension", Double),
    get("siderealtime", Double),
    get("alignmentmode", Int32),
    get("equatorialsystem", Int32),

    get("declinationrate", Double),
    put("declinationrate", Double, "DeclinationRate"),
    get("doesrefraction", Bool),
    put("doesrefraction", Bool, "DoesRefraction"),
    get("guideratedeclination", Double),
    put("guideratedeclination", Double, "GuideRateDeclination"),
    get("guideraterightascension", Double),
    put("guideraterightascension", Double, "GuideRateRightAscension"),
    get("rightascensionrate", Double),
    put("rightascensionrate", Double, "RightAscensionRate"),
    get("sideofpier", Int32),
    put("sideofpier", Int32, "SideOfPier"),
    get("siteelevation", Double),
    put("siteelevation", Double, "SiteElevation"),
    get("sitelatitude", Double),
    put("sitelatitude", Double, "SiteLatitude"),
    get("sitelongitude", Double),
    put("sitelongitude", Double, "SiteLongitude"),
    get("slewsettletime", Int32),
    put("slewsettletime", Int32, "SlewSettleTime"),
    get("targetdeclination", Double),
    put("targetdeclination", Double, "TargetDeclination"),
    get("targetrightascension", Double),
    put("targetrightascension", Double, "TargetRightAscension"),
    get("tracking", Bool),
    put("tracking", Bool, "Tracking"),
    get("trackingrate", Int32),
    put("trackingrate", Int32, "TrackingRate"),
    get("utcdate", Date),
    put("utcdate", Date, "UTCDate"),

    query("axisrates", AxisRates, kAxis),
    query("canmoveaxis", Bool, kAxis),
    query("destinationsideofpier", Int32, kRightAscension, kDeclination),
    get("trackingrates", TrackingRates),

    method("abortslew"),
    method("findhome"),
    method("park"),
    method("setpark"),
    waiting(method("slewtotarget")),
    method("slewtotargetasync"),
    method("synctotarget"),
    method("unpark"),
    method("moveaxis", kAxis, {"Rate", Double}),
    method("pulseguide", {"Direction", Int32}, {"Duration", Int32}),
    method("slewtoaltaz", kAzimuth, kAltitude),
    method("slewtoaltazasync", kAzimuth, kAltitude),
    method("synctoaltaz", kAzimuth, kAltitude),
    waiting(method("slewtocoordinates", kRightAscension, kDeclination)),
    method("slewtocoordinatesasync", kRightAscension, kDeclination),
    method("synctocoordinates", kRightAscension, kDeclination),

    get("connected", Bool),
    special(put("connected", Bool, "Connected"), Special::Connect),
    get("description", Text),
    get("driverinfo", Text),
    get("driverversion", Text),
    get("interfaceversion", Int32),
    get("name", Text),
    special(get("supportedactions", TextList), Special::SupportedActions),
    special(method("action", {"Action", Text}, {"Parameters", Text}, Text), Special::Action),
    method("commandblind", kCommand, kRaw),
    method("commandbool", kCommand, kRaw, Bool),
    method("commandstring", kCommand, kRaw, Text),
};

// The lookup below keeps room for two members a path: a GET and a PUT.
constexpr bool atMostTwoAPath() {
  for (const DeviceMember& member : kMembers) {
    int same = 0;
    for (const DeviceMember& other : kMembers) {
      same += other.path == member.path ? 1 : 0;
    }
    if (same > 2) {
      return false;
    }
  }
  return true;
}
static_assert(atMostTwoAPath());

// The members of each path (a GET, a PUT or both), in a table made once.
using MembersOfPath = std::array<const DeviceMember*, 2>;

const std::unordered_map<std::string_view, MembersOfPath>& membersByPath() {
  static const auto table = [] {
    std::unordered_map<std::string_view, MembersOfPath> paths;
    for (const DeviceMember& member : kMembers) {
      MembersOfPath& ofPath = paths[member.path];
      *std::find(ofPath.begin(), ofPath.end(), nullptr) = &member;
    }
    return paths;
  }();
  return table;
}

}  // namespace

std::span<const DeviceMember> telescopeMembers() {
  return kMembers;
}

const DeviceMember* findDeviceMember(std::string_view path, HttpMethod method) {
  const auto found = membersByPath().find(path);
  if (found == membersByPath().end()) {
    return nullptr;
  }
  for (const DeviceMember* member : found->second) {
    if (member && member->method == method) {
      return member;
    }
  }
  return nullptr;
}

bool isDeviceMemberPath(std::string_view path) {
  return membersByPath().contains(path);
}

}  // namespace tramox::alpaca
