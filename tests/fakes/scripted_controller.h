#pragma once
// A controller library made of extern "C" functions, handed out through the fake loader. Every
// entry point records its call with its arguments (integers and doubles as numbers, an address
// as the values it points to) and answers from the fields below; any entry point can be told
// to refuse (answer 0). Park and unpark move the mount when accepted. One instance is current
// at a time: the exported functions cannot carry state of their own.
#include <array>
#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "controller/entry_points.h"
#include "tests/fakes/fake_library_loader.h"

namespace tramox::fakes {

struct ControllerCall {
  std::string name;
  std::vector<double> args;
  bool operator==(const ControllerCall&) const = default;
};

class ScriptedController {
 public:
  ScriptedController();
  ~ScriptedController();
  ScriptedController(const ScriptedController&) = delete;
  ScriptedController& operator=(const ScriptedController&) = delete;

  // All 29 names with their functions, less those in `without`.
  FakeLibraryLoader::Exports exports(const std::vector<std::string>& without = {}) const;

  void refuse(const std::string& entryPoint) { refused_.insert(entryPoint); }
  void accept(const std::string& entryPoint) { refused_.erase(entryPoint); }
  bool refuses(const std::string& entryPoint) const { return refused_.count(entryPoint) != 0; }

  std::vector<std::string> names() const;
  std::vector<ControllerCall> callsTo(const std::string& entryPoint) const;
  int count(const std::string& entryPoint) const {
    return static_cast<int>(callsTo(entryPoint).size());
  }
  void clearCalls() { calls.clear(); }

  std::vector<ControllerCall> calls;

  // What the queries answer.
  double raRad = 0.0;
  double decRad = 0.0;
  bool german = true;
  bool west = false;
  bool pulseGuiding = false;
  controller::Byte parked = 0;  // written by IsParkedDevice_DLL; set by ParkTel_DLL
  // IsAxisSlewing_DLL's answer per axis.
  std::function<controller::Byte(std::int32_t axis)> axisSlewing = [](std::int32_t) {
    return controller::Byte{0};
  };
  // GetSpeed_DLL, radians per second.
  std::array<double, 10> speedsRadPerSec{0.001, 0.002, 0.003, 0.004, 0.005,
                                         0.006, 0.007, 0.008, 0.009, 0.010};
  controller::Byte king = 0;
  controller::Byte pec = 0;
  std::array<double, 4> kingPecA{1, 2, 3, 4};
  std::array<double, 4> kingPecB{5, 6, 7, 8};
  std::array<double, 4> kingPecC{9, 10, 11, 12};

 private:
  std::set<std::string> refused_;
};

// The instance the entry points answer from.
ScriptedController& currentController();

}  // namespace tramox::fakes
