#pragma once
// The file-system steps behind the POSIX hive files: a bounded wait for a lock file, reads that
// refuse anything but a regular file (a FIFO would block the reader), and the complete-file
// replacement through a temporary file. Failures throw RegistryError naming the file and the
// system's reason.
#include <sys/stat.h>

#include <chrono>
#include <functional>
#include <string>
#include <utility>

#include "platform/clock.h"

namespace tramox::platform {

// Owns a descriptor; closes it on every path out.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor();
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  int release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

// An exclusive flock on `lockFile`, held for the object's lifetime. Gives up after `wait` with
// an error naming the lock file. The lock file is never removed: removing it would let two
// writers lock two different files. Between two tries it sleeps on pause when given.
class FileLock {
 public:
  FileLock(std::string lockFile, std::chrono::milliseconds wait, IClock* pause = nullptr);

 private:
  std::string lockFile_;
  Descriptor fd_;  // closing it releases the lock
};

std::string systemError(const std::string& what, const std::string& file);

// The whole content of a regular file, and its status as read. False when it does not exist.
bool readRegularFile(const std::string& file, std::string& text, struct stat& status);

// The file that `file` names once its symbolic links are followed, so that a replacement is
// written through a link rather than over it.
std::string followLinks(const std::string& file);

// Removes the temporaries "<file>.XXXXXX" that writers killed before their rename left behind.
// Only safe while holding the lock every writer of `file` takes.
void removeStaleTemporaries(const std::string& file);

// Writes `text` to a fresh temporary beside `file`, syncs it and renames it over `file`,
// keeping `file`'s mode. `beforeRename` runs when the temporary is complete.
void replaceFile(const std::string& file, const std::string& text,
                 const std::function<void()>& beforeRename);

}  // namespace tramox::platform
