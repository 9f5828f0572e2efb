#pragma once
// IRegistry over one hive held in memory: the view that transactions and snapshots hand to
// their bodies. Any other hive is refused, so a body cannot escape its transaction unnoticed.
#include "platform/registry.h"
#include "platform/registry_tree.h"

namespace tramox::platform {

class TreeRegistry final : public IRegistry {
 public:
  // A read-only view.
  TreeRegistry(const RegistryTree& tree, Hive hive) : reading_(tree), hive_(hive) {}
  TreeRegistry(RegistryTree& tree, Hive hive) : reading_(tree), writing_(&tree), hive_(hive) {}

  bool keyExists(Hive hive, const std::string& path) override;
  void createKey(Hive hive, const std::string& path) override;
  bool deleteKey(Hive hive, const std::string& path) override;
  std::optional<RegistryValue> readValue(Hive hive, const std::string& path,
                                         const std::string& name) override;
  void writeValue(Hive hive, const std::string& path, const std::string& name,
                  const RegistryValue& value) override;
  bool deleteValue(Hive hive, const std::string& path, const std::string& name) override;
  // Nested in the view's own hive, both run on this view.
  void transact(Hive hive, const std::function<void(IRegistry& view)>& body) override;
  void snapshot(Hive hive, const std::function<void(IRegistry& view)>& body) override;

  // True once a write has changed the tree.
  bool changed() const { return changed_; }

 private:
  const RegistryTree& reading(Hive hive) const;
  RegistryTree& writing(Hive hive);

  const RegistryTree& reading_;
  RegistryTree* writing_ = nullptr;
  Hive hive_;
  bool changed_ = false;
};

}  // namespace tramox::platform
