#pragma once
// IRegistry on the Windows registry. HKEY_LOCAL_MACHINE is read and written in the 32-bit view
// from both builds: the ASCOM platform keeps its profile keys there, so the 64-bit driver and
// a 32-bit installer must meet in the same place. The other hives use the caller's own view
// (the classes root of a 64-bit DLL is the 64-bit one, as its registration requires).
#include "platform/registry.h"

namespace tramox::platform::win32 {

class WinRegistry final : public IRegistry {
 public:
  bool keyExists(Hive hive, const std::string& path) override;
  void createKey(Hive hive, const std::string& path) override;
  bool deleteKey(Hive hive, const std::string& path) override;
  std::optional<RegistryValue> readValue(Hive hive, const std::string& path,
                                         const std::string& name) override;
  void writeValue(Hive hive, const std::string& path, const std::string& name,
                  const RegistryValue& value) override;
  bool deleteValue(Hive hive, const std::string& path, const std::string& name) override;
  // The registry has no transactions short of the deprecated kernel transaction manager: the
  // driver's own transactions and snapshots of a hive are serialised by a named mutex, which
  // every process loading the driver shares. A body that throws keeps the writes it made.
  void transact(Hive hive, const std::function<void(IRegistry& view)>& body) override;
  void snapshot(Hive hive, const std::function<void(IRegistry& view)>& body) override;
};

}  // namespace tramox::platform::win32
