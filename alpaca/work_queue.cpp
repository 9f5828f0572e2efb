#include "alpaca/work_queue.h"

#include <algorithm>

namespace tramox::alpaca {

void WorkQueue::push(Item item) {
  {
    std::lock_guard lock(mutex_);
    if (closed_) {
      return;
    }
    items_.push_back(std::move(item));
    ++pushes_;
  }
  changed_.notify_all();
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
  return item;
}

void WorkQueue::waitUntil(std::chrono::steady_clock::time_point deadline) {
  std::unique_lock lock(mutex_);
  const unsigned long seen = pushes_;
  changed_.wait_until(lock, deadline, [&] { return closed_ || pushes_ != seen; });
}

void WorkQueue::waitForWork() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [&] { return closed_ || !items_.empty(); });
}

void WorkQueue::close() {
  {
    std::lock_guard lock(mutex_);
    closed_ = true;
  }
  changed_.notify_all();
}

void WorkQueue::clear() {
  std::deque<Item> dropped;
  {
    std::lock_guard lock(mutex_);
    dropped.swap(items_);
  }
}

}  // namespace tramox::alpaca
