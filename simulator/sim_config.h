#pragma once
// The simulated controller's settings, read from TRAMOX_SIM: comma-separated key=value pairs.
#include <array>
#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace tramox::sim {

// Looked up by the entry point's own name, with no copy of it.
using EntryPointNames = std::set<std::string, std::less<>>;

struct SimConfig {
  bool german = true;   // german: 1 German equatorial mount, 0 fork
  bool west = false;    // west: start through the pole, on the west side of the pier
  bool parked = false;  // parked: start parked
  bool king = false;    // king, pec: the flags GetKingPEC_DLL reports
  bool pec = false;
  double raHours = 0.0;  // ra, dec: start position, of date
  double decDegrees = 90.0;
  double slewDegPerSec = 3.0;  // slew
  // speeds: the ten values of GetSpeed_DLL, rad/s; odd ones serve the primary axis, even ones
  // the secondary. 3/4, 7/8 and 9/10 are the SSideral, SMedium and SMax classes of MoveEngine.
  std::array<double, 10> speedsRadPerSec{};
  double guideSiderealMultiple = 0.5;  // guide: pulse-guide rate as a multiple of sidereal
  std::array<double, 4> kingPecA{};    // a, b, c: the arrays GetKingPEC_DLL reports
  std::array<double, 4> kingPecB{};
  std::array<double, 4> kingPecC{};
  bool unreadable = false;  // unreadable: CheckCodeursCodeursDevice_DLL answers false
  bool nodec = false;       // nodec: GetDeltaCodeursDevice_DLL answers false
  bool endless = false;     // endless: slews never end until stopped
  EntryPointNames refused;  // refuse: entry points that answer false, '+'-separated
  double timescale = 1.0;   // timescale: simulated seconds per wall-clock second
  bool reset = false;       // reset: ignore the saved mount state and use the start values

  SimConfig();
};

// Parses TRAMOX_SIM text over the defaults. Unknown keys and bad values are left at their
// defaults and described in `problems`.
SimConfig parseSimConfig(std::string_view text, std::vector<std::string>& problems);

}  // namespace tramox::sim
