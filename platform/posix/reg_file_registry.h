#pragma once
// The registry kept as regedit-format text files, one per hive, in one folder: HKCU.reg,
// HKLM.reg, HKCR.reg. Every change locks the hive (flock on "<file>.lock" beside it), reads it,
// writes the whole new text to a temporary file in the same folder, syncs it and renames it
// over the old one, so readers and crashes only ever see a complete file. Reads take no lock.
//
// The last parse of each hive is kept and reused while the file keeps its identity, size and
// modification time: the settings are read at every call, and a rename always brings a new
// identity. A file changed in place within the file system's clock granularity of the parse
// could keep all three, so a parse is trusted only once its file is older than that.
// While the kernel's change notices for the folder work, a hive without a notice since its
// last read is not even looked at; a notice leads to the check above. The notices are taken
// once per member call, except by a writer, which looks again under its lock.
#include <sys/types.h>

#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "platform/clock.h"
#include "platform/posix/folder_watch.h"
#include "platform/registry.h"
#include "platform/registry_tree.h"

namespace tramox::platform {

class RegFileRegistry : public IRegistry {
 public:
  explicit RegFileRegistry(std::string folder);

  bool keyExists(Hive hive, const std::string& path) override;
  void createKey(Hive hive, const std::string& path) override;
  bool deleteKey(Hive hive, const std::string& path) override;
  std::optional<RegistryValue> readValue(Hive hive, const std::string& path,
                                         const std::string& name) override;
  void writeValue(Hive hive, const std::string& path, const std::string& name,
                  const RegistryValue& value) override;
  bool deleteValue(Hive hive, const std::string& path, const std::string& name) override;
  void transact(Hive hive, const std::function<void(IRegistry& view)>& body) override;
  void snapshot(Hive hive, const std::function<void(IRegistry& view)>& body) override;

  const std::string& fileOf(Hive hive) const { return files_[static_cast<std::size_t>(hive)]; }
  std::string storeName(Hive hive) const override { return fileOf(hive); }

  // Runs after the temporary file is complete and before it replaces the hive file; lets
  // tests stop a writer at its most delicate moment.
  std::function<void()> beforeRename;
  // How long a writer waits for another process's lock before it gives up.
  std::chrono::milliseconds lockWait{std::chrono::seconds(10)};
  // Sleeps between two tries at that lock when set (see lendStoreWaitClock).
  std::atomic<IClock*> lockWaitClock{nullptr};

 private:
  struct FileStamp {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = -1;
    long long modifiedNs = 0;
    bool operator==(const FileStamp&) const = default;
  };
  struct LastParse {
    bool trusted = false;
    FileStamp stamp;
    std::shared_ptr<const RegistryTree> tree;
    std::string error;     // the parse error, reported again at every read
    bool watched = false;  // every later change to the file brings a notice
  };

  // now: look for changes whatever the current call has already seen (a writer under its lock).
  std::shared_ptr<const RegistryTree> load(Hive hive, bool now = false);
  // Applies `change` under the hive's lock; writes only when it reports a change.
  void update(Hive hive, const std::function<bool(RegistryTree&)>& change);

  std::string folder_;
  std::array<std::string, 3> files_;  // by hive
  std::mutex parsesMutex_;
  std::array<LastParse, 3> parses_;
  FolderWatch watch_;
};

}  // namespace tramox::platform
