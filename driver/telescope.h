#pragma once
// The telescope driver object: every member of the telescope interface, its checks, its log
// lines and its controller calls. Methods carry the member's name, property reads Get_<Name>,
// property writes Set_<Name>. Hours and degrees at this interface, radians at the controller.
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "astro/radec_transform.h"
#include "common/telescope_enums.h"
#include "driver/driver_runtime.h"
#include "paddle/paddle_telescope.h"

namespace tramox::rates {
class TRates;
class TTrackingRatesCol;
}  // namespace tramox::rates

namespace tramox::driver {

// The members speak the interface's enumerations.
using namespace ascom;

class TTelescope final : public paddle::IPaddleTelescope {
 public:
  // Runs the once-per-process set-up when no other driver object is alive.
  explicit TTelescope(DriverRuntime& runtime);
  ~TTelescope();
  TTelescope(const TTelescope&) = delete;
  TTelescope& operator=(const TTelescope&) = delete;

  // Flags the hand paddle reads directly (no log lines).
  bool parked() const override { return FParked; }
  // Park accepted by the controller, arrival not yet seen: refused as while parked.
  bool parking() const override { return FParking; }
  bool tracking() const override { return FTracking; }

  // --- Connection and site (telescope_site.cpp, telescope_connection.cpp)
  bool Get_Connected();
  void Set_Connected(bool value);
  double Get_SiteElevation();
  void Set_SiteElevation(double metres);
  double Get_SiteLatitude();
  void Set_SiteLatitude(double degrees);
  double Get_SiteLongitude();
  void Set_SiteLongitude(double degreesEast);
  void SetupDialog();

  // --- Position and status (telescope_queries.cpp, telescope_constants.cpp)
  double Get_RightAscension() override;
  double Get_Declination();
  std::int32_t Get_AlignmentMode();
  std::int32_t Get_SideOfPier();
  bool Get_Slewing() override;
  bool Get_IsPulseGuiding();
  double Get_SiderealTime();
  double Get_UTCDate();
  bool Get_Tracking();
  // The observed horizontal place of the mount, degrees (telescope_horizon.cpp).
  double Get_Altitude();
  double Get_Azimuth();
  std::shared_ptr<rates::TTrackingRatesCol> Get_TrackingRates();

  bool Get_CanFindHome();
  bool Get_CanPark();
  bool Get_CanPulseGuide();
  bool Get_CanSetPark();
  bool Get_CanSetPierSide();
  bool Get_CanSetTracking();
  bool Get_CanSlew();
  bool Get_CanSlewAltAz();
  bool Get_CanSlewAltAzAsync();
  bool Get_CanSlewAsync();
  bool Get_CanSync();
  bool Get_CanSyncAltAz();
  bool Get_CanUnpark();
  bool Get_DoesRefraction();
  std::int32_t Get_EquatorialSystem();
  std::int32_t Get_InterfaceVersion();
  std::string Get_Name();
  std::string Get_DriverInfo();
  std::string Get_DriverVersion();
  std::string Get_Description();

  // Members that answer without doing anything.
  double Get_ApertureArea() { return 0.0; }
  double Get_ApertureDiameter() { return 0.0; }
  bool Get_AtHome() { return false; }
  bool Get_CanSetDeclinationRate() { return false; }
  bool Get_CanSetGuideRates() { return false; }
  bool Get_CanSetRightAscensionRate() { return false; }
  double Get_DeclinationRate() { return 0.0; }
  double Get_FocalLength() { return 0.0; }
  double Get_RightAscensionRate() { return 0.0; }
  std::int32_t Get_SlewSettleTime();

  // --- Guide and tracking rates (telescope_rates_in_use.cpp)
  double Get_GuideRateDeclination();
  double Get_GuideRateRightAscension();
  std::int32_t Get_TrackingRate();
  void Set_TrackingRate(std::int32_t rate);

  // --- Slews, syncs and targets (telescope_slews.cpp, telescope_targets.cpp)
  void SlewToCoordinates(double raHours, double decDegrees);
  void SlewToCoordinatesAsync(double raHours, double decDegrees);
  void SlewToTarget();
  void SlewToTargetAsync();
  void SyncToCoordinates(double raHours, double decDegrees);
  void SyncToTarget();
  double Get_TargetRightAscension();
  void Set_TargetRightAscension(double raHours);
  double Get_TargetDeclination();
  void Set_TargetDeclination(double decDegrees);
  void AbortSlew();
  void SlewToAltAz(double azimuth, double altitude);
  void SlewToAltAzAsync(double azimuth, double altitude);
  void SyncToAltAz(double azimuth, double altitude);

  // --- Manual motion, guiding and tracking (telescope_motion.cpp, telescope_unsupported.cpp)
  void MoveAxis(std::int32_t axe, double rateDegPerSec) override;
  // Empty for a value outside the axis enumeration.
  std::optional<bool> CanMoveAxis(std::int32_t axe);
  void PulseGuide(std::int32_t direction, std::int32_t durationMs);
  void Set_Tracking(bool value) override;
  std::shared_ptr<rates::TRates> AxisRates(std::int32_t axis) override;
  void Set_DoesRefraction(bool) {}
  void Set_UTCDate(double) {}
  void Set_DeclinationRate(double value);
  void Set_GuideRateDeclination(double value);
  void Set_GuideRateRightAscension(double value);
  void Set_RightAscensionRate(double value);
  void Set_SideOfPier(std::int32_t value);
  void Set_SlewSettleTime(std::int32_t value);
  void CommandBlind(const std::string& command);
  void CommandBool(const std::string& command);
  void CommandString(const std::string& command);
  void DestinationSideOfPier(double ad, double dec);
  void FindHome();

  // --- Parking (telescope_parking.cpp)
  void Park() override;
  void Unpark() override;
  void SetPark() override;
  bool Get_AtPark();

 private:
  // Log lines, written once for every member (telescope_log.cpp). The request and result
  // lines are made only while the log is on.
  void log(const std::string& message);
  void logAsk(std::string_view member);
  void logResult(std::string_view value);
  void logResult(const char* value) { logResult(std::string_view(value)); }
  void logResult(double value);
  void logResult(bool value);
  std::string number(double value);
  // Whether this call's lines are written; a log failure goes where log() sends it, and
  // then no line is written.
  bool logging();
  // Runs a member that stops the mount or disconnects it so that its controller calls happen
  // even when logging fails (a "LogEnabled" of the wrong type): the first log failure is
  // reported after them, unless the member fails on its own.
  void stopFirst(const std::function<void()>& member);
  void moveAxisAt(std::int32_t axe, double rateDegPerSec);
  void setConnectedTo(bool value);

  // Shared checks and helpers.
  // Refuses while parked or parking.
  void requireNotParked();
  void requireNotParkedAndTracking();
  void startSlew(double raHours, double decDegrees);
  void waitForSlewEnd(double timeLimitSeconds);
  double slewTimeLimitSeconds();
  // Universal time now, as an automation date: the local clock plus the zone's full bias.
  double universalTimeNow();
  void showPaddlePosition(double raRad);
  // CheckCodeurs and GetAlpha, failing as RightAscension does.
  double controllerRightAscensionRad();
  // The controller's place of date, radians, failing as RightAscension or Declination would.
  astro::RaDec mountPlaceOfDate();
  double guideRateDegPerSec(const char* member);
  std::int32_t trackedRate() const;
  // Axis 0 counts only when it answers exactly 1; axis 1 on any nonzero answer.
  bool axesMoving();
  // Takes in what the controller says of the park: parked once it reports parked with both
  // axes still; a park motion that ended otherwise leaves the mount unparked.
  void settleParkState(bool controllerParked, bool moving);
  bool controllerReportsParked();
  // Stops the park motion; false when the controller refuses to leave its park.
  bool stopParkMotion();
  bool profileAvailable();
  void writeTrackingProfile(const std::string& text);
  void connect();
  void disconnect();
  void setPaddleText(const char* control, const char* text);
  void setPaddleEnabled(const char* control, bool enabled);

  DriverRuntime& rt_;
  // Where log failures go while stopFirst runs; null otherwise.
  std::exception_ptr* deferredLogFailure_ = nullptr;

  double FLastDeclination = 0.0;       // degrees
  double FLastRightAscension = 0.0;    // hours
  double FTargetDeclination = 0.0;     // degrees
  double FTargetRightAscension = 0.0;  // hours
  double FSiteLongitude = 0.0;         // degrees, positive east
  double FSiteLatitude = 0.0;          // degrees
  double FSiteElevation = 0.0;         // metres
  bool FConnected = false;
  double FParkHourAngle = 0.0;    // hours
  double FParkDeclination = 0.0;  // degrees
  bool FParked = false;
  bool FParking = false;
  bool FTracking = false;
};

}  // namespace tramox::driver
