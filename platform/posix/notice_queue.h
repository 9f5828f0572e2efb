#pragma once
// The process's one queue of the kernel's change notices (inotify), shared by the settings'
// watch and the time zone's: a member call reads it once, whoever looks first (see
// call_epoch.h), and each notice goes to the watches that asked for it. A forked child shares
// its parent's queue, and whichever reads a notice first takes it from the other, so each
// process opens a queue of its own and its watches start again.
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace tramox::platform {

class NoticeQueue {
 public:
  // Told of notices with the queue's lock held; it may only note them, never call the queue.
  class Watcher {
   public:
    virtual ~Watcher() = default;
    // A notice for one of this watcher's watches: a name in a watched folder, or empty for
    // the watched file or folder itself. IN_IGNORED says the kernel dropped the watch.
    virtual void noticed(int watch, std::uint32_t mask, std::string_view name) = 0;
    // Every watch of this watcher is gone (notices lost, a fork, a failed read): anything may
    // have changed, and nothing is watched until it adds its watches again.
    virtual void lost() = 0;
  };

  // The queue of the process; it lasts as long as one of its holders.
  static std::shared_ptr<NoticeQueue> shared();
  ~NoticeQueue();
  NoticeQueue(const NoticeQueue&) = delete;
  NoticeQueue& operator=(const NoticeQueue&) = delete;

  // Held around every call below and every use of the state the watchers' notes change.
  std::unique_lock<std::mutex> lock();

  // False when the kernel gives this process no queue.
  bool available();
  // The watch, or -1 when `path` cannot be watched (errno says why, when the queue itself
  // is there). A path another watcher watches too is
  // watched for both masks; each watcher hears only of the changes it asked for.
  int add(Watcher& watcher, const std::string& path, std::uint32_t mask);
  void remove(Watcher& watcher, int watch);
  void removeAll(Watcher& watcher);
  // Reads the notices queued so far, unless the current member call already has; `now`
  // reads them whatever the call.
  void take(bool now = false);

 private:
  struct Entry {
    Watcher* watcher;
    int watch;
    std::uint32_t mask;
  };

  NoticeQueue();
  void followFork();
  void unwatchIfUnused(int watch);
  // Ends every watch and tells each watcher once; `unwatch` also drops them from the kernel's
  // queue, which a forked child must leave to its parent.
  void loseAll(bool unwatch);
  void dispatch(int watch, std::uint32_t mask, std::string_view name);

  std::mutex mutex_;
  int notices_ = -1;  // the inotify descriptor
  bool unavailable_ = false;
  unsigned forks_;             // the process's forks when the queue was opened
  std::uint64_t takenIn_ = 0;  // the call of the last read
  std::vector<Entry> entries_;
};

}  // namespace tramox::platform
