#pragma once
// The check groups, in the order ASCOM's checker runs them for an interface-version-2
// telescope, and its Alpaca protocol checks.
#include "tests/conformance/mount.h"

namespace tramox::conformance {

// Connected true, false, true, then the members every device has.
void checkCommonMembers(Mount& mount);
// Unparks and starts tracking before the checks, reads the mount's clock.
void checkBeforeRun(Mount& mount);
void checkCanProperties(Mount& mount);
void checkProperties(Mount& mount);
// Park before any park position was stored (a fresh installation) is an invalid operation.
void checkParkWithoutPosition(Mount& mount);
// CanMoveAxis comes first: the parked checks use it.
void checkCanMoveAxis(Mount& mount);
void checkParkAndUnpark(Mount& mount);
// AbortSlew, AxisRates, FindHome, MoveAxis, PulseGuide.
void checkMotionMethods(Mount& mount);
// At four hour angles, pulses in every direction move the mount by the guide rates read.
void checkExtendedPulseGuide(Mount& mount);
// The slews, syncs, target writes, DestinationSideOfPier and the alt-az methods.
void checkSlewsAndSyncs(Mount& mount);
// Stops tracking, as the checker does to protect the mount.
void checkAfterRun(Mount& mount);
void checkAlpacaProtocol(Mount& mount);

}  // namespace tramox::conformance
