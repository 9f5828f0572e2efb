#include "server/member_table.h"

#include <algorithm>
#include <cstddef>

#include "common/telescope_enums.h"

namespace tramox::server {
namespace {

// Column helpers, so that each row below reads like a line of the interface definition.
constexpr TypeRef kVoid{TypeKind::Void, {}};
constexpr TypeRef kDouble{TypeKind::Double, {}};
constexpr TypeRef kBool{TypeKind::Bool, {}};
constexpr TypeRef kText{TypeKind::Text, {}};
constexpr TypeRef kDate{TypeKind::Date, {}};
constexpr TypeRef kInt32{TypeKind::Int32, {}};
constexpr TypeRef kVariant{TypeKind::Variant, {}};
constexpr TypeRef kDispatch{TypeKind::Dispatch, {}};
constexpr TypeRef kUnknown{TypeKind::Unknown, {}};
constexpr TypeRef enumType(std::string_view name) {
  return {TypeKind::Enum, name};
}
constexpr TypeRef interfaceType(std::string_view name) {
  return {TypeKind::Interface, name};
}

constexpr MemberInfo method(int order, DispId dispid, std::string_view name, TypeRef result = kVoid,
                            ParamInfo first = {}, ParamInfo second = {}) {
  MemberInfo m;
  m.order = order;
  m.dispid = dispid;
  m.kind = MemberKind::Method;
  m.name = name;
  m.result = result;
  m.params = {first, second};
  m.paramCount = first.name.empty() ? 0 : second.name.empty() ? 1 : 2;
  return m;
}

constexpr MemberInfo get(int order, DispId dispid, std::string_view name, TypeRef result,
                         ParamInfo index = {}) {
  MemberInfo m;
  m.order = order;
  m.dispid = dispid;
  m.kind = MemberKind::PropertyGet;
  m.name = name;
  m.result = result;
  m.params = {index, {}};
  m.paramCount = index.name.empty() ? 0 : 1;
  return m;
}

// Put accessors take one unnamed parameter.
constexpr MemberInfo put(int order, DispId dispid, std::string_view name, TypeRef value) {
  MemberInfo m;
  m.order = order;
  m.dispid = dispid;
  m.kind = MemberKind::PropertyPut;
  m.name = name;
  m.result = kVoid;
  m.params = {ParamInfo{{}, value}, {}};
  m.paramCount = 1;
  return m;
}

constexpr MemberInfo hiddenNewEnum(int order) {
  MemberInfo m = get(order, kDispIdNewEnum, "_NewEnum", kUnknown);
  m.hidden = true;
  return m;
}

constexpr MemberInfo defaultItem(int order, TypeRef result) {
  MemberInfo m = get(order, kDispIdValue, "Item", result, {"Index", kInt32});
  m.defaultCollectionElement = true;
  return m;
}

constexpr ParamInfo kAzimuth{"Azimuth", kDouble};
constexpr ParamInfo kAltitude{"Altitude", kDouble};
constexpr ParamInfo kRightAscension{"RightAscension", kDouble};
constexpr ParamInfo kDeclination{"Declination", kDouble};
constexpr ParamInfo kCommand{"Command", kText};

constexpr MemberInfo kTelescopeMembers[] = {
    method(1, 1, "AbortSlew"),
    method(2, 2, "AxisRates", interfaceType("IRates"), {"Axis", enumType("TelescopeAxes")}),
    method(3, 3, "CanMoveAxis", kVariant, {"Axe", enumType("TelescopeAxes")}),
    method(4, 4, "CommandBlind", kVoid, kCommand),
    method(5, 5, "CommandBool", kVoid, kCommand),
    method(6, 6, "CommandString", kVoid, kCommand),
    method(7, 7, "DestinationSideOfPier", kVoid, {"AD", kDouble}, {"DEC", kDouble}),
    method(8, 8, "FindHome"),
    method(9, 9, "MoveAxis", kVoid, {"Axe", enumType("TelescopeAxes")}, {"Rate", kDouble}),
    method(10, 10, "Park"),
    method(11, 11, "PulseGuide", kVoid, {"Direction", enumType("GuideDirections")},
           {"Duration", kInt32}),
    method(12, 12, "SetPark"),
    method(13, 13, "SetupDialog"),
    method(14, 14, "SlewToAltAz", kVoid, kAzimuth, kAltitude),
    method(15, 15, "SlewToAltAzAsync", kVoid, kAzimuth, kAltitude),
    method(16, 16, "SlewToCoordinates", kVoid, kRightAscension, kDeclination),
    method(17, 17, "SlewToCoordinatesAsync", kVoid, kRightAscension, kDeclination),
    method(18, 18, "SlewToTarget"),
    method(19, 19, "SlewToTargetAsync"),
    method(20, 20, "SyncToAltAz", kVoid, kAzimuth, kAltitude),
    method(21, 21, "SyncToCoordinates", kVoid, kRightAscension, kDeclination),
    method(22, 22, "SyncToTarget"),
    method(23, 23, "Unpark"),
    get(24, 24, "AlignmentMode", enumType("AlignmentModes")),
    get(25, 25, "Altitude", kDouble),
    get(26, 26, "ApertureArea", kDouble),
    get(27, 27, "ApertureDiameter", kDouble),
    get(28, 28, "AtHome", kBool),
    get(29, 29, "AtPark", kBool),
    get(30, 30, "Azimuth", kDouble),
    get(31, 31, "CanFindHome", kBool),
    get(32, 32, "CanPark", kBool),
    get(33, 33, "CanPulseGuide", kBool),
    get(34, 34, "CanSetDeclinationRate", kBool),
    get(35, 35, "CanSetGuideRates", kBool),
    get(36, 36, "CanSetPark", kBool),
    get(37, 37, "CanSetPierSide", kBool),
    get(38, 38, "CanSetRightAscensionRate", kBool),
    get(39, 39, "CanSetTracking", kBool),
    get(40, 40, "CanSlew", kBool),
    get(41, 41, "CanSlewAltAz", kBool),
    get(42, 42, "CanSlewAltAzAsync", kBool),
    get(43, 43, "CanSlewAsync", kBool),
    get(44, 44, "CanSync", kBool),
    get(45, 45, "CanSyncAltAz", kBool),
    get(46, 46, "CanUnpark", kBool),
    // 47 and 49 are never used as dispatch identifiers.
    get(47, 48, "Declination", kDouble),
    get(48, 50, "DeclinationRate", kDouble),
    put(49, 50, "DeclinationRate", kDouble),
    get(50, 51, "Description", kText),
    get(51, 52, "DoesRefraction", kBool),
    put(52, 52, "DoesRefraction", kBool),
    get(53, 53, "DriverInfo", kText),
    get(54, 54, "DriverVersion", kText),
    get(55, 55, "EquatorialSystem", enumType("EquatorialCoordinateType")),
    get(56, 56, "FocalLength", kDouble),
    get(57, 57, "GuideRateDeclination", kDouble),
    put(58, 57, "GuideRateDeclination", kDouble),
    get(59, 58, "GuideRateRightAscension", kDouble),
    put(60, 58, "GuideRateRightAscension", kDouble),
    get(61, 59, "InterfaceVersion", kInt32),
    get(62, 60, "IsPulseGuiding", kBool),
    get(63, 61, "Name", kText),
    get(64, 62, "RightAscension", kDouble),
    get(65, 63, "RightAscensionRate", kDouble),
    put(66, 63, "RightAscensionRate", kDouble),
    // SideOfPier and TrackingRate are plain integers in the published interface.
    get(67, 64, "SideOfPier", kInt32),
    put(68, 64, "SideOfPier", kInt32),
    get(69, 65, "SiderealTime", kDouble),
    get(70, 66, "SiteElevation", kDouble),
    put(71, 66, "SiteElevation", kDouble),
    get(72, 67, "SiteLatitude", kDouble),
    put(73, 67, "SiteLatitude", kDouble),
    get(74, 68, "SiteLongitude", kDouble),
    put(75, 68, "SiteLongitude", kDouble),
    get(76, 69, "Slewing", kBool),
    get(77, 70, "SlewSettleTime", kInt32),
    put(78, 70, "SlewSettleTime", kInt32),
    get(79, 71, "TargetDeclination", kDouble),
    put(80, 71, "TargetDeclination", kDouble),
    get(81, 72, "TargetRightAscension", kDouble),
    put(82, 72, "TargetRightAscension", kDouble),
    get(83, 73, "Tracking", kBool),
    put(84, 73, "Tracking", kBool),
    get(85, 74, "TrackingRate", kInt32),
    put(86, 74, "TrackingRate", kInt32),
    get(87, 75, "TrackingRates", interfaceType("ITrackingRatesCol")),
    get(88, 76, "UTCDate", kDate),
    put(89, 76, "UTCDate", kDate),
    get(90, 77, "Connected", kBool),
    put(91, 77, "Connected", kBool),
};

constexpr MemberInfo kRateMembers[] = {
    get(1, 1, "Minimum", kDouble),
    put(2, 1, "Minimum", kDouble),
    get(3, 2, "Maximum", kDouble),
    put(4, 2, "Maximum", kDouble),
};

constexpr MemberInfo kRatesMembers[] = {
    hiddenNewEnum(1),
    get(2, 1, "Count", kInt32),
    defaultItem(3, kDispatch),
};

constexpr MemberInfo kTrackingRatesColMembers[] = {
    hiddenNewEnum(1),
    get(2, 1, "Count", kInt32),
    defaultItem(3, enumType("DriveRates")),
};

constexpr LibraryInfo kLibrary{
    "TRAMOX", "TRAMOX Library", 1, 0, 0x0409, makeGuid("8951F13E-7DBE-44EE-A9A4-06A4297B9920")};

constexpr InterfaceInfo kTelescopeInterface{
    "ITelescope", makeGuid("0AE0C144-D5DE-4179-84BA-7B3591FDED6F"),
    "Dispatch interface for Telescope Object", kTelescopeMembers};
constexpr InterfaceInfo kRateInterface{"IRate", makeGuid("78AEFE87-EBD7-4465-AD08-5B713EE371F7"),
                                       "Dispatch interface for Rate Object", kRateMembers};
constexpr InterfaceInfo kRatesInterface{"IRates", makeGuid("A05983F2-D034-4920-BC05-8A0608E41B79"),
                                        "Dispatch interface for Rates Object", kRatesMembers};
constexpr InterfaceInfo kTrackingRatesColInterface{
    "ITrackingRatesCol", makeGuid("DB106FEB-7A86-4B2F-A42D-64638544B4E9"),
    "Dispatch interface for TrackingRatesCol Object", kTrackingRatesColMembers};

// Name and value of each row come from the one enumeration (common/telescope_enums.h).
// clang-format off
#define TRAMOX_ENUM_MEMBER(name) EnumMemberInfo{#name, ascom::name}
// clang-format on
constexpr EnumMemberInfo kAlignmentModes[] = {
    TRAMOX_ENUM_MEMBER(algAltAz), TRAMOX_ENUM_MEMBER(algPolar), TRAMOX_ENUM_MEMBER(algGermanPolar)};
constexpr EnumMemberInfo kEquatorialCoordinateType[] = {
    TRAMOX_ENUM_MEMBER(equOther), TRAMOX_ENUM_MEMBER(equLocalTopocentric),
    TRAMOX_ENUM_MEMBER(equJ2000), TRAMOX_ENUM_MEMBER(equJ2050), TRAMOX_ENUM_MEMBER(equB1950)};
constexpr EnumMemberInfo kTelescopeAxes[] = {TRAMOX_ENUM_MEMBER(axisPrimary),
                                             TRAMOX_ENUM_MEMBER(axisSecondary),
                                             TRAMOX_ENUM_MEMBER(axisTertiary)};
constexpr EnumMemberInfo kPierSide[] = {TRAMOX_ENUM_MEMBER(pierEast), TRAMOX_ENUM_MEMBER(pierWest)};
constexpr EnumMemberInfo kGuideDirections[] = {
    TRAMOX_ENUM_MEMBER(guideNorth), TRAMOX_ENUM_MEMBER(guideSouth), TRAMOX_ENUM_MEMBER(guideEast),
    TRAMOX_ENUM_MEMBER(guideWest)};
constexpr EnumMemberInfo kDriveRates[] = {
    TRAMOX_ENUM_MEMBER(driveSidereal), TRAMOX_ENUM_MEMBER(driveLunar),
    TRAMOX_ENUM_MEMBER(driveSolar), TRAMOX_ENUM_MEMBER(driveKing)};
#undef TRAMOX_ENUM_MEMBER

// The type library lists members in value order from 0, as the interface defines them.
template <std::size_t N>
constexpr bool numberedFromZero(const EnumMemberInfo (&members)[N]) {
  for (std::size_t i = 0; i < N; ++i) {
    if (members[i].value != static_cast<std::int32_t>(i)) {
      return false;
    }
  }
  return true;
}
static_assert(numberedFromZero(kAlignmentModes) && numberedFromZero(kEquatorialCoordinateType) &&
              numberedFromZero(kTelescopeAxes) && numberedFromZero(kPierSide) &&
              numberedFromZero(kGuideDirections) && numberedFromZero(kDriveRates));

constexpr EnumInfo kEnumerations[] = {
    {"AlignmentModes", makeGuid("667E2092-448F-4BDF-ADD1-9E5F7B2B8C1D"), kAlignmentModes},
    {"EquatorialCoordinateType", makeGuid("C2F2A052-D465-4E1F-B504-83CF54DE45A0"),
     kEquatorialCoordinateType},
    {"TelescopeAxes", makeGuid("B181033D-2FD8-417B-B1A7-7E7FA5BC5326"), kTelescopeAxes},
    {"PierSide", makeGuid("5237975C-25DD-478F-960A-F53BC3B74D88"), kPierSide},
    {"GuideDirections", makeGuid("354B8867-058B-415E-887E-078BF2A1C9A0"), kGuideDirections},
    {"DriveRates", makeGuid("6E0251FA-925D-4EB7-AF31-1BA39BB96CC0"), kDriveRates},
};

// Factory creation order at module load.
constexpr ClassInfo kClasses[] = {
    {"Rate", "Rate Object", "TRAMOX.Rate", makeGuid("5019DC9D-3481-4CCB-BDC4-1D93234C648A"),
     &kRateInterface, false},
    {"Rates", "Rates Object", "TRAMOX.Rates", makeGuid("BC0F513C-EA2D-48E1-90EC-3E580FF2F5B7"),
     &kRatesInterface, true},
    {"TrackingRatesCol", "TrackingRatesCol Object", "TRAMOX.TrackingRatesCol",
     makeGuid("3CC97073-A6C2-4EAE-A01B-D0506B525231"), &kTrackingRatesColInterface, true},
    {"Telescope", "Telescope Object", "TRAMOX.Telescope",
     makeGuid("EA8EFCB6-7F43-48BD-9852-E684C3227D1F"), &kTelescopeInterface, false},
};

constexpr TypeDescription kTypeDescriptions[] = {
    {TypeDescriptionKind::Interface, "ITelescope"},
    {TypeDescriptionKind::Class, "Telescope"},
    {TypeDescriptionKind::Enum, "AlignmentModes"},
    {TypeDescriptionKind::Enum, "EquatorialCoordinateType"},
    {TypeDescriptionKind::Enum, "TelescopeAxes"},
    {TypeDescriptionKind::Enum, "PierSide"},
    {TypeDescriptionKind::Enum, "GuideDirections"},
    {TypeDescriptionKind::Enum, "DriveRates"},
    {TypeDescriptionKind::Interface, "IRate"},
    {TypeDescriptionKind::Class, "Rate"},
    {TypeDescriptionKind::Interface, "IRates"},
    {TypeDescriptionKind::Class, "Rates"},
    {TypeDescriptionKind::Interface, "ITrackingRatesCol"},
    {TypeDescriptionKind::Class, "TrackingRatesCol"},
};

// The identifiers 47 and 49 must stay free; checked where the table is written.
constexpr bool usesDispId(std::span<const MemberInfo> members, DispId id) {
  for (const MemberInfo& m : members) {
    if (m.dispid == id) {
      return true;
    }
  }
  return false;
}
static_assert(!usesDispId(kTelescopeMembers, 47) && !usesDispId(kTelescopeMembers, 49));
static_assert(std::size(kTelescopeMembers) == 91);

char lowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

const LibraryInfo& library() {
  return kLibrary;
}
const InterfaceInfo& telescopeInterface() {
  return kTelescopeInterface;
}
const InterfaceInfo& rateInterface() {
  return kRateInterface;
}
const InterfaceInfo& ratesInterface() {
  return kRatesInterface;
}
const InterfaceInfo& trackingRatesColInterface() {
  return kTrackingRatesColInterface;
}
std::span<const EnumInfo> enumerations() {
  return kEnumerations;
}
std::span<const ClassInfo> classes() {
  return kClasses;
}
std::span<const TypeDescription> typeDescriptions() {
  return kTypeDescriptions;
}

const ClassInfo& rateClass() {
  return kClasses[0];
}
const ClassInfo& ratesClass() {
  return kClasses[1];
}
const ClassInfo& trackingRatesColClass() {
  return kClasses[2];
}
const ClassInfo& telescopeClass() {
  return kClasses[3];
}

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return lowerAscii(x) == lowerAscii(y);
         });
}

const MemberInfo* findMemberByName(const InterfaceInfo& iface, std::string_view name) {
  for (const MemberInfo& m : iface.members) {
    if (equalsIgnoreCase(m.name, name)) {
      return &m;
    }
  }
  return nullptr;
}

const MemberInfo* findMember(const InterfaceInfo& iface, DispId dispid, MemberKind kind) {
  for (const MemberInfo& m : iface.members) {
    if (m.dispid == dispid && m.kind == kind) {
      return &m;
    }
  }
  return nullptr;
}

bool hasDispId(const InterfaceInfo& iface, DispId dispid) {
  return std::any_of(iface.members.begin(), iface.members.end(),
                     [dispid](const MemberInfo& m) { return m.dispid == dispid; });
}

int findParameter(const MemberInfo& member, std::string_view name) {
  if (name.empty()) {
    return -1;
  }
  const auto params = member.parameters();
  for (std::size_t i = 0; i < params.size(); ++i) {
    if (equalsIgnoreCase(params[i].name, name)) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

const ClassInfo* findClassById(const Guid& clsid) {
  for (const ClassInfo& c : kClasses) {
    if (c.clsid == clsid) {
      return &c;
    }
  }
  return nullptr;
}

const ClassInfo* findClassByProgId(std::string_view progId) {
  for (const ClassInfo& c : kClasses) {
    if (equalsIgnoreCase(c.progId, progId)) {
      return &c;
    }
  }
  return nullptr;
}

const EnumInfo* findEnum(std::string_view name) {
  for (const EnumInfo& e : kEnumerations) {
    if (e.name == name) {
      return &e;
    }
  }
  return nullptr;
}

}  // namespace tramox::server
