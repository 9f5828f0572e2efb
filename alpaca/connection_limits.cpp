#include "alpaca/connection_limits.h"

#include <algorithm>

namespace tramox::alpaca {

namespace {

// A peak worth giving memory back after, and how far below it the count must fall.
constexpr std::size_t kNotablePeak = 64;
constexpr std::size_t kFallenToOneIn = 4;

}  // namespace

ConnectionCaps capsForDescriptors(std::size_t descriptors) {
  const std::size_t spare = std::max<std::size_t>(32, descriptors / 8);
  ConnectionCaps caps;
  caps.total = std::max<std::size_t>(
      kFewConnections, descriptors > 2 * spare ? descriptors - spare : descriptors / 2);
  caps.perPeer = std::max<std::size_t>(1, caps.total / 2);
  caps.reserve = caps.total / 4;
  return caps;
}

bool ConnectionLimits::admit(const std::string& peer) {
  std::lock_guard<std::mutex> guard(lock_);
  std::size_t& mine = perPeer_[peer];
  const bool ordinary = mine < caps_.perPeer && open_ < caps_.total - caps_.reserve;
  const bool reserved = mine < kFewConnections && open_ < caps_.total;
  if (!ordinary && !reserved) {
    if (mine == 0) {
      perPeer_.erase(peer);
    }
    return false;
  }
  ++mine;
  peak_ = std::max(peak_, ++open_);
  return true;
}

bool ConnectionLimits::release(const std::string& peer) {
  std::lock_guard<std::mutex> guard(lock_);
  const auto found = perPeer_.find(peer);
  if (found != perPeer_.end() && --found->second == 0) {
    perPeer_.erase(found);
  }
  --open_;
  if (peak_ < kNotablePeak || open_ * kFallenToOneIn > peak_) {
    return false;
  }
  peak_ = open_;
  return true;
}

}  // namespace tramox::alpaca
