#pragma once
// The simulated controller library as the driver sees it: loaded with dlopen into a
// ControllerLibrary, with TRAMOX_HOME, TRAMOX_SIM_JOURNAL and TRAMOX_SIM pointing at a
// temporary folder and settings of the test's choosing.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "controller/controller_library.h"
#include "platform/posix/dl_library_loader.h"
#include "tests/fakes/recording_message_windows.h"

namespace tramox::sim::testing {

class LoadedSimulator {
 public:
  // A fresh TRAMOX_HOME for each object; nothing is loaded yet.
  LoadedSimulator();
  ~LoadedSimulator();
  LoadedSimulator(const LoadedSimulator&) = delete;
  LoadedSimulator& operator=(const LoadedSimulator&) = delete;

  // Sets TRAMOX_SIM and loads `libraryPath` (the simulator unless told otherwise).
  controller::ControllerLibrary& load(const std::string& simSettings = "",
                                      const std::string& libraryPath = TRAMOX_SIMULATOR_PATH);
  // Releases the library, which unloads it: the next load starts a new controller.
  void release();
  controller::ControllerLibrary& library() { return *library_; }
  fakes::RecordingMessageWindows& messages() { return messages_; }

  const std::filesystem::path& home() const { return home_; }
  std::vector<std::string> journal() const;
  void clearJournal() const;

 private:
  std::filesystem::path home_;
  platform::DlLibraryLoader loader_;
  fakes::RecordingMessageWindows messages_;
  std::unique_ptr<controller::ControllerLibrary> library_;
};

// %.17g, as the journal writes doubles.
std::string g17(double value);

}  // namespace tramox::sim::testing
