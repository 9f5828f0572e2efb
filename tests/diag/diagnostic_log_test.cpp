#include "diag/diagnostic_log.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

#include "platform/settings_key.h"
#include "tests/fakes/fake_services.h"

namespace tramox::diag {
namespace {

using platform::Hive;
using platform::RegistryValue;
using platform::SettingsKey;

class DiagnosticLogTest : public ::testing::Test {
 protected:
  void setSwitch(const RegistryValue& value) {
    fake.registry.hive(Hive::CurrentUser).setValue(SettingsKey::kPath, "LogEnabled", value);
  }
  void at(int hour, int minute, int second, int millisecond) {
    fake.clock.setLocal({2026, 12, 7, hour, minute, second, millisecond});
  }
  std::string logText() {
    std::ifstream in(fake.logPath(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  bool logExists() { return std::filesystem::exists(fake.logPath()); }

  fakes::FakeServices fake;
  DiagnosticLog log{fake.registry, fake.clock, fake.locale, fake.logPath()};
};

TEST_F(DiagnosticLogTest, AbsentSwitchWritesNothingButLeavesTheKeyBehind) {
  ASSERT_FALSE(fake.registry.keyExists(Hive::CurrentUser, SettingsKey::kPath));
  log.WriteLog("ASK for CanPark");
  EXPECT_TRUE(fake.registry.keyExists(Hive::CurrentUser, SettingsKey::kPath));
  EXPECT_FALSE(logExists());

  setSwitch(RegistryValue::ofDword(0));
  log.WriteLog("ASK for CanPark");
  EXPECT_FALSE(logExists());
}

TEST_F(DiagnosticLogTest, LinesCarryTheLocalDateTimeAndThreeDigitMilliseconds) {
  setSwitch(RegistryValue::ofDword(1));
  at(13, 5, 42, 123);
  log.WriteLog("ASK for CanPark");
  EXPECT_EQ(logText(), "07/12/2026 13:05:42.123 :ASK for CanPark\r\n");

  at(13, 5, 42, 7);
  log.WriteLog("                            =true");
  fake.clock.setLocal(platform::toAutomationDate({2026, 12, 7, 13, 5, 42, 0}) + 0.5 / 86400.0);
  log.WriteLog("x");
  EXPECT_EQ(logText(),
            "07/12/2026 13:05:42.123 :ASK for CanPark\r\n"
            "07/12/2026 13:05:42.007 :                            =true\r\n"
            "07/12/2026 13:05:42.500 :x\r\n");
}

TEST_F(DiagnosticLogTest, MidnightShowsTheDateAloneAndEmptyMessagesEndTheLine) {
  setSwitch(RegistryValue::ofDword(0xFFFFFFFFu));  // any nonzero value switches it on
  at(0, 0, 0, 250);
  log.WriteLog("ASK for Tracking");
  at(0, 0, 1, 0);
  log.WriteLog("");
  EXPECT_EQ(logText(),
            "07/12/2026.250 :ASK for Tracking\r\n"
            "07/12/2026 00:00:01.000 :\r\n");
}

TEST_F(DiagnosticLogTest, TheSwitchIsReadAgainOnEveryCall) {
  setSwitch(RegistryValue::ofDword(1));
  log.WriteLog("one");
  setSwitch(RegistryValue::ofDword(0));
  log.WriteLog("two");
  setSwitch(RegistryValue::ofDword(1));
  log.WriteLog("three");
  EXPECT_EQ(logText(),
            "07/12/2026 13:05:42.123 :one\r\n"
            "07/12/2026 13:05:42.123 :three\r\n");
}

TEST_F(DiagnosticLogTest, ExistingLogsAreAppendedToNeverTruncated) {
  std::ofstream(fake.logPath(), std::ios::binary) << "earlier session\r\n";
  setSwitch(RegistryValue::ofDword(1));
  log.WriteLog("later");
  EXPECT_EQ(logText(), "earlier session\r\n07/12/2026 13:05:42.123 :later\r\n");
}

TEST_F(DiagnosticLogTest, ASwitchOfTheWrongTypeFailsTheCaller) {
  setSwitch(RegistryValue::ofString("1"));
  try {
    log.WriteLog("ASK for CanPark");
    FAIL() << "no failure";
  } catch (const platform::RegistryError& e) {
    EXPECT_STREQ(e.what(), "Type de données incorrect pour 'LogEnabled' (\"LogEnabled\"=\"1\")");
  }
  setSwitch(RegistryValue::ofBinary({1, 0, 0, 0}));
  EXPECT_THROW(log.WriteLog("x"), platform::RegistryError);
  EXPECT_FALSE(logExists());
}

TEST_F(DiagnosticLogTest, RegistryAndFileFailuresAreAbsorbed) {
  fake.registry.failWrites(Hive::CurrentUser, SettingsKey::kPath);
  EXPECT_NO_THROW(log.WriteLog("key cannot be created"));
  fake.registry.clearFailures();

  setSwitch(RegistryValue::ofDword(1));
  fake.registry.failReads(Hive::CurrentUser, SettingsKey::kPath);
  EXPECT_NO_THROW(log.WriteLog("key cannot be read"));
  EXPECT_FALSE(logExists());
  fake.registry.clearFailures();

  // A folder where the file should be, and a file in a folder that does not exist.
  std::filesystem::create_directory(fake.logPath());
  EXPECT_NO_THROW(log.WriteLog("unwritable"));
  DiagnosticLog nowhere(fake.registry, fake.clock, fake.locale,
                        (fake.folder.path() / "missing" / "TRAMO_DLL.log").string());
  EXPECT_NO_THROW(nowhere.WriteLog("unwritable"));
  EXPECT_FALSE(std::filesystem::exists(fake.folder.path() / "missing"));

  // The lock was released on the failed paths: a later line from another thread gets through.
  std::filesystem::remove(fake.logPath());
  std::thread([&] { log.WriteLog("after"); }).join();
  EXPECT_EQ(logText(), "07/12/2026 13:05:42.123 :after\r\n");
}

// The clock and locale are shared fakes read concurrently; they are only read here.
TEST_F(DiagnosticLogTest, ConcurrentWritersNeverInterleaveWithinALine) {
  setSwitch(RegistryValue::ofDword(1));
  constexpr int kLinesEach = 200;
  const std::string longMessage(300, 'x');
  std::mutex registryMutex;  // the fake registry itself is not thread-safe
  struct LockedRegistry : platform::IRegistry {
    platform::IRegistry& inner;
    std::mutex& mutex;
    LockedRegistry(platform::IRegistry& r, std::mutex& m) : inner(r), mutex(m) {}
    bool keyExists(Hive h, const std::string& p) override {
      std::lock_guard g(mutex);
      return inner.keyExists(h, p);
    }
    void createKey(Hive h, const std::string& p) override {
      std::lock_guard g(mutex);
      inner.createKey(h, p);
    }
    bool deleteKey(Hive h, const std::string& p) override {
      std::lock_guard g(mutex);
      return inner.deleteKey(h, p);
    }
    std::optional<RegistryValue> readValue(Hive h, const std::string& p,
                                           const std::string& n) override {
      std::lock_guard g(mutex);
      return inner.readValue(h, p, n);
    }
    void writeValue(Hive h, const std::string& p, const std::string& n,
                    const RegistryValue& v) override {
      std::lock_guard g(mutex);
      inner.writeValue(h, p, n, v);
    }
    bool deleteValue(Hive h, const std::string& p, const std::string& n) override {
      std::lock_guard g(mutex);
      return inner.deleteValue(h, p, n);
    }
    void transact(Hive h, const std::function<void(platform::IRegistry&)>& body) override {
      std::lock_guard g(mutex);
      inner.transact(h, body);
    }
    void snapshot(Hive h, const std::function<void(platform::IRegistry&)>& body) override {
      std::lock_guard g(mutex);
      inner.snapshot(h, body);
    }
  } locked(fake.registry, registryMutex);

  auto writer = [&](char tag) {
    DiagnosticLog own(locked, fake.clock, fake.locale, fake.logPath());
    for (int i = 0; i < kLinesEach; ++i) {
      own.WriteLog(std::string(1, tag) + longMessage);
    }
  };
  std::thread a(writer, 'a');
  std::thread b(writer, 'b');
  a.join();
  b.join();

  std::istringstream lines(logText());
  std::string line;
  int count = 0;
  const std::regex layout("07/12/2026 13:05:42\\.123 :[ab]x{300}\r");
  while (std::getline(lines, line)) {
    EXPECT_TRUE(std::regex_match(line, layout)) << line.substr(0, 60);
    ++count;
  }
  EXPECT_EQ(count, 2 * kLinesEach);
}

}  // namespace
}  // namespace tramox::diag
