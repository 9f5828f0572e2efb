#include "platform/posix/folder_watch.h"

#include <pthread.h>
#include <sys/inotify.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <utility>

#include "platform/call_epoch.h"

namespace tramox::platform {

namespace {

constexpr std::uint32_t kChanges = IN_MODIFY | IN_ATTRIB | IN_CLOSE_WRITE | IN_MOVED_FROM |
                                   IN_MOVED_TO | IN_CREATE | IN_DELETE | IN_DELETE_SELF |
                                   IN_MOVE_SELF | IN_ONLYDIR;
constexpr std::uint32_t kWatchGone = IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT;

// File systems shared with other machines: their changes reach no local notice.
bool remote(const std::string& folder) {
  struct statfs status {};
  if (::statfs(folder.c_str(), &status) != 0) {
    return false;  // inotify_add_watch says what is wrong
  }
  constexpr long kRemote[] = {0x6969 /* NFS */,
                              0x517B /* SMB */,
                              0xFF534D42 /* CIFS */,
                              0xFE534D42 /* SMB2 */,
                              0x65735546 /* FUSE */,
                              0x01021997 /* 9P */,
                              0x00C36400 /* Ceph */};
  return std::find(std::begin(kRemote), std::end(kRemote), static_cast<long>(status.f_type)) !=
         std::end(kRemote);
}

// A forked child shares its parent's notice queue: whichever reads a notice first takes it from
// the other. Each process therefore starts a queue of its own.
std::atomic<unsigned> forks{0};

unsigned forksSoFar() {
  static std::once_flag counting;
  std::call_once(counting, [] { ::pthread_atfork(nullptr, nullptr, [] { ++forks; }); });
  return forks.load();
}

}  // namespace

FolderWatch::FolderWatch(std::string folder, std::vector<std::string> names)
    : folder_(std::move(folder)),
      names_(std::move(names)),
      noticed_(names_.size(), true),
      forks_(forksSoFar()) {}

FolderWatch::~FolderWatch() {
  if (notices_ >= 0) {
    ::close(notices_);
  }
}

void FolderWatch::start() {
  if (unsupported_) {
    return;
  }
  if (notices_ < 0) {
    notices_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (notices_ < 0) {
      unsupported_ = true;
      return;
    }
  }
  if (remote(folder_)) {
    unsupported_ = true;
    return;
  }
  // A folder not made yet is watched from the first look after it appears.
  watch_ = ::inotify_add_watch(notices_, folder_.c_str(), kChanges);
  std::fill(noticed_.begin(), noticed_.end(), true);
}

void FolderWatch::stop() {
  if (watch_ >= 0) {
    ::inotify_rm_watch(notices_, watch_);
    watch_ = -1;
  }
  std::fill(noticed_.begin(), noticed_.end(), true);
}

void FolderWatch::drain() {
  alignas(inotify_event) char buffer[4096];
  for (;;) {
    const ssize_t got = ::read(notices_, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got <= 0) {
      if (got < 0 && errno != EAGAIN) {
        stop();
      }
      return;
    }
    for (ssize_t at = 0; at < got;) {
      inotify_event event{};
      std::memcpy(&event, buffer + at, sizeof event);
      const char* name = buffer + at + sizeof event;
      at += static_cast<ssize_t>(sizeof event + event.len);
      if ((event.mask & IN_Q_OVERFLOW) != 0 ||
          (event.wd == watch_ && (event.mask & kWatchGone) != 0)) {
        stop();
        continue;
      }
      if (event.wd != watch_ || event.len == 0) {
        continue;
      }
      for (std::size_t i = 0; i < names_.size(); ++i) {
        noticed_[i] = noticed_[i] || names_[i] == name;
      }
    }
  }
}

bool FolderWatch::quietSinceLastLook(std::size_t name, bool now) {
  if (forks_ != forks.load()) {
    forks_ = forks.load();
    if (notices_ >= 0) {
      ::close(notices_);  // only this process's copy
    }
    notices_ = -1;
    watch_ = -1;
    std::fill(noticed_.begin(), noticed_.end(), true);
  }
  if (watch_ < 0) {
    start();
  }
  const std::uint64_t call = currentCallEpoch();
  if (watch_ >= 0 && (now || call == 0 || call != drainedIn_)) {
    drain();
    drainedIn_ = call;
  }
  if (watch_ < 0) {
    return false;
  }
  const bool noticed = noticed_[name];
  noticed_[name] = false;
  return !noticed;
}

}  // namespace tramox::platform
