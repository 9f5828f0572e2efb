#include "platform/posix/posix_locale_format.h"

#include <langinfo.h>

#include <chrono>
#include <ctime>

namespace tramox::platform {

namespace {

locale_t openLocale(const char* name) {
  locale_t locale = ::newlocale(LC_ALL_MASK, name, static_cast<locale_t>(nullptr));
  if (locale == static_cast<locale_t>(nullptr)) {
    locale = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  }
  return locale;
}

}  // namespace

PosixLocaleFormat::PosixLocaleFormat() : locale_(openLocale("")) {}

PosixLocaleFormat::PosixLocaleFormat(const std::string& name) : locale_(openLocale(name.c_str())) {}

PosixLocaleFormat::~PosixLocaleFormat() {
  if (locale_ != static_cast<locale_t>(nullptr)) {
    ::freelocale(locale_);
  }
}

std::string PosixLocaleFormat::format(const char* pattern, int year, int month, int day, int hour,
                                      int minute, int second) {
  tm fields{};
  fields.tm_year = year - 1900;
  fields.tm_mon = month - 1;
  fields.tm_mday = day;
  fields.tm_hour = hour;
  fields.tm_min = minute;
  fields.tm_sec = second;
  fields.tm_isdst = -1;
  // The weekday and day of the year, for patterns that name them: the calendar alone gives
  // them, so the zone is not consulted (mktime would read it again at every line).
  namespace chrono = std::chrono;
  const chrono::year_month_day date{chrono::year{year}, chrono::month{static_cast<unsigned>(month)},
                                    chrono::day{static_cast<unsigned>(day)}};
  const chrono::sys_days days{date};
  fields.tm_wday = static_cast<int>(chrono::weekday{days}.c_encoding());
  fields.tm_yday =
      static_cast<int>((days - chrono::sys_days{date.year() / chrono::January / 1}).count());
  char text[128];
  std::size_t length = ::strftime_l(text, sizeof text, pattern, &fields, locale_);
  return std::string(text, length);
}

std::string PosixLocaleFormat::shortDate(int year, int month, int day) {
  return format(::nl_langinfo_l(D_FMT, locale_), year, month, day, 0, 0, 0);
}

std::string PosixLocaleFormat::longTime(int hour, int minute, int second) {
  return format(::nl_langinfo_l(T_FMT, locale_), 2000, 1, 1, hour, minute, second);
}

std::string PosixLocaleFormat::decimalSeparator() {
  std::string separator = ::nl_langinfo_l(RADIXCHAR, locale_);
  return separator.empty() ? "." : separator;
}

}  // namespace tramox::platform
