// Position and status reads.
#include <cmath>
#include <map>
#include <set>

#include "astro/time_scales.h"
#include "common/units.h"
#include "driver/position_labels.h"
#include "platform/automation_date.h"
#include "platform/settings_key.h"
#include "rates/tracking_rates.h"
#include "tests/driver/driver_fixture.h"

namespace tramox::driver::testing {
namespace {

class RightAscension : public DriverTest {};

TEST_F(RightAscension, ReturnsTheControllersValueInHours) {
  mount_.raRad = units::kPi / 2;
  mount_.decRad = units::kPi / 4;
  EXPECT_EQ(scope_->Get_RightAscension(), 6.0);
  EXPECT_EQ(scope_->Get_Declination(), 45.0);
  EXPECT_EQ(logged(), (std::vector<std::string>{"ASK for RightAscension", kResult + "6",
                                                "ASK for Declination", kResult + "45"}));
  EXPECT_EQ(mount_.names(),
            (std::vector<std::string>{"CheckCodeursCodeursDevice_DLL", "GetAlphaCodeursDevice_DLL",
                                      "GetDeltaCodeursDevice_DLL", "CheckCodeursCodeursDevice_DLL",
                                      "GetDeltaCodeursDevice_DLL"}));
}

TEST_F(RightAscension, UnreadableEncodersFailWithErrorLine) {
  for (const char* refused : {"CheckCodeursCodeursDevice_DLL", "GetAlphaCodeursDevice_DLL"}) {
    clearLog();
    mount_.refuse(refused);
    expectDriverError([&] { scope_->Get_RightAscension(); }, codes::kInvalidState,
                      "Can't get right ascension");
    EXPECT_EQ(logged(), (std::vector<std::string>{"ASK for RightAscension", kResult + "Error"}));
    mount_.accept(refused);
  }
}

TEST_F(RightAscension, WhileConnectedFillsThePaddleLabels) {
  mount_.raRad = 1.0;
  mount_.decRad = 0.5;
  connect();
  mount_.west = true;
  scope_->Get_RightAscension();
  const astro::TRADECtranfos pipeline(runtime_->state.SiteParameters,
                                      runtime_->state.AtmosphereParameters);
  const double ut = fakes_.clock.nowLocal() - platform::CurrentUtBias(fakes_.clock.timeZone());
  const astro::RaDec mean = pipeline.ObservedToMeanJ2000(ut, 1.0, 0.5);
  EXPECT_EQ(paddleControl("LabelAD").text, rightAscensionLabel(units::radiansToHours(mean.raRad)));
  EXPECT_EQ(paddleControl("LabelDEC").text, declinationLabel(units::radiansToDegrees(mean.decRad)));
  EXPECT_EQ(paddleControl("LabelSideOfPier").text, "W");
  mount_.german = false;
  scope_->Get_RightAscension();
  EXPECT_EQ(paddleControl("LabelSideOfPier").text, "");
}

TEST_F(RightAscension, UnreadableDeclinationKeepsThePreviousOneForThePaddle) {
  mount_.decRad = 0.5;
  connect();
  const std::string before = paddleControl("LabelDEC").text;
  mount_.decRad = -0.5;
  mount_.refuse("GetDeltaCodeursDevice_DLL");
  EXPECT_NO_THROW(scope_->Get_RightAscension());
  EXPECT_EQ(paddleControl("LabelDEC").text, before);
  EXPECT_EQ(before[0], '+');
}

// A headless paddle makes its labels when read, from the read that last refreshed them, with
// the clock and the declination changed since: text for text what a window on screen shows.
TEST_F(RightAscension, HeadlessPaddleLabelsMatchThoseOfAWindowOnScreen) {
  writeSetting("Longitude", -0.21);
  writeSetting("Latitude", 0.83);
  writeSetting("Altitude", 410.0);
  const double start = fakes_.clock.nowLocal();
  const auto labelsSeen = [&](bool drawsContinuously) {
    fakes_.paddleViews.drawsContinuously = drawsContinuously;
    connect();
    std::vector<std::string> seen;
    for (int read = 0; read < 600; ++read) {
      fakes_.clock.setLocal(start + read * 23.0417);
      mount_.raRad = std::fmod(read * 0.7381, 2.0 * units::kPi);
      mount_.decRad = 1.5 * std::sin(read * 1.13);
      scope_->Get_RightAscension();
      if (read % 3 == 2) {
        mount_.decRad = -mount_.decRad;
        scope_->Get_Declination();
        fakes_.clock.advanceSeconds(3600.0);
        seen.push_back(paddleControl("LabelAD").text + paddleControl("LabelDEC").text);
      }
    }
    scope_->Set_Connected(false);
    return seen;
  };
  const std::vector<std::string> onScreen = labelsSeen(true);
  EXPECT_EQ(labelsSeen(false), onScreen);
  EXPECT_EQ(std::set<std::string>(onScreen.begin(), onScreen.end()).size(), onScreen.size());
}

class Declination : public DriverTest {};

TEST_F(Declination, FailuresLogErrorWithABlank) {
  mount_.refuse("CheckCodeursCodeursDevice_DLL");
  expectDriverError([&] { scope_->Get_Declination(); }, codes::kDeclinationUnreadable,
                    "Can't get declination");
  mount_.accept("CheckCodeursCodeursDevice_DLL");
  mount_.refuse("GetDeltaCodeursDevice_DLL");
  expectDriverError([&] { scope_->Get_Declination(); }, codes::kDeclinationUnreadable,
                    "Can not get declination");
  EXPECT_EQ(logged(), (std::vector<std::string>{"ASK for Declination", kResult + " Error",
                                                "ASK for Declination", kResult + " Error"}));
}

class MountGeometry : public DriverTest {};

TEST_F(MountGeometry, AlignmentModeWritesOneLine) {
  EXPECT_EQ(scope_->Get_AlignmentMode(), algGermanPolar);
  mount_.german = false;
  EXPECT_EQ(scope_->Get_AlignmentMode(), algPolar);
  EXPECT_EQ(logged(),
            (std::vector<std::string>{"ASK for AlignmentMode=2", "ASK for AlignmentMode=1"}));
}

TEST_F(MountGeometry, SideOfPierInFrenchOnAGermanMountOnly) {
  EXPECT_EQ(scope_->Get_SideOfPier(), pierEast);
  mount_.west = true;
  EXPECT_EQ(scope_->Get_SideOfPier(), pierWest);
  mount_.german = false;
  expectDriverError([&] { scope_->Get_SideOfPier(); }, codes::kNotImplemented, "Not German Mount");
  EXPECT_EQ(logged(),
            (std::vector<std::string>{"ASK for SideOfPier", kResult + "Est", "ASK for SideOfPier",
                                      kResult + "Ouest", "ASK for SideOfPier"}));
}

class Slewing : public DriverTest {};

TEST_F(Slewing, AxisZeroCountsOnlyWhenExactlyOne) {
  std::map<std::int32_t, controller::Byte> answers;
  mount_.axisSlewing = [&](std::int32_t axis) { return answers[axis]; };
  answers = {{0, 1}, {1, 0}};
  EXPECT_TRUE(scope_->Get_Slewing());
  EXPECT_EQ(mount_.count("IsAxisSlewing_DLL"), 1);
  answers = {{0, 2}, {1, 0}};
  EXPECT_FALSE(scope_->Get_Slewing());
  answers = {{0, 2}, {1, 3}};
  EXPECT_TRUE(scope_->Get_Slewing());
  EXPECT_EQ(mount_.callsTo("IsAxisSlewing_DLL").back().args, std::vector<double>{1});
  EXPECT_EQ(logged()[1], kResult + "true");
  EXPECT_EQ(logged()[3], kResult + "false");
}

TEST_F(Slewing, PulseGuidingFollowsTheController) {
  mount_.pulseGuiding = true;
  EXPECT_TRUE(scope_->Get_IsPulseGuiding());
  EXPECT_EQ(logged(), (std::vector<std::string>{"ASK for IsPulseGuiding", kResult + "true"}));
}

class Time : public DriverTest {
 protected:
  void setIndiaZoneAt(double localDate) {
    fakes_.clock.setTimeZone({0, -330, 0, 0});
    fakes_.clock.setLocal(localDate);
  }
};

TEST_F(Time, UtcDateCarriesTheZonesMinutes) {
  const double local = platform::toAutomationDate({2026, 12, 7, 13, 5, 42, 0});
  setIndiaZoneAt(local);
  EXPECT_NEAR(scope_->Get_UTCDate(), local - 5.5 / 24.0, 1e-9);
  EXPECT_EQ(logged()[0], "ASK for Get_UTCDate");
}

// The same instant as UTCDate, not local time plus whole hours fixed at construction.
TEST_F(Time, SiderealTimeUsesTheFullBiasOfNow) {
  scope_->Set_SiteLongitude(2.0);
  const double local = 36526.5 + 5.5 / 24.0;  // 2000-01-01 17:30 local, 12:00 UT
  setIndiaZoneAt(local);
  EXPECT_NEAR(scope_->Get_SiderealTime(), 18.827909, 1e-6);
  // Daylight saving begins while the object lives: UT stays the same instant.
  fakes_.clock.setTimeZone({2, -330, 0, -60});
  fakes_.clock.setLocal(local + 1.0 / 24.0);
  EXPECT_NEAR(scope_->Get_SiderealTime(), 18.827909, 1e-6);
}

TEST_F(Time, SiderealTimeIsTheFormulasValueInHours) {
  fakes_.clock.setTimeZone({0, 0, 0, 0});
  fakes_.clock.setLocal(36526.5);
  const double hours = scope_->Get_SiderealTime();
  EXPECT_EQ(hours, astro::LocalSiderealTime(0.0, 36526.5) * 12.0 / units::kPi);
  EXPECT_NEAR(hours, 18.694575, 1e-6);
  EXPECT_EQ(logged()[0], "ASK for SiderealTime");
}

class DriverAnswers : public DriverTest {};

TEST_F(DriverAnswers, ConstantsLogTheirValue) {
  EXPECT_TRUE(scope_->Get_CanPark());
  EXPECT_FALSE(scope_->Get_CanSlewAltAzAsync());
  EXPECT_EQ(scope_->Get_EquatorialSystem(), equLocalTopocentric);
  EXPECT_EQ(scope_->Get_InterfaceVersion(), 2);
  EXPECT_EQ(scope_->Get_Name(), "TRAMOX");
  const std::string info = scope_->Get_DriverInfo();
  EXPECT_EQ(info.rfind("Driver ASCOM for TRAMOX", 0), 0u);
  EXPECT_EQ(scope_->Get_DriverVersion(), "1.0");
  EXPECT_EQ(logged(),
            (std::vector<std::string>{
                "ASK for CanPark", kResult + "true", "ASK for CanSlewAltAzAsync", kResult + "false",
                "ASK for EquatorialSystem", kResult + "equLocalTopocentric",
                "ASK for InterfaceVersion", kResult + "2", "ASK for Name", kResult + "TRAMOX",
                "ASK for DriverInfo", kResult + info, "ASK for DriverVersion", kResult + "1.0"}));
}

TEST_F(DriverAnswers, SilentMembersWriteNothing) {
  EXPECT_EQ(scope_->Get_Description(), "");
  scope_->Get_TrackingRate();
  expectDriverError([&] { scope_->Get_SlewSettleTime(); }, codes::kNotImplemented,
                    "SlewSettleTime not avalailable");
  EXPECT_TRUE(logged().empty());
}

TEST_F(DriverAnswers, TrackingAndTrackingRates) {
  EXPECT_FALSE(scope_->Get_Tracking());
  auto first = scope_->Get_TrackingRates();
  auto second = scope_->Get_TrackingRates();
  EXPECT_NE(first, second);
  EXPECT_EQ(first.use_count(), 1);
  EXPECT_EQ(logged(), (std::vector<std::string>{"ASK for Tracking", kResult + "false",
                                                "ASK for TrackingRates", "ASK for TrackingRates"}));
}

// Only the rate the mount tracks at is offered and accepted; anything else is refused before
// the controller hears of it.
TEST_F(DriverAnswers, TrackingRateIsTheOneTheMountTracksAt) {
  for (const controller::Byte king : {controller::Byte{0}, controller::Byte{1}}) {
    mount_.king = king;
    scope_->Set_Connected(false);
    connect();
    const std::int32_t rate = king ? driveKing : driveSidereal;
    EXPECT_EQ(scope_->Get_TrackingRate(), rate);
    const auto rates = scope_->Get_TrackingRates();
    EXPECT_EQ(rates->Get_Count(), 1);
    EXPECT_EQ(rates->Get_Item(1), rate);
    for (const std::int32_t written : {0, 1, 2, 3, 4, -1, 2147483647}) {
      if (written == rate) {
        EXPECT_NO_THROW(scope_->Set_TrackingRate(written));
      } else {
        expectDriverError([&] { scope_->Set_TrackingRate(written); }, codes::kInvalidValue,
                          "Tracking rate " + std::to_string(written) +
                              " not available: the mount tracks at " + std::to_string(rate));
      }
    }
    EXPECT_TRUE(mount_.calls.empty());
  }
}

TEST_F(DriverAnswers, GuideRatesComeFromTheStoredMultipleOfTheSiderealRate) {
  const std::string notSet =
      "Guide rate not set: store \"GuideRate\" (a multiple of the sidereal rate, in ]0,2]) on "
      "the setup page or in the settings key";
  const auto bothFail = [&](std::int32_t code, const std::string& message) {
    expectDriverError([&] { scope_->Get_GuideRateRightAscension(); }, code, message);
    expectDriverError([&] { scope_->Get_GuideRateDeclination(); }, code, message);
  };
  bothFail(codes::kNotImplemented, notSet);
  const struct {
    double stored;
    const char* shown;
  } refused[] = {
      {0.0, "0"}, {-0.5, "-0.5"}, {std::nan(""), "nan"}, {1e300, "1.0000000000000001e+300"}};
  for (const auto& c : refused) {
    writeSetting("GuideRate", c.stored);
    bothFail(codes::kInvalidValue,
             std::string("Stored \"GuideRate\"=") + c.shown +
                 ": Guide rate must be in the range ]0,2] (a multiple of the sidereal rate)");
  }
  platform::SettingsKey(fakes_.registry).writeInt32("GuideRate", 1);
  EXPECT_THROW(scope_->Get_GuideRateDeclination(), platform::RegistryError);
  writeSetting("GuideRate", 0.5);
  clearLog();
  EXPECT_DOUBLE_EQ(scope_->Get_GuideRateRightAscension(), 0.5 * 15.041067 / 3600.0);
  EXPECT_DOUBLE_EQ(scope_->Get_GuideRateDeclination(), 0.5 * 15.041067 / 3600.0);
  EXPECT_EQ(logged(), (std::vector<std::string>{
                          "ASK for GuideRateRightAscension", kResult + "0.00208903708333333",
                          "ASK for GuideRateDeclination", kResult + "0.00208903708333333"}));
}

class HorizonMembers : public DriverTest {};

// At latitude 45°, a star on the meridian at the equator stands 45° high in the south.
TEST_F(HorizonMembers, AltitudeAndAzimuthOfTheControllersPlace) {
  scope_->Set_SiteLatitude(45.0);
  const double ut = fakes_.clock.nowLocal() - platform::CurrentUtBias(fakes_.clock.timeZone());
  mount_.raRad = astro::LocalSiderealTime(0.0, ut);
  mount_.decRad = 0.0;
  clearLog();
  EXPECT_NEAR(scope_->Get_Altitude(), 45.0, 1e-6);
  EXPECT_NEAR(scope_->Get_Azimuth(), 180.0, 1e-6);
  const auto lines = logged();
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "ASK for Altitude");
  EXPECT_EQ(lines[2], "ASK for Azimuth");
}

TEST_F(HorizonMembers, UnreadableEncodersFailAsThePositionReadsDo) {
  const struct {
    const char* refused;
    std::int32_t code;
    const char* message;
  } cases[] = {
      {"CheckCodeursCodeursDevice_DLL", codes::kInvalidState, "Can't get right ascension"},
      {"GetAlphaCodeursDevice_DLL", codes::kInvalidState, "Can't get right ascension"},
      {"GetDeltaCodeursDevice_DLL", codes::kDeclinationUnreadable, "Can not get declination"},
  };
  for (const auto& c : cases) {
    mount_.refuse(c.refused);
    expectDriverError([&] { scope_->Get_Altitude(); }, c.code, c.message);
    expectDriverError([&] { scope_->Get_Azimuth(); }, c.code, c.message);
    mount_.accept(c.refused);
  }
}

}  // namespace
}  // namespace tramox::driver::testing
