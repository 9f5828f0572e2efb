#include "bench/alpaca/resident_memory.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace tramox::alpaca::bench {

namespace fs = std::filesystem;

namespace {

// The inode of the socket listening on port, from the kernel's table of IPv4 or IPv6 sockets.
std::string listeningSocketInode(const char* table, std::uint16_t port) {
  constexpr const char* kListen = "0A";
  std::ifstream lines(table);
  std::string line;
  std::getline(lines, line);  // the column titles
  while (std::getline(lines, line)) {
    std::istringstream fields(line);
    std::string slot, local, remote, state, queues, timer, retransmits, uid, timeout, inode;
    fields >> slot >> local >> remote >> state >> queues >> timer >> retransmits >> uid >>
        timeout >> inode;
    const auto colon = local.rfind(':');
    if (state == kListen && colon != std::string::npos &&
        std::stoul(local.substr(colon + 1), nullptr, 16) == port) {
      return inode;
    }
  }
  return {};
}

bool isMyChild(const fs::path& process) {
  std::ifstream stat(process / "stat");
  std::string line;
  if (!std::getline(stat, line)) {
    return false;
  }
  // pid (name) state ppid ...: the name may hold spaces, so read after its last parenthesis.
  const auto close = line.rfind(')');
  if (close == std::string::npos) {
    return false;
  }
  std::istringstream rest(line.substr(close + 1));
  char state = 0;
  pid_t parent = 0;
  rest >> state >> parent;
  return parent == ::getpid();
}

bool holds(const fs::path& process, const std::string& socketLink) {
  std::error_code ec;
  for (const auto& fd : fs::directory_iterator(process / "fd", ec)) {
    std::error_code gone;
    if (fs::read_symlink(fd.path(), gone).string() == socketLink) {
      return true;
    }
  }
  return false;
}

}  // namespace

pid_t childListeningOn(std::uint16_t port) {
  std::string inode = listeningSocketInode("/proc/net/tcp", port);
  if (inode.empty()) {
    inode = listeningSocketInode("/proc/net/tcp6", port);
  }
  if (inode.empty()) {
    return -1;
  }
  const std::string socketLink = "socket:[" + inode + "]";
  for (const auto& entry : fs::directory_iterator("/proc")) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") == std::string::npos && isMyChild(entry.path()) &&
        holds(entry.path(), socketLink)) {
      return static_cast<pid_t>(std::stol(name));
    }
  }
  return -1;
}

long residentKiB(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  std::string key;
  while (status >> key) {
    if (key == "VmRSS:") {
      long kib = -1;
      status >> kib;
      return kib;
    }
    status.ignore(1 << 12, '\n');
  }
  return -1;
}

}  // namespace tramox::alpaca::bench
