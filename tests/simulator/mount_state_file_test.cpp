// The mount state file: written whole or not at all, and read back only when complete.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <set>
#include <vector>

#include "simulator/journal.h"
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
  std::set<std::string> left;
  for (const auto& entry : std::filesystem::directory_iterator(path.parent_path())) {
    left.insert(entry.path().filename().string());
  }
  EXPECT_EQ(left, (std::set<std::string>{"simulator-state", "simulator-state.lock"}));
}

TEST_F(MountStateFileTest, OnlyACompleteValidStateIsRead) {
  EXPECT_FALSE(loadMountState(folder / "absent"));
  const std::string valid = "primary=1\nsecondary=0.5\ntracking=1\nparked=0\nutc=17\n";
  std::filesystem::create_directories(folder);
  const auto path = folder / "simulator-state";
  std::ofstream(path) << valid;
  EXPECT_TRUE(loadMountState(path));

  for (const std::string& damaged : std::vector<std::string>{
           std::string(), valid.substr(0, valid.size() - 1), valid.substr(0, 30),
           "primary=1\nsecondary=nan\ntracking=1\nparked=0\nutc=17\n",
           "primary=1e300\nsecondary=0.5\ntracking=1\nparked=0\nutc=17\n",
           "primary=1\nsecondary=0.5\ntracking=2\nparked=0\nutc=17\n",
           "primary=1\nsecondary=0.5\ntracking=1\nparked=0\nutc=-1\n",
           "primary=1\nprimary=2\nsecondary=0.5\ntracking=1\nparked=0\nutc=17\n",
           valid + "colour=red\n"}) {
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::ofstream(path) << damaged;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(loadMountState(path)) << damaged;
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_NE(said.find("'" + path.string() + "' is damaged"), std::string::npos) << said;
    EXPECT_FALSE(std::filesystem::exists(path)) << damaged;
    int kept = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      if (entry.path().filename().string().rfind("simulator-state.damaged-", 0) == 0) {
        std::ifstream in(entry.path());
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), damaged);
        ++kept;
      }
    }
    EXPECT_EQ(kept, 1) << damaged;
  }
}

TEST_F(MountStateFileTest, ConcurrentSaversNeverShowAReaderHalfAState) {
  const auto path = folder / "simulator-state";
  ASSERT_TRUE(saveMountState(path, MountState{1, 2, true, true, 3}));
  std::vector<pid_t> savers;
  for (int s = 0; s < 4; ++s) {
    const pid_t pid = ::fork();
    if (pid == 0) {
      for (int i = 0; i < 100; ++i) {
        saveMountState(path, MountState{1.0 + i, 2, i % 2 == 0, true, 3});
      }
      ::_exit(0);
    }
    savers.push_back(pid);
  }
  int incomplete = 0;
  for (int i = 0; i < 300; ++i) {
    const auto state = loadMountState(path);
    incomplete += state && state->parked ? 0 : 1;
  }
  for (pid_t pid : savers) {
    int status = 0;
    ::waitpid(pid, &status, 0);
  }
  EXPECT_EQ(incomplete, 0);
}

TEST_F(MountStateFileTest, AFifoInPlaceOfTheStateOrTheJournalIsRefusedNotWaitedOn) {
  std::filesystem::create_directories(folder);
  const auto state = folder / "simulator-state";
  const auto journal = folder / "journal";
  ASSERT_EQ(::mkfifo(state.c_str(), 0600), 0);
  ASSERT_EQ(::mkfifo(journal.c_str(), 0600), 0);
  testing::internal::CaptureStderr();
  EXPECT_FALSE(loadMountState(state));
  appendToJournal(journal.string(), JournalLine("GetDLLVer"));
  appendToJournal(journal.string(), JournalLine("GetDLLVer"));
  const std::string said = testing::internal::GetCapturedStderr();
  const std::string journalSaid = "'" + journal.string() + "' is not a regular file";
  EXPECT_NE(said.find("'" + state.string() + "' is not a regular file"), std::string::npos) << said;
  EXPECT_NE(said.find(journalSaid), std::string::npos) << said;
  EXPECT_EQ(said.find(journalSaid), said.rfind(journalSaid)) << "said at every call: " << said;
}

TEST_F(MountStateFileTest, StateLivesUnderTramoxHome) {
  setenv("TRAMOX_HOME", folder.c_str(), 1);
  EXPECT_EQ(mountStatePath(), folder / "simulator-state");
  unsetenv("TRAMOX_HOME");
  setenv("XDG_CONFIG_HOME", "/x", 1);
  EXPECT_EQ(mountStatePath(), std::filesystem::path("/x/tramox/simulator-state"));
  // Invalid, so ignored, as the driver's stores ignore it.
  const std::string user = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
  setenv("XDG_CONFIG_HOME", "relative", 1);
  setenv("HOME", "/h", 1);
  EXPECT_EQ(mountStatePath(), std::filesystem::path("/h/.config/tramox/simulator-state"));
  setenv("HOME", user.c_str(), 1);
  unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace tramox::sim
