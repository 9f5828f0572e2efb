#pragma once
// The state every driver object of the process shares: one copy per driver runtime. The
// design assumes one driver object at a time; a second one alive at once sees the same copy.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>

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
  // What the paddle's position labels are made from when next read: the pipeline, the instant
  // and the place of the read that last refreshed them. Overwritten in place by each read, so
  // that a read nobody follows with a look at the paddle costs no allocation.
  struct PaddlePosition {
    astro::TRADECtranfos pipeline;
    double utDate;
    double raRad;
    double decRad;
  };
  std::optional<PaddlePosition> paddlePosition;

  // Held for as long as the paddle exists, bound or not (declared first: released last).
  std::shared_ptr<void> paddleModuleHold;
  // Exists while connected; bound to paddleOwner. Outlives its owner when the owner is
  // released while connected, until the next connect replaces it or a disconnect closes it.
  std::unique_ptr<paddle::TRaquette> paddle;
  const TTelescope* paddleOwner = nullptr;

  KingPecTable kingPec;
  rates::AxisSpeedTable AxisSpeedTable{};
};

}  // namespace tramox::driver
