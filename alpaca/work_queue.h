#pragma once
// Calls waiting for the driver thread, in arrival order, except that stops (an abort, a rate
// of 0, a released button) go ahead of every other call: a stop is what a user waits for.
// A call that may wait for the mount (a synchronous slew) is marked so: it is never taken
// while another call waits, so calls nest at most one deep and never inside each other's
// waits.
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>

namespace tramox::alpaca {

class WorkQueue {
 public:
  struct Item {
    std::function<void()> work;
    bool mayWait = false;
    bool stop = false;
  };

  void push(Item item);
  // The first stop, else the first item that may run now; with nested, the first that does
  // not wait. Never blocks.
  std::optional<Item> take(bool nested);
  // The first stop; none when no stop is queued. Never blocks.
  std::optional<Item> takeStop();
  // Blocks until an item is pushed, the deadline passes or close() is called.
  void waitUntil(std::chrono::steady_clock::time_point deadline);
  // Blocks until an item is queued or close() is called. When the last calls came one at a
  // time, each finding the waiter idle, it first looks for one without sleeping for up to
  // poll: a call that follows closely then needs no wake-up.
  void waitForWork(std::chrono::microseconds poll = {});
  // Wakes every waiter; later pushes are dropped and take() answers nothing.
  void close();
  // Drops what is still queued (their replies are never called).
  void clear();

 private:
  // Under the lock.
  std::optional<Item> takeAt(std::deque<Item>::iterator found);
  void refresh();

  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<Item> items_;
  bool closed_ = false;
  unsigned long pushes_ = 0;
  int sleepers_ = 0;      // blocked on changed_: a push calls the system to wake only those
  int oneByOne_ = 0;      // calls in a row pushed while waitForWork waited
  bool waiting_ = false;  // in waitForWork
  std::atomic<bool> ready_{false};  // an item is queued or the queue closed, for polling
};

}  // namespace tramox::alpaca
