#include "diag/diagnostic_log.h"

#include <cstdint>
#include <cstdio>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>

#include "diag/ansi_text.h"
#include "platform/automation_date.h"
#include "platform/call_epoch.h"
#include "platform/settings_key.h"

namespace tramox::diag {

namespace {

// One lock for the whole module rather than per driver object: an axis-rate collection may log
// while no driver object exists, and two driver objects must not tear down each other's lock.
// Never destroyed, so that logging from another object's destructor at process exit is safe.
std::recursive_mutex& logLock() {
  static auto* lock = new std::recursive_mutex;
  return *lock;
}

// A millisecond, 0 to 999.
std::string threeDigits(int value) {
  return {static_cast<char>('0' + value / 100), static_cast<char>('0' + value / 10 % 10),
          static_cast<char>('0' + value % 10)};
}

}  // namespace

DiagnosticLog::DiagnosticLog(platform::IRegistry& registry, platform::IClock& clock,
                             platform::ILocaleFormat& locale, std::string path)
    : registry_(registry), clock_(clock), locale_(locale), path_(std::move(path)) {}

// The switch as the store gave it; absent when the key cannot be opened or created.
std::optional<platform::RegistryValue> DiagnosticLog::readSwitch() {
  using platform::Hive;
  using platform::SettingsKey;

  std::optional<platform::RegistryValue> logSwitch;
  try {
    bool keyFound = false;  // one look at the store answers both
    registry_.snapshot(Hive::CurrentUser, [&](platform::IRegistry& view) {
      keyFound = view.keyExists(Hive::CurrentUser, SettingsKey::kPath);
      logSwitch = view.readValue(Hive::CurrentUser, SettingsKey::kPath, kLogEnabledValue);
    });
    if (!keyFound) {
      registry_.createKey(Hive::CurrentUser, SettingsKey::kPath);
    }
  } catch (...) {
    return std::nullopt;
  }
  return logSwitch;
}

void DiagnosticLog::WriteLog(const std::string& message) {
  if (enabled()) {
    writeLine(message);
  }
}

bool DiagnosticLog::enabled() {
  using platform::Hive;

  // Read once per member call: every line of the call, on every layer, follows that answer,
  // and an edit counts from the next call. A switch of the wrong type is read again, so that
  // each line reports it with the value found.
  enum class Switch { Off, On };
  struct SwitchRead {
    const DiagnosticLog* log = nullptr;
    std::uint64_t call = 0;
    Switch state = Switch::Off;
  };
  thread_local SwitchRead last;  // trivially destructible: the module may be unloaded
  const std::uint64_t call = platform::currentCallEpoch();
  if (call == 0 || last.call != call || last.log != this) {
    const std::optional<platform::RegistryValue> logSwitch = readSwitch();
    if (logSwitch && logSwitch->kind != platform::ValueKind::Dword) {
      last = {};
      throw platform::RegistryError(platform::wrongTypeMessage(
          kLogEnabledValue, *logSwitch, registry_.storeName(Hive::CurrentUser)));
    }
    last = {this, call, logSwitch && logSwitch->dword != 0 ? Switch::On : Switch::Off};
  }
  return last.state == Switch::On;
}

void DiagnosticLog::writeLine(const std::string& message) {
  std::lock_guard<std::recursive_mutex> guard(logLock());
  try {
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path_.c_str(), "ab"),
                                                         &std::fclose);
    if (!file) {
      return;
    }
    // The whole line goes out in one write, with no buffer to size and fill first.
    std::setvbuf(file.get(), nullptr, _IONBF, 0);
    const platform::CivilDateTime now = platform::fromAutomationDate(clock_.nowLocal());
    std::string line = locale_.shortDate(now.year, now.month, now.day);
    if (now.hour != 0 || now.minute != 0 || now.second != 0) {
      line.append(" ").append(locale_.longTime(now.hour, now.minute, now.second));
    }
    line.append(".").append(threeDigits(now.millisecond)).append(" :").append(message);
    line = toLogFileEncoding(line);
    line += "\r\n";
    std::fwrite(line.data(), 1, line.size(), file.get());
  } catch (...) {
    // A lost line must never change the outcome of the call being logged.
  }
}

}  // namespace tramox::diag
