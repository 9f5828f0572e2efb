#pragma once
// An in-memory registry with the three hives, for tests. Chosen keys can be made to fail their
// reads or writes, as a key without access rights does.
#include <map>
#include <set>
#include <string>
#include <utility>

#include "platform/registry.h"
#include "platform/registry_tree.h"

namespace tramox::fakes {

class FakeRegistry : public platform::IRegistry {
 public:
  bool keyExists(platform::Hive hive, const std::string& path) override;
  void createKey(platform::Hive hive, const std::string& path) override;
  bool deleteKey(platform::Hive hive, const std::string& path) override;
  std::optional<platform::RegistryValue> readValue(platform::Hive hive, const std::string& path,
                                                   const std::string& name) override;
  void writeValue(platform::Hive hive, const std::string& path, const std::string& name,
                  const platform::RegistryValue& value) override;
  bool deleteValue(platform::Hive hive, const std::string& path, const std::string& name) override;
  // The body works on the fake itself, failure rules included; a throw undoes its changes.
  void transact(platform::Hive hive,
                const std::function<void(platform::IRegistry& view)>& body) override;
  void snapshot(platform::Hive hive,
                const std::function<void(platform::IRegistry& view)>& body) override;

  // keyExists answers false and readValue throws RegistryError(message) for this key.
  void failReads(platform::Hive hive, const std::string& path,
                 std::string message = "Accès refusé");
  // createKey, writeValue, deleteValue and deleteKey throw RegistryError(message) for this key.
  void failWrites(platform::Hive hive, const std::string& path,
                  std::string message = "Accès refusé");
  void clearFailures();

  // Direct access that bypasses the failure rules, to arrange and inspect a test's state.
  platform::RegistryTree& hive(platform::Hive hive) { return trees_[hive]; }
  int writeCount() const { return writes_; }
  // Changes that reached the store as one unit: a transaction, or a write outside any.
  int commitCount() const { return commits_; }
  // Reads made outside any snapshot or transaction.
  int looseReadCount() const { return looseReads_; }

 private:
  using Target = std::pair<platform::Hive, std::string>;
  void check(const std::map<Target, std::string>& failures, platform::Hive hive,
             const std::string& path) const;

  std::map<platform::Hive, platform::RegistryTree> trees_;
  std::map<Target, std::string> readFailures_;
  std::map<Target, std::string> writeFailures_;
  void wrote();
  void read();
  int writes_ = 0;
  int commits_ = 0;
  int looseReads_ = 0;
  int grouped_ = 0;  // depth of the snapshots and transactions running
};

}  // namespace tramox::fakes
