#include "platform/posix/zone_change_watch.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>

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

ZoneChangeWatch::~ZoneChangeWatch() {
  if (notices_ >= 0) {
    ::close(notices_);
  }
}

// The folder catches /etc/localtime replaced or re-linked; the file's own watch follows the
// link and catches the zone data edited in place.
void ZoneChangeWatch::watchAgain() {
  if (notices_ >= 0) {
    ::close(notices_);
  }
  notices_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
  if (notices_ < 0) {
    return;
  }
  constexpr std::uint32_t kNameChanges =
      IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_CLOSE_WRITE | IN_ONLYDIR;
  constexpr std::uint32_t kFileChanges =
      IN_MODIFY | IN_ATTRIB | IN_CLOSE_WRITE | IN_DELETE_SELF | IN_MOVE_SELF;
  const std::string file = zoneFile();
  const std::string folder = file.empty() ? std::string() : file.substr(0, file.rfind('/'));
  const bool folderWatched =
      folder.empty() || ::inotify_add_watch(notices_, folder.c_str(), kNameChanges) >= 0;
  if (!folderWatched) {
    ::close(notices_);
    notices_ = -1;
    return;
  }
  if (!file.empty()) {
    ::inotify_add_watch(notices_, file.c_str(), kFileChanges);  // may not exist (yet)
  }
}

bool ZoneChangeWatch::changed() {
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
  if (notices_ < 0) {
    return true;
  }
  // Any notice at all, even for a neighbour of the zone file: reading the zone again is cheap
  // next to missing a change.
  alignas(inotify_event) char buffer[4096];
  ssize_t got = 0;
  do {
    got = ::read(notices_, buffer, sizeof buffer);
  } while (got < 0 && errno == EINTR);
  if (got < 0 && errno == EAGAIN) {
    return false;
  }
  watchAgain();
  return true;
}

}  // namespace tramox::platform
