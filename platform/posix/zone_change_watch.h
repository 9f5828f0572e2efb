#pragma once
// When the C library must read the time zone again: TZ changed, or the zone file it names
// (/etc/localtime when TZ is unset) was edited or replaced. Learnt from the kernel's change
// notices; where they cannot be had, every question answers yes.
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

namespace tramox::platform {

class ZoneChangeWatch {
 public:
  // `defaultZoneFile` is the file the C library reads while TZ is unset.
  explicit ZoneChangeWatch(std::string defaultZoneFile = "/etc/localtime")
      : defaultZoneFile_(std::move(defaultZoneFile)) {}
  ~ZoneChangeWatch();
  ZoneChangeWatch(const ZoneChangeWatch&) = delete;
  ZoneChangeWatch& operator=(const ZoneChangeWatch&) = delete;

  // True when the zone may differ from what it was at the previous question; the first
  // question answers yes. Within one member call only the first question looks (see
  // call_epoch.h).
  bool changed();

 private:
  void watchAgain();
  std::string zoneFile() const;

  std::string defaultZoneFile_;
  int notices_ = -1;  // the inotify descriptor; -1 before the first question or without one
  bool asked_ = false;
  std::uint64_t askedIn_ = 0;  // the call of the previous question
  std::optional<std::string> tz_;
};

}  // namespace tramox::platform
