#include "simulator/state_file_io.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>
#include <system_error>
#include <thread>

#if defined(_WIN32)
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace tramox::sim {
namespace {

std::string inQuotes(const std::filesystem::path& file) {
  return "'" + file.string() + "'";
}

#if !defined(_WIN32)
std::string systemReason(const std::filesystem::path& file) {
  return inQuotes(file) + ": " + std::strerror(errno);
}

// Opens without blocking on a FIFO, then refuses anything but a regular file. -1 with the
// reason (empty for an absent file when `flags` does not create it).
int openRegular(const std::filesystem::path& file, int flags, std::string& why) {
  const int fd = ::open(file.c_str(), flags | O_NONBLOCK | O_CLOEXEC, 0644);
  if (fd < 0) {
    // ENXIO: a FIFO without a reader, or a device, refused a non-blocking write open.
    why = errno == ENOENT  ? std::string()
          : errno == ENXIO ? inQuotes(file) + " is not a regular file"
                           : systemReason(file);
    return -1;
  }
  struct stat status {};
  if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
    why = inQuotes(file) + " is not a regular file";
    ::close(fd);
    return -1;
  }
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

bool writeAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t written = ::write(fd, text.data() + done, text.size() - done);
    if (written < 0 && errno != EINTR) {
      return false;
    }
    done += written > 0 ? static_cast<std::size_t>(written) : 0;
  }
  return true;
}
#endif

}  // namespace

StateFileLock::StateFileLock(const std::filesystem::path& lockFile,
                             std::chrono::milliseconds wait) {
  const auto deadline = std::chrono::steady_clock::now() + wait;
#if defined(_WIN32)
  HANDLE file = CreateFileW(lockFile.c_str(), GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    why_ = "cannot open the lock file " + inQuotes(lockFile);
    return;
  }
  handle_ = file;
  OVERLAPPED whole{};
  while (!LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &whole)) {
#else
  std::string reason;
  fd_ = openRegular(lockFile, O_RDWR | O_CREAT, reason);
  if (fd_ < 0) {
    why_ = "cannot open the lock file " + reason;
    return;
  }
  while (::flock(fd_, LOCK_EX | LOCK_NB) != 0) {
    if (errno != EWOULDBLOCK && errno != EINTR) {
      why_ = "cannot lock " + systemReason(lockFile);
      return;
    }
#endif
    if (std::chrono::steady_clock::now() >= deadline) {
      why_ = "gave up after " + std::to_string(wait.count()) + " ms waiting for the lock " +
             inQuotes(lockFile) + ", which another process holds";
      return;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  held_ = true;
}

StateFileLock::~StateFileLock() {
#if defined(_WIN32)
  if (handle_ != nullptr) {
    CloseHandle(static_cast<HANDLE>(handle_));  // closing releases the lock
  }
#else
  if (fd_ >= 0) {
    ::close(fd_);  // closing releases the lock
  }
#endif
}

bool readRegularFile(const std::filesystem::path& file, std::string& text, std::string& why) {
  why.clear();
#if defined(_WIN32)
  std::error_code error;
  if (!std::filesystem::exists(file, error)) {
    return false;
  }
  if (!std::filesystem::is_regular_file(file, error)) {
    why = inQuotes(file) + " is not a regular file";
    return false;
  }
  std::ifstream in(file, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  if (!in) {
    why = "cannot read " + inQuotes(file);
    return false;
  }
  text = content.str();
  return true;
#else
  const int fd = openRegular(file, O_RDONLY, why);
  if (fd < 0) {
    return false;
  }
  text.clear();
  char buffer[4096];
  for (;;) {
    const ssize_t got = ::read(fd, buffer, sizeof buffer);
    if (got == 0) {
      break;
    }
    if (got < 0 && errno != EINTR) {
      why = "cannot read " + systemReason(file);
      ::close(fd);
      return false;
    }
    text.append(buffer, got > 0 ? static_cast<std::size_t>(got) : 0);
  }
  ::close(fd);
  return true;
#endif
}

bool replaceFile(const std::filesystem::path& file, const std::string& text, std::string& why) {
  std::error_code error;
#if defined(_WIN32)
  std::filesystem::path temporary = file;
  temporary += "." + std::to_string(GetCurrentProcessId()) + "-" +
               std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
      why = "cannot write " + inQuotes(temporary);
      std::filesystem::remove(temporary, error);
      return false;
    }
  }
#else
  std::string name = file.string() + ".XXXXXX";
  const int fd = ::mkstemp(name.data());
  const std::filesystem::path temporary = name;
  if (fd < 0) {
    why = "cannot create a temporary file beside " + systemReason(file);
    return false;
  }
  const bool written = ::fchmod(fd, 0644) == 0 && writeAll(fd, text) && ::fsync(fd) == 0;
  if (::close(fd) != 0 || !written) {
    why = "cannot write " + systemReason(temporary);
    std::filesystem::remove(temporary, error);
    return false;
  }
#endif
  std::filesystem::rename(temporary, file, error);
  if (error) {
    why = "cannot replace " + inQuotes(file) + ": " + error.message();
    std::filesystem::remove(temporary, error);
    return false;
  }
  return true;
}

bool appendToRegularFile(const std::string& file, const std::string& text, std::string& why) {
#if defined(_WIN32)
  std::ofstream out(file, std::ios::app);
  out << text;
  if (!out) {
    why = "cannot write " + inQuotes(file);
    return false;
  }
  return true;
#else
  const int fd = openRegular(file, O_WRONLY | O_APPEND | O_CREAT, why);
  if (fd < 0) {
    return false;
  }
  const bool written = writeAll(fd, text);
  if (!written) {
    why = "cannot write " + systemReason(file);
  }
  ::close(fd);
  return written;
#endif
}

}  // namespace tramox::sim
