#include "platform/posix/reg_file_registry.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <utility>

#include "platform/posix/reg_file_format.h"

namespace tramox::platform {

namespace {

std::string systemError(const std::string& what, const std::string& file) {
  return what + " '" + file + "': " + std::strerror(errno);
}

// Owns a descriptor; closes it on every path out.
class Descriptor {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) {
      ::close(fd_);
    }
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  int release() { return std::exchange(fd_, -1); }

 private:
  int fd_;
};

// An exclusive flock on "<file>.lock", held for the object's lifetime. The lock file is never
// removed: removing it would let two writers lock two different files.
class HiveLock {
 public:
  explicit HiveLock(const std::string& file)
      : lockFile_(file + ".lock"),
        fd_(::open(lockFile_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
    if (fd_.get() < 0) {
      throw RegistryError(systemError("Cannot open the lock file", lockFile_));
    }
    while (::flock(fd_.get(), LOCK_EX) != 0) {
      if (errno != EINTR) {
        throw RegistryError(systemError("Cannot lock", lockFile_));
      }
    }
  }

 private:
  std::string lockFile_;
  Descriptor fd_;  // closing it releases the lock
};

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

}  // namespace

RegFileRegistry::RegFileRegistry(std::string folder) : folder_(std::move(folder)) {}

std::string RegFileRegistry::fileOf(Hive hive) const {
  switch (hive) {
    case Hive::CurrentUser:
      return folder_ + "/HKCU.reg";
    case Hive::LocalMachine:
      return folder_ + "/HKLM.reg";
    case Hive::ClassesRoot:
      return folder_ + "/HKCR.reg";
  }
  return {};
}

RegistryTree RegFileRegistry::load(Hive hive) const {
  const std::string file = fileOf(hive);
  Descriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) {
    if (errno == ENOENT || errno == ENOTDIR) {
      return {};  // a hive nobody has written to yet
    }
    throw RegistryError(systemError("Cannot read", file));
  }
  std::string text;
  char buffer[8192];
  for (;;) {
    ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
    if (got == 0) {
      break;
    }
    if (got < 0) {
      if (errno == EINTR) {
        continue;
      }
      throw RegistryError(systemError("Cannot read", file));
    }
    text.append(buffer, static_cast<std::size_t>(got));
  }
  return parseRegFile(text, hive, file);
}

void RegFileRegistry::replaceFile(const std::string& file, const std::string& text) {
  std::string temporary = file + ".XXXXXX";
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

void RegFileRegistry::update(Hive hive, const std::function<bool(RegistryTree&)>& change) {
  const std::string file = fileOf(hive);
  std::error_code ignored;  // a folder that cannot be made fails just below, with its reason
  std::filesystem::create_directories(folder_, ignored);
  HiveLock lock(file);
  RegistryTree tree = load(hive);
  if (change(tree)) {
    replaceFile(file, formatRegFile(tree, hive));
  }
}

bool RegFileRegistry::keyExists(Hive hive, const std::string& path) {
  return load(hive).hasKey(path);
}

void RegFileRegistry::createKey(Hive hive, const std::string& path) {
  if (keyExists(hive, path)) {
    return;
  }
  update(hive, [&](RegistryTree& tree) {
    if (tree.hasKey(path)) {
      return false;
    }
    tree.createKey(path);
    return true;
  });
}

bool RegFileRegistry::deleteKey(Hive hive, const std::string& path) {
  bool existed = false;
  update(hive, [&](RegistryTree& tree) { return existed = tree.deleteKey(path); });
  return existed;
}

std::optional<RegistryValue> RegFileRegistry::readValue(Hive hive, const std::string& path,
                                                        const std::string& name) {
  return load(hive).value(path, name);
}

void RegFileRegistry::writeValue(Hive hive, const std::string& path, const std::string& name,
                                 const RegistryValue& value) {
  update(hive, [&](RegistryTree& tree) {
    if (tree.hasKey(path) && tree.value(path, name) == value) {
      return false;
    }
    tree.setValue(path, name, value);
    return true;
  });
}

bool RegFileRegistry::deleteValue(Hive hive, const std::string& path, const std::string& name) {
  bool existed = false;
  update(hive, [&](RegistryTree& tree) { return existed = tree.deleteValue(path, name); });
  return existed;
}

}  // namespace tramox::platform
