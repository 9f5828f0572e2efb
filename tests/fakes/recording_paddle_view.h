#pragma once
// Paddle views that draw nothing and remember what they were told. Each view's record stays
// with the factory after the view is destroyed, so tests can inspect a closed paddle.
#include <memory>
#include <string>
#include <vector>

#include "platform/paddle_view.h"

namespace tramox::fakes {

struct PaddleViewRecord {
  std::string caption;
  int width = 0, height = 0;
  std::vector<platform::PaddleControlState> controls;  // current state, in creation order
  platform::IPaddleEvents* events = nullptr;           // to fire user actions from a test
  bool created = false, shown = false, closed = false, destroyed = false;
  // "create", "update <name>", "show", "close", in order.
  std::vector<std::string> log;

  // nullptr when there is no such control.
  const platform::PaddleControlState* control(const std::string& name) const;
};

class RecordingPaddleViewFactory : public platform::IPaddleViewFactory {
 public:
  std::unique_ptr<platform::IPaddleView> createView() override;

  // What the views created from now on say: true, a window on screen; false, a headless view.
  bool drawsContinuously = true;

  const std::vector<std::shared_ptr<PaddleViewRecord>>& views() const { return views_; }
  // The most recent view; nullptr before the first.
  PaddleViewRecord* lastView() const { return views_.empty() ? nullptr : views_.back().get(); }

 private:
  std::vector<std::shared_ptr<PaddleViewRecord>> views_;
};

}  // namespace tramox::fakes
