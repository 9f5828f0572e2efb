#pragma once
// The registry as the driver sees it: hives of keys holding typed values. Windows maps this
// onto the real registry; POSIX keeps one regedit-format file per hive under TRAMOX_HOME.
#include <cstdint>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace tramox::platform {

enum class Hive { CurrentUser, LocalMachine, ClassesRoot };

// REG_SZ, REG_DWORD and REG_BINARY: the only types the driver reads or writes.
enum class ValueKind { String, Dword, Binary };

struct RegistryValue {
  ValueKind kind = ValueKind::String;
  std::string text;                 // String (UTF-8)
  std::uint32_t dword = 0;          // Dword
  std::vector<std::uint8_t> bytes;  // Binary

  static RegistryValue ofString(std::string s);
  static RegistryValue ofDword(std::uint32_t v);
  static RegistryValue ofBinary(std::vector<std::uint8_t> b);
  bool operator==(const RegistryValue&) const = default;
};

// A registry operation that failed (no rights, unreadable store, wrong value type). Reaches
// clients as E_UNEXPECTED with this message.
class RegistryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Key paths use backslashes and compare case-insensitively, as on Windows. The empty value
// name is the key's default value.
class IRegistry {
 public:
  virtual ~IRegistry() = default;
  // True when the key can be opened for reading.
  virtual bool keyExists(Hive hive, const std::string& path) = 0;
  // Opens the key, creating it and any missing parents. Throws RegistryError.
  virtual void createKey(Hive hive, const std::string& path) = 0;
  // Deletes a key and its values. Returns false when it did not exist. Throws RegistryError
  // when the key still has subkeys or the store cannot be written.
  virtual bool deleteKey(Hive hive, const std::string& path) = 0;
  // nullopt when the key or the value does not exist. Throws RegistryError when the store
  // cannot be read.
  virtual std::optional<RegistryValue> readValue(Hive hive, const std::string& path,
                                                 const std::string& name) = 0;
  // Creates the key when needed. Throws RegistryError.
  virtual void writeValue(Hive hive, const std::string& path, const std::string& name,
                          const RegistryValue& value) = 0;
  // Returns false when the value did not exist. Throws RegistryError.
  virtual bool deleteValue(Hive hive, const std::string& path, const std::string& name) = 0;
  // Where the hive is kept, for messages: its file where it is one; empty for the platform's
  // own registry.
  virtual std::string storeName(Hive) const { return {}; }

  // Runs `body` on a view of `hive` whose changes reach the store together, or not at all when
  // `body` throws; the hive's other transactions wait meanwhile. The view serves only `hive`.
  virtual void transact(Hive hive, const std::function<void(IRegistry& view)>& body) = 0;
  // Runs `body` on a read-only view of `hive` as it stood at one moment, so that values read
  // together were written together.
  virtual void snapshot(Hive hive, const std::function<void(IRegistry& view)>& body) = 0;
};

}  // namespace tramox::platform
