#include "platform/posix/posix_clock.h"

#include <chrono>
#include <thread>

#include "platform/automation_date.h"

namespace tramox::platform {

// localtime_r keeps the rules it last read; tzset reads them again.
void PosixClock::followZoneChanges() {
  if (zoneChanges_.changed()) {
    ::tzset();
    kept_.valid = false;
  }
}

double PosixClock::nowLocal() {
  {
    std::lock_guard<std::mutex> guard(zoneMutex_);
    followZoneChanges();
  }
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  tm local{};
  ::localtime_r(&now.tv_sec, &local);
  return toAutomationDate({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                           local.tm_min, local.tm_sec, static_cast<int>(now.tv_nsec / 1'000'000)});
}

TimeZoneInfo PosixClock::zoneAt(std::time_t when) {
  tm local{};
  if (::localtime_r(&when, &local) == nullptr) {
    return {};  // result 0xFFFFFFFF: the zone could not be determined
  }
  // Daylight saving, if the zone has any, is in force in one of the two halves of the year;
  // sampling mid-January and mid-July finds the other offset for either hemisphere.
  long standardOffsetSeconds = local.tm_isdst > 0 ? 0 : local.tm_gmtoff;
  long daylightOffsetSeconds = local.tm_isdst > 0 ? local.tm_gmtoff : 0;
  bool hasDaylight = local.tm_isdst > 0;
  bool haveStandard = local.tm_isdst <= 0;
  for (int month : {0, 6}) {
    tm sample{};
    sample.tm_year = local.tm_year;
    sample.tm_mon = month;
    sample.tm_mday = 15;
    sample.tm_hour = 12;
    sample.tm_isdst = -1;
    std::time_t t = ::mktime(&sample);
    if (t == static_cast<std::time_t>(-1)) {
      continue;
    }
    tm resolved{};
    ::localtime_r(&t, &resolved);
    if (resolved.tm_isdst > 0) {
      hasDaylight = true;
      daylightOffsetSeconds = resolved.tm_gmtoff;
    } else if (!haveStandard) {
      haveStandard = true;
      standardOffsetSeconds = resolved.tm_gmtoff;
    }
  }
  if (!haveStandard) {
    standardOffsetSeconds = local.tm_gmtoff;  // permanent daylight time: no other offset
  }
  TimeZoneInfo zone;
  zone.bias = static_cast<std::int32_t>(-standardOffsetSeconds / 60);
  zone.standardBias = 0;
  if (!hasDaylight) {
    zone.result = 0;
    zone.bias = static_cast<std::int32_t>(-local.tm_gmtoff / 60);
    zone.daylightBias = 0;
    return zone;
  }
  zone.daylightBias =
      static_cast<std::int32_t>(-(daylightOffsetSeconds - standardOffsetSeconds) / 60);
  zone.result = local.tm_isdst > 0 ? 2 : 1;
  return zone;
}

TimeZoneInfo PosixClock::timeZone() {
  std::lock_guard<std::mutex> guard(zoneMutex_);
  followZoneChanges();
  const std::time_t now = std::time(nullptr);
  tm local{};
  if (::localtime_r(&now, &local) == nullptr) {
    return zoneAt(now);
  }
  if (!kept_.valid || kept_.year != local.tm_year || kept_.daylight != local.tm_isdst ||
      kept_.offsetSeconds != local.tm_gmtoff) {
    kept_ = {true, local.tm_year, local.tm_isdst, local.tm_gmtoff, zoneAt(now)};
  }
  return kept_.zone;
}

double PosixClock::monotonicSeconds() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void PosixClock::sleepMilliseconds(int milliseconds) {
  if (milliseconds > 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }
}

}  // namespace tramox::platform
