#include "platform/automation_date.h"

#include <gtest/gtest.h>

namespace tramox::platform {
namespace {

void expectCivil(const CivilDateTime& t, int y, int mo, int d, int h, int mi, int s, int ms) {
  EXPECT_EQ(t.year, y);
  EXPECT_EQ(t.month, mo);
  EXPECT_EQ(t.day, d);
  EXPECT_EQ(t.hour, h);
  EXPECT_EQ(t.minute, mi);
  EXPECT_EQ(t.second, s);
  EXPECT_EQ(t.millisecond, ms);
}

TEST(AutomationDate, KnownDatesOfTheAutomationCalendar) {
  EXPECT_EQ(toAutomationDate({1899, 12, 30, 0, 0, 0, 0}), 0.0);
  EXPECT_EQ(toAutomationDate({1899, 12, 31, 12, 0, 0, 0}), 1.5);
  EXPECT_EQ(toAutomationDate({2000, 1, 1, 12, 0, 0, 0}), 36526.5);
  EXPECT_EQ(toAutomationDate({1999, 3, 3, 0, 0, 0, 0}), 36222.0);
  EXPECT_EQ(toAutomationDate({2024, 2, 29, 0, 0, 0, 0}), 45351.0);
  expectCivil(fromAutomationDate(36526.5), 2000, 1, 1, 12, 0, 0, 0);
  expectCivil(fromAutomationDate(45351.0), 2024, 2, 29, 0, 0, 0, 0);
}

TEST(AutomationDate, MillisecondsSurviveTheRoundTrip) {
  for (int ms : {0, 7, 45, 500, 999}) {
    expectCivil(fromAutomationDate(toAutomationDate({2026, 12, 7, 13, 5, 42, ms})), 2026, 12, 7, 13,
                5, 42, ms);
  }
  expectCivil(fromAutomationDate(toAutomationDate({2026, 12, 31, 23, 59, 59, 999})), 2026, 12, 31,
              23, 59, 59, 999);
}

TEST(AutomationDate, HalfAMillisecondBeforeMidnightRoundsIntoTheNextDay) {
  const double almostMidnight = toAutomationDate({2026, 12, 31, 0, 0, 0, 0}) + 1.0 - 0.4 / 86.4e6;
  expectCivil(fromAutomationDate(almostMidnight), 2027, 1, 1, 0, 0, 0, 0);
}

}  // namespace
}  // namespace tramox::platform
