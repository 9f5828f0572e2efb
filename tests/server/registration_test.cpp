#include <gtest/gtest.h>

#include <set>
#include <utility>
#include <vector>

#include "server/member_table.h"
#include "server/portable/type_library_keys.h"
#include "server/registration.h"
#include "tests/fakes/fake_registry.h"

namespace tramox::server {
namespace {

using platform::Hive;

std::set<std::string> keysOf(fakes::FakeRegistry& registry) {
  std::set<std::string> keys;
  for (const auto* key : registry.hive(Hive::ClassesRoot).keys()) {
    keys.insert(key->path);
  }
  return keys;
}

std::string defaultValue(fakes::FakeRegistry& registry, const std::string& path,
                         const std::string& name = "") {
  auto v = registry.readValue(Hive::ClassesRoot, path, name);
  return v ? v->text : "<none>";
}

class RegistrationTest : public ::testing::Test {
 protected:
  fakes::FakeRegistry registry;
  portable::TypeLibraryKeys typeLibrary;
  std::vector<std::string> reasons;
  ServerRegistration target{registry, typeLibrary, "/opt/my tramox/TRAMOX.so", nullptr,
                            [this](const std::string& why) { reasons.push_back(why); }};
};

TEST_F(RegistrationTest, WritesTheClassAndIdentifierKeys) {
  ASSERT_EQ(registerServer(target), status::kOk);
  const std::string cls = "CLSID\\{EA8EFCB6-7F43-48BD-9852-E684C3227D1F}";
  EXPECT_EQ(defaultValue(registry, cls), "Telescope Object");
  // No short names here: a path with a blank is written as it is.
  EXPECT_EQ(defaultValue(registry, cls + "\\InprocServer32"), "/opt/my tramox/TRAMOX.so");
  EXPECT_EQ(defaultValue(registry, cls + "\\InprocServer32", "ThreadingModel"), "Apartment");
  EXPECT_EQ(defaultValue(registry, cls + "\\ProgID"), "TRAMOX.Telescope");
  EXPECT_EQ(defaultValue(registry, cls + "\\Version"), "1.0");
  EXPECT_EQ(defaultValue(registry, cls + "\\TypeLib"), "{8951F13E-7DBE-44EE-A9A4-06A4297B9920}");
  EXPECT_EQ(defaultValue(registry, "TRAMOX.Telescope"), "Telescope Object");
  EXPECT_EQ(defaultValue(registry, "TRAMOX.Telescope\\Clsid"),
            "{EA8EFCB6-7F43-48BD-9852-E684C3227D1F}");
  EXPECT_EQ(defaultValue(registry, "TRAMOX.TrackingRatesCol"), "TrackingRatesCol Object");
}

TEST_F(RegistrationTest, TwiceIsOnceAndUnregisteringRemovesEverything) {
  const auto untouched = keysOf(registry);
  ASSERT_EQ(registerServer(target), status::kOk);
  const auto once = keysOf(registry);
  ASSERT_EQ(registerServer(target), status::kOk);
  EXPECT_EQ(keysOf(registry), once);
  ASSERT_EQ(unregisterServer(target), status::kOk);
  // Only the shared parents stay, as on any machine.
  std::set<std::string> left = keysOf(registry);
  for (const char* shared : {"CLSID", "TypeLib", "Interface"}) {
    left.erase(shared);
  }
  EXPECT_EQ(left, untouched);
  EXPECT_EQ(unregisterServer(target), status::kOk);  // nothing to remove is no failure
}

TEST_F(RegistrationTest, AFailingStepGivesEFailWithItsReasonAndChangesNothing) {
  registry.failWrites(Hive::ClassesRoot, "TRAMOX.Rates", "HKCR.reg:7: bad hex digit in a dword");
  EXPECT_EQ(registerServer(target), status::kFail);
  EXPECT_EQ(keysOf(registry), std::set<std::string>{});
  registry.clearFailures();
  ASSERT_EQ(registerServer(target), status::kOk);
  const auto registered = keysOf(registry);
  registry.failWrites(Hive::ClassesRoot, "CLSID\\{EA8EFCB6-7F43-48BD-9852-E684C3227D1F}",
                      "Permission denied");
  EXPECT_EQ(unregisterServer(target), status::kFail);
  EXPECT_EQ(keysOf(registry), registered);
  EXPECT_EQ(reasons, (std::vector<std::string>{"HKCR.reg:7: bad hex digit in a dword",
                                               "Permission denied"}));
}

TEST_F(RegistrationTest, AnyMissingOrChangedValueMakesTheRegistrationIncomplete) {
  EXPECT_FALSE(serverRegistered(target));
  ASSERT_EQ(registerServer(target), status::kOk);
  EXPECT_TRUE(serverRegistered(target));
  const std::string anInterface = "Interface\\" + toRegistryString(telescopeInterface().iid);
  for (const auto& [key, name] : std::vector<std::pair<std::string, std::string>>{
           {"TRAMOX.Rate\\Clsid", ""},
           {anInterface + "\\TypeLib", "Version"},
           {"CLSID\\{EA8EFCB6-7F43-48BD-9852-E684C3227D1F}\\InprocServer32", "ThreadingModel"}}) {
    ASSERT_TRUE(registry.deleteValue(Hive::ClassesRoot, key, name)) << key;
    EXPECT_FALSE(serverRegistered(target)) << key;
    ASSERT_EQ(registerServer(target), status::kOk);
    EXPECT_TRUE(serverRegistered(target));
  }
  target.modulePath = "/elsewhere/TRAMOX.so";
  EXPECT_FALSE(serverRegistered(target));
}

TEST_F(RegistrationTest, InprocServerPathGoesThroughThePlatformsForm) {
  target.inprocServerPath = [](const std::string&) { return std::string("C:\\PROGRA~1\\T.DLL"); };
  ASSERT_EQ(registerServer(target), status::kOk);
  EXPECT_EQ(defaultValue(registry, "CLSID\\{5019DC9D-3481-4CCB-BDC4-1D93234C648A}\\InprocServer32"),
            "C:\\PROGRA~1\\T.DLL");
}

}  // namespace
}  // namespace tramox::server
