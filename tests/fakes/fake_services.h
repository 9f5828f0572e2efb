#pragma once
// One fake of every outside service, bundled as the platform::Services the core expects. The
// log file goes to a fresh temporary folder, removed with the object.
#include <filesystem>
#include <string>
#include <vector>

#include "platform/services.h"
#include "tests/fakes/fake_clock.h"
#include "tests/fakes/fake_library_loader.h"
#include "tests/fakes/fake_locale.h"
#include "tests/fakes/fake_profile_store.h"
#include "tests/fakes/fake_registry.h"
#include "tests/fakes/recording_message_windows.h"
#include "tests/fakes/recording_paddle_view.h"

namespace tramox::fakes {

// A folder of its own under the system's temporary directory, removed on destruction.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

struct FakeServices {
  FakeRegistry registry;
  FakeProfileStore profile;
  FakeLibraryLoader libraries;
  FakeClock clock;
  FakeLocale locale;
  RecordingMessageWindows messages;
  RecordingPaddleViewFactory paddleViews;
  TempFolder folder;

  std::string logPath() const { return (folder.path() / "TRAMO_DLL.log").string(); }
  // The log's messages in order, without their time stamps.
  std::vector<std::string> loggedMessages() const;
  platform::Services services();
};

}  // namespace tramox::fakes
