#pragma once
// What the loaded TRAMOX.dll holds besides its object counts (binding::ModuleCounts): its own
// handle and path, the type library it carries as resource TYPELIB 1, and the one driver
// runtime its objects share.
#include <windows.h>

#include <oaidl.h>

#include <string>
#include <utility>
#include <vector>

#include "driver/driver_runtime.h"

namespace tramox::server::win32 {

class ComModule {
 public:
  static ComModule& instance();

  void attach(HINSTANCE module) { module_ = module; }
  HINSTANCE handle() const { return module_; }
  std::wstring path() const;

  // Loaded from the module's own resource on first use; null when it cannot be.
  ITypeLib* typeLibrary();
  // The description of one of the module's interfaces; nullptr when missing.
  ITypeInfo* typeInfo(const IID& iid);

  driver::DriverRuntime& runtime();

 private:
  ComModule() = default;

  HINSTANCE module_ = nullptr;
  ITypeLib* typeLibrary_ = nullptr;
  std::vector<std::pair<IID, ITypeInfo*>> typeInfos_;
  driver::DriverRuntime* runtime_ = nullptr;
};

}  // namespace tramox::server::win32
