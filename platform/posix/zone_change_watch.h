#pragma once
// When the C library must read the time zone again: TZ changed, or the zone file it names
// (/etc/localtime when TZ is unset) was edited or replaced. Learnt from the kernel's change
// notices, through the process's one queue (notice_queue.h); where they cannot be had, every
// question answers yes.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/posix/notice_queue.h"

namespace tramox::platform {

class ZoneChangeWatch : private NoticeQueue::Watcher {
 public:
  // `defaultZoneFile` is the file the C library reads while TZ is unset.
  explicit ZoneChangeWatch(std::string defaultZoneFile = "/etc/localtime");
  ~ZoneChangeWatch() override;
  ZoneChangeWatch(const ZoneChangeWatch&) = delete;
  ZoneChangeWatch& operator=(const ZoneChangeWatch&) = delete;

  // True when the zone may differ from what it was at the previous question; the first
  // question answers yes. Within one member call only the first question looks (see
  // call_epoch.h).
  bool changed();

 private:
  void noticed(int watch, std::uint32_t mask, std::string_view name) override;
  void lost() override;
  void watchAgain();
  std::string zoneFile() const;

  std::shared_ptr<NoticeQueue> queue_;  // its lock guards everything below
  std::string defaultZoneFile_;
  int folderWatch_ = -1;
  int fileWatch_ = -1;
  bool watching_ = false;  // every change to the zone brings a notice
  bool noticed_ = false;   // a notice since the watches were last set up
  bool asked_ = false;
  std::uint64_t askedIn_ = 0;  // the call of the previous question
  std::optional<std::string> tz_;
};

}  // namespace tramox::platform
