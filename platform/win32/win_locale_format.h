#pragma once
// The user's regional settings: GetDateFormat, GetTimeFormat and LOCALE_SDECIMAL.
#include "platform/locale_format.h"

namespace tramox::platform::win32 {

class WinLocaleFormat final : public ILocaleFormat {
 public:
  std::string shortDate(int year, int month, int day) override;
  std::string longTime(int hour, int minute, int second) override;
  std::string decimalSeparator() override;
};

}  // namespace tramox::platform::win32
