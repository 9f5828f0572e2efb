#include "tests/simulator/loaded_simulator.h"

#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>

namespace tramox::sim::testing {
namespace {

std::filesystem::path freshHome() {
  static std::atomic<int> counter{0};
  const auto path =
      std::filesystem::temp_directory_path() /
      ("tramox-sim-test-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
  std::filesystem::remove_all(path);
  std::filesystem::create_directories(path);
  return path;
}

}  // namespace

LoadedSimulator::LoadedSimulator() : home_(freshHome()) {}

LoadedSimulator::~LoadedSimulator() {
  release();
  std::error_code ignored;
  std::filesystem::remove_all(home_, ignored);
}

controller::ControllerLibrary& LoadedSimulator::load(const std::string& simSettings,
                                                     const std::string& libraryPath) {
  release();
  setenv("TRAMOX_HOME", home_.c_str(), 1);
  setenv("TRAMOX_SIM_JOURNAL", (home_ / "journal").c_str(), 1);
  setenv("TRAMOX_SIM", simSettings.c_str(), 1);
  library_ = std::make_unique<controller::ControllerLibrary>(loader_, messages_, libraryPath);
  library_->LoadControllerLibrary();
  return *library_;
}

void LoadedSimulator::release() {
  if (library_) {
    library_->Release();
    library_.reset();
  }
}

std::vector<std::string> LoadedSimulator::journal() const {
  std::vector<std::string> lines;
  std::ifstream in(home_ / "journal");
  for (std::string line; std::getline(in, line);) {
    lines.push_back(line);
  }
  return lines;
}

void LoadedSimulator::clearJournal() const {
  std::filesystem::remove(home_ / "journal");
}

std::string g17(double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.17g", value);
  return buffer;
}

}  // namespace tramox::sim::testing
