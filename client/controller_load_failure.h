#pragma once
// The module shows only "Init DLL failed" when the controller library does not load; the
// client adds, on its standard error, which file it was and the system loader's reason.
#include <string>

namespace tramox::client {

// "PATH: REASON" for the controller library the module loads (TRAMOX_CONTROLLER or the
// platform's fixed place), found by loading it once more; empty when it loads now.
std::string controllerLoadFailure();

// Called with every message line the client shows: after "message: Init DLL failed", writes
// the path and the reason on standard error.
void explainMessageLine(const std::string& line);

}  // namespace tramox::client
