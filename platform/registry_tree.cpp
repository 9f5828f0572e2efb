#include "platform/registry_tree.h"

#include <algorithm>

namespace tramox::platform {

namespace {

char foldedChar(char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

std::string foldCase(const std::string& text) {
  std::string folded = text;
  std::transform(folded.begin(), folded.end(), folded.begin(), foldedChar);
  return folded;
}

bool hasControlCharacter(const std::string& text) {
  for (unsigned char c : text) {
    if (c < 0x20 || c == 0x7F) {
      return true;
    }
  }
  return false;
}

namespace {

// The Windows registry's own limits, which also keep a hand-edited file from costing time and
// space without bound.
constexpr std::size_t kMaxKeyDepth = 512;
constexpr std::size_t kMaxKeyNameLength = 255;
constexpr std::size_t kMaxValueNameLength = 16383;

void checkLimits(const std::string& path) {
  std::size_t depth = 1;
  std::size_t nameStart = 0;
  for (std::size_t i = 0; i <= path.size(); ++i) {
    if (i == path.size() || path[i] == '\\') {
      if (i - nameStart > kMaxKeyNameLength) {
        throw RegistryError("Nom de clé de plus de " + std::to_string(kMaxKeyNameLength) +
                            " caractères");
      }
      if (i < path.size() && ++depth > kMaxKeyDepth) {
        throw RegistryError("Clé à plus de " + std::to_string(kMaxKeyDepth) + " niveaux");
      }
      nameStart = i + 1;
    }
  }
}

}  // namespace

std::string RegistryTree::normalizePath(const std::string& path) {
  auto first = path.find_first_not_of('\\');
  if (first == std::string::npos) {
    return {};
  }
  auto last = path.find_last_not_of('\\');
  std::string trimmed = path.substr(first, last - first + 1);
  if (trimmed.find("\\\\") != std::string::npos || hasControlCharacter(trimmed)) {
    throw RegistryError("Chemin de clé incorrect '" + path + "'");
  }
  checkLimits(trimmed);
  return trimmed;
}

RegistryTree::Key* RegistryTree::find(const std::string& path) {
  auto it = keys_.find(foldCase(normalizePath(path)));
  return it == keys_.end() ? nullptr : &it->second;
}

const RegistryTree::Key* RegistryTree::find(const std::string& path) const {
  auto it = keys_.find(foldCase(normalizePath(path)));
  return it == keys_.end() ? nullptr : &it->second;
}

bool RegistryTree::hasKey(const std::string& path) const {
  const std::string normalized = normalizePath(path);
  return normalized.empty() || keys_.find(foldCase(normalized)) != keys_.end();
}

void RegistryTree::createKey(const std::string& path) {
  std::string normalized = normalizePath(path);
  std::size_t end = 0;
  while (end != std::string::npos && !normalized.empty()) {
    end = normalized.find('\\', end + 1);
    std::string prefix = normalized.substr(0, end);
    keys_.try_emplace(foldCase(prefix), Key{prefix, {}});
  }
}

bool RegistryTree::deleteKey(const std::string& path) {
  std::string folded = foldCase(normalizePath(path));
  auto it = keys_.find(folded);
  if (it == keys_.end()) {
    return false;
  }
  std::string childPrefix = folded + "\\";
  auto child = keys_.lower_bound(childPrefix);
  if (child != keys_.end() && child->first.compare(0, childPrefix.size(), childPrefix) == 0) {
    throw RegistryError("Impossible de supprimer la clé '" + path + "' : elle a des sous-clés");
  }
  keys_.erase(it);
  return true;
}

namespace {

template <typename Values>
auto findValue(Values& values, const std::string& name) {
  return std::find_if(values.begin(), values.end(), [&](const auto& v) {
    return std::equal(v.name.begin(), v.name.end(), name.begin(), name.end(),
                      [](char a, char b) { return foldedChar(a) == foldedChar(b); });
  });
}

}  // namespace

std::optional<RegistryValue> RegistryTree::value(const std::string& path,
                                                 const std::string& name) const {
  const Key* key = find(path);
  if (key == nullptr) {
    return std::nullopt;
  }
  auto it = findValue(key->values, name);
  if (it == key->values.end()) {
    return std::nullopt;
  }
  return it->value;
}

void RegistryTree::setValue(const std::string& path, const std::string& name,
                            const RegistryValue& value) {
  if (hasControlCharacter(name)) {
    throw RegistryError("Nom de valeur incorrect '" + name + "'");
  }
  if (name.size() > kMaxValueNameLength) {
    throw RegistryError("Nom de valeur de plus de " + std::to_string(kMaxValueNameLength) +
                        " caractères");
  }
  createKey(path);
  Key* key = find(path);
  if (key == nullptr) {
    throw RegistryError("Impossible d'écrire une valeur à la racine de la ruche");
  }
  auto it = findValue(key->values, name);
  if (it == key->values.end()) {
    key->values.push_back(Value{name, value});
  } else {
    it->value = value;
  }
}

bool RegistryTree::deleteValue(const std::string& path, const std::string& name) {
  Key* key = find(path);
  if (key == nullptr) {
    return false;
  }
  auto it = findValue(key->values, name);
  if (it == key->values.end()) {
    return false;
  }
  key->values.erase(it);
  return true;
}

std::vector<const RegistryTree::Key*> RegistryTree::keys() const {
  std::vector<const Key*> result;
  result.reserve(keys_.size());
  for (const auto& [folded, key] : keys_) {
    result.push_back(&key);
  }
  return result;
}

}  // namespace tramox::platform
