#include "tests/driver/driver_fixture.h"

#include <filesystem>

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
  return fakes_.loggedMessages();
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
