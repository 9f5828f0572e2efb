#pragma once
// Libraries made of function pointers that the test supplies, keyed by path. Records every
// load, symbol lookup and release.
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "platform/library_loader.h"

namespace tramox::fakes {

// A function's address as the loader hands it out (as dlsym/GetProcAddress would).
template <typename F>
void* exportOf(F* function) {
  return reinterpret_cast<void*>(function);
}

class FakeLibraryLoader : public platform::ILibraryLoader {
 public:
  using Exports = std::map<std::string, void*>;
  struct Call {
    std::string op;      // "load", "symbol", "release"
    std::string detail;  // path for load/release, name for symbol
    bool operator==(const Call&) const = default;
  };

  Handle load(const std::string& path) override;
  void* symbol(Handle library, const std::string& name) override;
  void release(Handle library) override;
  std::string windowsDirectory() override { return windowsDirectory_; }

  // A library that loads from `path` and exports these names; a name missing from the table
  // is a name the library does not export.
  void addLibrary(const std::string& path, Exports exports);
  // load(path) answers nullptr from now on.
  void failLoad(const std::string& path) { failingPaths_.insert(path); }
  void setWindowsDirectory(std::string directory) { windowsDirectory_ = std::move(directory); }

  const std::vector<Call>& calls() const { return calls_; }
  // Loads not yet released.
  int openHandles() const;

 private:
  struct Library {
    std::string path;
    Exports exports;
    int loads = 0;
  };
  Library* libraryOf(Handle handle);

  std::map<std::string, std::unique_ptr<Library>> libraries_;
  std::set<std::string> failingPaths_;
  std::vector<Call> calls_;
  std::string windowsDirectory_ = "C:\\WINDOWS";
};

}  // namespace tramox::fakes
