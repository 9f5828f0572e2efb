// The Windows platform services on their own, under Wine: the registry mapping (types, views,
// key deletion rules, UTF-8 names and text), the late-bound profile store with and without a
// registered "DriverHelper.Profile", the library loader and the clock and locale.
//   platform_services_test [--no-profile]
// Ends with "TRAMOX-PLATFORM-RESULT failures=<n>" and exit code n.
#include <windows.h>

#include <objbase.h>

#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>

#include "platform/automation_date.h"
#include "platform/services.h"
#include "platform/settings_key.h"
#include "tests/wine/clients/check_report.h"

namespace {

using namespace tramox::platform;
using tramox::wine_tests::check;

template <class Body>
std::string failureOf(Body&& body) {
  try {
    body();
  } catch (const std::exception& e) {
    return std::string("threw: ") + e.what();
  }
  return "no failure";
}

constexpr const char* kKey = "Software\\TRAMOX platform test";

void registry(IRegistry& r) {
  r.deleteValue(Hive::CurrentUser, kKey, "text");
  check(!r.readValue(Hive::CurrentUser, kKey, "absent"), "a missing value reads as absent");
  check(!r.readValue(Hive::CurrentUser, "Software\\No such key", "x"), "a missing key too");

  const std::string accented =
      "Type de donn\xC3\xA9"
      "es \xC2\xB0";
  r.writeValue(Hive::CurrentUser, kKey, "text", RegistryValue::ofString(accented));
  r.writeValue(Hive::CurrentUser, kKey, "number", RegistryValue::ofDword(0xFFFFFFFEu));
  r.writeValue(Hive::CurrentUser, kKey, "bytes", RegistryValue::ofBinary({1, 2, 3, 0, 255}));
  check(r.readValue(Hive::CurrentUser, kKey, "text") == RegistryValue::ofString(accented),
        "UTF-8 text round trip through the wide registry");
  check(r.readValue(Hive::CurrentUser, kKey, "NUMBER") == RegistryValue::ofDword(0xFFFFFFFEu),
        "REG_DWORD round trip, names case-insensitive");
  check(r.readValue(Hive::CurrentUser, kKey, "bytes") == RegistryValue::ofBinary({1, 2, 3, 0, 255}),
        "REG_BINARY round trip with a zero byte");

  // A type the driver never writes cannot pass for one it reads.
  const unsigned long long wide = 42;
  HKEY key = nullptr;
  RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
  RegSetValueExA(key, "qword", 0, REG_QWORD, reinterpret_cast<const BYTE*>(&wide), sizeof wide);
  RegCloseKey(key);
  check(failureOf([&] { r.readValue(Hive::CurrentUser, kKey, "qword"); }) ==
            "threw: " + wrongTypeMessage("qword"),
        "REG_QWORD is the wrong type");

  SettingsKey settings(r);
  r.writeValue(Hive::CurrentUser, SettingsKey::kPath, "Latitude",
               RegistryValue::ofBinary({1, 2, 3, 4}));
  check(failureOf([&] { settings.readDouble("Latitude"); }) ==
            "threw: " + wrongTypeMessage("Latitude"),
        "a 4-byte Latitude cannot be read");
  settings.writeDouble("Latitude", 0.5);
  check(settings.readDouble("Latitude") == 0.5, "an 8-byte double round trip");

  r.createKey(Hive::CurrentUser, std::string(kKey) + "\\child");
  check(failureOf([&] { r.deleteKey(Hive::CurrentUser, kKey); }).rfind("threw: ", 0) == 0,
        "a key with subkeys is not deleted");
  check(r.deleteKey(Hive::CurrentUser, std::string(kKey) + "\\child"), "a leaf key is deleted");
  check(!r.deleteKey(Hive::CurrentUser, std::string(kKey) + "\\child"),
        "deleting it again answers false");
  check(r.deleteValue(Hive::CurrentUser, kKey, "qword") &&
            !r.deleteValue(Hive::CurrentUser, kKey, "qword"),
        "deleteValue answers whether the value existed");

  // Both builds meet in the 32-bit view of HKEY_LOCAL_MACHINE, where a 32-bit installer writes.
  r.writeValue(Hive::LocalMachine, kAscomProfileKey, "", RegistryValue::ofString("probe"));
  HKEY view = nullptr;
  const bool inThirtyTwo = RegOpenKeyExA(HKEY_LOCAL_MACHINE, kAscomProfileKey, 0,
                                         KEY_READ | KEY_WOW64_32KEY, &view) == ERROR_SUCCESS;
  if (view != nullptr) {
    RegCloseKey(view);
  }
  check(inThirtyTwo && r.keyExists(Hive::LocalMachine, kAscomProfileKey),
        "the ASCOM key lives in the 32-bit view");
  r.deleteKey(Hive::LocalMachine, kAscomProfileKey);
  for (const char* name : {"text", "number", "bytes"}) {
    r.deleteValue(Hive::CurrentUser, kKey, name);
  }
  r.deleteKey(Hive::CurrentUser, kKey);
}

void profile(IProfileStore& store, bool registered) {
  const std::string id = "TRAMOX.Platform.Test";
  if (!registered) {
    check(failureOf([&] { store.getValue(id, "Tracking"); }).find("DriverHelper.Profile") !=
              std::string::npos,
          "no DriverHelper.Profile: a failure naming it");
    return;
  }
  check(store.getValue(id, "Unset").empty(), "an unset profile value is empty");
  store.writeValue(id, "Tracking", "Yes");
  check(store.getValue(id, "Tracking") == "Yes", "profile write and read through IDispatch");
  store.writeValue(id, "Tracking", "No");
  check(store.getValue(id, "Tracking") == "No", "profile overwrite");
}

void loaderClockLocale(Services& s) {
  const std::string windows = s.libraries->windowsDirectory();
  check(windows.size() > 3 && windows[1] == ':', "GetWindowsDirectoryA [" + windows + "]");
  check(s.libraries->load(windows + "\\System32\\no_such_library.dll") == nullptr,
        "a missing library loads as null, without a box");
  auto kernel = s.libraries->load(windows + "\\System32\\kernel32.dll");
  check(kernel != nullptr && s.libraries->symbol(kernel, "GetTickCount") != nullptr &&
            s.libraries->symbol(kernel, "NoSuchExport") == nullptr,
        "symbols by exported name");
  s.libraries->release(kernel);

  SYSTEMTIME before{};
  GetLocalTime(&before);
  const CivilDateTime now = fromAutomationDate(s.clock->nowLocal());
  check(now.year == before.wYear && now.month == before.wMonth && now.day == before.wDay,
        "nowLocal is today's local date");
  const TimeZoneInfo zone = s.clock->timeZone();
  check(zone.result <= 2, "GetTimeZoneInformation answered " + std::to_string(zone.result));
  const double start = s.clock->monotonicSeconds();
  s.clock->sleepMilliseconds(50);
  const double waited = s.clock->monotonicSeconds() - start;
  check(waited >= 0.04 && waited < 5, "the steady clock moves with a sleep");
  check(!s.locale->shortDate(2026, 12, 7).empty() && !s.locale->longTime(13, 5, 42).empty(),
        "short date [" + s.locale->shortDate(2026, 12, 7) + "] and long time [" +
            s.locale->longTime(13, 5, 42) + "]");
  check(!s.locale->decimalSeparator().empty(), "decimal separator");
  check(s.logPath == "C:\\TRAMO_DLL.log", "the log path");
}

// Unattended, the message windows append their text to TRAMOX_MESSAGE_FILE instead of waiting
// for a click, one line per message, in the order shown.
void unattendedMessages(IMessageWindows& messages) {
  char previous[MAX_PATH] = {};
  const bool had = GetEnvironmentVariableA("TRAMOX_MESSAGE_FILE", previous, MAX_PATH) > 0;
  const char* path = "C:\\tramox-platform-messages.txt";
  DeleteFileA(path);
  SetEnvironmentVariableA("TRAMOX_MESSAGE_FILE", path);
  messages.showMessage("Init DLL failed");
  messages.showErrorBox("Telescope is parked.");
  SetEnvironmentVariableA("TRAMOX_MESSAGE_FILE", had ? previous : nullptr);
  std::string text;
  if (FILE* file = std::fopen(path, "rb")) {
    char buffer[256];
    text.assign(buffer, std::fread(buffer, 1, sizeof buffer, file));
    std::fclose(file);
  }
  DeleteFileA(path);
  check(text == "message: Init DLL failed\r\nerror: Telescope is parked.\r\n",
        "unattended messages recorded in order [" + text + "]");
}

}  // namespace

int main(int argc, char** argv) {
  const bool profileRegistered = !(argc > 1 && std::strcmp(argv[1], "--no-profile") == 0);
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  Services& services = nativeServices();
  try {
    registry(*services.registry);
    profile(*services.profile, profileRegistered);
    loaderClockLocale(services);
    unattendedMessages(*services.messages);
  } catch (const std::exception& e) {
    check(false, std::string("unexpected failure: ") + e.what());
  }
  CoUninitialize();
  return tramox::wine_tests::report("TRAMOX-PLATFORM-RESULT");
}
