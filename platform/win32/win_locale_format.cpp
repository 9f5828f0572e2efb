#include "platform/win32/win_locale_format.h"

#include <windows.h>

#include "platform/win32/wide_text.h"

namespace tramox::platform::win32 {
namespace {

std::string trimmed(const wchar_t* buffer, int lengthWithNull) {
  return lengthWithNull > 1 ? fromWide(buffer, lengthWithNull - 1) : std::string();
}

}  // namespace

std::string WinLocaleFormat::shortDate(int year, int month, int day) {
  SYSTEMTIME date{};
  date.wYear = static_cast<WORD>(year);
  date.wMonth = static_cast<WORD>(month);
  date.wDay = static_cast<WORD>(day);
  wchar_t buffer[128];
  return trimmed(buffer,
                 GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &date, nullptr, buffer, 128));
}

std::string WinLocaleFormat::longTime(int hour, int minute, int second) {
  SYSTEMTIME time{};
  time.wYear = 2000;
  time.wMonth = 1;
  time.wDay = 1;
  time.wHour = static_cast<WORD>(hour);
  time.wMinute = static_cast<WORD>(minute);
  time.wSecond = static_cast<WORD>(second);
  wchar_t buffer[128];
  // No flags and no picture: the user's long time format.
  return trimmed(buffer, GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &time, nullptr, buffer, 128));
}

std::string WinLocaleFormat::decimalSeparator() {
  wchar_t buffer[8];
  const std::string separator =
      trimmed(buffer, GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, buffer, 8));
  return separator.empty() ? "." : separator;
}

}  // namespace tramox::platform::win32
