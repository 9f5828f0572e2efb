#include "simulator/simulated_controller.h"

#include <cstdio>
#include <cstdlib>
#include <utility>

#include "simulator/mount_state_file.h"

namespace tramox::sim {
namespace {

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

}  // namespace

SimulatedController::SimulatedController(const SimConfig& config, std::unique_ptr<SimClock> clock,
                                         std::filesystem::path statePath, std::string journalPath)
    : config_(config),
      clock_(std::move(clock)),
      statePath_(std::move(statePath)),
      journalPath_(std::move(journalPath)) {
  std::optional<MountState> saved;
  if (!statePath_.empty() && !config_.reset) {
    saved = loadMountState(statePath_);
  }
  mount_ = std::make_unique<Mount>(config_, *clock_, saved);
}

SimulatedController::~SimulatedController() {
  saveState();
}

std::unique_ptr<SimulatedController> SimulatedController::fromEnvironment() {
  std::vector<std::string> problems;
  const SimConfig config = parseSimConfig(environment("TRAMOX_SIM"), problems);
  for (const std::string& problem : problems) {
    std::fprintf(stderr, "Tramox_Telescope simulator: TRAMOX_SIM: %s\n", problem.c_str());
  }
  return std::make_unique<SimulatedController>(config,
                                               std::make_unique<SystemSimClock>(config.timescale),
                                               mountStatePath(), environment("TRAMOX_SIM_JOURNAL"));
}

bool SimulatedController::refuses(std::string_view entryPoint) const {
  return config_.refused.find(entryPoint) != config_.refused.end();
}

void SimulatedController::saveState() {
  if (!statePath_.empty()) {
    saveMountState(statePath_, mount_->state());
  }
}

}  // namespace tramox::sim
