#include "platform/settings_key.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/fakes/fake_registry.h"

namespace tramox::platform {
namespace {

class SettingsKeyTest : public ::testing::Test {
 protected:
  std::optional<RegistryValue> raw(const std::string& name) {
    return registry.hive(Hive::CurrentUser).value("SOFTWARE\\TRAMOX", name);
  }
  void setRaw(const std::string& name, const RegistryValue& value) {
    registry.hive(Hive::CurrentUser).setValue("SOFTWARE\\TRAMOX", name, value);
  }
  template <typename F>
  std::string messageOf(F&& call) {
    try {
      call();
    } catch (const RegistryError& e) {
      return e.what();
    }
    return "(no RegistryError)";
  }

  fakes::FakeRegistry registry;
  SettingsKey key{registry};
};

TEST_F(SettingsKeyTest, DoublesAreEightByteBinaryValuesThatReadBackExactly) {
  const double longitudeWestRad = -10.0 * 3.1415926535897932385 / 180.0;
  key.writeDouble("Longitude", longitudeWestRad);

  auto stored = raw("Longitude");
  ASSERT_TRUE(stored);
  EXPECT_EQ(stored->kind, ValueKind::Binary);
  ASSERT_EQ(stored->bytes.size(), 8u);
  double fromBytes = 0;
  std::memcpy(&fromBytes, stored->bytes.data(), 8);
  EXPECT_EQ(fromBytes, -0.17453292519943295);
  EXPECT_EQ(key.readDouble("longitude"), -0.17453292519943295);
  EXPECT_EQ(key.requireDouble("LONGITUDE"), -0.17453292519943295);
}

TEST_F(SettingsKeyTest, IntegersAndTextRoundTrip) {
  key.writeInt32("LogEnabled", -2);
  key.writeString("Name", "Mont Aigoual é");
  EXPECT_EQ(raw("LogEnabled"), RegistryValue::ofDword(0xFFFFFFFEu));
  EXPECT_EQ(key.readInt32("LogEnabled"), -2);
  EXPECT_EQ(key.readString("Name"), "Mont Aigoual é");
}

TEST_F(SettingsKeyTest, AbsentValuesAreEmptyButRequiredOnesFailWithTheirName) {
  EXPECT_EQ(key.readDouble("Latitude"), std::nullopt);
  EXPECT_EQ(key.readInt32("LogEnabled"), std::nullopt);
  EXPECT_EQ(key.readString("Name"), std::nullopt);
  EXPECT_EQ(messageOf([&] { key.requireDouble("Park_AH"); }),
            "Echec à l'obtention des données pour 'Park_AH'");
}

TEST_F(SettingsKeyTest, WrongTypeOrSizeFailsWithTheValueName) {
  setRaw("Latitude", RegistryValue::ofDword(1));
  setRaw("Altitude", RegistryValue::ofBinary({1, 2, 3, 4}));
  setRaw("Park_Dec", RegistryValue::ofBinary(std::vector<std::uint8_t>(9, 0)));
  setRaw("LogEnabled", RegistryValue::ofString("1"));
  setRaw("Name", RegistryValue::ofBinary({}));

  EXPECT_EQ(messageOf([&] { key.readDouble("Latitude"); }),
            "Type de données incorrect pour 'Latitude'");
  EXPECT_EQ(messageOf([&] { key.requireDouble("Altitude"); }),
            "Type de données incorrect pour 'Altitude'");
  EXPECT_EQ(messageOf([&] { key.readDouble("Park_Dec"); }),
            "Type de données incorrect pour 'Park_Dec'");
  EXPECT_EQ(messageOf([&] { key.readInt32("LogEnabled"); }),
            "Type de données incorrect pour 'LogEnabled'");
  EXPECT_EQ(messageOf([&] { key.readString("Name"); }), "Type de données incorrect pour 'Name'");
}

TEST_F(SettingsKeyTest, EnsureExistsCreatesTheKeyOrReportsThatItCannot) {
  EXPECT_TRUE(key.ensureExists());
  EXPECT_TRUE(registry.keyExists(Hive::CurrentUser, "software\\tramox"));

  fakes::FakeRegistry locked;
  locked.failWrites(Hive::CurrentUser, "SOFTWARE\\TRAMOX");
  EXPECT_FALSE(SettingsKey(locked).ensureExists());
  EXPECT_FALSE(locked.keyExists(Hive::CurrentUser, "SOFTWARE\\TRAMOX"));
}

TEST_F(SettingsKeyTest, RegistryFailuresReachTheCaller) {
  registry.failWrites(Hive::CurrentUser, "SOFTWARE\\TRAMOX", "Accès refusé");
  EXPECT_EQ(messageOf([&] { key.writeDouble("Latitude", 1.0); }), "Accès refusé");
  registry.failReads(Hive::CurrentUser, "SOFTWARE\\TRAMOX", "illisible");
  EXPECT_EQ(messageOf([&] { key.readDouble("Latitude"); }), "illisible");
}

}  // namespace
}  // namespace tramox::platform
