#include "platform/settings_key.h"

#include <cstdio>
#include <cstring>

namespace tramox::platform {

std::string wrongTypeMessage(const std::string& valueName) {
  return "Type de données incorrect pour '" + valueName + "'";
}

std::string wrongTypeMessage(const std::string& valueName, const RegistryValue& stored,
                             const std::string& storeName) {
  std::string shown = "\"" + valueName + "\"=";
  switch (stored.kind) {
    case ValueKind::String:
      shown += "\"" + stored.text + "\"";
      break;
    case ValueKind::Dword: {
      char digits[16];
      std::snprintf(digits, sizeof digits, "dword:%08x", static_cast<unsigned>(stored.dword));
      shown += digits;
      break;
    }
    case ValueKind::Binary: {
      shown += "hex:";
      for (std::size_t i = 0; i < stored.bytes.size(); ++i) {
        char pair[4];
        std::snprintf(pair, sizeof pair, "%02x", static_cast<unsigned>(stored.bytes[i]));
        shown += (i ? "," : "") + std::string(pair);
      }
      break;
    }
  }
  if (!storeName.empty()) {
    shown += " in " + storeName;
  }
  return wrongTypeMessage(valueName) + " (" + shown + ")";
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
