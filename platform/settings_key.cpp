#include "platform/settings_key.h"

#include <cstdio>
#include <cstring>

namespace tramox::platform {

std::string wrongTypeMessage(const std::string& valueName) {
  return "Type de données incorrect pour '" + valueName + "'";
}

namespace {

// As a .reg file shows it: "text", dword:00000001 or hex:01,00.
std::string storedText(const RegistryValue& stored) {
  if (stored.kind == ValueKind::String) {
    return "\"" + stored.text + "\"";
  }
  char piece[16];
  if (stored.kind == ValueKind::Dword) {
    std::snprintf(piece, sizeof piece, "dword:%08x", static_cast<unsigned>(stored.dword));
    return piece;
  }
  std::string text = "hex:";
  for (const std::uint8_t byte : stored.bytes) {
    std::snprintf(piece, sizeof piece, text.size() > 4 ? ",%02x" : "%02x", byte);
    text += piece;
  }
  return text;
}

}  // namespace

std::string wrongTypeMessage(const std::string& valueName, const RegistryValue& stored,
                             const std::string& storeName) {
  const std::string where = storeName.empty() ? "" : " in " + storeName;
  return wrongTypeMessage(valueName) + " (\"" + valueName + "\"=" + storedText(stored) + where +
         ")";
}

std::string missingValueMessage(const std::string& valueName) {
  return "Echec à l'obtention des données pour '" + valueName + "'";
}

double doubleFrom(const RegistryValue& value, const std::string& valueName) {
  if (value.kind != ValueKind::Binary || value.bytes.size() != sizeof(double)) {
    throw RegistryError(wrongTypeMessage(valueName));
  }
  double result = 0.0;
  std::memcpy(&result, value.bytes.data(), sizeof result);
  return result;
}

std::int32_t int32From(const RegistryValue& value, const std::string& valueName) {
  if (value.kind != ValueKind::Dword) {
    throw RegistryError(wrongTypeMessage(valueName));
  }
  return static_cast<std::int32_t>(value.dword);
}

std::optional<double> SettingsKey::readDouble(const std::string& name) {
  auto value = registry_.readValue(Hive::CurrentUser, kPath, name);
  if (!value) {
    return std::nullopt;
  }
  return doubleFrom(*value, name);
}

std::optional<std::int32_t> SettingsKey::readInt32(const std::string& name) {
  auto value = registry_.readValue(Hive::CurrentUser, kPath, name);
  if (!value) {
    return std::nullopt;
  }
  return int32From(*value, name);
}

std::optional<std::string> SettingsKey::readString(const std::string& name) {
  auto value = registry_.readValue(Hive::CurrentUser, kPath, name);
  if (!value) {
    return std::nullopt;
  }
  if (value->kind != ValueKind::String) {
    throw RegistryError(wrongTypeMessage(name));
  }
  return value->text;
}

double SettingsKey::requireDouble(const std::string& name) {
  auto value = readDouble(name);
  if (!value) {
    throw RegistryError(missingValueMessage(name));
  }
  return *value;
}

void SettingsKey::writeDouble(const std::string& name, double value) {
  // Stored in the machine's byte order, as the Windows driver does with a raw REG_BINARY.
  std::vector<std::uint8_t> bytes(sizeof value);
  std::memcpy(bytes.data(), &value, sizeof value);
  registry_.writeValue(Hive::CurrentUser, kPath, name, RegistryValue::ofBinary(std::move(bytes)));
}

void SettingsKey::writeInt32(const std::string& name, std::int32_t value) {
  registry_.writeValue(Hive::CurrentUser, kPath, name,
                       RegistryValue::ofDword(static_cast<std::uint32_t>(value)));
}

void SettingsKey::writeString(const std::string& name, const std::string& value) {
  registry_.writeValue(Hive::CurrentUser, kPath, name, RegistryValue::ofString(value));
}

bool SettingsKey::ensureExists() noexcept {
  try {
    registry_.createKey(Hive::CurrentUser, kPath);
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace tramox::platform
