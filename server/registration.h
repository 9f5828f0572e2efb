#pragma once
// What DllRegisterServer and DllUnregisterServer write under the classes root: for each class,
// in factory order, its CLSID key (description, InprocServer32 with the threading model,
// ProgID, Version, TypeLib) and its programmatic identifier's key with Clsid. The type
// library's own registration is the platform's and comes in through TypeLibraryRegistrar.
// Registering twice writes the same entries; unregistering removes every key written here.
#include <functional>
#include <string>

#include "platform/registry.h"
#include "server/member_table.h"
#include "server/status_codes.h"

namespace tramox::server {

class TypeLibraryRegistrar {
 public:
  virtual ~TypeLibraryRegistrar() = default;
  // Both throw on failure.
  virtual void registerTypeLibrary(const std::string& modulePath) = 0;
  virtual void unregisterTypeLibrary() = 0;
};

struct ServerRegistration {
  platform::IRegistry& registry;
  TypeLibraryRegistrar& typeLibrary;
  std::string modulePath;  // the module's full path
  // The form written to InprocServer32: Windows shortens a path with a blank to 8.3. POSIX
  // has no short names, so there the path is written as it is.
  std::function<std::string(const std::string&)> inprocServerPath;
};

// kOk, or kFail at the first step that fails; the steps already done stay done.
status::HResult registerServer(const ServerRegistration& target) noexcept;
status::HResult unregisterServer(const ServerRegistration& target) noexcept;

// "CLSID\{...}" of a class.
std::string classKeyPath(const ClassInfo& cls);

}  // namespace tramox::server
