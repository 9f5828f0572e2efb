#pragma once
// `tramox demo`: a guided tour of the driver on the simulated controller, written in the
// client's own command language so that every step shows the command a script would use.
#include "tools/script_session.h"

namespace tramox::tools {

// Returns the exit status: 0 when the tour ran (failed steps are shown and counted), 1 when
// it was interrupted (the mount then stopped and disconnected).
int runDemoTour(ScriptSession& session);

}  // namespace tramox::tools
