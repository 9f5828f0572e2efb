#include "tests/fakes/recording_paddle_view.h"

namespace tramox::fakes {

const platform::PaddleControlState* PaddleViewRecord::control(const std::string& name) const {
  for (const auto& c : controls) {
    if (c.name == name) {
      return &c;
    }
  }
  return nullptr;
}

namespace {

class RecordingPaddleView : public platform::IPaddleView {
 public:
  RecordingPaddleView(std::shared_ptr<PaddleViewRecord> record, bool drawsContinuously)
      : record_(std::move(record)), drawsContinuously_(drawsContinuously) {}
  ~RecordingPaddleView() override { record_->destroyed = true; }

  void create(const std::string& caption, int width, int height,
              const std::vector<platform::PaddleControlState>& controls,
              platform::IPaddleEvents& events) override {
    record_->caption = caption;
    record_->width = width;
    record_->height = height;
    record_->controls = controls;
    record_->events = &events;
    record_->created = true;
    record_->log.push_back("create");
  }

  void update(const platform::PaddleControlState& control) override {
    record_->log.push_back("update " + control.name);
    for (auto& c : record_->controls) {
      if (c.name == control.name) {
        c = control;
        return;
      }
    }
    record_->controls.push_back(control);
  }

  bool drawsContinuously() const override { return drawsContinuously_; }

  void show() override {
    record_->shown = true;
    record_->log.push_back("show");
  }

  void close() override {
    record_->closed = true;
    record_->log.push_back("close");
  }

 private:
  std::shared_ptr<PaddleViewRecord> record_;
  bool drawsContinuously_;
};

}  // namespace

std::unique_ptr<platform::IPaddleView> RecordingPaddleViewFactory::createView() {
  views_.push_back(std::make_shared<PaddleViewRecord>());
  return std::make_unique<RecordingPaddleView>(views_.back(), drawsContinuously);
}

}  // namespace tramox::fakes
