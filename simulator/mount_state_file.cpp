#include "simulator/mount_state_file.h"

#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <map>
#include <string>
#include <system_error>

#include "common/tramox_home.h"
#include "simulator/journal.h"
#include "simulator/state_file_io.h"

#if defined(_WIN32)
#include <process.h>
#define TRAMOX_GETPID _getpid
#else
#include <unistd.h>
#define TRAMOX_GETPID getpid
#endif

namespace tramox::sim {
namespace {

constexpr auto kLockWait = std::chrono::seconds(10);
// Beyond any angle the axes reach, even after centuries of tracking without a slew.
constexpr double kMaxAxisRad = 1e6;
// Unix time of the year 5000: later than any clock this will meet.
constexpr double kMaxUtcSeconds = 95'617'584'000.0;

struct Field {
  const char* key;
  double low;
  double high;
  bool flag;  // "0" or "1" only
};
constexpr Field kFields[] = {{"primary", -kMaxAxisRad, kMaxAxisRad, false},
                             {"secondary", -kMaxAxisRad, kMaxAxisRad, false},
                             {"tracking", 0, 1, true},
                             {"parked", 0, 1, true},
                             {"utc", 0, kMaxUtcSeconds, false}};

void report(const std::string& text) {
  std::fprintf(stderr, "Tramox_Telescope simulator: %s\n", text.c_str());
}

std::filesystem::path withSuffix(const std::filesystem::path& path, const std::string& suffix) {
  std::filesystem::path result = path;
  result += suffix;
  return result;
}

// The state in `text`, or nothing with the reason in `why`.
std::optional<MountState> parseState(const std::string& text, std::string& why) {
  if (text.empty() || text.back() != '\n') {
    why = text.empty() ? "it is empty" : "its last line is cut short";
    return std::nullopt;
  }
  std::map<std::string, std::string> values;
  std::size_t start = 0;
  for (std::size_t end = text.find('\n'); end != std::string::npos;
       start = end + 1, end = text.find('\n', start)) {
    const std::string line = text.substr(start, end - start);
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos ||
        !values.emplace(line.substr(0, equals), line.substr(equals + 1)).second) {
      why = "line '" + line.substr(0, 60) + "' is not one new key=value";
      return std::nullopt;
    }
  }
  double numbers[std::size(kFields)] = {};
  for (std::size_t i = 0; i < std::size(kFields); ++i) {
    const Field& field = kFields[i];
    const auto it = values.find(field.key);
    if (it == values.end()) {
      why = std::string("'") + field.key + "' is missing";
      return std::nullopt;
    }
    const std::string& value = it->second;
    const auto [end, error] =
        std::from_chars(value.data(), value.data() + value.size(), numbers[i]);
    const bool readable = error == std::errc() && end == value.data() + value.size() &&
                          std::isfinite(numbers[i]) && numbers[i] >= field.low &&
                          numbers[i] <= field.high && (!field.flag || value.size() == 1);
    if (!readable) {
      why = std::string("'") + field.key + "' has the value '" + value.substr(0, 40) + "'";
      return std::nullopt;
    }
    values.erase(it);
  }
  if (!values.empty()) {
    why = "it holds the unknown key '" + values.begin()->first.substr(0, 40) + "'";
    return std::nullopt;
  }
  return MountState{numbers[0], numbers[1], numbers[2] != 0.0, numbers[3] != 0.0, numbers[4]};
}

// Keeps a damaged state beside the file for whoever wants to look at it, unless a writer
// replaced it meanwhile.
void setAside(const std::filesystem::path& path, const std::string& damaged,
              const std::string& why) {
  StateFileLock lock(withSuffix(path, ".lock"), kLockWait);
  std::string now;
  std::string unread;
  std::string kept = "left in place";
  if (lock.held() && readRegularFile(path, now, unread) && now == damaged) {
    const auto aside =
        withSuffix(path, ".damaged-" + std::to_string(TRAMOX_GETPID()) + "-" +
                             std::to_string(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                                std::chrono::system_clock::now().time_since_epoch())
                                                .count()));
    std::error_code error;
    std::filesystem::rename(path, aside, error);
    kept = error ? kept + " (" + error.message() + ")" : "kept as '" + aside.string() + "'";
  } else if (!lock.held()) {
    kept += " (" + lock.why() + ")";
  }
  report("the saved state '" + path.string() + "' is damaged (" + why + "); " + kept +
         "; the mount starts from its start values");
}

}  // namespace

std::filesystem::path mountStatePath() {
  const std::filesystem::path home = tramoxHomeFolder();
  return home.empty() ? home : home / "simulator-state";
}

std::optional<MountState> loadMountState(const std::filesystem::path& path) {
  std::string text;
  std::string why;
  if (!readRegularFile(path, text, why)) {
    if (!why.empty()) {
      report("the saved state cannot be read: " + why);
    }
    return std::nullopt;
  }
  auto state = parseState(text, why);
  if (!state) {
    setAside(path, text, why);
  }
  return state;
}

bool saveMountState(const std::filesystem::path& path, const MountState& state) {
  std::error_code error;
  std::filesystem::create_directories(path.parent_path(), error);
  StateFileLock lock(withSuffix(path, ".lock"), kLockWait);
  std::string why = lock.why();
  if (lock.held()) {
    const std::string text = "primary=" + formatDouble(state.primaryRad) + "\n" +
                             "secondary=" + formatDouble(state.secondaryRad) + "\n" +
                             "tracking=" + (state.tracking ? "1" : "0") + "\n" +
                             "parked=" + (state.parked ? "1" : "0") + "\n" +
                             "utc=" + formatDouble(state.utcSeconds) + "\n";
    if (replaceFile(path, text, why)) {
      return true;
    }
  }
  report("the mount state cannot be saved: " + why);
  return false;
}

}  // namespace tramox::sim
