#include "platform/posix/folder_watch.h"

#include <sys/inotify.h>
#include <sys/vfs.h>

#include <algorithm>
#include <cerrno>
#include <utility>

namespace tramox::platform {

namespace {

constexpr std::uint32_t kNameChanges = IN_MOVED_FROM | IN_MOVED_TO | IN_CREATE | IN_DELETE |
                                       IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR;
constexpr std::uint32_t kFolderGone = IN_IGNORED | IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT;
constexpr std::uint32_t kContentChanges = IN_MODIFY | IN_ATTRIB | IN_CLOSE_WRITE | IN_DONT_FOLLOW;

// File systems shared with other machines: their changes reach no local notice.
bool remote(const std::string& folder) {
  struct statfs status {};
  if (::statfs(folder.c_str(), &status) != 0) {
    return false;  // inotify_add_watch says what is wrong
  }
  constexpr long kRemote[] = {0x6969 /* NFS */,
                              0x517B /* SMB */,
                              0xFF534D42 /* CIFS */,
                              0xFE534D42 /* SMB2 */,
                              0x65735546 /* FUSE */,
                              0x01021997 /* 9P */,
                              0x00C36400 /* Ceph */};
  return std::find(std::begin(kRemote), std::end(kRemote), static_cast<long>(status.f_type)) !=
         std::end(kRemote);
}

}  // namespace

FolderWatch::FolderWatch(std::string folder, const std::vector<std::string>& names)
    : queue_(NoticeQueue::shared()), folder_(std::move(folder)) {
  for (const std::string& name : names) {
    files_.push_back({name});
  }
}

FolderWatch::~FolderWatch() {
  const auto guard = queue_->lock();
  queue_->removeAll(*this);
}

void FolderWatch::forgetWatches() {
  folderWatch_ = -1;
  gone_ = false;
  for (File& file : files_) {
    file = {file.name};
  }
}

void FolderWatch::start() {
  if (unsupported_) {
    return;
  }
  if (!queue_->available() || remote(folder_)) {
    unsupported_ = true;
    return;
  }
  // A folder not made yet is watched from the first look after it appears.
  folderWatch_ = queue_->add(*this, folder_, kNameChanges);
}

void FolderWatch::stop() {
  queue_->removeAll(*this);
  forgetWatches();
}

// A file that is not there yet is no loss: its folder tells when it comes.
void FolderWatch::watchAgain(File& file) {
  if (file.watch >= 0) {
    queue_->remove(*this, file.watch);
  }
  file.watch = queue_->add(*this, folder_ + "/" + file.name, kContentChanges);
  file.watchable = file.watch >= 0 || errno == ENOENT;
  file.renamed = false;
  file.noticed = true;
}

void FolderWatch::noticed(int watch, std::uint32_t mask, std::string_view name) {
  if (gone_) {
    return;
  }
  if (watch == folderWatch_) {
    gone_ = (mask & kFolderGone) != 0;
    for (File& file : files_) {
      if (file.name == name) {
        file.noticed = file.renamed = true;
      }
    }
    return;
  }
  for (File& file : files_) {
    if (file.watch == watch) {
      file.noticed = true;
      if ((mask & IN_IGNORED) != 0) {
        file.watch = -1;  // the file is gone; the queue has dropped its watch
        file.renamed = true;
      }
    }
  }
}

void FolderWatch::lost() {
  forgetWatches();
}

bool FolderWatch::quietSinceLastLook(std::size_t name, bool now) {
  const auto guard = queue_->lock();
  if (gone_) {
    stop();
  }
  if (folderWatch_ < 0) {
    start();
  }
  if (folderWatch_ >= 0) {
    queue_->take(now);
  }
  if (gone_) {
    stop();
  }
  if (folderWatch_ < 0) {
    return false;
  }
  File& file = files_[name];
  if (file.renamed) {
    watchAgain(file);
  }
  const bool noticed = file.noticed;
  file.noticed = false;
  return !noticed && file.watchable;
}

bool FolderWatch::live(std::size_t name) const {
  const auto guard = queue_->lock();
  return folderWatch_ >= 0 && !gone_ && !files_[name].renamed && files_[name].watchable;
}

}  // namespace tramox::platform
