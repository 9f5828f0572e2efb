#pragma once
// The kernel's change notices for a few files of one folder. A file without a notice since its
// last look cannot have changed through that folder, so its last parse still holds and the
// file need not be touched. Where no watch can be set up (no notice queue, a remote file
// system whose other clients the kernel never hears of), every look reports a possible change
// and the caller checks the file itself. The notices come through the process's one queue
// (notice_queue.h).
//
// The folder is watched for its names only, and each file for its content: writing another
// file of the folder (the call log) then costs no notice at all.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/posix/notice_queue.h"

namespace tramox::platform {

class FolderWatch : private NoticeQueue::Watcher {
 public:
  FolderWatch(std::string folder, const std::vector<std::string>& names);
  ~FolderWatch() override;
  FolderWatch(const FolderWatch&) = delete;
  FolderWatch& operator=(const FolderWatch&) = delete;

  // Takes the notices queued so far; false when `name` (an index into the names) may have
  // changed since the previous look at it, or when nothing watches it. A look starts a new
  // period: call it before reading the file. Within one member call the queue is read once
  // (see call_epoch.h); `now` reads it whatever the call, for a writer that must see every
  // change made before it took the file's lock.
  bool quietSinceLastLook(std::size_t name, bool now = false);
  // True while the kernel reports every change made to `name` through the folder.
  bool live(std::size_t name) const;

 private:
  struct File {
    std::string name;
    int watch = -1;
    bool noticed = true;  // since the last look
    bool renamed = true;  // the name may stand for another file: watch it again
    bool watchable = false;
  };

  void noticed(int watch, std::uint32_t mask, std::string_view name) override;
  void lost() override;
  void start();
  void stop();
  void forgetWatches();
  void watchAgain(File& file);

  std::shared_ptr<NoticeQueue> queue_;  // its lock guards everything below
  std::string folder_;
  std::vector<File> files_;
  int folderWatch_ = -1;
  bool gone_ = false;  // the kernel ended the folder's watch: it is dropped at the next look
  bool unsupported_ = false;
};

}  // namespace tramox::platform
