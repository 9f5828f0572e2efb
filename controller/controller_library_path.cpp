#include <cstdlib>
#include <string>

#include "controller/controller_library.h"

namespace tramox::controller {

// Where the POSIX build looks for the controller library when TRAMOX_CONTROLLER is not set.
inline constexpr const char* kPosixDefaultPath = "/usr/local/lib/tramox/libTramox_Telescope.so";

std::string controllerLibraryPath(platform::ILibraryLoader& loader) {
  // An empty value counts as unset, so clearing the variable restores the default.
  if (const char* overridePath = std::getenv("TRAMOX_CONTROLLER");
      overridePath != nullptr && *overridePath != '\0') {
    return overridePath;
  }
#if defined(_WIN32)
  return loader.windowsDirectory() + "\\System32\\Tramox_Telescope.dll";
#else
  (void)loader;
  return kPosixDefaultPath;
#endif
}

}  // namespace tramox::controller
