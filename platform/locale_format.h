#pragma once
// The user's regional settings, as the diagnostic log needs them.
#include <string>

namespace tramox::platform {

class ILocaleFormat {
 public:
  virtual ~ILocaleFormat() = default;
  virtual std::string shortDate(int year, int month, int day) = 0;
  virtual std::string longTime(int hour, int minute, int second) = 0;
  virtual std::string decimalSeparator() = 0;
};

}  // namespace tramox::platform
