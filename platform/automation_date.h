#pragma once
// Automation dates: days since 1899-12-30 00:00, the fraction being the time of day.
#include <cstdint>

namespace tramox::platform {

struct CivilDateTime {
  int year = 1899, month = 12, day = 30;
  int hour = 0, minute = 0, second = 0, millisecond = 0;
};

// Proleptic Gregorian calendar; dates from 1899-12-30 on.
double toAutomationDate(const CivilDateTime& t);
// Rounds to the nearest millisecond, carrying into the next day at 23:59:59.9995.
CivilDateTime fromAutomationDate(double date);

}  // namespace tramox::platform
