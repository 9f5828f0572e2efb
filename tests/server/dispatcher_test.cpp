#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>

#include "common/driver_error.h"
#include "server/binding/coercion.h"
#include "server/binding/dispatch_object.h"
#include "server/binding/member_binding.h"
#include "server/portable/client_runtime.h"

namespace tramox::server::portable {
namespace {

// A stand-in for the driver object behind ITelescope: records what the members received.
struct FakeScope {
  double raHours = -1, decDegrees = -1, latitude = 0;
  std::int32_t direction = -1, durationMs = -1;
  std::string command;
  int calls = 0;

  void SlewToCoordinates(double ra, double dec) { raHours = ra, decDegrees = dec, ++calls; }
  void PulseGuide(std::int32_t d, std::int32_t ms) { direction = d, durationMs = ms, ++calls; }
  void CommandBlind(const std::string& c) { command = c, ++calls; }
  double Get_SiteLatitude() { return latitude; }
  void Set_SiteLatitude(double v) {
    if (v > 90) {
      throw DriverError(codes::kInvalidValue, "Latitude must be in the range [-90°,90°]");
    }
    latitude = v;
  }
  double Get_Declination() {
    throw DriverError(codes::kDeclinationUnreadable, FailureReason::NotConnected, "no declination");
  }
  std::string Get_Name() {
    throw std::runtime_error("Type de données incorrect pour 'LogEnabled'");
  }
  bool Get_Connected() { throw DriverError(0x00040000, FailureReason::Parked, "positive code"); }
  double Get_UTCDate() { return 45000.5; }
};

using binding::call;
constexpr MemberKind M = MemberKind::Method, G = MemberKind::PropertyGet,
                     P = MemberKind::PropertyPut;
const Invoker<FakeScope> kFakeInvokers[] = {
    {16, M, call<&FakeScope::SlewToCoordinates>()}, {11, M, call<&FakeScope::PulseGuide>()},
    {4, M, call<&FakeScope::CommandBlind>()},       {67, G, call<&FakeScope::Get_SiteLatitude>()},
    {67, P, call<&FakeScope::Set_SiteLatitude>()},  {48, G, call<&FakeScope::Get_Declination>()},
    {61, G, call<&FakeScope::Get_Name>()},          {77, G, call<&FakeScope::Get_Connected>()},
    {76, G, call<&FakeScope::Get_UTCDate>()},
};

class DispatcherTest : public ::testing::Test {
 protected:
  DispatcherTest()
      : scope(std::make_shared<FakeScope>()),
        object(ComRef<IDispatch>::adopt(
            new DispatchObject<FakeScope>(telescopeClass(), kFakeInvokers, scope))) {}

  CallResult byName(const std::string& name, std::uint16_t flags, std::vector<Variant> args,
                    std::vector<NamedArgument> named = {}) {
    return invokeByName(*object.get(), name, flags, args, named);
  }

  std::shared_ptr<FakeScope> scope;
  ComRef<IDispatch> object;
};

TEST_F(DispatcherTest, NamesResolveCaseInsensitivelyWithTheirParameters) {
  const std::string names[] = {"slewtocoordinates", "DECLINATION", "rightascension"};
  DispId ids[3];
  EXPECT_EQ(object->GetIDsOfNames(names, 3, ids), status::kOk);
  EXPECT_EQ(ids[0], 16);
  EXPECT_EQ(ids[1], 1);
  EXPECT_EQ(ids[2], 0);
  const std::string unknown[] = {"SlewToCoordinates", "Azimuth"};
  EXPECT_EQ(object->GetIDsOfNames(unknown, 2, ids), status::kDispUnknownName);
  EXPECT_EQ(ids[1], kDispIdUnknown);
  const std::string nothing[] = {"Bogus"};
  EXPECT_EQ(object->GetIDsOfNames(nothing, 1, ids), status::kDispUnknownName);
  EXPECT_EQ(byName("Bogus", kDispatchMethod, {}).hr, status::kDispUnknownName);
}

TEST_F(DispatcherTest, TextAndIntegerArgumentsBecomeDoubles) {
  auto r = byName("SlewToCoordinates", kDispatchMethod,
                  {Variant::ofText(" 5.5 "), Variant::ofInt32(20)});
  ASSERT_EQ(r.hr, status::kOk);
  EXPECT_EQ(scope->raHours, 5.5);
  EXPECT_EQ(scope->decDegrees, 20.0);
}

TEST_F(DispatcherTest, NamedArgumentsGoToTheirParameters) {
  auto r =
      byName("SlewToCoordinates", kDispatchMethod, {},
             {{"Declination", Variant::ofDouble(-10)}, {"RightAscension", Variant::ofDouble(3)}});
  ASSERT_EQ(r.hr, status::kOk);
  EXPECT_EQ(scope->raHours, 3.0);
  EXPECT_EQ(scope->decDegrees, -10.0);
  r = byName("PulseGuide", kDispatchMethod, {Variant::ofInt32(2)},
             {{"duration", Variant::ofText("2.5")}});
  ASSERT_EQ(r.hr, status::kOk);
  EXPECT_EQ(scope->direction, 2);
  EXPECT_EQ(scope->durationMs, 2);  // half to even, as the platform rounds
}

TEST_F(DispatcherTest, RefusedCallsRunNothing) {
  auto r = byName("SlewToCoordinates", kDispatchMethod,
                  {Variant::ofDouble(5), Variant::ofText("north")});
  EXPECT_EQ(r.hr, status::kDispTypeMismatch);
  EXPECT_EQ(r.argErr, 1u);
  EXPECT_EQ(byName("SlewToCoordinates", kDispatchMethod, {Variant::ofDouble(5)}).hr,
            status::kDispBadParamCount);
  EXPECT_EQ(byName("SlewToCoordinates", kDispatchMethod,
                   {Variant::ofDouble(5), Variant::ofDouble(5), Variant::ofDouble(5)})
                .hr,
            status::kDispBadParamCount);
  EXPECT_EQ(byName("PulseGuide", kDispatchMethod, {Variant::ofInt32(0), Variant::ofDouble(3e9)}).hr,
            status::kDispOverflow);
  EXPECT_EQ(byName("SlewToCoordinates", kDispatchMethod, {Variant::ofDouble(1)},
                   {{"RightAscension", Variant::ofDouble(2)}})
                .hr,
            status::kDispParamNotFound);
  EXPECT_EQ(scope->calls, 0);
}

TEST_F(DispatcherTest, PropertiesByIdentifierWithTheirKinds) {
  Variant value = Variant::ofText("12.5");
  DispId putId = kDispIdPropertyPut;
  DispParams put{&value, &putId, 1, 1};
  ASSERT_EQ(object->Invoke(67, kDispatchPropertyPut, &put, nullptr, nullptr, nullptr), status::kOk);
  Variant result;
  ASSERT_EQ(object->Invoke(67, kDispatchPropertyGet, nullptr, &result, nullptr, nullptr),
            status::kOk);
  EXPECT_EQ(result.type(), VarType::Double);
  EXPECT_EQ(result.doubleValue(), 12.5);
  // A put without the property-put argument, and a get through a put-only path.
  DispParams positional{&value, nullptr, 1, 0};
  EXPECT_EQ(object->Invoke(67, kDispatchPropertyPut, &positional, nullptr, nullptr, nullptr),
            status::kDispParamNotOptional);
  EXPECT_EQ(object->Invoke(48, kDispatchPropertyPut, &put, nullptr, nullptr, nullptr),
            status::kDispMemberNotFound);
  EXPECT_EQ(object->Invoke(1000, kDispatchMethod, nullptr, nullptr, nullptr, nullptr),
            status::kDispMemberNotFound);
  EXPECT_EQ(object->Invoke(67, 0, nullptr, nullptr, nullptr, nullptr), status::kInvalidArg);
  // Script hosts read properties as methods.
  EXPECT_EQ(byName("SiteLatitude", kDispatchMethod, {}).hr, status::kOk);
  // Dates keep their type on the way out.
  EXPECT_EQ(byName("UTCDate", kDispatchPropertyGet, {}).value.type(), VarType::Date);
}

TEST_F(DispatcherTest, FailureRuleGivesCodeSourceMessageAndReason) {
  auto r = byName("Declination", kDispatchPropertyGet, {});
  ASSERT_EQ(r.hr, status::kDispException);
  EXPECT_EQ(r.error.scode, codes::kDeclinationUnreadable);
  EXPECT_EQ(r.error.source, "TRAMOX.Telescope");
  EXPECT_EQ(r.error.description, "no declination");
  EXPECT_EQ(r.error.reason, FailureReason::NotConnected);

  r = byName("Name", kDispatchPropertyGet, {});
  EXPECT_EQ(r.error.scode, status::kUnexpected);
  EXPECT_EQ(r.error.description, "Type de données incorrect pour 'LogEnabled'");
  EXPECT_EQ(r.error.reason, FailureReason::Unexpected);

  // A driver error that carries no failure code must not reach the client as success.
  r = byName("Connected", kDispatchPropertyGet, {});
  EXPECT_EQ(r.error.scode, status::kUnexpected);
  EXPECT_EQ(r.error.reason, FailureReason::Unexpected);

  r = byName("SiteLatitude", kDispatchPropertyPut, {Variant::ofDouble(95)});
  EXPECT_EQ(r.error.scode, codes::kInvalidValue);
  EXPECT_EQ(scope->latitude, 0.0);
}

TEST(Coercion, FollowsThePlatformsConversions) {
  Variant out;
  EXPECT_EQ(coerce(Variant::ofText("1e3"), TypeKind::Double, out), status::kOk);
  EXPECT_EQ(out.doubleValue(), 1000.0);
  for (const char* bad : {"", "abc", "5,5", "0x10", "inf", "nan", "1e", ".", "5 5"}) {
    EXPECT_EQ(coerce(Variant::ofText(bad), TypeKind::Double, out), status::kDispTypeMismatch)
        << bad;
  }
  EXPECT_EQ(coerce(Variant::ofText("1e400"), TypeKind::Double, out), status::kDispOverflow);
  EXPECT_EQ(coerce(Variant::ofDouble(2147483647.4), TypeKind::Int32, out), status::kOk);
  EXPECT_EQ(coerce(Variant::ofDouble(2147483648.0), TypeKind::Int32, out), status::kDispOverflow);
  EXPECT_EQ(coerce(Variant::ofDouble(-2.5), TypeKind::Int32, out), status::kOk);
  EXPECT_EQ(out.int32Value(), -2);
  EXPECT_EQ(coerce(Variant::ofText("TRUE"), TypeKind::Bool, out), status::kOk);
  EXPECT_TRUE(out.boolValue());
  EXPECT_EQ(coerce(Variant::ofText("0"), TypeKind::Bool, out), status::kOk);
  EXPECT_FALSE(out.boolValue());
  EXPECT_EQ(coerce(Variant::ofText("yes"), TypeKind::Bool, out), status::kDispTypeMismatch);
  EXPECT_EQ(coerce(Variant::ofBool(true), TypeKind::Double, out), status::kOk);
  EXPECT_EQ(out.doubleValue(), -1.0);
  EXPECT_EQ(coerce(Variant(), TypeKind::Text, out), status::kOk);
  EXPECT_EQ(out.text(), "");
  EXPECT_EQ(coerce(Variant::ofDouble(0.1), TypeKind::Text, out), status::kOk);
  EXPECT_EQ(out.text(), "0.1");
  EXPECT_EQ(coerce(Variant::ofText("1900-01-01"), TypeKind::Date, out), status::kOk);
  EXPECT_EQ(out.doubleValue(), 2.0);
}

TEST(Coercion, DatesOutsideTheAutomationRangeOverflow) {
  Variant out = Variant::ofInt32(7);
  // 1 January 100 and 31 December 9999, the ends of the automation date.
  EXPECT_EQ(coerce(Variant::ofDouble(-657434.0), TypeKind::Date, out), status::kOk);
  EXPECT_EQ(coerce(Variant::ofDouble(2958465.5), TypeKind::Date, out), status::kOk);
  EXPECT_EQ(out.doubleValue(), 2958465.5);
  out = Variant::ofInt32(7);
  for (double bad : {1e300, -1e300, 2958466.0, -657435.0, std::nan("")}) {
    EXPECT_EQ(coerce(Variant::ofDouble(bad), TypeKind::Date, out), status::kDispOverflow) << bad;
  }
  EXPECT_EQ(coerce(Variant::ofText("1e300"), TypeKind::Date, out), status::kDispOverflow);
  EXPECT_EQ(out.type(), VarType::Int32);  // untouched on failure
}

}  // namespace
}  // namespace tramox::server::portable
