#pragma once
// The driver's failure messages that are recognised after they are raised (by the reasons
// told from a code and a message, and in the paddle's error boxes), so each is written once,
// here, and thrown from here.
#include <string_view>

#include "driver/park_setting.h"
#include "platform/settings_key.h"

namespace tramox::driver::messages {

inline constexpr const char* kParked = "Telescope is parked";
inline constexpr const char* kNotTracking = "Telescope is not tracking";
inline constexpr const char* kRightAscensionOutOfRange = "Right ascension out of [0,24]";
inline constexpr const char* kDeclinationOutOfRange = "Declination out of [-90,90]";
inline constexpr const char* kCoordinatesNotAvailable = "Coordinates not available";
inline constexpr const char* kSyncImpossible = "Sync impossible";
inline constexpr const char* kCannotGetRightAscension = "Can't get right ascension";
inline constexpr const char* kCannotGetDeclination = "Can't get declination";
inline constexpr const char* kCanNotGetDeclination = "Can not get declination";
inline constexpr const char* kNotGermanMount = "Not German Mount";
inline constexpr const char* kConnectionImpossible = "Connection impossible";
inline constexpr const char* kMoveAxisImpossible = "Move Axis impossible";
inline constexpr const char* kStopAxisImpossible = "Stop Axis impossible";
inline constexpr const char* kParkFailed = "Park failed";
inline constexpr const char* kUnParkFailed = "UnPark failed";
inline constexpr const char* kTrackingStartImpossible = "Tracking start impossible";
inline constexpr const char* kTrackingStopImpossible = "Tracking stop impossible";
inline constexpr const char* kSlewSettleTimeNotAvailable = "SlewSettleTime not avalailable";

// Park before any Set Park: the registry layer's missing-value failure for either value, as
// raised or as an error box shows it.
inline bool isMissingParkPosition(std::string_view message) {
  return message.starts_with(platform::missingValueMessage(kParkHourAngleValue)) ||
         message.starts_with(platform::missingValueMessage(kParkDeclinationValue));
}

}  // namespace tramox::driver::messages
