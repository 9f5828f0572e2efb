#pragma once
// Message windows that return at once and remember what they would have shown.
#include <string>
#include <vector>

#include "platform/message_windows.h"

namespace tramox::fakes {

class RecordingMessageWindows : public platform::IMessageWindows {
 public:
  enum class Kind { Message, ErrorBox };
  struct Shown {
    Kind kind;
    std::string text;
    bool operator==(const Shown&) const = default;
  };

  void showMessage(const std::string& text) override { shown_.push_back({Kind::Message, text}); }
  void showErrorBox(const std::string& text) override { shown_.push_back({Kind::ErrorBox, text}); }

  // Everything shown, in order.
  const std::vector<Shown>& shown() const { return shown_; }
  std::vector<std::string> messages() const { return textsOf(Kind::Message); }
  std::vector<std::string> errorBoxes() const { return textsOf(Kind::ErrorBox); }
  void clear() { shown_.clear(); }

 private:
  std::vector<std::string> textsOf(Kind kind) const {
    std::vector<std::string> texts;
    for (const auto& s : shown_) {
      if (s.kind == kind) {
        texts.push_back(s.text);
      }
    }
    return texts;
  }

  std::vector<Shown> shown_;
};

}  // namespace tramox::fakes
