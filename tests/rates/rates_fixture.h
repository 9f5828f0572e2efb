#pragma once
// A loaded scripted controller, a diagnostic log on fakes and readers for the log's lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "controller/controller_library.h"
#include "diag/diagnostic_log.h"
#include "platform/settings_key.h"
#include "tests/fakes/fake_services.h"
#include "tests/fakes/scripted_controller.h"

namespace tramox::testing {

class RatesFixture : public ::testing::Test {
 protected:
  static constexpr const char* kControllerPath = "/opt/tramox/Tramox_Telescope.so";

  RatesFixture() {
    mount.speedsRadPerSec = {};
    fakes.libraries.addLibrary(kControllerPath, mount.exports());
    controller.LoadControllerLibrary();
  }

  void enableLog() {
    fakes.registry.writeValue(platform::Hive::CurrentUser, platform::SettingsKey::kPath,
                              "LogEnabled", platform::RegistryValue::ofDword(1));
  }
  // A switch of the wrong type: every WriteLog then fails.
  void breakLog() {
    fakes.registry.writeValue(platform::Hive::CurrentUser, platform::SettingsKey::kPath,
                              "LogEnabled", platform::RegistryValue::ofString("oui"));
  }

  // The messages of the log's lines, without their time stamps.
  std::vector<std::string> logMessages() const { return fakes.loggedMessages(); }

  fakes::FakeServices fakes;
  fakes::ScriptedController mount;
  diag::DiagnosticLog log{fakes.registry, fakes.clock, fakes.locale, fakes.logPath()};
  controller::ControllerLibrary controller{fakes.libraries, fakes.messages, kControllerPath};
};

}  // namespace tramox::testing
