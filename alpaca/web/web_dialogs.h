#pragma once
// Message windows shown in the web pages: the paddle's error boxes and the loader's messages.
// A page cannot block the driver's thread until someone presses OK, so each window is kept
// (the newest kKeptDialogs) and every page shows those meant for it with an OK button of its
// own. A window raised by one page's event is meant for that page; any other for every page.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "platform/message_windows.h"

namespace tramox::web {

inline constexpr std::size_t kKeptDialogs = 32;
inline constexpr const char* kSetParkFirstHint =
    "A park position must first be stored with Set Park.";

struct WebDialog {
  std::uint64_t id = 0;  // increasing from 1
  bool error = false;    // an error box; otherwise a plain message
  std::string text;
  std::string page;  // the page whose event raised it; empty for every page
  std::string hint;  // what the person can do about it, when there is something to say
};

class WebMessageWindows final : public platform::IMessageWindows {
 public:
  // alsoTo, when given, shows every window as well (the server's console).
  explicit WebMessageWindows(platform::IMessageWindows* alsoTo = nullptr) : alsoTo_(alsoTo) {}

  void showMessage(const std::string& text) override;
  void showErrorBox(const std::string& text) override;

  // The windows kept that came after afterId, oldest first.
  std::vector<WebDialog> since(std::uint64_t afterId) const;
  std::uint64_t lastId() const { return nextId_ - 1; }

  // While alive, the windows shown are meant for that page.
  class PageScope {
   public:
    PageScope(WebMessageWindows& windows, const std::string& page);
    ~PageScope();
    PageScope(const PageScope&) = delete;
    PageScope& operator=(const PageScope&) = delete;

   private:
    WebMessageWindows& windows_;
    std::string previous_;
  };

  // While alive, the windows shown reach neither the pages nor the console; their caller
  // reports them its own way. The error boxes' texts are kept here.
  class Muted {
   public:
    explicit Muted(WebMessageWindows& windows);
    ~Muted();
    Muted(const Muted&) = delete;
    Muted& operator=(const Muted&) = delete;
    const std::vector<std::string>& errorBoxes() const { return errorBoxes_; }

   private:
    friend class WebMessageWindows;
    WebMessageWindows& windows_;
    std::vector<std::string> errorBoxes_;
    Muted* previous_;
  };

 private:
  void add(bool error, const std::string& text);

  platform::IMessageWindows* alsoTo_;
  Muted* muted_ = nullptr;
  std::deque<WebDialog> kept_;
  std::uint64_t nextId_ = 1;
  std::string page_;
};

}  // namespace tramox::web
