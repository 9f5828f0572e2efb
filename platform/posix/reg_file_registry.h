#pragma once
// The registry kept as regedit-format text files, one per hive, in one folder: HKCU.reg,
// HKLM.reg, HKCR.reg. Every change locks the hive (flock on "<file>.lock" beside it), reads it,
// writes the whole new text to a temporary file in the same folder, syncs it and renames it
// over the old one, so readers and crashes only ever see a complete file. Reads take no lock.
#include <functional>
#include <string>

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

  std::string fileOf(Hive hive) const;
  std::string storeName(Hive hive) const override { return fileOf(hive); }

  // Runs after the temporary file is complete and before it replaces the hive file; lets
  // tests stop a writer at its most delicate moment.
  std::function<void()> beforeRename;

 private:
  RegistryTree load(Hive hive) const;
  // Applies `change` under the hive's lock; writes only when it reports a change.
  void update(Hive hive, const std::function<bool(RegistryTree&)>& change);
  void replaceFile(const std::string& file, const std::string& text);

  std::string folder_;
};

}  // namespace tramox::platform
