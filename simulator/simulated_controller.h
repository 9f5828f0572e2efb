#pragma once
// The simulated controller behind the exported entry points: the mount, its settings, where its
// state is kept and where its journal goes. One per loaded library.
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "simulator/journal.h"
#include "simulator/mount.h"
#include "simulator/sim_clock.h"
#include "simulator/sim_config.h"

namespace tramox::sim {

class SimulatedController {
 public:
  // Restores the saved mount state from `statePath` (unless the settings ask for a reset);
  // an empty path keeps no state.
  SimulatedController(const SimConfig& config, std::unique_ptr<SimClock> clock,
                      std::filesystem::path statePath, std::string journalPath);
  // Saves the mount state, as a mount keeps it when the driver lets go of it.
  ~SimulatedController();
  SimulatedController(const SimulatedController&) = delete;
  SimulatedController& operator=(const SimulatedController&) = delete;

  // Built from TRAMOX_SIM, TRAMOX_SIM_JOURNAL and TRAMOX_HOME; settings problems go to stderr.
  static std::unique_ptr<SimulatedController> fromEnvironment();

  const SimConfig& config() const { return config_; }
  Mount& mount() { return *mount_; }
  bool refuses(std::string_view entryPoint) const;
  bool journaling() const { return !journalPath_.empty(); }
  void journal(const JournalLine& line) const { appendToJournal(journalPath_, line); }
  void saveState();

  // King and PEC modes, started by the driver when the controller reports them.
  bool kingRunning = false;
  bool pecRunning = false;

 private:
  SimConfig config_;
  std::unique_ptr<SimClock> clock_;
  std::filesystem::path statePath_;
  std::string journalPath_;
  std::unique_ptr<Mount> mount_;
};

}  // namespace tramox::sim
