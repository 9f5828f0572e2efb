#pragma once
// Shared objects through dlopen/dlsym/dlclose. There is no Windows directory here.
#include <string>

#include "platform/library_loader.h"

namespace tramox::platform {

class DlLibraryLoader : public ILibraryLoader {
 public:
  Handle load(const std::string& path) override;
  void* symbol(Handle library, const std::string& name) override;
  void release(Handle library) override;
  std::string windowsDirectory() override { return {}; }
};

}  // namespace tramox::platform
