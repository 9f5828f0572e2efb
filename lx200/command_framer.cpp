#include "lx200/command_framer.h"

namespace tramox::lx200 {

std::vector<Frame> CommandFramer::feed(std::string_view bytes) {
  std::vector<Frame> frames;
  for (const char c : bytes) {
    if (c == kAck) {
      frames.push_back({Frame::Kind::Ack, {}});
    } else if (!inCommand_) {
      // Only a ':' starts a command; the colons of "03:30:00" are its arguments'.
      inCommand_ = c == ':';
      overlong_ = false;
      partial_.clear();
    } else if (c == '#') {
      if (!overlong_) {
        frames.push_back({Frame::Kind::Command, partial_});
      }
      inCommand_ = false;
      partial_.clear();
    } else if (partial_.size() >= kMaxCommandLength) {
      overlong_ = true;
      partial_.clear();
    } else if (!overlong_) {
      partial_ += c;
    }
  }
  return frames;
}

}  // namespace tramox::lx200
