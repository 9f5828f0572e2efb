// Walks ASCOM's conformance checks for an interface-version-2 telescope, and its Alpaca protocol
// checks, over HTTP against `tramox --sim serve` (its own, or the one TRAMOX_ALPACA_SERVER
// names). One line per check; the exit status is 1 when an undocumented issue was seen.
#include <exception>
#include <iostream>

#include "tests/alpaca/alpaca_server.h"
#include "tests/conformance/checks.h"

namespace {

// A site where every position the checks slew to is well above the horizon, written as a user
// would before a session.
void setSite(tramox::conformance::Mount& mount) {
  mount.put("connected", "Connected=True");
  mount.put("sitelatitude", "SiteLatitude=45");
  mount.put("sitelongitude", "SiteLongitude=5");
  mount.put("siteelevation", "SiteElevation=250");
  if (mount.flag("atpark"))
    mount.put("unpark");
}

}  // namespace

int main() {
  using namespace tramox::conformance;
  try {
    // Fast slews keep the walk within a few minutes; everything else runs in real time.
    const tramox::alpaca::testing::AlpacaServer server("slew=60");
    Report report(std::cout);
    Mount mount(server, report);
    setSite(mount);
    checkCommonMembers(mount);
    checkBeforeRun(mount);
    checkCanProperties(mount);
    checkParkWithoutPosition(mount);
    // The park position a user stores before parking.
    mount.put("setpark");
    checkProperties(mount);
    checkCanMoveAxis(mount);
    checkParkAndUnpark(mount);
    checkMotionMethods(mount);
    checkSlewsAndSyncs(mount);
    checkAlpacaProtocol(mount);
    checkAfterRun(mount);
    return report.finish();
  } catch (const std::exception& e) {
    std::cout << "ISSUE Conformance: the walk stopped: " << e.what() << std::endl;
    return 1;
  }
}
