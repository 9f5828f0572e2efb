#pragma once
// The automation interfaces as data: one source of truth for the portable dispatcher, the
// Windows type library (generated from these tables or checked against them) and every
// test of names, dispatch identifiers and parameter names. Identities are fixed forever:
// clients and registrations refer to them.
#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "server/guid.h"

namespace tramox::server {

using DispId = std::int32_t;
inline constexpr DispId kDispIdValue = 0;     // the default member
inline constexpr DispId kDispIdNewEnum = -4;  // the platform's new-enumerator identifier
inline constexpr DispId kDispIdPropertyPut = -3;

enum class MemberKind { Method, PropertyGet, PropertyPut };

// Automation types of parameters and results.
enum class TypeKind {
  Void,       // no result
  Double,     // 64-bit floating point
  Bool,       // automation boolean (16 bits, true is -1)
  Text,       // automation string
  Date,       // automation date
  Int32,      // signed 32-bit integer
  Variant,    // automation variant
  Enum,       // 32-bit value of the enumeration named in TypeRef::name
  Interface,  // reference to the dual interface named in TypeRef::name
  Dispatch,   // plain dispatch reference
  Unknown,    // unknown-interface reference
};

struct TypeRef {
  TypeKind kind = TypeKind::Void;
  std::string_view name;  // Enum and Interface only
};

struct ParamInfo {
  std::string_view name;  // empty for the value of a put accessor
  TypeRef type;
};

struct MemberInfo {
  int order = 0;  // counted from the first member after the IDispatch members
  DispId dispid = 0;
  MemberKind kind = MemberKind::Method;
  std::string_view name;
  TypeRef result;
  std::array<ParamInfo, 2> params{};
  std::size_t paramCount = 0;
  bool hidden = false;  // kept out of object browsers
  bool defaultCollectionElement = false;

  std::span<const ParamInfo> parameters() const { return {params.data(), paramCount}; }
};

struct InterfaceInfo {
  std::string_view name;
  Guid iid;
  std::string_view helpString;
  std::span<const MemberInfo> members;
};

struct EnumMemberInfo {
  std::string_view name;
  std::int32_t value;
};

struct EnumInfo {
  std::string_view name;
  Guid id;
  std::span<const EnumMemberInfo> members;
};

struct ClassInfo {
  std::string_view name;        // coclass
  std::string_view helpString;  // also the class's description in the registry
  std::string_view progId;
  Guid clsid;
  const InterfaceInfo* defaultInterface;
  bool enumVariant;  // also implements IEnumVARIANT
};

struct LibraryInfo {
  std::string_view name;
  std::string_view helpString;
  std::uint16_t majorVersion;
  std::uint16_t minorVersion;
  std::uint32_t lcid;
  Guid libid;
};

enum class TypeDescriptionKind { Interface, Class, Enum };
struct TypeDescription {
  TypeDescriptionKind kind;
  std::string_view name;
};

// --- The tables ---------------------------------------------------------------------------

const LibraryInfo& library();
const InterfaceInfo& telescopeInterface();         // ITelescope
const InterfaceInfo& rateInterface();              // IRate
const InterfaceInfo& ratesInterface();             // IRates
const InterfaceInfo& trackingRatesColInterface();  // ITrackingRatesCol
std::span<const EnumInfo> enumerations();          // in type-library order
// In the order the module creates their factories: Rate, Rates, TrackingRatesCol, Telescope.
std::span<const ClassInfo> classes();
// The fourteen type descriptions, in type-library order.
std::span<const TypeDescription> typeDescriptions();

const ClassInfo& telescopeClass();
const ClassInfo& rateClass();
const ClassInfo& ratesClass();
const ClassInfo& trackingRatesColClass();

// --- Look-ups -----------------------------------------------------------------------------

// Case-insensitive, as GetIDsOfNames: the dispatch identifier of the member, or nullptr.
const MemberInfo* findMemberByName(const InterfaceInfo& iface, std::string_view name);
// The member of that identifier and kind, or nullptr.
const MemberInfo* findMember(const InterfaceInfo& iface, DispId dispid, MemberKind kind);
bool hasDispId(const InterfaceInfo& iface, DispId dispid);
// Case-insensitive position of a named parameter, or -1.
int findParameter(const MemberInfo& member, std::string_view name);

const ClassInfo* findClassById(const Guid& clsid);
const ClassInfo* findClassByProgId(std::string_view progId);
const EnumInfo* findEnum(std::string_view name);

// ASCII case-insensitive comparison: member names are ASCII.
bool equalsIgnoreCase(std::string_view a, std::string_view b);

}  // namespace tramox::server
