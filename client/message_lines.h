#pragma once
// The Windows module, when TRAMOX_MESSAGE_FILE names a file, appends each message window to it
// instead of waiting for a click: "message: TEXT" or "error: TEXT" (a paddle error box), CR LF
// ended, the text itself possibly on several lines. This turns what was appended since the
// last read into the client's one-line forms, "message: TEXT" and "messagebox: TEXT".
#include <string>
#include <string_view>
#include <vector>

#include "platform/message_windows.h"

namespace tramox::client {

class MessageLines {
 public:
  // Bytes appended to the file since the last call; an unfinished last line waits for the
  // next call.
  std::vector<std::string> feed(std::string_view appended);

 private:
  std::string partial_;
};

// Shows one of those lines in sink, as the window it stands for.
void showMessageLine(const std::string& line, platform::IMessageWindows& sink);

}  // namespace tramox::client
