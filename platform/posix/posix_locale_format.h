#pragma once
// The user's regional settings from the environment's locale (LC_ALL, LC_TIME, LANG, ...):
// short date from D_FMT, long time from T_FMT, decimal separator from RADIXCHAR.
#include <locale.h>

#include <string>

#include "platform/locale_format.h"

namespace tramox::platform {

class PosixLocaleFormat : public ILocaleFormat {
 public:
  // The environment's locale, or "C" when the environment names one that is not installed.
  PosixLocaleFormat();
  // A named locale ("fr_FR.UTF-8"), or "C" when it is not installed.
  explicit PosixLocaleFormat(const std::string& name);
  ~PosixLocaleFormat() override;
  PosixLocaleFormat(const PosixLocaleFormat&) = delete;
  PosixLocaleFormat& operator=(const PosixLocaleFormat&) = delete;

  std::string shortDate(int year, int month, int day) override;
  std::string longTime(int hour, int minute, int second) override;
  std::string decimalSeparator() override;

 private:
  std::string format(const char* pattern, int year, int month, int day, int hour, int minute,
                     int second);

  locale_t locale_;
};

}  // namespace tramox::platform
