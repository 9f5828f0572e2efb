#pragma once
// What the loaded TRAMOX.dll holds: its own handle and path, the live-object and lock counts
// behind DllCanUnloadNow, the type library it carries as resource TYPELIB 1, and the one
// driver runtime its objects share.
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

  void objectCreated() { InterlockedIncrement(&liveObjects_); }
  void objectDestroyed() { InterlockedDecrement(&liveObjects_); }
  void lock() { InterlockedIncrement(&locks_); }
  void unlock();
  bool canUnload() const { return liveObjects_ == 0 && locks_ == 0; }

  // Loaded from the module's own resource on first use; null when it cannot be.
  ITypeLib* typeLibrary();
  // The description of one of the module's interfaces; nullptr when missing.
  ITypeInfo* typeInfo(const IID& iid);

  driver::DriverRuntime& runtime();

 private:
  ComModule() = default;

  HINSTANCE module_ = nullptr;
  volatile LONG liveObjects_ = 0;
  volatile LONG locks_ = 0;
  ITypeLib* typeLibrary_ = nullptr;
  std::vector<std::pair<IID, ITypeInfo*>> typeInfos_;
  driver::DriverRuntime* runtime_ = nullptr;
};

// Held by every object of the module for as long as it lives.
class LiveObjectToken {
 public:
  LiveObjectToken() { ComModule::instance().objectCreated(); }
  ~LiveObjectToken() { ComModule::instance().objectDestroyed(); }
  LiveObjectToken(const LiveObjectToken&) = delete;
  LiveObjectToken& operator=(const LiveObjectToken&) = delete;
};

}  // namespace tramox::server::win32
