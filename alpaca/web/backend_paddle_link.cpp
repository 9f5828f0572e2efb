#include "alpaca/web/backend_paddle_link.h"

namespace tramox::web {

std::optional<std::vector<platform::PaddleControlState>> BackendPaddleLink::controls() {
  return access_ != nullptr ? access_->backend.paddleControls() : std::nullopt;
}

platform::IPaddleEvents* BackendPaddleLink::events() {
  return controls() ? this : nullptr;
}

void BackendPaddleLink::act(tools::CommandKind kind, const std::string& control, int position) {
  if (access_ == nullptr) {
    return;
  }
  tools::Command command;
  command.kind = kind;
  command.control = control;
  command.position = position;
  access_->backend.paddleAction(command);
}

void BackendPaddleLink::mouseDown(const std::string& control) {
  act(tools::CommandKind::MouseDown, control);
}
void BackendPaddleLink::mouseUp(const std::string& control) {
  act(tools::CommandKind::MouseUp, control);
}
void BackendPaddleLink::click(const std::string& control) {
  act(tools::CommandKind::Click, control);
}
void BackendPaddleLink::sliderMoved(int position) {
  act(tools::CommandKind::Slider, "", position);
}
void BackendPaddleLink::closeBox() {
  act(tools::CommandKind::CloseBox, "");
}

}  // namespace tramox::web
