#include "platform/posix/headless_paddle_view.h"

#include <algorithm>
#include <cctype>

namespace tramox::platform {

// The views alive now, oldest first; views remove themselves when the paddle destroys them.
class HeadlessPaddleView::Registry {
 public:
  void add(HeadlessPaddleView* view) { views_.push_back(view); }
  void remove(HeadlessPaddleView* view) { std::erase(views_, view); }
  HeadlessPaddleView* newest() const { return views_.empty() ? nullptr : views_.back(); }

 private:
  std::vector<HeadlessPaddleView*> views_;
};

HeadlessPaddleView::HeadlessPaddleView(Registry& registry) : registry_(registry) {
  registry_.add(this);
}

HeadlessPaddleView::~HeadlessPaddleView() {
  registry_.remove(this);
}

void HeadlessPaddleView::create(const std::string& caption, int, int,
                                const std::vector<PaddleControlState>& controls,
                                IPaddleEvents& events) {
  caption_ = caption;
  controls_ = controls;
  events_ = &events;
}

void HeadlessPaddleView::update(const PaddleControlState& control) {
  auto found = std::find_if(controls_.begin(), controls_.end(),
                            [&](const PaddleControlState& c) { return c.name == control.name; });
  if (found != controls_.end()) {
    *found = control;
  } else {
    controls_.push_back(control);
  }
}

const std::vector<PaddleControlState>& HeadlessPaddleView::controls() {
  if (events_ != nullptr) {
    events_->aboutToBeRead();
  }
  return controls_;
}

void HeadlessPaddleView::show() {
  visible_ = true;
}
void HeadlessPaddleView::close() {
  visible_ = false;
}

// Typed names compare case-insensitively, like the rest of the client's names; the paddle gets
// the control's own spelling.
std::string HeadlessPaddleView::canonicalName(const std::string& typed) const {
  const auto lower = [](std::string text) {
    for (char& c : text) {
      c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
  };
  for (const auto& control : controls_) {
    if (lower(control.name) == lower(typed)) {
      return control.name;
    }
  }
  return typed;
}

void HeadlessPaddleView::mouseDown(const std::string& control) {
  if (events_ != nullptr) {
    events_->mouseDown(canonicalName(control));
  }
}

void HeadlessPaddleView::mouseUp(const std::string& control) {
  if (events_ != nullptr) {
    events_->mouseUp(canonicalName(control));
  }
}

void HeadlessPaddleView::click(const std::string& control) {
  if (events_ != nullptr) {
    events_->click(canonicalName(control));
  }
}

void HeadlessPaddleView::moveSlider(int position) {
  if (events_ != nullptr) {
    events_->sliderMoved(position);
  }
}

void HeadlessPaddleView::pressCloseBox() {
  if (events_ != nullptr) {
    events_->closeBox();
  }
}

HeadlessPaddleViewFactory::HeadlessPaddleViewFactory()
    : registry_(std::make_unique<HeadlessPaddleView::Registry>()) {}

HeadlessPaddleViewFactory::~HeadlessPaddleViewFactory() = default;

std::unique_ptr<IPaddleView> HeadlessPaddleViewFactory::createView() {
  return std::make_unique<HeadlessPaddleView>(*registry_);
}

HeadlessPaddleView* HeadlessPaddleViewFactory::current() const {
  return registry_->newest();
}

HeadlessPaddleViewFactory& headlessPaddleViewFactory() {
  // Never destroyed: a paddle still alive at exit must not find its registry gone.
  static auto* factory = new HeadlessPaddleViewFactory();
  return *factory;
}

std::string describePaddleControl(const PaddleControlState& control) {
  std::string line = "control " + control.name + " text=\"";
  for (char c : control.text) {
    if (c == '"' || c == '\\') {
      line += '\\';
    }
    line += c;
  }
  line += "\" visible=";
  line += control.visible ? "true" : "false";
  line += " enabled=";
  line += control.enabled ? "true" : "false";
  if (control.kind == PaddleControlKind::Slider) {
    line += " position=" + std::to_string(control.position);
  }
  return line;
}

}  // namespace tramox::platform
