#include "platform/win32/win_library_loader.h"

#include <windows.h>

namespace tramox::platform::win32 {

ILibraryLoader::Handle WinLibraryLoader::load(const std::string& path) {
  // No "cannot find the DLL" box from the system: the loader shows its own message.
  const UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  HMODULE module = LoadLibraryA(path.c_str());
  SetErrorMode(previous);
  return reinterpret_cast<Handle>(module);
}

void* WinLibraryLoader::symbol(Handle library, const std::string& name) {
  if (library == nullptr) {
    return nullptr;
  }
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name.c_str()));
}

void WinLibraryLoader::release(Handle library) {
  if (library != nullptr) {
    FreeLibrary(static_cast<HMODULE>(library));
  }
}

std::string WinLibraryLoader::windowsDirectory() {
  char buffer[MAX_PATH] = {};
  const UINT length = GetWindowsDirectoryA(buffer, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) {
    return {};
  }
  return std::string(buffer, length);
}

}  // namespace tramox::platform::win32
