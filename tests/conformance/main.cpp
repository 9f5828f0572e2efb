// Walks ASCOM's conformance checks for an interface-version-2 telescope, and its Alpaca protocol
// checks, over HTTP against `tramox --sim serve` (its own, or the one TRAMOX_ALPACA_SERVER
// names). One line per check; the exit status is 1 when an undocumented issue was seen.
#include <exception>
#include <fstream>
#include <iostream>

#include "tests/alpaca/alpaca_server.h"
#include "tests/conformance/checks.h"

namespace {

// What a user sets up before a session: the guide rate the mount guides at (by hand in the
// settings key, half the sidereal rate as the simulated controller guides) and a site where
// every position the checks slew to is well above the horizon.
void prepare(const tramox::alpaca::testing::AlpacaServer& server,
             tramox::conformance::Mount& mount) {
  if (!server.external()) {
    std::ofstream(server.home() / "HKCU.reg", std::ios::app)
        << "\"GuideRate\"=hex:00,00,00,00,00,00,e0,3f\n";
  }
  mount.put("connected", "Connected=True");
  mount.put("sitelatitude", "SiteLatitude=45");
  mount.put("sitelongitude", "SiteLongitude=5");
  mount.put("siteelevation", "SiteElevation=250");
  if (mount.flag("atpark")) {
    mount.put("unpark");
  }
}

}  // namespace

int main() {
  using namespace tramox::conformance;
  try {
    // Fast slews keep the walk within a few minutes; everything else runs in real time.
    const tramox::alpaca::testing::AlpacaServer server("slew=60");
    Report report(std::cout);
    Mount mount(server, report);
    prepare(server, mount);
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
