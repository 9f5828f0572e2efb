// Connected (read), the site properties and SetupDialog.
#include <cmath>

#include "common/driver_error.h"
#include "common/units.h"
#include "driver/telescope.h"
#include "driver/value_ranges.h"
#include "platform/settings_key.h"

namespace tramox::driver {

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
  requireInRange(metres, kElevationRange);
  log("Set Elevation=" + number(metres));
  FSiteElevation = metres;
  platform::SettingsKey(*rt_.services.registry).writeDouble("Altitude", metres);
}

void TTelescope::Set_SiteLatitude(double degrees) {
  requireInRange(degrees, kLatitudeRange);
  log("Set Latitude=" + number(degrees));
  FSiteLatitude = degrees;
  platform::SettingsKey(*rt_.services.registry)
      .writeDouble("Latitude", units::degreesToRadians(degrees));
}

void TTelescope::Set_SiteLongitude(double degreesEast) {
  requireInRange(degreesEast, kLongitudeRange);
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
