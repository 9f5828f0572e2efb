#include "tests/fakes/fake_library_loader.h"

#include <stdexcept>

namespace tramox::fakes {

void FakeLibraryLoader::addLibrary(const std::string& path, Exports exports) {
  libraries_[path] = std::make_unique<Library>(Library{path, std::move(exports), 0});
}

platform::ILibraryLoader::Handle FakeLibraryLoader::load(const std::string& path) {
  calls_.push_back({"load", path});
  auto it = libraries_.find(path);
  if (it == libraries_.end() || failingPaths_.count(path) != 0) {
    return nullptr;
  }
  ++it->second->loads;
  return it->second.get();
}

FakeLibraryLoader::Library* FakeLibraryLoader::libraryOf(Handle handle) {
  for (auto& [path, library] : libraries_) {
    if (library.get() == handle) {
      return library.get();
    }
  }
  return nullptr;
}

void* FakeLibraryLoader::symbol(Handle library, const std::string& name) {
  calls_.push_back({"symbol", name});
  Library* lib = libraryOf(library);
  if (lib == nullptr || lib->loads == 0) {
    throw std::logic_error("symbol lookup in a library that is not loaded: " + name);
  }
  auto it = lib->exports.find(name);
  return it == lib->exports.end() ? nullptr : it->second;
}

void FakeLibraryLoader::release(Handle library) {
  Library* lib = libraryOf(library);
  if (lib == nullptr || lib->loads == 0) {
    throw std::logic_error("release of a library that is not loaded");
  }
  calls_.push_back({"release", lib->path});
  --lib->loads;
}

int FakeLibraryLoader::openHandles() const {
  int open = 0;
  for (const auto& [path, library] : libraries_) {
    open += library->loads;
  }
  return open;
}

}  // namespace tramox::fakes
