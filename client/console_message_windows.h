#pragma once
// Message windows of a console client: each appears as one line on standard output at the
// moment it is shown, before the result line of the command that caused it, and is
// dismissed at once.
#include <cstdio>
#include <string>

#include "client/controller_load_failure.h"
#include "platform/message_windows.h"

namespace tramox::client {

class ConsoleMessageWindows final : public platform::IMessageWindows {
 public:
  void showMessage(const std::string& text) override { print("message: ", text); }
  void showErrorBox(const std::string& text) override { print("messagebox: ", text); }

 private:
  static void print(const char* prefix, std::string text) {
    for (char& c : text) {
      if (c == '\n' || c == '\r') {
        c = ' ';
      }
    }
    std::fputs(prefix, stdout);
    std::fputs(text.c_str(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
    explainMessageLine(prefix + text);
  }
};

}  // namespace tramox::client
