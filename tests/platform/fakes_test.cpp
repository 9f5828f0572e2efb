// The fakes stand in for the platform in every subsystem's tests; these check the behaviour
// those tests rely on.
#include <gtest/gtest.h>

#include "tests/fakes/fake_services.h"

namespace tramox::fakes {
namespace {

int answer() {
  return 42;
}

TEST(FakeLibraryLoader, ServesTheTestsTablesAndRecordsEveryCall) {
  FakeLibraryLoader loader;
  loader.addLibrary("C:\\WINDOWS\\System32\\Tramox_Telescope.dll", {{"Answer", exportOf(&answer)}});
  loader.addLibrary("broken.dll", {});
  loader.failLoad("broken.dll");

  EXPECT_EQ(loader.load("missing.dll"), nullptr);
  EXPECT_EQ(loader.load("broken.dll"), nullptr);
  auto handle = loader.load("C:\\WINDOWS\\System32\\Tramox_Telescope.dll");
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(reinterpret_cast<int (*)()>(loader.symbol(handle, "Answer"))(), 42);
  EXPECT_EQ(loader.symbol(handle, "GetKingPEC_DLL"), nullptr);
  EXPECT_EQ(loader.openHandles(), 1);
  loader.release(handle);
  EXPECT_EQ(loader.openHandles(), 0);
  EXPECT_THROW(loader.release(handle), std::logic_error);

  using Call = FakeLibraryLoader::Call;
  EXPECT_EQ(loader.calls(),
            (std::vector<Call>{{"load", "missing.dll"},
                               {"load", "broken.dll"},
                               {"load", "C:\\WINDOWS\\System32\\Tramox_Telescope.dll"},
                               {"symbol", "Answer"},
                               {"symbol", "GetKingPEC_DLL"},
                               {"release", "C:\\WINDOWS\\System32\\Tramox_Telescope.dll"}}));
}

TEST(FakeClock, SleepingMovesBothClocksAndRunsTheHook) {
  FakeClock clock;
  clock.setLocal({2026, 12, 7, 23, 59, 59, 500});
  int hookCalls = 0;
  clock.onSleep = [&](int ms) { hookCalls += ms; };
  const double start = clock.monotonicSeconds();
  clock.sleepMilliseconds(750);
  EXPECT_DOUBLE_EQ(clock.monotonicSeconds() - start, 0.75);
  auto now = platform::fromAutomationDate(clock.nowLocal());
  EXPECT_EQ(now.day, 8);
  EXPECT_EQ(now.millisecond, 250);
  EXPECT_EQ(hookCalls, 750);
  EXPECT_EQ(clock.sleepCalls(), 1);
}

TEST(FakeRegistry, FailuresHitOnlyTheChosenKeyWhateverItsSpelling) {
  FakeRegistry registry;
  registry.failWrites(platform::Hive::CurrentUser, "software\\tramox", "refusé");
  EXPECT_THROW(registry.createKey(platform::Hive::CurrentUser, "SOFTWARE\\TRAMOX"),
               platform::RegistryError);
  EXPECT_NO_THROW(registry.createKey(platform::Hive::LocalMachine, "SOFTWARE\\TRAMOX"));
  registry.hive(platform::Hive::CurrentUser).createKey("SOFTWARE\\TRAMOX");
  registry.failReads(platform::Hive::CurrentUser, "SOFTWARE\\TRAMOX");
  EXPECT_FALSE(registry.keyExists(platform::Hive::CurrentUser, "Software\\Tramox"));
  EXPECT_TRUE(registry.keyExists(platform::Hive::CurrentUser, "Software"));
}

TEST(FakeServices, EveryServiceIsWiredAndTheLogGoesToAFreshFolder) {
  std::filesystem::path folder;
  {
    FakeServices fake;
    platform::Services services = fake.services();
    EXPECT_EQ(services.registry, &fake.registry);
    EXPECT_EQ(services.paddleViews, &fake.paddleViews);
    folder = fake.folder.path();
    EXPECT_EQ(std::filesystem::path(services.logPath).parent_path(), folder);
    EXPECT_TRUE(std::filesystem::is_empty(folder));
    std::filesystem::create_directory(folder / "sub");
  }
  EXPECT_FALSE(std::filesystem::exists(folder));
}

}  // namespace
}  // namespace tramox::fakes
