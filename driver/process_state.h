#pragma once
// The state every driver object of the process shares: one copy per driver runtime. The
// design assumes one driver object at a time; a second one alive at once sees the same copy.
#include <array>
#include <cstdint>
#include <memory>

#include "astro/radec_transform.h"
#include "controller/entry_points.h"
#include "paddle/raquette.h"
#include "rates/axis_speed_table.h"

namespace tramox::driver {

class TTelescope;

// What GetKingPEC_DLL reports at connect, handed on unchanged to the start calls.
struct KingPecTable {
  controller::Byte king = 0;
  std::array<double, 4> a{};
  std::array<double, 4> b{};
  std::array<double, 4> c{};
  controller::Byte pec = 0;
};

struct ProcessState {
  // True when the next construction does the full set-up.
  bool ConstructionGuard = true;
  // Driver objects alive now; the set-up runs again only once all of them are gone.
  int liveObjects = 0;

  bool TargetRightAscensionSet = false;
  bool TargetDeclinationSet = false;

  astro::SiteParameters SiteParameters;
  astro::AtmosphereParameters AtmosphereParameters;
  // Exists while connected.
  std::unique_ptr<astro::TRADECtranfos> pipeline;

  // Exists while connected; bound to paddleOwner.
  std::unique_ptr<paddle::TRaquette> paddle;
  const TTelescope* paddleOwner = nullptr;

  KingPecTable kingPec;
  rates::AxisSpeedTable AxisSpeedTable{};
};

}  // namespace tramox::driver
