#include "simulator/sim_config.h"

#include <charconv>
#include <cmath>
#include <functional>
#include <map>

#include "common/units.h"
#include "controller/entry_point_table.h"

namespace tramox::sim {
namespace {

constexpr double kSidereal = units::kSiderealRateRadPerSec;

std::vector<std::string_view> split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  std::size_t start = 0;
  while (true) {
    const std::size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) {
      return parts;
    }
    start = end + 1;
  }
}

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
    text.remove_prefix(1);
  }
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
    text.remove_suffix(1);
  }
  return text;
}

bool parseNumber(std::string_view text, double& value) {
  double parsed = 0.0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(parsed)) {
    return false;
  }
  value = parsed;
  return true;
}

bool parseFlag(std::string_view text, bool& value) {
  if (text == "0" || text == "1") {
    value = text == "1";
    return true;
  }
  return false;
}

template <std::size_t N>
bool parseList(std::string_view text, std::array<double, N>& values, double low, double high) {
  const auto parts = split(text, ':');
  std::array<double, N> parsed{};
  if (parts.size() != N) {
    return false;
  }
  for (std::size_t i = 0; i < N; ++i) {
    if (!parseNumber(parts[i], parsed[i]) || parsed[i] < low || parsed[i] > high) {
      return false;
    }
  }
  values = parsed;
  return true;
}

bool isEntryPoint(std::string_view name) {
  for (const auto& row : controller::kEntryPoints) {
    if (name == row.exportedName) {
      return true;
    }
  }
  return false;
}

bool parseRefused(std::string_view text, EntryPointNames& refused,
                  std::vector<std::string>& problems) {
  for (std::string_view name : split(text, '+')) {
    if (isEntryPoint(name)) {
      refused.emplace(name);
    } else if (!name.empty()) {
      problems.push_back("refuse: no entry point named '" + std::string(name) + "'");
    }
  }
  return true;
}

using Setter = std::function<bool(std::string_view, SimConfig&, std::vector<std::string>&)>;

Setter flag(bool SimConfig::*member) {
  return [member](std::string_view v, SimConfig& c, auto&) { return parseFlag(v, c.*member); };
}

// A number accepted only within [low, high].
Setter number(double SimConfig::*member, double low, double high) {
  return [=](std::string_view v, SimConfig& c, auto&) {
    double parsed = 0.0;
    if (!parseNumber(v, parsed) || parsed < low || parsed > high) {
      return false;
    }
    c.*member = parsed;
    return true;
  };
}

// A list whose every value lies within [low, high].
template <std::size_t N>
Setter list(std::array<double, N> SimConfig::*member, double low, double high) {
  return
      [=](std::string_view v, SimConfig& c, auto&) { return parseList(v, c.*member, low, high); };
}

const std::map<std::string, Setter, std::less<>>& setters() {
  static const std::map<std::string, Setter, std::less<>> table = {
      {"german", flag(&SimConfig::german)},
      {"west", flag(&SimConfig::west)},
      {"parked", flag(&SimConfig::parked)},
      {"king", flag(&SimConfig::king)},
      {"pec", flag(&SimConfig::pec)},
      {"ra", number(&SimConfig::raHours, 0.0, 24.0)},
      {"dec", number(&SimConfig::decDegrees, -90.0, 90.0)},
      {"slew", number(&SimConfig::slewDegPerSec, 1e-6, 1e6)},
      // A speed is a magnitude: the direction comes with MoveEngineDevice_DLL.
      {"speeds", list(&SimConfig::speedsRadPerSec, 0.0, 1e3)},
      {"guide", number(&SimConfig::guideSiderealMultiple, 0.0, 1e3)},
      {"a", list(&SimConfig::kingPecA, -1e300, 1e300)},
      {"b", list(&SimConfig::kingPecB, -1e300, 1e300)},
      {"c", list(&SimConfig::kingPecC, -1e300, 1e300)},
      {"unreadable", flag(&SimConfig::unreadable)},
      {"nodec", flag(&SimConfig::nodec)},
      {"endless", flag(&SimConfig::endless)},
      {"refuse", [](std::string_view v, SimConfig& c,
                    std::vector<std::string>& p) { return parseRefused(v, c.refused, p); }},
      {"timescale", number(&SimConfig::timescale, 1e-3, 1e6)},
      {"reset", flag(&SimConfig::reset)},
  };
  return table;
}

}  // namespace

SimConfig::SimConfig()
    // Guide, sidereal, centring (8×) and finding (64×) rates in pairs, then 2°/s for slewing by
    // hand.
    : speedsRadPerSec{0.5 * kSidereal,
                      0.5 * kSidereal,
                      kSidereal,
                      kSidereal,
                      8.0 * kSidereal,
                      8.0 * kSidereal,
                      64.0 * kSidereal,
                      64.0 * kSidereal,
                      units::degreesToRadians(2.0),
                      units::degreesToRadians(2.0)} {}

SimConfig parseSimConfig(std::string_view text, std::vector<std::string>& problems) {
  SimConfig config;
  for (std::string_view item : split(text, ',')) {
    item = trimmed(item);
    if (item.empty()) {
      continue;
    }
    const std::size_t equals = item.find('=');
    const std::string_view key = trimmed(item.substr(0, equals));
    const std::string_view value =
        equals == std::string_view::npos ? std::string_view{} : trimmed(item.substr(equals + 1));
    const auto setter = setters().find(key);
    if (setter == setters().end()) {
      problems.push_back("unknown key '" + std::string(key) + "'");
    } else if (!setter->second(value, config, problems)) {
      problems.push_back("bad value for '" + std::string(key) + "': '" + std::string(value) + "'");
    }
  }
  return config;
}

}  // namespace tramox::sim
