#include "platform/posix/notice_queue.h"

#include <pthread.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>

#include "platform/call_epoch.h"

namespace tramox::platform {

namespace {

std::atomic<unsigned> forks{0};

unsigned forksSoFar() {
  static std::once_flag counting;
  std::call_once(counting, [] { ::pthread_atfork(nullptr, nullptr, [] { ++forks; }); });
  return forks.load();
}

// A watcher hears of what it asked for, and always of its watch's end.
bool wanted(std::uint32_t asked, std::uint32_t mask) {
  return (mask & ((asked & IN_ALL_EVENTS) | IN_IGNORED | IN_UNMOUNT)) != 0;
}

}  // namespace

std::shared_ptr<NoticeQueue> NoticeQueue::shared() {
  // Never destroyed, like the log's lock: a watch made while the process exits still finds it.
  static auto* const making = new std::mutex;
  static auto* const current = new std::weak_ptr<NoticeQueue>;
  const std::lock_guard<std::mutex> guard(*making);
  std::shared_ptr<NoticeQueue> queue = current->lock();
  if (!queue) {
    queue.reset(new NoticeQueue);
    *current = queue;
  }
  return queue;
}

NoticeQueue::NoticeQueue() : forks_(forksSoFar()) {}

NoticeQueue::~NoticeQueue() {
  if (notices_ >= 0) {
    ::close(notices_);
  }
}

std::unique_lock<std::mutex> NoticeQueue::lock() {
  std::unique_lock<std::mutex> guard(mutex_);
  followFork();
  return guard;
}

// The parent's watches live on in the queue both share: only this process's copy is closed.
void NoticeQueue::followFork() {
  if (forks_ == forks.load()) {
    return;
  }
  forks_ = forks.load();
  loseAll(false);
  if (notices_ >= 0) {
    ::close(notices_);
  }
  notices_ = -1;
  takenIn_ = 0;
}

bool NoticeQueue::available() {
  if (notices_ < 0 && !unavailable_) {
    notices_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    unavailable_ = notices_ < 0;
  }
  return notices_ >= 0;
}

int NoticeQueue::add(Watcher& watcher, const std::string& path, std::uint32_t mask) {
  if (!available()) {
    return -1;
  }
  const int watch = ::inotify_add_watch(notices_, path.c_str(), mask | IN_MASK_ADD);
  if (watch >= 0) {
    entries_.push_back({&watcher, watch, mask});
  }
  return watch;
}

void NoticeQueue::unwatchIfUnused(int watch) {
  const bool used = std::any_of(entries_.begin(), entries_.end(),
                                [&](const Entry& e) { return e.watch == watch; });
  if (!used && notices_ >= 0) {
    ::inotify_rm_watch(notices_, watch);
  }
}

void NoticeQueue::remove(Watcher& watcher, int watch) {
  const auto found = std::find_if(entries_.begin(), entries_.end(), [&](const Entry& e) {
    return e.watcher == &watcher && e.watch == watch;
  });
  if (found != entries_.end()) {
    entries_.erase(found);
    unwatchIfUnused(watch);
  }
}

void NoticeQueue::removeAll(Watcher& watcher) {
  std::vector<int> watches;
  for (const Entry& e : entries_) {
    if (e.watcher == &watcher) {
      watches.push_back(e.watch);
    }
  }
  std::erase_if(entries_, [&](const Entry& e) { return e.watcher == &watcher; });
  std::sort(watches.begin(), watches.end());
  watches.erase(std::unique(watches.begin(), watches.end()), watches.end());
  for (const int watch : watches) {
    unwatchIfUnused(watch);
  }
}

void NoticeQueue::loseAll(bool unwatch) {
  std::vector<Entry> gone;
  gone.swap(entries_);
  for (auto it = gone.begin(); it != gone.end(); ++it) {
    const auto first = [&](auto same) { return std::none_of(gone.begin(), it, same); };
    if (unwatch && first([&](const Entry& e) { return e.watch == it->watch; })) {
      ::inotify_rm_watch(notices_, it->watch);
    }
    if (first([&](const Entry& e) { return e.watcher == it->watcher; })) {
      it->watcher->lost();
    }
  }
}

void NoticeQueue::dispatch(int watch, std::uint32_t mask, std::string_view name) {
  for (const Entry& e : entries_) {
    if (e.watch == watch && wanted(e.mask, mask)) {
      e.watcher->noticed(watch, mask, name);
    }
  }
  if ((mask & IN_IGNORED) != 0) {
    std::erase_if(entries_, [&](const Entry& e) { return e.watch == watch; });
  }
}

void NoticeQueue::take(bool now) {
  if (notices_ < 0 || entries_.empty()) {
    return;
  }
  const std::uint64_t call = currentCallEpoch();
  if (!now && call != 0 && call == takenIn_) {
    return;
  }
  takenIn_ = call;
  alignas(inotify_event) char buffer[4096];
  // A read that left room for the longest notice has emptied the queue.
  constexpr ssize_t kRoomLeft = sizeof buffer - (sizeof(inotify_event) + NAME_MAX + 1);
  for (;;) {
    const ssize_t got = ::read(notices_, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) {
      continue;
    }
    if (got <= 0) {
      if (got < 0 && errno != EAGAIN) {
        loseAll(true);
      }
      return;
    }
    for (ssize_t at = 0; at < got;) {
      inotify_event event{};
      std::memcpy(&event, buffer + at, sizeof event);
      const char* name = buffer + at + sizeof event;
      at += static_cast<ssize_t>(sizeof event + event.len);
      if ((event.mask & IN_Q_OVERFLOW) != 0) {
        loseAll(true);
        continue;
      }
      dispatch(
          event.wd, event.mask,
          event.len == 0 ? std::string_view() : std::string_view(name, ::strnlen(name, event.len)));
    }
    if (got <= kRoomLeft) {
      return;
    }
  }
}

}  // namespace tramox::platform
