#include "platform/services.h"
#include "platform/win32/com_profile_store.h"
#include "platform/win32/paddle_window_factory.h"
#include "platform/win32/win_clock.h"
#include "platform/win32/win_library_loader.h"
#include "platform/win32/win_locale_format.h"
#include "platform/win32/win_message_windows.h"
#include "platform/win32/win_registry.h"

namespace tramox::platform {

Services& nativeServices() {
  static win32::WinRegistry registry;
  static win32::ComProfileStore profile;
  static win32::WinLibraryLoader libraries;
  static win32::WinClock clock;
  static win32::WinLocaleFormat locale;
  static win32::WinMessageWindows messages;
  static win32::PaddleWindowFactory paddleViews;
  static Services services{&registry, &profile,  &libraries,   &clock,
                           &locale,   &messages, &paddleViews, "C:\\TRAMO_DLL.log"};
  return services;
}

// The registry's own locking never waits on another process for long.
void lendStoreWaitClock(IClock*) {}

}  // namespace tramox::platform
