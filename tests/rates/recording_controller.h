#pragma once
// A controller library of local functions that behaves like a small mount (parks, unparks,
// answers its speeds and position) and records every motion call, exported through the fake
// loader under the contract's names. One per process: the exported functions cannot carry
// state of their own.
#include <array>
#include <set>
#include <string>
#include <vector>

#include "tests/fakes/fake_library_loader.h"

namespace tramox::testing {

struct ControllerScript {
  std::array<double, 10> speedsRadPerSec{};
  double raRad = 0.0;
  double decRad = 0.0;
  bool parked = false;
  bool german = true;
  // Exported names that answer false.
  std::set<std::string> refused;
  // Motion, park and tracking calls, e.g. "MoveEngineDevice_DLL 2 1", "ParkTel_DLL".
  std::vector<std::string> calls;
  int getSpeedCalls = 0;
};

// The script the exported functions read and write; reset at the start of each test.
ControllerScript& controllerScript();
void resetControllerScript();

fakes::FakeLibraryLoader::Exports recordingControllerExports();

}  // namespace tramox::testing
