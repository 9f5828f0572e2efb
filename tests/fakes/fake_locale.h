#pragma once
// Regional settings of a French-style user: dd/mm/yyyy, hh:mm:ss, settable decimal separator.
#include <string>

#include "platform/locale_format.h"

namespace tramox::fakes {

class FakeLocale : public platform::ILocaleFormat {
 public:
  std::string shortDate(int year, int month, int day) override;
  std::string longTime(int hour, int minute, int second) override;
  std::string decimalSeparator() override { return separator_; }

  void setDecimalSeparator(std::string separator) { separator_ = std::move(separator); }

 private:
  std::string separator_ = ".";
};

}  // namespace tramox::fakes
