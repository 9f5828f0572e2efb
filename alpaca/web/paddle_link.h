#pragma once
// How the web paddle reaches the paddle model: the controls as the model holds them and the
// window's own event sink, so a page's actions take the path of a click on the window.
#include <optional>
#include <vector>

#include "platform/paddle_view.h"

namespace tramox::web {

class IPaddleLink {
 public:
  virtual ~IPaddleLink() = default;
  // Every control in creation order; nullopt while there is no paddle (not connected).
  virtual std::optional<std::vector<platform::PaddleControlState>> controls() = 0;
  // The paddle's events; nullptr while there is no paddle.
  virtual platform::IPaddleEvents* events() = 0;
};

}  // namespace tramox::web
