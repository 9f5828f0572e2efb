#include "platform/posix/hive_file_io.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstring>
#include <thread>

#include "platform/registry.h"

namespace tramox::platform {

namespace {

constexpr const char* kTemporarySuffix = ".XXXXXX";
constexpr std::size_t kTemporarySuffixLength = 7;

void writeAll(int fd, const std::string& text, const std::string& file) {
  const char* data = text.data();
  std::size_t left = text.size();
  while (left > 0) {
    ssize_t written = ::write(fd, data, left);
    if (written < 0) {
      if (errno == EINTR) {
        continue;
      }
      throw RegistryError(systemError("Cannot write", file));
    }
    data += written;
    left -= static_cast<std::size_t>(written);
  }
}

std::string directoryOf(const std::string& file) {
  auto slash = file.find_last_of('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : file.substr(0, slash);
}

std::string baseNameOf(const std::string& file) {
  auto slash = file.find_last_of('/');
  return slash == std::string::npos ? file : file.substr(slash + 1);
}

void requireRegular(const struct stat& status, const std::string& file) {
  if (!S_ISREG(status.st_mode)) {
    throw RegistryError("Not a regular file '" + file + "'");
  }
}

// Opens without blocking on a FIFO or a device, then refuses anything but a regular file.
int openRegular(const std::string& file, int flags, struct stat& status) {
  int fd = ::open(file.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0600);
  if (fd < 0) {
    return fd;
  }
  Descriptor owned(fd);
  if (::fstat(fd, &status) != 0) {
    throw RegistryError(systemError("Cannot read", file));
  }
  requireRegular(status, file);
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return owned.release();
}

}  // namespace

Descriptor::~Descriptor() {
  if (fd_ >= 0) {
    ::close(fd_);
  }
}

std::string systemError(const std::string& what, const std::string& file) {
  return what + " '" + file + "': " + std::strerror(errno);
}

namespace {

constexpr int kLockRetryMs = 10;

int openLockFile(const std::string& lockFile) {
  struct stat status {};
  const int fd = openRegular(lockFile, O_RDWR | O_CREAT, status);
  if (fd < 0) {
    throw RegistryError(systemError("Cannot open the lock file", lockFile));
  }
  return fd;
}

}  // namespace

FileLock::FileLock(std::string lockFile, std::chrono::milliseconds wait, IClock* pause)
    : lockFile_(std::move(lockFile)), fd_(openLockFile(lockFile_)) {
  const auto deadline = std::chrono::steady_clock::now() + wait;
  while (::flock(fd_.get(), LOCK_EX | LOCK_NB) != 0) {
    if (errno == EINTR) {
      continue;
    }
    if (errno != EWOULDBLOCK) {
      throw RegistryError(systemError("Cannot lock", lockFile_));
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      throw RegistryError("Gave up after " + std::to_string(wait.count()) +
                          " ms waiting for the lock '" + lockFile_ +
                          "', which another process holds");
    }
    if (pause != nullptr) {
      pause->sleepWhileBlocked(kLockRetryMs);
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(kLockRetryMs));
    }
  }
}

bool readRegularFile(const std::string& file, std::string& text, struct stat& status) {
  Descriptor fd(openRegular(file, O_RDONLY, status));
  if (fd.get() < 0) {
    if (errno == ENOENT || errno == ENOTDIR) {
      return false;
    }
    throw RegistryError(systemError("Cannot read", file));
  }
  text.clear();
  char buffer[8192];
  for (;;) {
    ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
    if (got == 0) {
      return true;
    }
    if (got < 0) {
      if (errno == EINTR) {
        continue;
      }
      throw RegistryError(systemError("Cannot read", file));
    }
    text.append(buffer, static_cast<std::size_t>(got));
  }
}

std::string followLinks(const std::string& file) {
  std::string target = file;
  for (int hop = 0; hop < 40; ++hop) {
    char link[PATH_MAX];
    const ssize_t length = ::readlink(target.c_str(), link, sizeof link);
    if (length < 0) {
      return target;  // not a link, or nothing there yet
    }
    const std::string next(link, static_cast<std::size_t>(length));
    target = next[0] == '/' ? next : directoryOf(target) + "/" + next;
  }
  throw RegistryError("Too many levels of symbolic links from '" + file + "'");
}

void removeStaleTemporaries(const std::string& file) {
  const std::string directory = directoryOf(file);
  const std::string prefix = baseNameOf(file) + ".";
  DIR* folder = ::opendir(directory.c_str());
  if (folder == nullptr) {
    return;
  }
  while (const dirent* entry = ::readdir(folder)) {
    const std::string name = entry->d_name;
    if (name.size() != prefix.size() + kTemporarySuffixLength - 1 ||
        name.compare(0, prefix.size(), prefix) != 0) {
      continue;
    }
    bool generated = true;  // mkstemp's six letters and digits
    for (std::size_t i = prefix.size(); i < name.size(); ++i) {
      generated = generated && std::isalnum(static_cast<unsigned char>(name[i]));
    }
    if (generated) {
      ::unlink((directory + "/" + name).c_str());
    }
  }
  ::closedir(folder);
}

void replaceFile(const std::string& file, const std::string& text,
                 const std::function<void()>& beforeRename) {
  std::string temporary = file + kTemporarySuffix;
  Descriptor fd(::mkstemp(temporary.data()));
  if (fd.get() < 0) {
    throw RegistryError(systemError("Cannot create a temporary file beside", file));
  }
  try {
    struct stat existing {};
    const mode_t mode = ::stat(file.c_str(), &existing) == 0 ? (existing.st_mode & 07777) : 0600;
    if (::fchmod(fd.get(), mode) != 0) {
      throw RegistryError(systemError("Cannot set the mode of", temporary));
    }
    writeAll(fd.get(), text, temporary);
    if (::fsync(fd.get()) != 0) {
      throw RegistryError(systemError("Cannot sync", temporary));
    }
    if (::close(fd.release()) != 0) {
      throw RegistryError(systemError("Cannot close", temporary));
    }
    if (beforeRename) {
      beforeRename();
    }
    if (::rename(temporary.c_str(), file.c_str()) != 0) {
      throw RegistryError(systemError("Cannot replace", file));
    }
  } catch (...) {
    ::unlink(temporary.c_str());
    throw;
  }
  // Make the rename itself durable; a failure here leaves a complete file either way.
  Descriptor directory(::open(directoryOf(file).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (directory.get() >= 0) {
    ::fsync(directory.get());
  }
}

}  // namespace tramox::platform
