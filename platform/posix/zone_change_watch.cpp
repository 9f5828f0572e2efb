#include "platform/posix/zone_change_watch.h"

#include <sys/inotify.h>

#include <cstdint>
#include <cstdlib>
#include <utility>

#include "platform/call_epoch.h"

namespace tramox::platform {

namespace {

std::optional<std::string> environmentZone() {
  const char* tz = std::getenv("TZ");
  return tz == nullptr ? std::nullopt : std::optional<std::string>(tz);
}

}  // namespace

// The file the C library reads for TZ; empty for a rule written out in TZ itself.
std::string ZoneChangeWatch::zoneFile() const {
  if (!tz_) {
    return defaultZoneFile_;
  }
  std::string name = *tz_;
  if (!name.empty() && name[0] == ':') {
    name.erase(0, 1);
  }
  if (name.empty() || name[0] == '/') {
    return name;
  }
  const char* folder = std::getenv("TZDIR");
  return std::string(folder != nullptr && *folder != '\0' ? folder : "/usr/share/zoneinfo") + "/" +
         name;
}

ZoneChangeWatch::ZoneChangeWatch(std::string defaultZoneFile)
    : queue_(NoticeQueue::shared()), defaultZoneFile_(std::move(defaultZoneFile)) {}

ZoneChangeWatch::~ZoneChangeWatch() {
  const auto guard = queue_->lock();
  queue_->removeAll(*this);
}

// Any notice at all, even for a neighbour of the zone file: reading the zone again is cheap
// next to missing a change.
void ZoneChangeWatch::noticed(int, std::uint32_t, std::string_view) {
  noticed_ = true;
}

void ZoneChangeWatch::lost() {
  folderWatch_ = -1;
  fileWatch_ = -1;
  noticed_ = true;
}

// The folder catches /etc/localtime replaced or re-linked; the file's own watch follows the
// link and catches the zone data edited in place.
void ZoneChangeWatch::watchAgain() {
  for (int* watch : {&folderWatch_, &fileWatch_}) {
    if (*watch >= 0) {
      queue_->remove(*this, *watch);
      *watch = -1;
    }
  }
  noticed_ = false;
  watching_ = queue_->available();
  if (!watching_) {
    return;
  }
  constexpr std::uint32_t kNameChanges =
      IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_CLOSE_WRITE | IN_ONLYDIR;
  constexpr std::uint32_t kFileChanges =
      IN_MODIFY | IN_ATTRIB | IN_CLOSE_WRITE | IN_DELETE_SELF | IN_MOVE_SELF;
  const std::string file = zoneFile();
  const std::string folder = file.empty() ? std::string() : file.substr(0, file.rfind('/'));
  if (!folder.empty()) {
    folderWatch_ = queue_->add(*this, folder, kNameChanges);
    watching_ = folderWatch_ >= 0;
  }
  if (watching_ && !file.empty()) {
    fileWatch_ = queue_->add(*this, file, kFileChanges);  // may not exist (yet)
  }
}

bool ZoneChangeWatch::changed() {
  const auto guard = queue_->lock();
  const std::uint64_t call = currentCallEpoch();
  if (asked_ && call != 0 && call == askedIn_) {
    return false;
  }
  askedIn_ = call;
  std::optional<std::string> tz = environmentZone();
  if (!asked_ || tz != tz_) {
    asked_ = true;
    tz_ = std::move(tz);
    watchAgain();
    return true;
  }
  if (!watching_) {
    return true;
  }
  queue_->take();
  if (!noticed_) {
    return false;
  }
  watchAgain();
  return true;
}

}  // namespace tramox::platform
