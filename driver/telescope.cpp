// Construction and destruction of the driver object.
#include "driver/telescope.h"

namespace tramox::driver {

TTelescope::TTelescope(DriverRuntime& runtime) : rt_(runtime) {
  ProcessState& state = rt_.state;
  ++state.liveObjects;
  if (!state.ConstructionGuard) {
    return;
  }
  FConnected = false;
  state.TargetRightAscensionSet = false;
  state.TargetDeclinationSet = false;
  rt_.controller.LoadControllerLibrary();
  state.ConstructionGuard = false;
  // The log lock belongs to the log and lives as long as the module: nothing to create here.
}

TTelescope::~TTelescope() {
  ProcessState& state = rt_.state;
  // The paddle window stays open, but a paddle still bound to a destroyed object would call
  // it from its next event: cut it loose, so that its buttons do nothing from now on.
  if (state.paddle && state.paddleOwner == this) {
    state.paddle->Unbind();
    state.paddleOwner = nullptr;
  }
  if (--state.liveObjects == 0) {
    state.ConstructionGuard = true;
  }
}

}  // namespace tramox::driver
