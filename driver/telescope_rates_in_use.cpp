// The guide and tracking rates: only what the mount really runs at is offered, and a rate it
// cannot run is refused rather than accepted and ignored.
#include "common/driver_error.h"
#include "driver/guide_rate_setting.h"
#include "driver/telescope.h"
#include "rates/tracking_rates.h"

namespace tramox::driver {

namespace {
// 15.041067 arc seconds per second.
constexpr double kSiderealRateDegPerSec = 15.041067 / 3600.0;
}  // namespace

double TTelescope::guideRateDegPerSec(const char* member) {
  logAsk(member);
  platform::SettingsKey settings(*rt_.services.registry);
  const std::optional<double> multiple = storedGuideRate(settings);
  if (!multiple) {
    throw DriverError(codes::kNotImplemented, kGuideRateNotSetMessage);
  }
  const double degPerSec = *multiple * kSiderealRateDegPerSec;
  logResult(degPerSec);
  return degPerSec;
}

double TTelescope::Get_GuideRateRightAscension() {
  return guideRateDegPerSec("GuideRateRightAscension");
}

double TTelescope::Get_GuideRateDeclination() {
  return guideRateDegPerSec("GuideRateDeclination");
}

// King when connecting started the controller's King mode; sidereal otherwise.
std::int32_t TTelescope::trackedRate() const {
  return rt_.state.kingPec.king != 0 ? driveKing : driveSidereal;
}

std::int32_t TTelescope::Get_TrackingRate() {
  return trackedRate();
}

void TTelescope::Set_TrackingRate(std::int32_t rate) {
  if (rate != trackedRate()) {
    throw DriverError(codes::kInvalidValue, "Tracking rate " + std::to_string(rate) +
                                                " not available: the mount tracks at " +
                                                std::to_string(trackedRate()));
  }
}

std::shared_ptr<rates::TTrackingRatesCol> TTelescope::Get_TrackingRates() {
  logAsk("TrackingRates");
  return std::make_shared<rates::TTrackingRatesCol>(trackedRate());
}

}  // namespace tramox::driver
