#include "platform/posix/reg_file_registry.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <utility>
#include <vector>

#include "platform/call_epoch.h"
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

// The parse is kept while the file keeps its identity, size and time stamp, and only then.
TEST_F(RegFileRegistryTest, AFileIsParsedAgainOnlyWhenItChanged) {
  const std::string file = home + "/HKCU.reg";
  auto inPlace = [&](char digit, const timespec* stamp) {
    std::string text = contentsOf(file);
    text[text.find("dword:0000000") + 13] = digit;
    std::fstream(file, std::ios::in | std::ios::out | std::ios::binary) << text;
    if (stamp != nullptr) {
      const timespec times[2] = {*stamp, *stamp};
      ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), times, 0), 0);
    }
  };
  auto logSwitch = [&] { return registry.readValue(Hive::CurrentUser, kKey, "LogEnabled"); };
  registry.writeValue(Hive::CurrentUser, kKey, "LogEnabled", RegistryValue::ofDword(1));
  // An edit within the time stamp's granularity of the last parse is still seen.
  EXPECT_EQ(logSwitch(), RegistryValue::ofDword(1));
  inPlace('2', nullptr);
  EXPECT_EQ(logSwitch(), RegistryValue::ofDword(2));

  const timespec old{1'600'000'000, 123'456'789};
  inPlace('3', &old);
  EXPECT_EQ(logSwitch(), RegistryValue::ofDword(3));
  inPlace('4', &old);  // same identity, size and time: the kept parse answers
  EXPECT_EQ(logSwitch(), RegistryValue::ofDword(3));
  const timespec oneNanosecondLater{old.tv_sec, old.tv_nsec + 1};
  inPlace('5', &oneNanosecondLater);
  EXPECT_EQ(logSwitch(), RegistryValue::ofDword(5));
  std::fstream(file, std::ios::app) << "broken\n";
  ASSERT_EQ(::utimensat(AT_FDCWD, file.c_str(), std::array{old, old}.data(), 0), 0);
  for (int read = 0; read < 2; ++read) {
    EXPECT_THROW(logSwitch(), RegistryError);
  }
}

// Reads between changes touch no file; each way of changing the hive still counts from the
// very next read, even within the clock tick of the last parse.
TEST_F(RegFileRegistryTest, EveryChangeCountsFromTheNextRead) {
  const std::string file = home + "/HKCU.reg";
  const std::string elsewhere = home + "/elsewhere";
  std::filesystem::create_directory(elsewhere);
  auto sameSizeEdit = [](const std::string& path, char digit) {
    std::string text = contentsOf(path);
    text[text.find("dword:0000000") + 13] = digit;
    std::fstream(path, std::ios::in | std::ios::out | std::ios::binary) << text;
  };
  const std::vector<std::pair<const char*, std::function<void()>>> changes = {
      {"another process",
       [&] {
         ASSERT_EQ(waitFor(spawn([&] {
                     RegFileRegistry(home).writeValue(Hive::CurrentUser, kKey, "LogEnabled",
                                                      RegistryValue::ofDword(2));
                   })),
                   0);
       }},
      {"a hand edit in place", [&] { sameSizeEdit(file, '2'); }},
      {"a hand edit through a second name", [&] { sameSizeEdit(elsewhere + "/hard", '2'); }},
      {"a hand edit through a link", [&] { sameSizeEdit(elsewhere + "/target", '2'); }},
  };
  for (std::size_t i = 0; i < changes.size(); ++i) {
    SCOPED_TRACE(changes[i].first);
    std::filesystem::remove(file);
    std::filesystem::remove_all(elsewhere);
    std::filesystem::create_directory(elsewhere);
    RegFileRegistry reader(home);
    registry.writeValue(Hive::CurrentUser, kKey, "LogEnabled", RegistryValue::ofDword(1));
    if (i == 2) {
      std::filesystem::create_hard_link(file, elsewhere + "/hard");
    } else if (i == 3) {
      std::filesystem::rename(file, elsewhere + "/target");
      std::filesystem::create_symlink(elsewhere + "/target", file);
    }
    for (int read = 0; read < 2; ++read) {
      EXPECT_EQ(reader.readValue(Hive::CurrentUser, kKey, "LogEnabled"), RegistryValue::ofDword(1));
    }
    changes[i].second();
    EXPECT_EQ(reader.readValue(Hive::CurrentUser, kKey, "LogEnabled"), RegistryValue::ofDword(2));
    std::fstream(file, std::ios::app) << "broken\n";
    for (int read = 0; read < 2; ++read) {
      EXPECT_THROW(reader.readValue(Hive::CurrentUser, kKey, "LogEnabled"), RegistryError);
    }
  }
}

// A member call takes the notices once; its own writes and a writer under its lock still see
// every change made before them, and the next call sees the rest.
TEST_F(RegFileRegistryTest, WithinOneCallWritesStillSeeEveryChange) {
  RegFileRegistry other(home);
  auto read = [&](const char* name) { return registry.readValue(Hive::CurrentUser, kKey, name); };
  registry.writeValue(Hive::CurrentUser, kKey, "Mine", RegistryValue::ofDword(1));
  {
    const CallScope call;
    EXPECT_EQ(read("Mine"), RegistryValue::ofDword(1));
    other.writeValue(Hive::CurrentUser, kKey, "Other", RegistryValue::ofDword(7));
    registry.writeValue(Hive::CurrentUser, kKey, "Mine", RegistryValue::ofDword(2));
    EXPECT_EQ(read("Mine"), RegistryValue::ofDword(2));
  }
  const CallScope next;
  EXPECT_EQ(read("Other"), RegistryValue::ofDword(7));
  EXPECT_EQ(other.readValue(Hive::CurrentUser, kKey, "Mine"), RegistryValue::ofDword(2));
}

TEST_F(RegFileRegistryTest, AForkedChildLeavesItsParentsNoticesAlone) {
  auto logSwitch = [&] { return registry.readValue(Hive::CurrentUser, kKey, "LogEnabled"); };
  registry.writeValue(Hive::CurrentUser, kKey, "LogEnabled", RegistryValue::ofDword(1));
  EXPECT_EQ(logSwitch(), RegistryValue::ofDword(1));
  std::filesystem::rename(home + "/HKCU.reg", home + "/saved");
  writeFile(home + "/HKCU.reg", "");
  ASSERT_EQ(waitFor(spawn([&] {
              if (logSwitch() != std::nullopt) {
                throw std::runtime_error("the child missed the change");
              }
            })),
            0);
  EXPECT_EQ(logSwitch(), std::nullopt);
}

TEST_F(RegFileRegistryTest, AHeldLockIsWaitedForABoundedTime) {
  registry.lockWait = std::chrono::milliseconds(100);
  const std::string lockFile = home + "/HKCU.reg.lock";
  const int holder = ::open(lockFile.c_str(), O_RDWR | O_CREAT, 0600);
  ASSERT_EQ(::flock(holder, LOCK_EX), 0);
  try {
    registry.writeValue(Hive::CurrentUser, kKey, "x", RegistryValue::ofDword(1));
    ADD_FAILURE() << "wrote under another's lock";
  } catch (const RegistryError& e) {
    EXPECT_NE(std::string(e.what()).find("'" + lockFile + "'"), std::string::npos) << e.what();
  }
  ::close(holder);
  registry.writeValue(Hive::CurrentUser, kKey, "x", RegistryValue::ofDword(1));
}

TEST_F(RegFileRegistryTest, OnlyARegularFileIsReadOrReplaced) {
  const std::string file = home + "/HKCU.reg";
  ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0);
  EXPECT_THROW(registry.readValue(Hive::CurrentUser, kKey, "x"), RegistryError);
  EXPECT_THROW(registry.writeValue(Hive::CurrentUser, kKey, "x", RegistryValue::ofDword(1)),
               RegistryError);
  struct stat status {};
  ASSERT_EQ(::lstat(file.c_str(), &status), 0);
  EXPECT_TRUE(S_ISFIFO(status.st_mode));
}

TEST_F(RegFileRegistryTest, ALinkedHiveIsWrittenThroughItsLink) {
  std::filesystem::create_directory(home + "/elsewhere");
  writeFile(home + "/elsewhere/settings.reg", "");
  std::filesystem::create_symlink("elsewhere/settings.reg", home + "/HKCU.reg");
  registry.writeValue(Hive::CurrentUser, kKey, "x", RegistryValue::ofDword(7));
  EXPECT_TRUE(std::filesystem::is_symlink(home + "/HKCU.reg"));
  EXPECT_NE(contentsOf(home + "/elsewhere/settings.reg").find("\"x\"=dword:00000007"),
            std::string::npos);
}

TEST_F(RegFileRegistryTest, TemporariesOfKilledWritersGoAtTheNextWrite) {
  for (const char* name :
       {"HKCU.reg.a1B2c3", "HKCU.reg.Zz9yX8", "HKCU.reg.notmine", "HKLM.reg.a1B2c3"}) {
    writeFile(home + "/" + name, "left behind");
  }
  registry.writeValue(Hive::CurrentUser, kKey, "x", RegistryValue::ofDword(1));
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(home)) {
    names.insert(entry.path().filename().string());
  }
  EXPECT_EQ(names, (std::set<std::string>{"HKCU.reg", "HKCU.reg.lock", "HKCU.reg.notmine",
                                          "HKLM.reg.a1B2c3"}));
}

TEST_F(RegFileRegistryTest, ATransactionWritesAllOrNothingAndASnapshotOnlyReads) {
  registry.transact(Hive::CurrentUser, [](IRegistry& view) {
    view.writeValue(Hive::CurrentUser, kKey, "Park_AH", RegistryValue::ofDword(1));
    view.writeValue(Hive::CurrentUser, kKey, "Park_Dec", RegistryValue::ofDword(2));
    EXPECT_THROW(view.readValue(Hive::LocalMachine, kKey, "x"), RegistryError);
  });
  const std::string committed = contentsOf(home + "/HKCU.reg");
  EXPECT_THROW(registry.transact(Hive::CurrentUser,
                                 [](IRegistry& view) {
                                   view.writeValue(Hive::CurrentUser, kKey, "Park_AH",
                                                   RegistryValue::ofDword(3));
                                   throw RegistryError("changed my mind");
                                 }),
               RegistryError);
  EXPECT_EQ(contentsOf(home + "/HKCU.reg"), committed);
  registry.snapshot(Hive::CurrentUser, [](IRegistry& view) {
    EXPECT_EQ(view.readValue(Hive::CurrentUser, kKey, "Park_AH"), RegistryValue::ofDword(1));
    EXPECT_EQ(view.readValue(Hive::CurrentUser, kKey, "Park_Dec"), RegistryValue::ofDword(2));
    EXPECT_THROW(view.writeValue(Hive::CurrentUser, kKey, "x", RegistryValue::ofDword(1)),
                 RegistryError);
  });
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
