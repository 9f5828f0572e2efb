#include "simulator/mount_state_file.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>
#include <system_error>

#include "simulator/journal.h"

namespace tramox::sim {
namespace {

std::filesystem::path fromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr && *value != '\0' ? std::filesystem::path(value)
                                            : std::filesystem::path();
}

std::optional<double> numberOf(const std::map<std::string, std::string>& values,
                               const std::string& key) {
  const auto it = values.find(key);
  if (it == values.end()) {
    return std::nullopt;
  }
  double parsed = 0.0;
  const std::string& text = it->second;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(parsed)) {
    return std::nullopt;
  }
  return parsed;
}

}  // namespace

std::filesystem::path mountStatePath() {
  std::filesystem::path home = fromEnvironment("TRAMOX_HOME");
  if (home.empty()) {
#if defined(_WIN32)
    const std::filesystem::path appData = fromEnvironment("APPDATA");
    home = appData.empty() ? appData : appData / "tramox";
#else
    const std::filesystem::path xdg = fromEnvironment("XDG_CONFIG_HOME");
    const std::filesystem::path user = fromEnvironment("HOME");
    home = !xdg.empty() ? xdg / "tramox" : user.empty() ? user : user / ".config" / "tramox";
#endif
  }
  return home.empty() ? home : home / "simulator-state";
}

std::optional<MountState> loadMountState(const std::filesystem::path& path) {
  std::ifstream in(path);
  if (!in) {
    return std::nullopt;
  }
  std::map<std::string, std::string> values;
  for (std::string line; std::getline(in, line);) {
    const std::size_t equals = line.find('=');
    if (equals != std::string::npos) {
      values[line.substr(0, equals)] = line.substr(equals + 1);
    }
  }
  const auto primary = numberOf(values, "primary");
  const auto secondary = numberOf(values, "secondary");
  const auto tracking = numberOf(values, "tracking");
  const auto parked = numberOf(values, "parked");
  const auto utc = numberOf(values, "utc");
  if (!primary || !secondary || !tracking || !parked || !utc) {
    return std::nullopt;
  }
  return MountState{*primary, *secondary, *tracking != 0.0, *parked != 0.0, *utc};
}

bool saveMountState(const std::filesystem::path& path, const MountState& state) {
  std::error_code error;
  std::filesystem::create_directories(path.parent_path(), error);
  std::filesystem::path temporary = path;
  temporary += ".tmp";
  {
    std::ofstream out(temporary, std::ios::trunc);
    out << "primary=" << formatDouble(state.primaryRad) << '\n'
        << "secondary=" << formatDouble(state.secondaryRad) << '\n'
        << "tracking=" << (state.tracking ? 1 : 0) << '\n'
        << "parked=" << (state.parked ? 1 : 0) << '\n'
        << "utc=" << formatDouble(state.utcSeconds) << '\n';
    out.close();
    if (!out) {
      std::filesystem::remove(temporary, error);
      return false;
    }
  }
  std::filesystem::rename(temporary, path, error);
  return !error;
}

}  // namespace tramox::sim
