#pragma once
// The module shows only "Init DLL failed" when the controller library does not load; the
// client adds, on its standard error, which file it was and the system loader's reason.
#include <string>

namespace tramox::tools {

// The message line the module shows for it.
inline constexpr const char* kInitDllFailedLine = "message: Init DLL failed";

// "PATH: REASON" for the controller library the module loads (TRAMOX_CONTROLLER or the
// platform's fixed place), found by loading it once more; empty when it loads now.
std::string controllerLoadFailure();

}  // namespace tramox::tools
