#include <gtest/gtest.h>
#include <math.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "platform/automation_date.h"
#include "platform/posix/dl_library_loader.h"
#include "platform/posix/posix_clock.h"
#include "platform/posix/posix_locale_format.h"
#include "platform/posix/posix_profile_store.h"
#include "platform/posix/reg_file_registry.h"
#include "platform/posix/stderr_message_windows.h"
#include "platform/posix/zone_change_watch.h"
#include "platform/profile_store.h"
#include "platform/services.h"
#include "tests/fakes/fake_services.h"

namespace tramox::platform {
namespace {

// Sets an environment variable for one test and puts the old value back afterwards.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) {
      old_ = old;
    }
    if (value == nullptr) {
      ::unsetenv(name);
    } else {
      ::setenv(name, value, 1);
    }
    ::tzset();
  }
  ~ScopedEnv() {
    if (old_) {
      ::setenv(name_, old_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
    ::tzset();
  }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

std::time_t utcInstant(int year, int month, int day, int hour) {
  return static_cast<std::time_t>(
      std::llround((toAutomationDate({year, month, day, hour, 0, 0, 0}) - 25569.0) * 86400.0));
}

TEST(PosixProfileStore, ValuesLiveUnderTheDriversKeyInTheMachineHive) {
  fakes::TempFolder folder;
  RegFileRegistry registry(folder.path().string());
  PosixProfileStore profile(registry);

  EXPECT_EQ(profile.getValue("TRAMOX.Telescope", "Tracking"), "");
  profile.writeValue("TRAMOX.Telescope", "Tracking", "Yes");
  EXPECT_EQ(profile.getValue("TRAMOX.Telescope", "Tracking"), "Yes");
  EXPECT_EQ(registry.readValue(Hive::LocalMachine, kAscomProfileKey, "Tracking"),
            RegistryValue::ofString("Yes"));
  profile.writeValue("Other.Telescope", "Tracking", "No");
  EXPECT_EQ(registry.readValue(Hive::LocalMachine,
                               "Software\\ASCOM\\Telescope Drivers\\Other.Telescope", "Tracking"),
            RegistryValue::ofString("No"));

  registry.writeValue(Hive::LocalMachine, kAscomProfileKey, "Tracking", RegistryValue::ofDword(1));
  EXPECT_THROW(profile.getValue("TRAMOX.Telescope", "Tracking"), RegistryError);
}

TEST(DlLibraryLoader, LoadsResolvesAndReleasesSharedObjects) {
  DlLibraryLoader loader;
  EXPECT_EQ(loader.windowsDirectory(), "");
  EXPECT_EQ(loader.load("/nonexistent/Tramox_Telescope.so"), nullptr);

  auto library = loader.load("libm.so.6");
  ASSERT_NE(library, nullptr);
  void* cosine = loader.symbol(library, "cos");
  ASSERT_NE(cosine, nullptr);
  EXPECT_EQ(reinterpret_cast<double (*)(double)>(cosine)(0.0), 1.0);
  EXPECT_EQ(loader.symbol(library, "InitCodeursDevice_DLL"), nullptr);
  loader.release(library);
}

TEST(PosixClock, ZonesAreDescribedAsGetTimeZoneInformationWould) {
  {
    ScopedEnv tz("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
    TimeZoneInfo winter = PosixClock::zoneAt(utcInstant(2026, 1, 15, 12));
    EXPECT_EQ(winter.result, 1u);
    EXPECT_EQ(winter.bias, -60);
    EXPECT_EQ(winter.standardBias, 0);
    EXPECT_EQ(winter.daylightBias, -60);
    TimeZoneInfo summer = PosixClock::zoneAt(utcInstant(2026, 7, 15, 12));
    EXPECT_EQ(summer.result, 2u);
    EXPECT_EQ(summer.bias, -60);
    EXPECT_EQ(summer.daylightBias, -60);
  }
  {
    ScopedEnv tz("TZ", "AEST-10AEDT,M10.1.0,M4.1.0/3");  // daylight time in January
    TimeZoneInfo january = PosixClock::zoneAt(utcInstant(2026, 1, 15, 12));
    EXPECT_EQ(january.result, 2u);
    EXPECT_EQ(january.bias, -600);
    EXPECT_EQ(january.daylightBias, -60);
    EXPECT_EQ(PosixClock::zoneAt(utcInstant(2026, 7, 15, 12)).result, 1u);
  }
  {
    ScopedEnv tz("TZ", "IST-5:30");
    TimeZoneInfo india = PosixClock::zoneAt(utcInstant(2026, 7, 15, 12));
    EXPECT_EQ(india.result, 0u);
    EXPECT_EQ(india.bias, -330);
    EXPECT_EQ(india.daylightBias, 0);
  }
}

TEST(PosixClock, LocalTimeFollowsTheZone) {
  ScopedEnv tz("TZ", "XYZ-3");
  PosixClock clock;
  const double unixNow = static_cast<double>(std::time(nullptr));
  const double expected = 25569.0 + (unixNow + 3 * 3600.0) / 86400.0;
  EXPECT_NEAR(clock.nowLocal(), expected, 5.0 / 86400.0);

  const double start = clock.monotonicSeconds();
  clock.sleepMilliseconds(20);
  EXPECT_GE(clock.monotonicSeconds() - start, 0.019);
}

// TZ changed by a plain setenv counts from the next call, with no tzset from anyone.
TEST(PosixClock, TheZoneFollowsTzFromTheNextCall) {
  ScopedEnv tz("TZ", "XYZ-3");
  PosixClock clock;
  EXPECT_EQ(clock.timeZone().bias, -180);
  const double before = clock.nowLocal();
  ::setenv("TZ", "XYZ+2", 1);
  EXPECT_EQ(clock.timeZone().bias, 120);
  EXPECT_NEAR(before - clock.nowLocal(), 5.0 / 24.0, 5.0 / 86400.0);
}

TEST(ZoneChangeWatch, AZoneFileEditedOrReplacedIsAChange) {
  ScopedEnv tz("TZ", nullptr);
  fakes::TempFolder folder;
  const std::string zoneFile = (folder.path() / "localtime").string();
  std::ofstream(zoneFile) << "a";
  ZoneChangeWatch watch(zoneFile);
  EXPECT_TRUE(watch.changed());
  EXPECT_FALSE(watch.changed());
  std::ofstream(zoneFile, std::ios::app) << "b";
  EXPECT_TRUE(watch.changed());
  EXPECT_FALSE(watch.changed());
  std::ofstream(zoneFile + ".new") << "c";
  EXPECT_TRUE(watch.changed());  // a neighbour: read again rather than miss a change
  std::filesystem::rename(zoneFile + ".new", zoneFile);
  EXPECT_TRUE(watch.changed());
  EXPECT_FALSE(watch.changed());
  ::setenv("TZ", "XYZ-3", 1);
  EXPECT_TRUE(watch.changed());
  EXPECT_FALSE(watch.changed());
}

// The settings and the zone share one notice queue: whichever reads it, each notice reaches
// the watch it is for, and only that one.
TEST(ZoneChangeWatch, SharesItsNoticesWithTheSettingsWithoutMixingThem) {
  ScopedEnv tz("TZ", nullptr);
  fakes::TempFolder zoneFolder;
  fakes::TempFolder home;
  const std::string zoneFile = (zoneFolder.path() / "localtime").string();
  std::ofstream(zoneFile) << "a";
  ZoneChangeWatch watch(zoneFile);
  RegFileRegistry reader(home.path().string());
  RegFileRegistry writer(home.path().string());
  constexpr const char* kKey = "SOFTWARE\\TRAMOX";
  const auto logSwitch = [&] { return reader.readValue(Hive::CurrentUser, kKey, "LogEnabled"); };
  writer.writeValue(Hive::CurrentUser, kKey, "LogEnabled", RegistryValue::ofDword(1));
  EXPECT_EQ(logSwitch(), RegistryValue::ofDword(1));
  EXPECT_TRUE(watch.changed());
  EXPECT_FALSE(watch.changed());

  writer.writeValue(Hive::CurrentUser, kKey, "LogEnabled", RegistryValue::ofDword(2));
  EXPECT_FALSE(watch.changed());  // takes the settings' notice, and leaves it to them
  EXPECT_EQ(logSwitch(), RegistryValue::ofDword(2));

  std::ofstream(zoneFile, std::ios::app) << "b";
  EXPECT_EQ(logSwitch(), RegistryValue::ofDword(2));  // takes the zone's notice
  EXPECT_TRUE(watch.changed());
  EXPECT_FALSE(watch.changed());
}

TEST(PosixLocaleFormat, TheCLocaleUsesItsOwnFormats) {
  PosixLocaleFormat c("C");
  EXPECT_EQ(c.shortDate(2026, 12, 7), "12/07/26");
  EXPECT_EQ(c.longTime(13, 5, 42), "13:05:42");
  EXPECT_EQ(c.decimalSeparator(), ".");
  PosixLocaleFormat missing("xx_NOWHERE.UTF-8");
  EXPECT_EQ(missing.longTime(0, 0, 7), "00:00:07");
}

TEST(StderrMessageWindows, EveryMessageIsOneLine) {
  EXPECT_EQ(asOneLine("Chargement impossible\r\nde la DLL"), "Chargement impossible  de la DLL");
  testing::internal::CaptureStderr();
  StderrMessageWindows windows;
  windows.showMessage("first\nmessage");
  windows.showErrorBox("second");
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "first message\nsecond\n");
}

TEST(TramoxHome, ComesFromTheEnvironmentAndIsCreated) {
  fakes::TempFolder folder;
  const std::string base = folder.path().string();
  {
    ScopedEnv home("TRAMOX_HOME", (base + "/explicit").c_str());
    EXPECT_EQ(tramoxHome(), base + "/explicit");
    EXPECT_TRUE(std::filesystem::is_directory(base + "/explicit"));
  }
  ScopedEnv noTramox("TRAMOX_HOME", nullptr);
  ScopedEnv fakeHome("HOME", (base + "/user").c_str());
  {
    ScopedEnv xdg("XDG_CONFIG_HOME", (base + "/xdg").c_str());
    EXPECT_EQ(tramoxHome(), base + "/xdg/tramox");
  }
  {
    ScopedEnv xdg("XDG_CONFIG_HOME", "relative/config");
    EXPECT_EQ(tramoxHome(), base + "/user/.config/tramox");
    EXPECT_TRUE(std::filesystem::is_directory(base + "/user/.config/tramox"));
  }
}

}  // namespace
}  // namespace tramox::platform

namespace tramox::platform {
namespace {

TEST(NativeServices, EveryServiceIsThereAndTheLogLivesInTheHomeFolder) {
  fakes::TempFolder folder;
  ScopedEnv home("TRAMOX_HOME", (folder.path() / "home").c_str());
  Services& services = nativeServices();
  EXPECT_EQ(&services, &nativeServices());
  EXPECT_NE(services.registry, nullptr);
  EXPECT_NE(services.profile, nullptr);
  EXPECT_NE(services.libraries, nullptr);
  EXPECT_NE(services.clock, nullptr);
  EXPECT_NE(services.locale, nullptr);
  EXPECT_NE(services.messages, nullptr);
  EXPECT_NE(services.paddleViews, nullptr);
  EXPECT_EQ(services.logPath, (folder.path() / "home" / "TRAMO_DLL.log").string());

  services.profile->writeValue("TRAMOX.Telescope", "Tracking", "No");
  EXPECT_TRUE(std::filesystem::exists(folder.path() / "home" / "HKLM.reg"));
}

}  // namespace
}  // namespace tramox::platform
