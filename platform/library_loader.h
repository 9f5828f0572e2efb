#pragma once
// Dynamic library loading: LoadLibraryA/GetProcAddress/FreeLibrary or dlopen/dlsym/dlclose.
#include <string>

namespace tramox::platform {

class ILibraryLoader {
 public:
  using Handle = void*;
  virtual ~ILibraryLoader() = default;
  // nullptr when the library cannot be loaded.
  virtual Handle load(const std::string& path) = 0;
  // nullptr when the name is not exported.
  virtual void* symbol(Handle library, const std::string& name) = 0;
  virtual void release(Handle library) = 0;
  // GetWindowsDirectoryA; empty on platforms that have none.
  virtual std::string windowsDirectory() = 0;
};

}  // namespace tramox::platform
