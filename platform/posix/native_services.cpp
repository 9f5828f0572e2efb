#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "common/tramox_home.h"
#include "platform/posix/dl_library_loader.h"
#include "platform/posix/posix_clock.h"
#include "platform/posix/posix_locale_format.h"
#include "platform/posix/posix_profile_store.h"
#include "platform/posix/reg_file_registry.h"
#include "platform/posix/stderr_message_windows.h"
#include "platform/services.h"

#if __has_include("platform/posix/headless_paddle_view.h")
#include "platform/posix/headless_paddle_view.h"
#define TRAMOX_HAVE_HEADLESS_PADDLE 1
#endif

namespace tramox::platform {

namespace {

struct NativeServices {
  std::string home = tramoxHome();
  RegFileRegistry registry{home};
  PosixProfileStore profile{registry};
  DlLibraryLoader libraries;
  PosixClock clock;
  PosixLocaleFormat locale;
  StderrMessageWindows messages;
  Services services;

  NativeServices() {
    services.registry = &registry;
    services.profile = &profile;
    services.libraries = &libraries;
    services.clock = &clock;
    services.locale = &locale;
    services.messages = &messages;
#ifdef TRAMOX_HAVE_HEADLESS_PADDLE
    services.paddleViews = &headlessPaddleViewFactory();
#endif
    services.logPath = home + "/TRAMO_DLL.log";
  }
};

NativeServices& native() {
  // Never destroyed: objects that log or read settings from their own destructors at process
  // exit must still find the services alive.
  static auto* services = new NativeServices;
  return *services;
}

}  // namespace

std::string tramoxHome() {
  const std::string home = tramoxHomeFolder();
  std::error_code ignored;  // a folder that cannot be made shows up at the first real use
  std::filesystem::create_directories(home, ignored);
  return home;
}

Services& nativeServices() {
  return native().services;
}

void lendStoreWaitClock(IClock* clock) {
  native().registry.lockWaitClock = clock;
}

}  // namespace tramox::platform
