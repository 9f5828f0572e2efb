#pragma once
// The kernel's change notices (inotify) for a few files of one folder. A file without a notice
// since its last look cannot have changed through that folder, so its last parse still holds
// and the file need not be touched. Where no watch can be set up (inotify unavailable, a
// remote file system whose other clients the kernel never hears of), every look reports a
// possible change and the caller checks the file itself.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tramox::platform {

class FolderWatch {
 public:
  FolderWatch(std::string folder, std::vector<std::string> names);
  ~FolderWatch();
  FolderWatch(const FolderWatch&) = delete;
  FolderWatch& operator=(const FolderWatch&) = delete;

  // Takes the notices queued so far; false when `name` (an index into the names) may have
  // changed since the previous look at it, or when nothing watches the folder. A look starts
  // a new period: call it before reading the file. Within one member call the queue is read
  // at its first look only (see call_epoch.h); `now` reads it whatever the call, for a writer
  // that must see every change made before it took the file's lock.
  bool quietSinceLastLook(std::size_t name, bool now = false);
  // True while the kernel reports every change made through the folder.
  bool live() const { return watch_ >= 0; }

 private:
  void start();
  void stop();
  void drain();

  std::string folder_;
  std::vector<std::string> names_;
  std::vector<bool> noticed_;
  int notices_ = -1;  // the inotify descriptor
  int watch_ = -1;
  bool unsupported_ = false;
  unsigned forks_;               // the process's forks when the queue was made
  std::uint64_t drainedIn_ = 0;  // the call of the last read of the queue
};

}  // namespace tramox::platform
