#include "client/controller_load_failure.h"

#include <cstdio>

#include "controller/controller_library.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/win32/wide_text.h"
#include "platform/win32/win_library_loader.h"
#else
#include <dlfcn.h>

#include "platform/posix/dl_library_loader.h"
#endif

namespace tramox::client {

std::string controllerLoadFailure() {
#ifdef _WIN32
  platform::win32::WinLibraryLoader loader;
  const std::string path = controller::controllerLibraryPath(loader);
  if (HMODULE module = LoadLibraryA(path.c_str())) {
    FreeLibrary(module);
    return "";
  }
  return path + ": " + platform::win32::systemMessage(GetLastError());
#else
  platform::DlLibraryLoader loader;
  const std::string path = controller::controllerLibraryPath(loader);
  // The same flags as the module's loader, so that the same reason comes out.
  if (void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL)) {
    dlclose(library);
    return "";
  }
  const char* why = dlerror();
  return path + ": " + (why ? why : "cannot be loaded");
#endif
}

void explainMessageLine(const std::string& line) {
  if (line != "message: Init DLL failed") {
    return;
  }
  if (const std::string why = controllerLoadFailure(); !why.empty()) {
    std::fprintf(stderr, "tramox: cannot load the controller library %s\n", why.c_str());
  }
}

}  // namespace tramox::client
