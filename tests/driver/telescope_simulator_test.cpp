// A client session on the simulated controller, loaded as the real shared library, in real
// time. Its saved state goes to a temporary TRAMOX_HOME.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <thread>

#include "common/driver_error.h"
#include "driver/telescope.h"
#include "platform/posix/dl_library_loader.h"
#include "platform/posix/posix_clock.h"
#include "rates/rates.h"
#include "tests/fakes/fake_services.h"

namespace tramox::driver {
namespace {

class SimulatedMount : public ::testing::Test {
 protected:
  SimulatedMount() {
    setenv("TRAMOX_HOME", fakes_.folder.path().c_str(), 1);
    setenv("TRAMOX_CONTROLLER", TRAMOX_SIMULATOR_PATH, 1);
    setenv("TRAMOX_SIM", "reset=1,ra=6,dec=30,slew=60", 1);
    platform::Services services = fakes_.services();
    services.libraries = &loader_;
    services.clock = &clock_;
    runtime_ = std::make_unique<DriverRuntime>(services);
    scope_ = std::make_unique<TTelescope>(*runtime_);
  }
  ~SimulatedMount() override {
    scope_.reset();
    runtime_.reset();
    unsetenv("TRAMOX_SIM");
    unsetenv("TRAMOX_CONTROLLER");
  }

  fakes::FakeServices fakes_;
  platform::DlLibraryLoader loader_;
  platform::PosixClock clock_;
  std::unique_ptr<DriverRuntime> runtime_;
  std::unique_ptr<TTelescope> scope_;
};

constexpr double kHoursTolerance = 0.01;
constexpr double kDegreesTolerance = 0.1;

TEST_F(SimulatedMount, ConnectsAndReadsThePosition) {
  ASSERT_TRUE(runtime_->controller.loaded()) << fakes_.messages.messages().size();
  scope_->Set_Connected(true);
  ASSERT_TRUE(scope_->Get_Connected());
  EXPECT_TRUE(scope_->tracking());
  EXPECT_NEAR(scope_->Get_RightAscension(), 6.0, kHoursTolerance);
  EXPECT_NEAR(scope_->Get_Declination(), 30.0, kDegreesTolerance);
  EXPECT_EQ(scope_->Get_AlignmentMode(), algGermanPolar);
  const auto& label = runtime_->state.paddle->Control("LabelAD").text;
  EXPECT_EQ(label.size(), 10u);
  EXPECT_EQ(label.substr(3, 1), "h");
  scope_->Set_Connected(false);
  EXPECT_FALSE(scope_->Get_Connected());
  EXPECT_FALSE(runtime_->controller.loaded());
}

TEST_F(SimulatedMount, SlewsSyncsAndAborts) {
  scope_->Set_Connected(true);
  scope_->SlewToCoordinates(7.0, 35.0);
  EXPECT_FALSE(scope_->Get_Slewing());
  EXPECT_NEAR(scope_->Get_RightAscension(), 7.0, kHoursTolerance);
  EXPECT_NEAR(scope_->Get_Declination(), 35.0, kDegreesTolerance);

  scope_->SyncToCoordinates(7.5, 36.0);
  EXPECT_NEAR(scope_->Get_RightAscension(), 7.5, kHoursTolerance);
  EXPECT_NEAR(scope_->Get_Declination(), 36.0, kDegreesTolerance);

  scope_->SlewToCoordinatesAsync(1.0, -20.0);
  EXPECT_TRUE(scope_->Get_Slewing());
  scope_->AbortSlew();
  EXPECT_FALSE(scope_->Get_Slewing());
}

TEST_F(SimulatedMount, MovesAxesAtThePaddlesRatesAndGuides) {
  scope_->Set_Connected(true);
  const double medium = scope_->AxisRates(axisSecondary)->Get_Item(2)->Get_Maximum();
  ASSERT_GT(medium, 0.0);
  const double decBefore = scope_->Get_Declination();
  scope_->MoveAxis(axisSecondary, -medium);
  clock_.sleepMilliseconds(300);
  scope_->MoveAxis(axisSecondary, 0.0);
  EXPECT_LT(scope_->Get_Declination(), decBefore);
  EXPECT_THROW(scope_->MoveAxis(axisSecondary, medium * 1.5), DriverError);

  scope_->PulseGuide(guideNorth, 200);
  EXPECT_THROW(scope_->PulseGuide(guideNorth, 70000), DriverError);
}

TEST_F(SimulatedMount, ParksWhereSetParkStoredAndUnparks) {
  scope_->Set_Connected(true);
  scope_->SetPark();
  scope_->SlewToCoordinates(8.0, 10.0);
  scope_->Park();
  EXPECT_THROW(scope_->SlewToCoordinatesAsync(1.0, 1.0), DriverError);
  for (int poll = 0; poll < 200 && scope_->Get_Slewing(); ++poll) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_TRUE(scope_->Get_AtPark());
  scope_->Unpark();
  EXPECT_FALSE(scope_->Get_AtPark());
  EXPECT_TRUE(scope_->Get_Tracking());
  scope_->Set_Tracking(false);
  EXPECT_FALSE(scope_->Get_Tracking());
  scope_->Set_Tracking(true);
  EXPECT_TRUE(scope_->Get_Tracking());
}

}  // namespace
}  // namespace tramox::driver
