#pragma once
// The file steps of the simulated controller's own files (its saved state and its journal),
// for POSIX and Windows: a lock file waited for a bounded time, a whole-file replacement
// through a temporary of a unique name, and reads and appends that refuse anything but a
// regular file, so that a FIFO in their place can never block the controller.
#include <chrono>
#include <filesystem>
#include <string>

namespace tramox::sim {

// An exclusive lock on `lockFile` (created when missing), held for the object's lifetime. When
// it cannot be had within `wait`, held() is false and why() tells the reason.
class StateFileLock {
 public:
  StateFileLock(const std::filesystem::path& lockFile, std::chrono::milliseconds wait);
  ~StateFileLock();
  StateFileLock(const StateFileLock&) = delete;
  StateFileLock& operator=(const StateFileLock&) = delete;
  bool held() const { return held_; }
  const std::string& why() const { return why_; }

 private:
  bool held_ = false;
  std::string why_;
#if defined(_WIN32)
  void* handle_ = nullptr;
#else
  int fd_ = -1;
#endif
};

// False with the reason when the file cannot be read or is not a regular file; an absent file
// reads as false with an empty reason.
bool readRegularFile(const std::filesystem::path& file, std::string& text, std::string& why);

// Writes `text` to a temporary of a unique name beside `file`, then renames it over `file`.
bool replaceFile(const std::filesystem::path& file, const std::string& text, std::string& why);

// Appends `text` to `file`, created when missing. False with the reason when it is not a
// regular file or cannot be written.
bool appendToRegularFile(const std::string& file, const std::string& text, std::string& why);

}  // namespace tramox::sim
