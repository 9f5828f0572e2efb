#pragma once
// What every Windows test program under Wine prints: one "ok  " or "FAIL" line per check, then
// a sentinel line with the number of failures, which is also the exit code.
#include <cstdio>
#include <string>

namespace tramox::wine_tests {

inline int failures = 0;

inline void check(bool ok, const std::string& what) {
  std::printf("%s %s\n", ok ? "ok  " : "FAIL", what.c_str());
  std::fflush(stdout);  // seen even if the program then hangs and is killed
  if (!ok) {
    ++failures;
  }
}

// Prints "<sentinel> failures=<n>" and answers n.
inline int report(const char* sentinel) {
  std::printf("%s failures=%d\n", sentinel, failures);
  return failures;
}

}  // namespace tramox::wine_tests
