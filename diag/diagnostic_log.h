#pragma once
// The optional call log: one time-stamped line per WriteLog, when "LogEnabled" is nonzero.
#include <optional>
#include <string>

#include "platform/clock.h"
#include "platform/locale_format.h"
#include "platform/registry.h"

namespace tramox::diag {

// The settings value that turns the log on.
inline constexpr const char* kLogEnabledValue = "LogEnabled";

class DiagnosticLog {
 public:
  DiagnosticLog(platform::IRegistry& registry, platform::IClock& clock,
                platform::ILocaleFormat& locale, std::string path);
  // Absorbs every failure except a "LogEnabled" of the wrong type, which throws
  // platform::RegistryError.
  void WriteLog(const std::string& message);

  // Whether this call's lines are written: the switch is read once per member call, and
  // again at every line while it has the wrong type (platform::RegistryError). A caller that
  // asks first makes no line while the log is off, then hands it to writeLine.
  bool enabled();
  void writeLine(const std::string& message);

 private:
  std::optional<platform::RegistryValue> readSwitch();

  platform::IRegistry& registry_;
  platform::IClock& clock_;
  platform::ILocaleFormat& locale_;
  std::string path_;
};

// Log-line number forms: general decimal, at most 15 significant digits, the user's
// separator ("12.5", "0.000123", "1.5E-20").
std::string formatNumber(double value, const std::string& decimalSeparator);
inline const char* formatBool(bool value) {
  return value ? "true" : "false";
}

}  // namespace tramox::diag
