#include "alpaca/work_queue.h"

#include <algorithm>

namespace tramox::alpaca {

namespace {

// Calls in a row that found the driver thread waiting before it polls: while calls overlap,
// the I/O threads need the core more than a poll would save them.
constexpr int kOneByOne = 8;

// Lets the other hardware thread of the core, or the hypervisor, have it while polling.
inline void relax() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_ia32_pause();
#endif
}

}  // namespace

void WorkQueue::push(Item item) {
  bool wake = false;
  {
    std::lock_guard lock(mutex_);
    if (closed_) {
      return;
    }
    items_.push_back(std::move(item));
    ++pushes_;
    refresh();
    wake = sleepers_ > 0;
    oneByOne_ = waiting_ ? std::min(oneByOne_ + 1, kOneByOne) : 0;
  }
  // A waiter still polling sees ready_ and needs no system call.
  if (wake) {
    changed_.notify_all();
  }
}

std::optional<WorkQueue::Item> WorkQueue::take(bool nested) {
  std::lock_guard lock(mutex_);
  if (closed_) {
    return std::nullopt;
  }
  auto found =
      std::find_if(items_.begin(), items_.end(), [](const Item& item) { return item.stop; });
  if (found == items_.end()) {
    found = std::find_if(items_.begin(), items_.end(),
                         [nested](const Item& item) { return !nested || !item.mayWait; });
  }
  return takeAt(found);
}

std::optional<WorkQueue::Item> WorkQueue::takeStop() {
  std::lock_guard lock(mutex_);
  if (closed_) {
    return std::nullopt;
  }
  return takeAt(
      std::find_if(items_.begin(), items_.end(), [](const Item& item) { return item.stop; }));
}

std::optional<WorkQueue::Item> WorkQueue::takeAt(std::deque<Item>::iterator found) {
  if (found == items_.end()) {
    return std::nullopt;
  }
  Item item = std::move(*found);
  items_.erase(found);
  refresh();
  return item;
}

void WorkQueue::refresh() {
  ready_.store(closed_ || !items_.empty(), std::memory_order_release);
}

void WorkQueue::waitUntil(std::chrono::steady_clock::time_point deadline) {
  std::unique_lock lock(mutex_);
  const unsigned long seen = pushes_;
  ++sleepers_;
  changed_.wait_until(lock, deadline, [&] { return closed_ || pushes_ != seen; });
  --sleepers_;
}

void WorkQueue::waitForWork(std::chrono::microseconds poll) {
  std::unique_lock lock(mutex_);
  waiting_ = true;
  if (poll.count() > 0 && oneByOne_ >= kOneByOne && !closed_ && items_.empty()) {
    lock.unlock();
    const auto until = std::chrono::steady_clock::now() + poll;
    for (unsigned looks = 1; !ready_.load(std::memory_order_acquire); ++looks) {
      relax();
      // Reading the clock costs more than a look at the flag.
      if (looks % 64 == 0 && std::chrono::steady_clock::now() >= until) {
        break;
      }
    }
    lock.lock();
  }
  ++sleepers_;
  changed_.wait(lock, [&] { return closed_ || !items_.empty(); });
  --sleepers_;
  waiting_ = false;
}

void WorkQueue::close() {
  {
    std::lock_guard lock(mutex_);
    closed_ = true;
    refresh();
  }
  changed_.notify_all();
}

void WorkQueue::clear() {
  std::deque<Item> dropped;
  {
    std::lock_guard lock(mutex_);
    dropped.swap(items_);
    refresh();
  }
}

}  // namespace tramox::alpaca
