#include "platform/posix/dl_library_loader.h"

#include <dlfcn.h>

namespace tramox::platform {

// RTLD_NOW finds unresolved symbols at load time rather than at some later call;
// RTLD_LOCAL keeps the library's names out of the way of other libraries'.
ILibraryLoader::Handle DlLibraryLoader::load(const std::string& path) {
  return ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
}

void* DlLibraryLoader::symbol(Handle library, const std::string& name) {
  return library == nullptr ? nullptr : ::dlsym(library, name.c_str());
}

void DlLibraryLoader::release(Handle library) {
  if (library != nullptr) {
    ::dlclose(library);
  }
}

}  // namespace tramox::platform
