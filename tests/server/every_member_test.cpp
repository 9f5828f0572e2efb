// Every row of the four interfaces, called by name as a script host does, must reach the
// member of that name: the same log lines, controller calls, result and error code as the
// direct call of that member on a fresh fixture taken through the same calls. The expected
// identifiers are the published ones, so a table whose names and identifiers were swapped
// together fails too. Members with no log line and a constant answer (ApertureArea,
// Azimuth...) are told apart by their identifier only.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "server/binding/automation_objects.h"
#include "server/binding/member_binding.h"
#include "server/failure_rule.h"
#include "server/portable/client_runtime.h"
#include "tests/driver/driver_fixture.h"

namespace tramox::server::portable {
namespace {

constexpr MemberKind M = MemberKind::Method, G = MemberKind::PropertyGet,
                     P = MemberKind::PropertyPut;

template <class Target>
struct Row {
  DispId id;
  const char* name;
  MemberKind kind;
  std::vector<Variant> args;
  Variant (*direct)(Target&);
};

Variant arg(double v) {
  return Variant::ofDouble(v);
}
Variant arg(std::int32_t v) {
  return Variant::ofInt32(v);
}
Variant arg(bool v) {
  return Variant::ofBool(v);
}
Variant arg(const char* v) {
  return Variant::ofText(v);
}

template <class Call>
Variant outcomeOf(Call&& call) {
  if constexpr (std::is_void_v<decltype(call())>) {
    call();
    return {};
  } else {
    return binding::resultOf(call());
  }
}

// clang-format off
#define GET(id, N) {id, #N, G, {}, [](T& t) { return outcomeOf([&] { return t.Get_##N(); }); }}
#define PUT(id, N, v) {id, #N, P, {arg(v)}, [](T& t) { t.Set_##N(v); return Variant(); }}
#define ITEM(v) {0, "Item", G, {arg(v)}, [](T& t) { return outcomeOf([&] { return t.Get_Item(v); }); }}
#define CALL(id, N) {id, #N, M, {}, [](T& t) { return outcomeOf([&] { return t.N(); }); }}
#define CALL1(id, N, a) {id, #N, M, {arg(a)}, [](T& t) { return outcomeOf([&] { return t.N(a); }); }}
#define CALL2(id, N, a, b) \
  {id, #N, M, {arg(a), arg(b)}, [](T& t) { return outcomeOf([&] { return t.N(a, b); }); }}
// clang-format on

// Ordered so that most members find a connected, tracking mount and the state moves on.
const std::vector<Row<driver::TTelescope>> kTelescopeRows = [] {
  using T = driver::TTelescope;
  return std::vector<Row<T>>{
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
      CALL2(17, SlewToCoordinatesAsync, 2.25, 30.0),
      CALL(18, SlewToTarget),
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
}();

using Rate = rates::TRate;
const std::vector<Row<Rate>> kRateRows = [] {
  using T = Rate;
  return std::vector<Row<T>>{PUT(1, Minimum, 0.5), PUT(2, Maximum, 4.5), GET(1, Minimum),
                             GET(2, Maximum)};
}();
const std::vector<Row<rates::TRates>> kRatesRows = [] {
  using T = rates::TRates;
  return std::vector<Row<T>>{GET(1, Count), ITEM(std::int32_t{2}), ITEM(std::int32_t{9})};
}();
const std::vector<Row<rates::TTrackingRatesCol>> kTrackingRatesRows = [] {
  using T = rates::TTrackingRatesCol;
  return std::vector<Row<T>>{GET(1, Count), ITEM(std::int32_t{3}), ITEM(std::int32_t{5})};
}();

#undef GET
#undef PUT
#undef ITEM
#undef CALL
#undef CALL1
#undef CALL2

std::string shown(const Variant& v) {
  switch (v.type()) {
    case VarType::Empty:
      return "empty";
    case VarType::Bool:
      return v.boolValue() ? "true" : "false";
    case VarType::Int32:
      return std::to_string(v.int32Value());
    case VarType::Double:
    case VarType::Date: {
      char text[32];
      std::snprintf(text, sizeof text, "%.17g", v.doubleValue());
      return text;
    }
    case VarType::Text:
      return '"' + v.text() + '"';
    case VarType::Dispatch: {
      // An object shows through what it answers.
      std::string text = "object";
      for (const char* member : {"Count", "Minimum", "Maximum"}) {
        auto r = invokeByName(*v.dispatch(), member, kDispatchPropertyGet, {});
        if (r.hr == status::kOk)
          text += std::string(" ") + member + "=" + shown(r.value);
      }
      return text;
    }
    default:
      return "other";
  }
}

std::string shown(HResult code, const std::string& description, const Variant& value) {
  char text[16];
  std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(code));
  return std::string(text) + " '" + description + "' " + shown(value);
}

// A driver object on fake services with logging on; its log and controller calls are read
// and cleared after each member.
struct Bench : driver::testing::DriverTest {
  void TestBody() override {}
  std::string drain() {
    std::string seen;
    for (const auto& line : logged())
      seen += "\n  log: " + line;
    for (const auto& name : mount_.names())
      seen += "\n  controller: " + name;
    clearLog();
    mount_.clearCalls();
    return seen;
  }
  std::shared_ptr<driver::TTelescope> scope() { return {std::shared_ptr<void>(), scope_.get()}; }
  std::shared_ptr<rates::TRates> axisRates() {
    return std::make_shared<rates::TRates>(&runtime_->log, runtime_->services.locale, 1.0, 2.0, 3.0,
                                           3);
  }
};

std::uint16_t flagsOf(MemberKind kind) {
  return kind == M ? kDispatchMethod : kind == G ? kDispatchPropertyGet : kDispatchPropertyPut;
}

ComRef<IDispatch> automationObject(std::shared_ptr<driver::TTelescope> t) {
  return binding::newTelescopeObject(std::move(t));
}
ComRef<IDispatch> automationObject(std::shared_ptr<Rate> t) {
  return binding::newRateObject(std::move(t));
}
ComRef<IDispatch> automationObject(std::shared_ptr<rates::TRates> t) {
  return binding::newRatesObject(std::move(t));
}
ComRef<IDispatch> automationObject(std::shared_ptr<rates::TTrackingRatesCol> t) {
  return binding::newTrackingRatesObject(std::move(t));
}

// The controller fake is one per process, so the two walks run one after the other, each on a
// fresh bench: make gives the bench's object of the interface.
template <class Target, class Make>
void walk(const InterfaceInfo& iface, const std::vector<Row<Target>>& rows, Make make) {
  for (const auto& m : iface.members) {
    int walked = 0;
    for (const auto& row : rows)
      walked += equalsIgnoreCase(row.name, m.name) && row.kind == m.kind;
    EXPECT_TRUE(walked > 0 || m.dispid == kDispIdNewEnum) << iface.name << "." << m.name;
  }
  std::vector<std::string> expected;
  {
    Bench bench;
    const std::shared_ptr<Target> target = make(bench);
    for (const auto& row : rows) {
      MemberFailure failure;
      Variant value;
      const HResult code = guardMember("", failure, [&] { value = row.direct(*target); });
      const std::string seen = bench.drain();
      expected.push_back(shown(code, failure.description, value) + seen);
    }
  }
  Bench bench;
  auto object = automationObject(make(bench));
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const std::string name = rows[i].name;
    SCOPED_TRACE(std::string(iface.name) + "." + name);
    DispId id = kDispIdUnknown;
    EXPECT_EQ(object->GetIDsOfNames(&name, 1, &id), status::kOk);
    EXPECT_EQ(id, rows[i].id);
    auto r = invokeByName(*object.get(), name, flagsOf(rows[i].kind), rows[i].args);
    const HResult code = r.hr == status::kDispException ? r.error.scode : r.hr;
    const std::string seen = bench.drain();
    EXPECT_EQ(shown(code, r.error.description, r.value) + seen, expected[i]);
  }
}

TEST(EveryMember, TelescopeRowsReachTheirOwnMember) {
  walk(telescopeInterface(), kTelescopeRows, [](Bench& b) { return b.scope(); });
}

TEST(EveryMember, CollectionRowsReachTheirOwnMember) {
  walk(rateInterface(), kRateRows, [](Bench&) { return std::make_shared<Rate>(); });
  walk(ratesInterface(), kRatesRows, [](Bench& b) { return b.axisRates(); });
  walk(trackingRatesColInterface(), kTrackingRatesRows,
       [](Bench&) { return std::make_shared<rates::TTrackingRatesCol>(); });
}

}  // namespace
}  // namespace tramox::server::portable
