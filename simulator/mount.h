#pragma once
// The simulated German equatorial (or fork) mount: two axes and an alignment, advanced to the
// clock's time at every request. The one place that owns the mount's state transitions.
#include <array>
#include <cstdint>
#include <optional>

#include "simulator/alignment.h"
#include "simulator/axis.h"
#include "simulator/sim_clock.h"
#include "simulator/sim_config.h"

namespace tramox::sim {

// What survives between runs, as a mount keeps it while the driver is away.
struct MountState {
  double primaryRad = 0.0;
  double secondaryRad = 0.0;
  bool tracking = false;
  bool parked = false;
  double utcSeconds = 0.0;  // when it was taken
};

enum class Direction { North = 0, South = 1, East = 2, West = 3 };
enum class SpeedClass { Max = 0, Medium = 1, Sidereal = 2 };

class Mount {
 public:
  // Starts from `saved` when given (a mount that was tracking has kept tracking meanwhile),
  // otherwise from the configured start values.
  Mount(const SimConfig& config, SimClock& clock, const std::optional<MountState>& saved);

  void setSite(double latRad, double lonWestRad);

  double rightAscensionRad();  // of date, [0, 2π)
  double declinationRad();
  bool westOfPier();
  bool axisMoving(int axis);  // slewing, or moving by hand
  bool pulseGuiding();
  bool parked();
  bool tracking();

  // A slew ends tracking when `trackingRateRadPerSec` is nonzero.
  // Each returns false, doing nothing, when the mount refuses (parked, or an unusable value).
  bool slewTo(double raRad, double decRad, double lonWestRad, double trackingRateRadPerSec);
  void stopSlew();
  bool sync(double raRad, double decRad);
  bool move(int direction, int speedClass);
  void stopMotion(bool primary, bool secondary);
  bool startTracking();
  void stopAll();
  bool pulseGuide(bool west, bool south, std::uint16_t primaryMs, std::uint16_t secondaryMs);
  bool park(double hourAngleRad, double decRad);
  bool unpark();

  // The state to save: for an axis still slewing, where it is going.
  MountState state();

 private:
  void update();
  double localSiderealTimeRad() const;
  AxisAngles axes() const;
  void placeAt(const AxisAngles& angles);
  // Both axes into one turn before a slew, so that it takes the short way.
  void placeInMechanicalRange();
  void setTrackingRate(double radPerSec);
  void placeAtStart();

  SimConfig config_;
  SimClock& clock_;
  Alignment alignment_;
  std::array<Axis, 2> axes_;  // primary (hour angle), secondary (declination)
  double lonWestRad_ = 0.0;
  double lastUpdateUtcSeconds_;
  double trackingRateRadPerSec_ = 0.0;
  bool parked_ = false;
  // Moving to the park position: parked once both axes have arrived.
  bool parking_ = false;
  // No saved state and nothing done yet: the start position waits for the site's longitude.
  bool startPending_ = false;
};

}  // namespace tramox::sim
