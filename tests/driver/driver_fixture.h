#pragma once
// A driver object on fake services and the scripted controller, with logging on. Helpers read
// the log back as messages (time stamps removed) and arrange the registry and profile.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/driver_error.h"
#include "driver/failure_reasons.h"
#include "driver/telescope.h"
#include "tests/fakes/fake_services.h"
#include "tests/fakes/scripted_controller.h"

namespace tramox::driver::testing {

using fakes::ControllerCall;
using fakes::ScriptedController;

// Result lines: 28 blanks and "=".
inline const std::string kResult = std::string(28, ' ') + "=";

class DriverTest : public ::testing::Test {
 protected:
  DriverTest();
  ~DriverTest() override;

  // The logged messages since the last clearLog, in order.
  std::vector<std::string> logged() const;
  void clearLog();

  void connect();
  void arrangeProfileKey();
  void writeSetting(const std::string& name, double value);
  std::optional<double> setting(const std::string& name);
  const platform::PaddleControlState& paddleControl(const std::string& name) const;

  fakes::FakeServices fakes_;
  ScriptedController mount_;
  std::unique_ptr<DriverRuntime> runtime_;
  std::unique_ptr<TTelescope> scope_;
};

// Runs `action`, expects a DriverError with this code and message, raised with the reason a
// COM client tells from them.
template <class Action>
void expectDriverError(Action&& action, std::int32_t code, const std::string& message) {
  try {
    action();
    ADD_FAILURE() << "no error; expected " << message;
  } catch (const DriverError& e) {
    EXPECT_EQ(e.code(), code) << e.what();
    EXPECT_EQ(std::string(e.what()), message);
    EXPECT_EQ(e.reason(), failureReason(e.code(), e.what())) << e.what();
  }
}

}  // namespace tramox::driver::testing
