// The mount state file: written whole or not at all, and read back only when complete.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "simulator/mount_state_file.h"

namespace tramox::sim {
namespace {

class MountStateFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder =
        std::filesystem::temp_directory_path() /
        ("tramox-state-test-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder);
  }
  void TearDown() override { std::filesystem::remove_all(folder); }
  std::filesystem::path folder;
};

TEST_F(MountStateFileTest, SavedStateReadsBackExactly) {
  const auto path = folder / "deeper" / "simulator-state";
  const MountState state{-2.718281828459045, 1.9999999999999998, true, false, 1.7e9 + 0.125};
  ASSERT_TRUE(saveMountState(path, state));
  const auto loaded = loadMountState(path);
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->primaryRad, state.primaryRad);
  EXPECT_EQ(loaded->secondaryRad, state.secondaryRad);
  EXPECT_EQ(loaded->tracking, state.tracking);
  EXPECT_EQ(loaded->parked, state.parked);
  EXPECT_EQ(loaded->utcSeconds, state.utcSeconds);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(path.parent_path()),
                          std::filesystem::directory_iterator()),
            1);  // no temporary file left behind
}

TEST_F(MountStateFileTest, MissingOrIncompleteFileGivesNothing) {
  EXPECT_FALSE(loadMountState(folder / "absent"));
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "torn") << "primary=1\nsecondary=0.5\ntracking=1\nparked=0\nutc=17";
  EXPECT_TRUE(loadMountState(folder / "torn"));
  std::ofstream(folder / "torn") << "primary=1\nsecondary=0.5\ntracking=1\n";
  EXPECT_FALSE(loadMountState(folder / "torn"));
  std::ofstream(folder / "torn") << "primary=1\nsecondary=nan\ntracking=1\nparked=0\nutc=17\n";
  EXPECT_FALSE(loadMountState(folder / "torn"));
}

TEST_F(MountStateFileTest, StateLivesUnderTramoxHome) {
  setenv("TRAMOX_HOME", folder.c_str(), 1);
  EXPECT_EQ(mountStatePath(), folder / "simulator-state");
  unsetenv("TRAMOX_HOME");
  setenv("XDG_CONFIG_HOME", "/x", 1);
  EXPECT_EQ(mountStatePath(), std::filesystem::path("/x/tramox/simulator-state"));
}

}  // namespace
}  // namespace tramox::sim
