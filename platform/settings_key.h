#pragma once
// Typed access to the per-user key "SOFTWARE\TRAMOX": site, park position, log switch and the
// slew time limit. Doubles are 8-byte binary values, integers REG_DWORD, text REG_SZ.
#include <cstdint>
#include <optional>
#include <string>

#include "platform/registry.h"

namespace tramox::platform {

class SettingsKey {
 public:
  static constexpr const char* kPath = "SOFTWARE\\TRAMOX";

  explicit SettingsKey(IRegistry& registry) : registry_(registry) {}

  // nullopt when absent; RegistryError "Type de données incorrect pour '<name>'" when the
  // value has another type or size.
  std::optional<double> readDouble(const std::string& name);
  std::optional<std::int32_t> readInt32(const std::string& name);
  std::optional<std::string> readString(const std::string& name);
  // As above, but a missing value fails with "Echec à l'obtention des données pour '<name>'".
  double requireDouble(const std::string& name);

  void writeDouble(const std::string& name, double value);
  void writeInt32(const std::string& name, std::int32_t value);
  void writeString(const std::string& name, const std::string& value);
  // Opens the key, creating it when missing. Returns false when that is impossible.
  bool ensureExists() noexcept;

 private:
  IRegistry& registry_;
};

std::string wrongTypeMessage(const std::string& valueName);
// wrongTypeMessage followed by what is stored, in the form of a .reg line, and where:
// Type de données incorrect pour 'LogEnabled' ("LogEnabled"="1" in /home/u/HKCU.reg).
std::string wrongTypeMessage(const std::string& valueName, const RegistryValue& stored,
                             const std::string& storeName);
std::string missingValueMessage(const std::string& valueName);

// The typed reads' checks, for callers that fetch the value themselves: RegistryError with
// wrongTypeMessage(valueName) unless the value has the expected type and size.
double doubleFrom(const RegistryValue& value, const std::string& valueName);
std::int32_t int32From(const RegistryValue& value, const std::string& valueName);

}  // namespace tramox::platform
