#include "platform/posix/reg_file_registry.h"

#include <sys/stat.h>
#include <time.h>

#include <filesystem>
#include <system_error>
#include <utility>

#include "platform/posix/hive_file_io.h"
#include "platform/posix/reg_file_format.h"
#include "platform/tree_registry.h"

namespace tramox::platform {

namespace {

// Far above any file system's timestamp granularity (a kernel tick at worst).
constexpr long long kTimestampGranularityNs = 100'000'000;

long long nanoseconds(const timespec& time) {
  return static_cast<long long>(time.tv_sec) * 1'000'000'000LL + time.tv_nsec;
}

long long nowNs() {
  timespec now{};
  ::clock_gettime(CLOCK_REALTIME, &now);
  return nanoseconds(now);
}

const std::shared_ptr<const RegistryTree>& emptyTree() {
  static const auto empty = std::make_shared<const RegistryTree>();
  return empty;
}

// A hive reached through a link, or with a second name in another folder, can change
// without a notice in this one.
bool onlyNamedHere(const std::string& file) {
  struct stat status {};
  return ::lstat(file.c_str(), &status) != 0 || (S_ISREG(status.st_mode) && status.st_nlink == 1);
}

}  // namespace

namespace {

// By hive, in the order of Hive.
constexpr std::array<const char*, 3> kHiveFiles = {"HKCU.reg", "HKLM.reg", "HKCR.reg"};

}  // namespace

RegFileRegistry::RegFileRegistry(std::string folder)
    : folder_(std::move(folder)), watch_(folder_, {kHiveFiles.begin(), kHiveFiles.end()}) {
  for (std::size_t hive = 0; hive < files_.size(); ++hive) {
    files_[hive] = folder_ + "/" + kHiveFiles[hive];
  }
}

std::shared_ptr<const RegistryTree> RegFileRegistry::load(Hive hive, bool now) {
  const std::string& file = fileOf(hive);
  std::lock_guard<std::mutex> guard(parsesMutex_);
  LastParse& last = parses_[static_cast<std::size_t>(hive)];
  const bool quiet = watch_.quietSinceLastLook(static_cast<std::size_t>(hive), now);
  if (last.watched && quiet) {
    if (!last.error.empty()) {
      throw RegistryError(last.error);
    }
    return last.tree;
  }
  const bool watched = watch_.live(static_cast<std::size_t>(hive)) && onlyNamedHere(file);
  last.watched = watched;
  struct stat status {};
  if (last.trusted && ::stat(file.c_str(), &status) == 0) {
    const FileStamp stamp{status.st_dev, status.st_ino, status.st_size,
                          nanoseconds(status.st_mtim)};
    if (stamp == last.stamp) {
      if (!last.error.empty()) {
        throw RegistryError(last.error);
      }
      return last.tree;
    }
  }
  last = {};
  const long long readStartNs = nowNs();
  std::string text;
  if (!readRegularFile(file, text, status)) {
    last.tree = emptyTree();  // a hive nobody has written to yet
    last.watched = watched;
    return last.tree;
  }
  last.stamp = {status.st_dev, status.st_ino, status.st_size, nanoseconds(status.st_mtim)};
  try {
    last.tree = std::make_shared<const RegistryTree>(parseRegFile(text, hive, file));
  } catch (const RegistryError& e) {
    last.error = e.what();
  }
  last.trusted = last.stamp.modifiedNs + kTimestampGranularityNs < readStartNs;
  last.watched = watched;
  if (!last.error.empty()) {
    throw RegistryError(last.error);
  }
  return last.tree;
}

void RegFileRegistry::update(Hive hive, const std::function<bool(RegistryTree&)>& change) {
  const std::string& file = fileOf(hive);
  std::error_code ignored;  // a folder that cannot be made fails just below, with its reason
  std::filesystem::create_directories(folder_, ignored);
  FileLock lock(file + ".lock", lockWait, lockWaitClock.load());
  RegistryTree tree = *load(hive, true);
  if (change(tree)) {
    const std::string target = followLinks(file);
    removeStaleTemporaries(target);
    replaceFile(target, formatRegFile(tree, hive), beforeRename);
    // Its notice may be taken only at the next call: the next read looks at the file.
    const std::lock_guard<std::mutex> guard(parsesMutex_);
    parses_[static_cast<std::size_t>(hive)] = {};
  }
}

void RegFileRegistry::transact(Hive hive, const std::function<void(IRegistry& view)>& body) {
  update(hive, [&](RegistryTree& tree) {
    TreeRegistry view(tree, hive);
    body(view);
    return view.changed();
  });
}

void RegFileRegistry::snapshot(Hive hive, const std::function<void(IRegistry& view)>& body) {
  const std::shared_ptr<const RegistryTree> tree = load(hive);
  TreeRegistry view(*tree, hive);
  body(view);
}

bool RegFileRegistry::keyExists(Hive hive, const std::string& path) {
  return load(hive)->hasKey(path);
}

void RegFileRegistry::createKey(Hive hive, const std::string& path) {
  if (!keyExists(hive, path)) {
    transact(hive, [&](IRegistry& view) { view.createKey(hive, path); });
  }
}

bool RegFileRegistry::deleteKey(Hive hive, const std::string& path) {
  bool existed = false;
  transact(hive, [&](IRegistry& view) { existed = view.deleteKey(hive, path); });
  return existed;
}

std::optional<RegistryValue> RegFileRegistry::readValue(Hive hive, const std::string& path,
                                                        const std::string& name) {
  return load(hive)->value(path, name);
}

void RegFileRegistry::writeValue(Hive hive, const std::string& path, const std::string& name,
                                 const RegistryValue& value) {
  transact(hive, [&](IRegistry& view) { view.writeValue(hive, path, name, value); });
}

bool RegFileRegistry::deleteValue(Hive hive, const std::string& path, const std::string& name) {
  bool existed = false;
  transact(hive, [&](IRegistry& view) { existed = view.deleteValue(hive, path, name); });
  return existed;
}

}  // namespace tramox::platform
