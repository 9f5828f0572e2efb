#include "platform/posix/posix_profile_store.h"

#include "platform/settings_key.h"

namespace tramox::platform {

std::string PosixProfileStore::keyOf(const std::string& driverId) {
  return "Software\\ASCOM\\Telescope Drivers\\" + driverId;
}

void PosixProfileStore::writeValue(const std::string& driverId, const std::string& name,
                                   const std::string& text) {
  registry_.writeValue(Hive::LocalMachine, keyOf(driverId), name, RegistryValue::ofString(text));
}

std::string PosixProfileStore::getValue(const std::string& driverId, const std::string& name) {
  auto value = registry_.readValue(Hive::LocalMachine, keyOf(driverId), name);
  if (!value) {
    return {};
  }
  if (value->kind != ValueKind::String) {
    throw RegistryError(wrongTypeMessage(name));
  }
  return value->text;
}

}  // namespace tramox::platform
