#pragma once
// How many connections the HTTP server holds at once, in total and from one peer address, so
// that a flood of slow connections can neither exhaust the process's descriptors nor shut out
// the other clients. The last part of the total is kept for peers with only a few
// connections: a guider or a phone still gets in while another address holds its share.
#include <cstddef>
#include <map>
#include <mutex>
#include <string>

namespace tramox::alpaca {

struct ConnectionCaps {
  std::size_t total = 896;
  std::size_t perPeer = 448;
  std::size_t reserve = 224;  // of total, only for peers below kFewConnections
};

// A peer with fewer connections than this may use the reserve.
inline constexpr std::size_t kFewConnections = 4;

// Caps that leave room, under a limit of descriptors, for the files, libraries, pipes and
// sockets the rest of the process opens.
ConnectionCaps capsForDescriptors(std::size_t descriptors);

// Thread-safe; every admitted connection is released exactly once.
class ConnectionLimits {
 public:
  explicit ConnectionLimits(ConnectionCaps caps) : caps_(caps) {}

  bool admit(const std::string& peer);
  // True when most of the connections open at the last peak have gone since the last time it
  // said so: the moment to give the memory they used back to the system.
  bool release(const std::string& peer);

 private:
  ConnectionCaps caps_;
  std::mutex lock_;
  std::map<std::string, std::size_t> perPeer_;
  std::size_t open_ = 0;
  std::size_t peak_ = 0;
};

}  // namespace tramox::alpaca
