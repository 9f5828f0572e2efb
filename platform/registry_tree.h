#pragma once
// One hive held in memory: keys with typed values, looked up case-insensitively and kept with
// the spelling they were created with, as the Windows registry does. The POSIX hive files and
// the test registry both work on this.
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/registry.h"

namespace tramox::platform {

// ASCII folding only: key and value names in this system are ASCII.
std::string foldCase(const std::string& text);
// Key paths and value names may not hold control characters: the POSIX hive files keep one
// name per line.
bool hasControlCharacter(const std::string& text);

class RegistryTree {
 public:
  struct Value {
    std::string name;
    RegistryValue value;
  };
  struct Key {
    std::string path;           // spelling of the first creation
    std::vector<Value> values;  // in creation order
  };

  // Removes leading and trailing backslashes; "" is the hive's root, which always exists.
  // Throws RegistryError for an empty component ("A\\\\B").
  static std::string normalizePath(const std::string& path);

  bool hasKey(const std::string& path) const;
  // Creates the key and every missing parent.
  void createKey(const std::string& path);
  // False when absent; RegistryError when it has subkeys.
  bool deleteKey(const std::string& path);
  std::optional<RegistryValue> value(const std::string& path, const std::string& name) const;
  // Creates the key when needed; a value keeps the spelling of its first write.
  void setValue(const std::string& path, const std::string& name, const RegistryValue& value);
  bool deleteValue(const std::string& path, const std::string& name);

  // Every key, parents before children.
  std::vector<const Key*> keys() const;

 private:
  Key* find(const std::string& path);
  const Key* find(const std::string& path) const;

  std::map<std::string, Key> keys_;  // by folded path
};

}  // namespace tramox::platform
