#pragma once
// The controller library through LoadLibraryA/GetProcAddress/FreeLibrary.
#include "platform/library_loader.h"

namespace tramox::platform::win32 {

class WinLibraryLoader final : public ILibraryLoader {
 public:
  Handle load(const std::string& path) override;
  void* symbol(Handle library, const std::string& name) override;
  void release(Handle library) override;
  std::string windowsDirectory() override;
};

}  // namespace tramox::platform::win32
