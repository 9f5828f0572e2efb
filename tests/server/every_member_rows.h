#pragma once
// The rows of the every-member walk, shared by the walk through the portable runtime and the
// walk through the COM server under Wine: each row names a member as a script host does, with
// its published dispatch identifier, its arguments and the direct call of that member. A
// direct call answers its result as text in the form both walks give the automation result.
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

#include "driver/telescope.h"
#include "rates/rate.h"
#include "rates/rates.h"
#include "rates/tracking_rates.h"
#include "server/member_table.h"

namespace tramox::testing::every_member {

using server::DispId;
using server::MemberKind;
using Arg = std::variant<double, std::int32_t, bool, const char*>;

template <class Target>
struct Row {
  DispId id;
  const char* name;
  MemberKind kind;
  std::vector<Arg> args;
  std::string (*direct)(Target&);
};

inline std::string shown(double v) {
  char text[32];
  std::snprintf(text, sizeof text, "%.17g", v);
  return text;
}
inline std::string shown(bool v) {
  return v ? "true" : "false";
}
inline std::string shown(std::int32_t v) {
  return std::to_string(v);
}
inline std::string shown(const std::string& v) {
  return '"' + v + '"';
}
inline std::string shown(const std::optional<bool>& v) {
  return v ? shown(*v) : "empty";
}
// An object shows through what it answers, as an automation client reads it: these members,
// whichever it has.
inline constexpr const char* kObjectShownBy[] = {"Count", "Minimum", "Maximum"};
inline std::string shown(const std::shared_ptr<rates::TRate>& v) {
  return "object Minimum=" + shown(v->Get_Minimum()) + " Maximum=" + shown(v->Get_Maximum());
}
inline std::string shown(const std::shared_ptr<rates::TRates>& v) {
  return "object Count=" + shown(v->Get_Count());
}
inline std::string shown(const std::shared_ptr<rates::TTrackingRatesCol>& v) {
  return "object Count=" + shown(v->Get_Count());
}

template <class Call>
std::string shownOutcome(Call&& call) {
  if constexpr (std::is_void_v<decltype(call())>) {
    call();
    return "empty";
  } else {
    return shown(call());
  }
}

constexpr MemberKind M = MemberKind::Method, G = MemberKind::PropertyGet,
                     P = MemberKind::PropertyPut;

// clang-format off
#define GET(id, N) {id, #N, G, {}, [](T& t) { return shownOutcome([&] { return t.Get_##N(); }); }}
#define PUT(id, N, v) {id, #N, P, {v}, [](T& t) { t.Set_##N(v); return std::string("empty"); }}
#define ITEM(v) {0, "Item", G, {v}, [](T& t) { return shownOutcome([&] { return t.Get_Item(v); }); }}
#define CALL(id, N) {id, #N, M, {}, [](T& t) { return shownOutcome([&] { return t.N(); }); }}
#define CALL1(id, N, a) {id, #N, M, {a}, [](T& t) { return shownOutcome([&] { return t.N(a); }); }}
#define CALL2(id, N, a, b) \
  {id, #N, M, {a, b}, [](T& t) { return shownOutcome([&] { return t.N(a, b); }); }}
// clang-format on

// Ordered so that most members find a connected, tracking mount and the state moves on; a
// synchronous slew starts from a mount at rest, so that what its wait sees does not depend on
// how far an earlier slew has gone.
inline const std::vector<Row<driver::TTelescope>>& telescopeRows() {
  using T = driver::TTelescope;
  static const std::vector<Row<T>> rows{
      PUT(77, Connected, true),
      GET(77, Connected),
      PUT(66, SiteElevation, 250.0),
      PUT(67, SiteLatitude, 45.5),
      PUT(68, SiteLongitude, 6.25),
      PUT(71, TargetDeclination, 12.5),
      PUT(72, TargetRightAscension, 3.5),
      PUT(73, Tracking, true),
      PUT(74, TrackingRate, std::int32_t{0}),
      PUT(76, UTCDate, 45000.5),
      PUT(50, DeclinationRate, 0.0),
      PUT(52, DoesRefraction, false),
      PUT(57, GuideRateDeclination, 0.1),
      PUT(58, GuideRateRightAscension, 0.2),
      PUT(63, RightAscensionRate, 0.0),
      PUT(64, SideOfPier, std::int32_t{1}),
      PUT(70, SlewSettleTime, std::int32_t{2}),
      GET(24, AlignmentMode),
      GET(25, Altitude),
      GET(26, ApertureArea),
      GET(27, ApertureDiameter),
      GET(28, AtHome),
      GET(29, AtPark),
      GET(30, Azimuth),
      GET(31, CanFindHome),
      GET(32, CanPark),
      GET(33, CanPulseGuide),
      GET(34, CanSetDeclinationRate),
      GET(35, CanSetGuideRates),
      GET(36, CanSetPark),
      GET(37, CanSetPierSide),
      GET(38, CanSetRightAscensionRate),
      GET(39, CanSetTracking),
      GET(40, CanSlew),
      GET(41, CanSlewAltAz),
      GET(42, CanSlewAltAzAsync),
      GET(43, CanSlewAsync),
      GET(44, CanSync),
      GET(45, CanSyncAltAz),
      GET(46, CanUnpark),
      GET(48, Declination),
      GET(50, DeclinationRate),
      GET(51, Description),
      GET(52, DoesRefraction),
      GET(53, DriverInfo),
      GET(54, DriverVersion),
      GET(55, EquatorialSystem),
      GET(56, FocalLength),
      GET(57, GuideRateDeclination),
      GET(58, GuideRateRightAscension),
      GET(59, InterfaceVersion),
      GET(60, IsPulseGuiding),
      GET(61, Name),
      GET(62, RightAscension),
      GET(63, RightAscensionRate),
      GET(64, SideOfPier),
      GET(65, SiderealTime),
      GET(66, SiteElevation),
      GET(67, SiteLatitude),
      GET(68, SiteLongitude),
      GET(69, Slewing),
      GET(70, SlewSettleTime),
      GET(71, TargetDeclination),
      GET(72, TargetRightAscension),
      GET(73, Tracking),
      GET(74, TrackingRate),
      GET(75, TrackingRates),
      GET(76, UTCDate),
      CALL1(2, AxisRates, std::int32_t{1}),
      CALL1(3, CanMoveAxis, std::int32_t{2}),
      CALL1(4, CommandBlind, "a"),
      CALL1(5, CommandBool, "b"),
      CALL1(6, CommandString, "c"),
      CALL2(7, DestinationSideOfPier, 1.0, 2.0),
      CALL2(9, MoveAxis, std::int32_t{0}, 0.0),
      CALL2(11, PulseGuide, std::int32_t{2}, std::int32_t{1}),
      CALL2(16, SlewToCoordinates, 1.25, 20.0),
      CALL(18, SlewToTarget),
      CALL2(17, SlewToCoordinatesAsync, 2.25, 30.0),
      CALL(19, SlewToTargetAsync),
      CALL(1, AbortSlew),
      CALL2(14, SlewToAltAz, 10.0, 20.0),
      CALL2(15, SlewToAltAzAsync, 30.0, 40.0),
      CALL2(20, SyncToAltAz, 50.0, 60.0),
      CALL2(21, SyncToCoordinates, 4.5, 15.0),
      CALL(22, SyncToTarget),
      CALL(8, FindHome),
      CALL(13, SetupDialog),
      CALL(12, SetPark),
      CALL(10, Park),
      CALL(23, Unpark),
      PUT(77, Connected, false),
  };
  return rows;
}

inline const std::vector<Row<rates::TRate>>& rateRows() {
  using T = rates::TRate;
  static const std::vector<Row<T>> rows{PUT(1, Minimum, 0.5), PUT(2, Maximum, 4.5), GET(1, Minimum),
                                        GET(2, Maximum)};
  return rows;
}
inline const std::vector<Row<rates::TRates>>& ratesRows() {
  using T = rates::TRates;
  static const std::vector<Row<T>> rows{GET(1, Count), ITEM(std::int32_t{2}),
                                        ITEM(std::int32_t{9})};
  return rows;
}
inline const std::vector<Row<rates::TTrackingRatesCol>>& trackingRatesRows() {
  using T = rates::TTrackingRatesCol;
  static const std::vector<Row<T>> rows{GET(1, Count), ITEM(std::int32_t{3}),
                                        ITEM(std::int32_t{5})};
  return rows;
}

#undef GET
#undef PUT
#undef ITEM
#undef CALL
#undef CALL1
#undef CALL2

}  // namespace tramox::testing::every_member
