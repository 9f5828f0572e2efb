// Connected (read), the site properties and SetupDialog.
#include <cmath>

#include "common/driver_error.h"
#include "common/units.h"
#include "driver/telescope.h"
#include "platform/settings_key.h"

namespace tramox::driver {

namespace {

// Inclusive bounds; a value that is not a number fails as well.
void requireInRange(double value, double low, double high, const char* message) {
  if (!(value >= low && value <= high)) {
    throw DriverError(codes::kInvalidValue, message);
  }
}

}  // namespace

bool TTelescope::Get_Connected() {
  logAsk("Connected");
  logResult(FConnected);
  return FConnected;
}

double TTelescope::Get_SiteElevation() {
  logAsk("SiteElevation");
  logResult(FSiteElevation);
  return FSiteElevation;
}

double TTelescope::Get_SiteLatitude() {
  logAsk("SiteLatitude");
  logResult(FSiteLatitude);
  return FSiteLatitude;
}

double TTelescope::Get_SiteLongitude() {
  logAsk("SiteLongitude");
  logResult(FSiteLongitude);
  return FSiteLongitude;
}

// The setters change neither the pipeline nor the controller: the site takes effect at the
// next connect.
void TTelescope::Set_SiteElevation(double metres) {
  requireInRange(metres, -300.0, 10000.0, "Elevation must be in the range [-300m,10000m]");
  log("Set Elevation=" + number(metres));
  FSiteElevation = metres;
  platform::SettingsKey(*rt_.services.registry).writeDouble("Altitude", metres);
}

void TTelescope::Set_SiteLatitude(double degrees) {
  requireInRange(degrees, -90.0, 90.0, "Latitude must be in the range [-90°,90°]");
  log("Set Latitude=" + number(degrees));
  FSiteLatitude = degrees;
  platform::SettingsKey(*rt_.services.registry)
      .writeDouble("Latitude", units::degreesToRadians(degrees));
}

void TTelescope::Set_SiteLongitude(double degreesEast) {
  requireInRange(degreesEast, -180.0, 180.0, "Longitude must be in the range [-180°,180°]");
  log("Set Longitude=" + number(degreesEast));
  FSiteLongitude = degreesEast;
  platform::SettingsKey(*rt_.services.registry)
      .writeDouble("Longitude", -units::degreesToRadians(degreesEast));
}

// With no library after the load attempt, the controller's guard refuses the call with
// 0x80040401 "Controller library not loaded"; the loader has already shown why.
void TTelescope::SetupDialog() {
  log("SetupDialog");
  if (!rt_.controller.loaded()) {
    rt_.controller.LoadControllerLibrary();
  }
  rt_.controller.Init_telescope_Panel_DLL(0, 0, 0);
}

}  // namespace tramox::driver
