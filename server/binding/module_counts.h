#pragma once
// What DllCanUnloadNow answers from, the same for every module: the objects alive and the
// class-factory locks held. One count per loaded module, whichever front end it serves.
#include <atomic>

namespace tramox::server::binding {

class ModuleCounts {
 public:
  static ModuleCounts& instance();

  bool canUnload() const { return liveObjects_.load() == 0 && locks_.load() == 0; }
  long liveObjects() const { return liveObjects_.load(); }
  void objectCreated() { ++liveObjects_; }
  void objectDestroyed() { --liveObjects_; }
  void lock() { ++locks_; }
  void unlock();

 private:
  ModuleCounts() = default;

  std::atomic<long> liveObjects_{0};
  std::atomic<long> locks_{0};
};

// Held by every object of the module for as long as it lives.
class LiveObjectToken {
 public:
  LiveObjectToken() { ModuleCounts::instance().objectCreated(); }
  ~LiveObjectToken() { ModuleCounts::instance().objectDestroyed(); }
  LiveObjectToken(const LiveObjectToken&) = delete;
  LiveObjectToken& operator=(const LiveObjectToken&) = delete;
};

}  // namespace tramox::server::binding
