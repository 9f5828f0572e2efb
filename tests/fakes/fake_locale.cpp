#include "tests/fakes/fake_locale.h"

#include <cstdio>

namespace tramox::fakes {

std::string FakeLocale::shortDate(int year, int month, int day) {
  char text[32];
  std::snprintf(text, sizeof text, "%02d/%02d/%04d", day, month, year);
  return text;
}

std::string FakeLocale::longTime(int hour, int minute, int second) {
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", hour, minute, second);
  return text;
}

}  // namespace tramox::fakes
