#pragma once
// The one rule that names the folder of the driver's stores and of the simulated controller's
// saved state, so that both always land in the same place: $TRAMOX_HOME; else on Windows
// %APPDATA%\tramox; else ${XDG_CONFIG_HOME:-$HOME/.config}/tramox, where a relative
// XDG_CONFIG_HOME is invalid and ignored. Made absolute at once, so that a later change of
// the working folder moves nothing. Empty when no folder can be named.
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace tramox {

inline std::string tramoxHomeFolder() {
  auto variable = [](const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
  };
  std::string home = variable("TRAMOX_HOME");
  if (home.empty()) {
#if defined(_WIN32)
    const std::string appData = variable("APPDATA");
    home = appData.empty() ? appData : appData + "\\tramox";
#else
    std::string config = variable("XDG_CONFIG_HOME");
    if (config.empty() || config[0] != '/') {
      const std::string user = variable("HOME");
      config = user.empty() ? user : user + "/.config";
    }
    home = config.empty() ? config : config + "/tramox";
#endif
  }
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(home, error);
  return home.empty() || error ? home : absolute.string();
}

}  // namespace tramox
