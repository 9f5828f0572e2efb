#pragma once
// Every outside service the core calls on, bundled so that tests can substitute fakes.
#include <string>

#include "platform/clock.h"
#include "platform/library_loader.h"
#include "platform/locale_format.h"
#include "platform/message_windows.h"
#include "platform/paddle_view.h"
#include "platform/profile_store.h"
#include "platform/registry.h"

namespace tramox::platform {

struct Services {
  IRegistry* registry = nullptr;
  IProfileStore* profile = nullptr;
  ILibraryLoader* libraries = nullptr;
  IClock* clock = nullptr;
  ILocaleFormat* locale = nullptr;
  IMessageWindows* messages = nullptr;
  IPaddleViewFactory* paddleViews = nullptr;
  // Where the diagnostic log is written: "C:\TRAMO_DLL.log" on Windows,
  // $TRAMOX_HOME/TRAMO_DLL.log on POSIX.
  std::string logPath;
};

// The platform's own implementations, created on first use and alive until the process ends.
Services& nativeServices();

// Where the platform's stores sleep while another process holds their lock: that clock's
// sleepWhileBlocked, or a plain sleep while null. Only the POSIX stores take such a lock.
void lendStoreWaitClock(IClock* clock);

// POSIX: $TRAMOX_HOME, else ${XDG_CONFIG_HOME:-$HOME/.config}/tramox; created on demand.
std::string tramoxHome();

}  // namespace tramox::platform
