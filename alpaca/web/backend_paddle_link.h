#pragma once
// The paddle of the driver object the server hosts, reached through the client backend as
// `tramox script` reaches it: its controls as the model holds them, and the user's actions
// played into the paddle's view. Used on the driver thread, within one queued call.
#include "alpaca/driver_host.h"
#include "alpaca/web/paddle_link.h"

namespace tramox::web {

class BackendPaddleLink final : public IPaddleLink, private platform::IPaddleEvents {
 public:
  // The access of the call now running on the driver thread; nullptr between calls.
  void attach(alpaca::DriverAccess* access) { access_ = access; }
  alpaca::DriverAccess* attached() const { return access_; }

  std::optional<std::vector<platform::PaddleControlState>> controls() override;
  platform::IPaddleEvents* events() override;

 private:
  void mouseDown(const std::string& control) override;
  void mouseUp(const std::string& control) override;
  void click(const std::string& control) override;
  void sliderMoved(int position) override;
  void closeBox() override;
  void act(client::PaddleAction::Kind kind, const std::string& control, int position = 0);

  alpaca::DriverAccess* access_ = nullptr;
};

}  // namespace tramox::web
