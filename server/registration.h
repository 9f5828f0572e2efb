#pragma once
// What DllRegisterServer and DllUnregisterServer write under the classes root: for each class,
// in factory order, its CLSID key (description, InprocServer32 with the threading model,
// ProgID, Version, TypeLib) and its programmatic identifier's key with Clsid. The type
// library's own registration is the platform's and comes in through TypeLibraryRegistrar.
// Registering twice writes the same entries; unregistering removes every key written here.
#include <functional>
#include <string>
#include <vector>

#include "platform/registry.h"
#include "server/member_table.h"
#include "server/status_codes.h"

namespace tramox::server {

// One value written under the classes root: REG_SZ `text` as `name` of `key`.
struct RegistryEntry {
  std::string key;
  std::string name;
  std::string text;
};

// Both run inside the registration's transaction and write through `classesRoot` when they
// write keys themselves. Both throw on failure.
class TypeLibraryRegistrar {
 public:
  virtual ~TypeLibraryRegistrar() = default;
  virtual void registerTypeLibrary(platform::IRegistry& classesRoot,
                                   const std::string& modulePath) = 0;
  virtual void unregisterTypeLibrary(platform::IRegistry& classesRoot) = 0;
  // False when any key registerTypeLibrary writes is missing or different.
  virtual bool typeLibraryRegistered(platform::IRegistry& classesRoot,
                                     const std::string& modulePath) = 0;
};

struct ServerRegistration {
  platform::IRegistry& registry;
  TypeLibraryRegistrar& typeLibrary;
  std::string modulePath;  // the module's full path
  // The form written to InprocServer32: Windows shortens a path with a blank to 8.3. POSIX
  // has no short names, so there the path is written as it is.
  std::function<std::string(const std::string&)> inprocServerPath;
  // Told why registration or unregistration failed (the store's file and line, or the
  // system's error text); may be empty.
  std::function<void(const std::string&)> reportFailure;
};

// kOk, or kFail with nothing changed: each is one transaction of the classes root, so that
// concurrent registrations and unregistrations, or one killed half-way, never leave a partial
// registration behind.
status::HResult registerServer(const ServerRegistration& target) noexcept;
status::HResult unregisterServer(const ServerRegistration& target) noexcept;
// True when every value registerServer writes is there, as it writes it.
bool serverRegistered(const ServerRegistration& target);

void writeEntries(platform::IRegistry& classesRoot, const std::vector<RegistryEntry>& entries);
bool entriesPresent(platform::IRegistry& classesRoot, const std::vector<RegistryEntry>& entries);

// "CLSID\{...}" of a class.
std::string classKeyPath(const ClassInfo& cls);

}  // namespace tramox::server
