#include "platform/tree_registry.h"

namespace tramox::platform {

const RegistryTree& TreeRegistry::reading(Hive hive) const {
  if (hive != hive_) {
    throw RegistryError("Une transaction ne porte que sur une ruche");
  }
  return reading_;
}

RegistryTree& TreeRegistry::writing(Hive hive) {
  reading(hive);
  if (writing_ == nullptr) {
    throw RegistryError("Écriture impossible dans une lecture groupée du registre");
  }
  return *writing_;
}

bool TreeRegistry::keyExists(Hive hive, const std::string& path) {
  return reading(hive).hasKey(path);
}

void TreeRegistry::createKey(Hive hive, const std::string& path) {
  if (!keyExists(hive, path)) {
    writing(hive).createKey(path);
    changed_ = true;
  }
}

bool TreeRegistry::deleteKey(Hive hive, const std::string& path) {
  if (!keyExists(hive, path)) {
    return false;
  }
  writing(hive).deleteKey(path);
  return changed_ = true;
}

std::optional<RegistryValue> TreeRegistry::readValue(Hive hive, const std::string& path,
                                                     const std::string& name) {
  return reading(hive).value(path, name);
}

void TreeRegistry::writeValue(Hive hive, const std::string& path, const std::string& name,
                              const RegistryValue& value) {
  if (!keyExists(hive, path) || readValue(hive, path, name) != value) {
    writing(hive).setValue(path, name, value);
    changed_ = true;
  }
}

bool TreeRegistry::deleteValue(Hive hive, const std::string& path, const std::string& name) {
  if (!readValue(hive, path, name)) {
    return false;
  }
  writing(hive).deleteValue(path, name);
  return changed_ = true;
}

void TreeRegistry::transact(Hive hive, const std::function<void(IRegistry& view)>& body) {
  writing(hive);
  body(*this);
}

void TreeRegistry::snapshot(Hive hive, const std::function<void(IRegistry& view)>& body) {
  reading(hive);
  body(*this);
}

}  // namespace tramox::platform
