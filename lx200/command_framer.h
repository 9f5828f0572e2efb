#pragma once
// Cuts the byte stream of an LX200 client into its commands, wherever the TCP segments
// split or merge them: ":" opens a command and "#" closes it; the ACK byte (0x06) stands
// alone. Bytes outside a command are noise and dropped, as the hand controller drops them; a
// command longer than any of the set is dropped whole, up to its '#', so a client cannot make
// the server hold an unbounded line.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tramox::lx200 {

inline constexpr char kAck = '\x06';
inline constexpr std::size_t kMaxCommandLength = 64;

struct Frame {
  enum class Kind { Ack, Command } kind = Kind::Command;
  std::string text;  // a command's text between ':' and '#'
  bool operator==(const Frame&) const = default;
};

class CommandFramer {
 public:
  // The frames these bytes complete, in order.
  std::vector<Frame> feed(std::string_view bytes);

 private:
  std::string partial_;
  bool inCommand_ = false;
  bool overlong_ = false;
};

}  // namespace tramox::lx200
