#include "alpaca/web/web_dialogs.h"

#include "client/error_box_meaning.h"

namespace tramox::web {

void WebMessageWindows::showMessage(const std::string& text) {
  if (muted_ != nullptr) {
    return;
  }
  if (alsoTo_ != nullptr) {
    alsoTo_->showMessage(text);
  }
  add(false, text);
}

void WebMessageWindows::showErrorBox(const std::string& text) {
  if (muted_ != nullptr) {
    muted_->errorBoxes_.push_back(text);
    return;
  }
  if (alsoTo_ != nullptr) {
    alsoTo_->showErrorBox(text);
  }
  add(true, text);
}

void WebMessageWindows::add(bool error, const std::string& text) {
  const bool parkUnset = error && client::showsMissingParkPosition(text);
  kept_.push_back({nextId_++, error, text, page_, parkUnset ? kSetParkFirstHint : ""});
  if (kept_.size() > kKeptDialogs) {
    kept_.pop_front();
  }
}

std::vector<WebDialog> WebMessageWindows::since(std::uint64_t afterId) const {
  std::vector<WebDialog> dialogs;
  for (const auto& dialog : kept_) {
    if (dialog.id > afterId) {
      dialogs.push_back(dialog);
    }
  }
  return dialogs;
}

WebMessageWindows::PageScope::PageScope(WebMessageWindows& windows, const std::string& page)
    : windows_(windows), previous_(windows.page_) {
  windows_.page_ = page;
}

WebMessageWindows::PageScope::~PageScope() {
  windows_.page_ = previous_;
}

WebMessageWindows::Muted::Muted(WebMessageWindows& windows)
    : windows_(windows), previous_(windows.muted_) {
  windows_.muted_ = this;
}

WebMessageWindows::Muted::~Muted() {
  windows_.muted_ = previous_;
}

}  // namespace tramox::web
