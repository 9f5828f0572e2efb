#include "server/binding/module_counts.h"

namespace tramox::server::binding {

ModuleCounts& ModuleCounts::instance() {
  static ModuleCounts counts;
  return counts;
}

void ModuleCounts::unlock() {
  // A client unlocking more often than it locked must not make the module look busy forever.
  long current = locks_.load();
  while (current > 0 && !locks_.compare_exchange_weak(current, current - 1)) {
  }
}

}  // namespace tramox::server::binding
