#include "platform/win32/win_clock.h"

#include "platform/win32/queued_calls_message.h"

#include <windows.h>

#include "platform/automation_date.h"

namespace tramox::platform::win32 {

double WinClock::nowLocal() {
  SYSTEMTIME now{};
  GetLocalTime(&now);
  CivilDateTime t;
  t.year = now.wYear;
  t.month = now.wMonth;
  t.day = now.wDay;
  t.hour = now.wHour;
  t.minute = now.wMinute;
  t.second = now.wSecond;
  t.millisecond = now.wMilliseconds;
  return toAutomationDate(t);
}

TimeZoneInfo WinClock::timeZone() {
  TIME_ZONE_INFORMATION zone{};
  TimeZoneInfo info;
  info.result = GetTimeZoneInformation(&zone);
  info.bias = zone.Bias;
  info.standardBias = zone.StandardBias;
  info.daylightBias = zone.DaylightBias;
  return info;
}

double WinClock::monotonicSeconds() {
  LARGE_INTEGER frequency{}, counter{};
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void WinClock::sleepMilliseconds(int milliseconds) {
  const ULONGLONG until =
      GetTickCount64() + static_cast<ULONGLONG>(milliseconds > 0 ? milliseconds : 0);
  const UINT served = queuedCallsMessage();
  for (;;) {
    MSG message;
    while (PeekMessageW(&message, nullptr, served, served, PM_REMOVE)) {
      DispatchMessageW(&message);
    }
    const ULONGLONG now = GetTickCount64();
    if (now >= until) {
      return;
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(until - now), QS_POSTMESSAGE);
  }
}

}  // namespace tramox::platform::win32
