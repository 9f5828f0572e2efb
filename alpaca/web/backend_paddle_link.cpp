#include "alpaca/web/backend_paddle_link.h"

namespace tramox::web {

std::optional<std::vector<platform::PaddleControlState>> BackendPaddleLink::controls() {
  return access_ != nullptr ? access_->backend.paddleControls() : std::nullopt;
}

platform::IPaddleEvents* BackendPaddleLink::events() {
  return controls() ? this : nullptr;
}

void BackendPaddleLink::act(client::PaddleAction::Kind kind, const std::string& control,
                            int position) {
  if (access_ == nullptr) {
    return;
  }
  client::PaddleAction command;
  command.kind = kind;
  command.control = control;
  command.position = position;
  access_->backend.paddleAction(command);
}

void BackendPaddleLink::mouseDown(const std::string& control) {
  act(client::PaddleAction::Kind::MouseDown, control);
}
void BackendPaddleLink::mouseUp(const std::string& control) {
  act(client::PaddleAction::Kind::MouseUp, control);
}
void BackendPaddleLink::click(const std::string& control) {
  act(client::PaddleAction::Kind::Click, control);
}
void BackendPaddleLink::sliderMoved(int position) {
  act(client::PaddleAction::Kind::Slider, "", position);
}
void BackendPaddleLink::closeBox() {
  act(client::PaddleAction::Kind::CloseBox, "");
}

}  // namespace tramox::web
