#include "platform/posix/reg_file_registry.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "tests/fakes/fake_services.h"

namespace tramox::platform {
namespace {

constexpr const char* kKey = "SOFTWARE\\TRAMOX";

std::string contentsOf(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void writeFile(const std::string& file, const std::string& text) {
  std::ofstream(file, std::ios::binary) << text;
}

// Runs `child` in a forked process and returns its wait status.
template <typename F>
pid_t spawn(F&& child) {
  pid_t pid = ::fork();
  if (pid == 0) {
    int code = 0;
    try {
      child();
    } catch (...) {
      code = 1;
    }
    ::_exit(code);
  }
  return pid;
}

int waitFor(pid_t pid) {
  int status = 0;
  ::waitpid(pid, &status, 0);
  return status;
}

class RegFileRegistryTest : public ::testing::Test {
 protected:
  fakes::TempFolder folder;
  std::string home = folder.path().string();
  RegFileRegistry registry{home};
};

TEST_F(RegFileRegistryTest, ValuesOfEveryTypeReadBackThroughANewInstance) {
  registry.writeValue(Hive::CurrentUser, kKey, "Altitude",
                      RegistryValue::ofBinary({0, 0, 0, 0, 0, 0x40, 0x8f, 0x40}));
  registry.writeValue(Hive::CurrentUser, kKey, "LogEnabled", RegistryValue::ofDword(1));
  registry.writeValue(Hive::LocalMachine, "Software\\ASCOM", "Name", RegistryValue::ofString("é"));

  RegFileRegistry other(home);
  EXPECT_EQ(other.readValue(Hive::CurrentUser, "software\\tramox", "ALTITUDE"),
            RegistryValue::ofBinary({0, 0, 0, 0, 0, 0x40, 0x8f, 0x40}));
  EXPECT_EQ(other.readValue(Hive::CurrentUser, kKey, "LogEnabled"), RegistryValue::ofDword(1));
  EXPECT_EQ(other.readValue(Hive::LocalMachine, "Software\\ASCOM", "Name"),
            RegistryValue::ofString("é"));
  EXPECT_EQ(other.readValue(Hive::ClassesRoot, kKey, "LogEnabled"), std::nullopt);
  EXPECT_FALSE(std::filesystem::exists(home + "/HKCR.reg"));
  EXPECT_NE(contentsOf(home + "/HKCU.reg").find("\"LogEnabled\"=dword:00000001\n"),
            std::string::npos);
}

TEST_F(RegFileRegistryTest, KeysAreCreatedDeletedAndReportedPerHive) {
  EXPECT_FALSE(registry.keyExists(Hive::ClassesRoot, "TRAMOX.Telescope\\CLSID"));
  registry.createKey(Hive::ClassesRoot, "TRAMOX.Telescope\\CLSID");
  EXPECT_TRUE(registry.keyExists(Hive::ClassesRoot, "tramox.telescope"));
  EXPECT_FALSE(registry.keyExists(Hive::CurrentUser, "TRAMOX.Telescope"));
  EXPECT_THROW(registry.deleteKey(Hive::ClassesRoot, "TRAMOX.Telescope"), RegistryError);
  EXPECT_TRUE(registry.deleteKey(Hive::ClassesRoot, "TRAMOX.Telescope\\CLSID"));
  EXPECT_TRUE(registry.deleteKey(Hive::ClassesRoot, "TRAMOX.Telescope"));
  EXPECT_FALSE(registry.deleteKey(Hive::ClassesRoot, "TRAMOX.Telescope"));

  registry.writeValue(Hive::CurrentUser, kKey, "x", RegistryValue::ofDword(1));
  EXPECT_TRUE(registry.deleteValue(Hive::CurrentUser, kKey, "X"));
  EXPECT_FALSE(registry.deleteValue(Hive::CurrentUser, kKey, "X"));
  EXPECT_TRUE(registry.keyExists(Hive::CurrentUser, kKey));
}

TEST_F(RegFileRegistryTest, RewritingTheSameContentLeavesTheFileAlone) {
  registry.writeValue(Hive::CurrentUser, kKey, "LogEnabled", RegistryValue::ofDword(1));
  struct stat before {};
  ASSERT_EQ(::stat((home + "/HKCU.reg").c_str(), &before), 0);
  registry.writeValue(Hive::CurrentUser, kKey, "logenabled", RegistryValue::ofDword(1));
  registry.createKey(Hive::CurrentUser, "software");
  struct stat after {};
  ASSERT_EQ(::stat((home + "/HKCU.reg").c_str(), &after), 0);
  EXPECT_EQ(before.st_ino, after.st_ino);
}

TEST_F(RegFileRegistryTest, AnUnparsableFileIsReportedWithItsLineAndNeverRewritten) {
  const std::string file = home + "/HKCU.reg";
  const std::string broken =
      "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\SOFTWARE\\TRAMOX]\n"
      "\"Latitude\"=hex:00,01\n\"LogEnabled\"=dword:zz\n";
  writeFile(file, broken);

  try {
    registry.readValue(Hive::CurrentUser, kKey, "Latitude");
    FAIL() << "read succeeded";
  } catch (const RegistryError& e) {
    EXPECT_EQ(std::string(e.what()), file + ":5: bad hex digit in a dword");
  }
  EXPECT_THROW(registry.keyExists(Hive::CurrentUser, kKey), RegistryError);
  EXPECT_THROW(registry.writeValue(Hive::CurrentUser, kKey, "Latitude", RegistryValue::ofDword(1)),
               RegistryError);
  EXPECT_THROW(registry.deleteKey(Hive::CurrentUser, kKey), RegistryError);
  EXPECT_EQ(contentsOf(file), broken);
  // The other hives stay usable.
  registry.writeValue(Hive::LocalMachine, "A", "b", RegistryValue::ofDword(2));
  EXPECT_EQ(registry.readValue(Hive::LocalMachine, "A", "b"), RegistryValue::ofDword(2));
}

TEST_F(RegFileRegistryTest, AWriterKilledBeforeItsRenameLeavesTheOldFileIntact) {
  registry.writeValue(Hive::CurrentUser, kKey, "Latitude", RegistryValue::ofDword(1));
  const std::string before = contentsOf(home + "/HKCU.reg");

  pid_t writer = spawn([&] {
    RegFileRegistry dying(home);
    dying.beforeRename = [] { ::raise(SIGKILL); };
    dying.writeValue(Hive::CurrentUser, kKey, "Latitude", RegistryValue::ofDword(2));
  });
  int status = waitFor(writer);
  ASSERT_TRUE(WIFSIGNALED(status));
  ASSERT_EQ(WTERMSIG(status), SIGKILL);

  EXPECT_EQ(contentsOf(home + "/HKCU.reg"), before);
  EXPECT_EQ(registry.readValue(Hive::CurrentUser, kKey, "Latitude"), RegistryValue::ofDword(1));
  // The dead writer's lock went with it.
  registry.writeValue(Hive::CurrentUser, kKey, "Latitude", RegistryValue::ofDword(3));
  EXPECT_EQ(registry.readValue(Hive::CurrentUser, kKey, "Latitude"), RegistryValue::ofDword(3));
}

TEST_F(RegFileRegistryTest, ProcessesWritingAtTheSameTimeLoseNothing) {
  constexpr int kWriters = 4;
  constexpr int kValuesEach = 25;
  std::vector<pid_t> writers;
  for (int w = 0; w < kWriters; ++w) {
    writers.push_back(spawn([&, w] {
      RegFileRegistry own(home);
      for (int i = 0; i < kValuesEach; ++i) {
        own.writeValue(Hive::CurrentUser, kKey, "w" + std::to_string(w) + "_" + std::to_string(i),
                       RegistryValue::ofDword(static_cast<std::uint32_t>(i)));
      }
    }));
  }
  for (pid_t pid : writers) {
    int status = waitFor(pid);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  for (int w = 0; w < kWriters; ++w) {
    for (int i = 0; i < kValuesEach; ++i) {
      EXPECT_EQ(registry.readValue(Hive::CurrentUser, kKey,
                                   "w" + std::to_string(w) + "_" + std::to_string(i)),
                RegistryValue::ofDword(static_cast<std::uint32_t>(i)));
    }
  }
  for (const auto& entry : std::filesystem::directory_iterator(home)) {
    auto name = entry.path().filename().string();
    EXPECT_TRUE(name == "HKCU.reg" || name == "HKCU.reg.lock") << name;
  }
}

TEST_F(RegFileRegistryTest, AFolderThatCannotHoldTheFilesFailsWithARegistryError) {
  writeFile(home + "/plain-file", "x");
  RegFileRegistry impossible(home + "/plain-file/tramox");
  EXPECT_EQ(impossible.readValue(Hive::CurrentUser, kKey, "x"), std::nullopt);
  EXPECT_THROW(impossible.writeValue(Hive::CurrentUser, kKey, "x", RegistryValue::ofDword(1)),
               RegistryError);
}

}  // namespace
}  // namespace tramox::platform
