#include "alpaca/web/device_setup.h"

#include <cstdio>
#include <utility>

#include "client/setup_settings.h"
#include "common/units.h"
#include "platform/services.h"
#include "platform/settings_key.h"

namespace tramox::web {
namespace {

using client::Value;

std::string numberText(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.15g", value);
  return text;
}

struct SiteMember {
  const char* member;
  const char* label;
  const char* unit;
};
constexpr SiteMember kSiteMembers[] = {{"SiteLatitude", "Latitude", "degrees, north positive"},
                                       {"SiteLongitude", "Longitude", "degrees, east positive"},
                                       {"SiteElevation", "Elevation", "metres"}};

}  // namespace

// The site as the driver's members give it, and the rest from the settings key.
DeviceSetupView readDeviceSetup(const client::DriverObject& driver) {
  DeviceSetupView view;
  view.connected = driver.connected();
  for (const auto& site : kSiteMembers) {
    SetupField field{site.member, site.label, site.unit, "", ""};
    const auto result = driver.get(site.member);
    if (!result.ok) {
      field.error = result.message;
    } else {
      field.value = numberText(result.value.number);
    }
    view.fields.push_back(std::move(field));
  }
  platform::SettingsKey key(*platform::nativeServices().registry);
  SetupField timeout{client::kSlewTimeoutValue, "Slew time limit", "seconds", "", ""};
  try {
    view.logEnabled = key.readInt32(client::kLogEnabledValue).value_or(0) != 0;
  } catch (const std::exception& e) {
    view.logError = e.what();
  }
  try {
    timeout.value = std::to_string(
        key.readInt32(client::kSlewTimeoutValue).value_or(client::kDefaultSlewTimeoutSeconds));
  } catch (const std::exception& e) {
    timeout.error = e.what();
  }
  view.fields.push_back(std::move(timeout));
  SetupField guideRate{client::kGuideRateValue, "Guide rate", "× sidereal rate, in ]0,2]", "", ""};
  try {
    const auto multiple = client::storedGuideRate(key);
    guideRate.value = multiple ? numberText(*multiple) : "";
  } catch (const std::exception& e) {
    guideRate.error = e.what();
  }
  view.fields.push_back(std::move(guideRate));
  try {
    const auto hourAngle = key.readDouble(client::kParkHourAngleValue);
    const auto declination = key.readDouble(client::kParkDeclinationValue);
    view.parkPosition = hourAngle && declination
                            ? "hour angle " + numberText(units::radiansToHours(*hourAngle)) +
                                  " h, declination " +
                                  numberText(units::radiansToDegrees(*declination)) + "°"
                            : "not set";
  } catch (const std::exception& e) {
    view.parkPosition = e.what();
  }
  view.controllerLibrary = client::controllerLibraryPath(*platform::nativeServices().libraries);
  return view;
}

// Writes what the form holds: the site through the driver's members, whose refusals show
// beside their field, the log switch and the slew time limit into the settings key.
DeviceSetupView writeDeviceSetup(const client::DriverObject& driver,
                                 const std::vector<alpaca::Parameter>& form) {
  std::vector<std::pair<std::string, std::string>> refusals;
  for (const auto& site : kSiteMembers) {
    const std::string* typed = alpaca::lastValue(form, site.member);
    if (typed == nullptr) {
      continue;
    }
    const auto number = alpaca::parseDouble(*typed);
    if (!number) {
      refusals.emplace_back(site.member, "Not a number");
      continue;
    }
    const auto result = driver.put(site.member, Value::ofDouble(*number));
    if (!result.ok) {
      refusals.emplace_back(site.member, result.message);
    }
  }
  platform::SettingsKey key(*platform::nativeServices().registry);
  std::string logError;
  if (const std::string* log = alpaca::lastValue(form, client::kLogEnabledValue)) {
    try {
      key.writeInt32(client::kLogEnabledValue, *log == "1" ? 1 : 0);
    } catch (const std::exception& e) {
      logError = e.what();
    }
  }
  if (const std::string* typed = alpaca::lastValue(form, client::kSlewTimeoutValue)) {
    const auto seconds = alpaca::parseInt32(*typed);
    if (!seconds || *seconds <= 0) {
      refusals.emplace_back(client::kSlewTimeoutValue,
                            "The slew time limit is a whole number of seconds above 0");
    } else {
      try {
        key.writeInt32(client::kSlewTimeoutValue, *seconds);
      } catch (const std::exception& e) {
        refusals.emplace_back(client::kSlewTimeoutValue, e.what());
      }
    }
  }
  // An empty field leaves the guide rate as it is (not set, perhaps).
  if (const std::string* typed = alpaca::lastValue(form, client::kGuideRateValue);
      typed != nullptr && !typed->empty()) {
    const auto multiple = alpaca::parseDouble(*typed);
    try {
      if (!multiple) {
        refusals.emplace_back(client::kGuideRateValue, "Not a number");
      } else {
        client::storeGuideRate(key, *multiple);
      }
    } catch (const std::exception& e) {
      refusals.emplace_back(client::kGuideRateValue, e.what());
    }
  }
  DeviceSetupView view = readDeviceSetup(driver);
  // A refused field shows what was typed, so the person can mend it.
  for (auto& field : view.fields) {
    for (const auto& [name, message] : refusals) {
      if (field.name == name) {
        field.error = message;
        if (const std::string* typed = alpaca::lastValue(form, name)) {
          field.value = *typed;
        }
      }
    }
  }
  if (!logError.empty()) {
    view.logError = logError;
  }
  view.noticeIsError = !refusals.empty() || !logError.empty();
  view.notice = view.noticeIsError ? "Some values were not saved." : "Saved.";
  return view;
}

}  // namespace tramox::web
