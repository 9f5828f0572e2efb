#include "tests/fakes/fake_registry.h"

namespace tramox::fakes {

using platform::foldCase;
using platform::Hive;
using platform::RegistryError;
using platform::RegistryTree;
using platform::RegistryValue;

namespace {

std::string targetKey(const std::string& path) {
  return foldCase(RegistryTree::normalizePath(path));
}

}  // namespace

void FakeRegistry::check(const std::map<Target, std::string>& failures, Hive hive,
                         const std::string& path) const {
  auto it = failures.find({hive, targetKey(path)});
  if (it != failures.end()) {
    throw RegistryError(it->second);
  }
}

void FakeRegistry::wrote() {
  ++writes_;
  commits_ += grouped_ == 0 ? 1 : 0;
}

void FakeRegistry::read() {
  looseReads_ += grouped_ == 0 ? 1 : 0;
}

bool FakeRegistry::keyExists(Hive hive, const std::string& path) {
  read();
  if (readFailures_.count({hive, targetKey(path)}) != 0) {
    return false;
  }
  return trees_[hive].hasKey(path);
}

void FakeRegistry::createKey(Hive hive, const std::string& path) {
  check(writeFailures_, hive, path);
  trees_[hive].createKey(path);
  wrote();
}

bool FakeRegistry::deleteKey(Hive hive, const std::string& path) {
  check(writeFailures_, hive, path);
  wrote();
  return trees_[hive].deleteKey(path);
}

std::optional<RegistryValue> FakeRegistry::readValue(Hive hive, const std::string& path,
                                                     const std::string& name) {
  read();
  check(readFailures_, hive, path);
  return trees_[hive].value(path, name);
}

void FakeRegistry::writeValue(Hive hive, const std::string& path, const std::string& name,
                              const RegistryValue& value) {
  check(writeFailures_, hive, path);
  trees_[hive].setValue(path, name, value);
  wrote();
}

bool FakeRegistry::deleteValue(Hive hive, const std::string& path, const std::string& name) {
  check(writeFailures_, hive, path);
  wrote();
  return trees_[hive].deleteValue(path, name);
}

void FakeRegistry::transact(Hive hive, const std::function<void(platform::IRegistry&)>& body) {
  const RegistryTree before = trees_[hive];
  const int writesBefore = writes_;
  ++grouped_;
  try {
    body(*this);
  } catch (...) {
    --grouped_;
    trees_[hive] = before;
    throw;
  }
  --grouped_;
  commits_ += writes_ != writesBefore && grouped_ == 0 ? 1 : 0;
}

void FakeRegistry::snapshot(Hive, const std::function<void(platform::IRegistry&)>& body) {
  ++grouped_;
  try {
    body(*this);
  } catch (...) {
    --grouped_;
    throw;
  }
  --grouped_;
}

void FakeRegistry::failReads(Hive hive, const std::string& path, std::string message) {
  readFailures_[{hive, targetKey(path)}] = std::move(message);
}

void FakeRegistry::failWrites(Hive hive, const std::string& path, std::string message) {
  writeFailures_[{hive, targetKey(path)}] = std::move(message);
}

void FakeRegistry::clearFailures() {
  readFailures_.clear();
  writeFailures_.clear();
}

}  // namespace tramox::fakes
