#include "tests/driver/driver_fixture.h"

#include <filesystem>
#include <fstream>

#include "controller/controller_library.h"
#include "platform/profile_store.h"
#include "platform/settings_key.h"

namespace tramox::driver::testing {

DriverTest::DriverTest() {
  fakes_.libraries.addLibrary(controller::controllerLibraryPath(fakes_.libraries),
                              mount_.exports());
  fakes_.registry.writeValue(platform::Hive::CurrentUser, platform::SettingsKey::kPath,
                             "LogEnabled", platform::RegistryValue::ofDword(1));
  runtime_ = std::make_unique<DriverRuntime>(fakes_.services());
  scope_ = std::make_unique<TTelescope>(*runtime_);
}

DriverTest::~DriverTest() {
  scope_.reset();
  runtime_.reset();
}

std::vector<std::string> DriverTest::logged() const {
  std::vector<std::string> messages;
  std::ifstream file(fakes_.logPath(), std::ios::binary);
  std::string line;
  while (std::getline(file, line)) {
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
    }
    // The time stamp ends at the first " :".
    const auto end = line.find(" :");
    messages.push_back(end == std::string::npos ? line : line.substr(end + 2));
  }
  return messages;
}

void DriverTest::clearLog() {
  std::filesystem::remove(fakes_.logPath());
}

void DriverTest::connect() {
  scope_->Set_Connected(true);
  clearLog();
  mount_.clearCalls();
}

void DriverTest::arrangeProfileKey() {
  fakes_.registry.createKey(platform::Hive::LocalMachine, platform::kAscomProfileKey);
}

void DriverTest::writeSetting(const std::string& name, double value) {
  platform::SettingsKey(fakes_.registry).writeDouble(name, value);
}

std::optional<double> DriverTest::setting(const std::string& name) {
  return platform::SettingsKey(fakes_.registry).readDouble(name);
}

const platform::PaddleControlState& DriverTest::paddleControl(const std::string& name) const {
  return runtime_->state.paddle->Control(name);
}

}  // namespace tramox::driver::testing
