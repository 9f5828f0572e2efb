// Where the binding looks for the controller library.
#include <gtest/gtest.h>

#include <cstdlib>

#include "controller/controller_library.h"
#include "tests/fakes/fake_library_loader.h"

namespace tramox::controller {
namespace {

class ControllerLibraryPathTest : public ::testing::Test {
 protected:
  void TearDown() override { unsetenv("TRAMOX_CONTROLLER"); }
  fakes::FakeLibraryLoader loader;
};

TEST_F(ControllerLibraryPathTest, EnvironmentOverridesTheFixedLocation) {
  setenv("TRAMOX_CONTROLLER", "/opt/mount/libcontroller.so", 1);
  EXPECT_EQ(controllerLibraryPath(loader), "/opt/mount/libcontroller.so");
}

TEST_F(ControllerLibraryPathTest, UnsetOrEmptyVariableGivesTheFixedLocation) {
  unsetenv("TRAMOX_CONTROLLER");
  const std::string fixed = controllerLibraryPath(loader);
  EXPECT_EQ(fixed, "/usr/local/lib/tramox/libTramox_Telescope.so");

  setenv("TRAMOX_CONTROLLER", "", 1);
  EXPECT_EQ(controllerLibraryPath(loader), fixed);
}

}  // namespace
}  // namespace tramox::controller
