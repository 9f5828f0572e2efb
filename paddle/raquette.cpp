#include "paddle/raquette.h"

#include <algorithm>
#include <stdexcept>

#include "paddle/error_box_text.h"
#include "paddle/paddle_layout.h"

namespace tramox::paddle {

TRaquette::TRaquette(platform::IPaddleViewFactory& views, platform::IMessageWindows& messages)
    : messages_(messages), controls_(designControls()), view_(views.createView()) {
  view_->create(kWindowCaption, kClientWidth, kClientHeight, controls_, *this);
}

TRaquette::~TRaquette() = default;

void TRaquette::Unbind() {
  telescope_ = nullptr;
  primaryRates_.reset();
  secondaryRates_.reset();
}

void TRaquette::Show() {
  visible_ = true;
  view_->show();
}

void TRaquette::Close() {
  visible_ = false;
  view_->close();
}

bool TRaquette::Visible() const {
  return visible_;
}

std::size_t TRaquette::indexOf(const std::string& name) const {
  for (std::size_t i = 0; i < controls_.size(); ++i) {
    if (controls_[i].name == name) {
      return i;
    }
  }
  throw std::invalid_argument("No paddle control named " + name);
}

platform::PaddleControlState& TRaquette::mutableControl(const std::string& name) {
  return controls_[indexOf(name)];
}

const platform::PaddleControlState& TRaquette::Control(const std::string& name) {
  producePendingTexts();
  return controls_[indexOf(name)];
}

std::vector<platform::PaddleControlState> TRaquette::Controls() {
  producePendingTexts();
  return controls_;
}

void TRaquette::SetText(const std::string& control, const std::string& text) {
  auto& state = mutableControl(control);
  state.text = text;
  view_->update(state);
}

void TRaquette::SetTextsWhenRead(TextsProducer produce) {
  pendingTexts_ = std::move(produce);
  if (view_->drawsContinuously()) {
    producePendingTexts();
  }
}

void TRaquette::aboutToBeRead() {
  producePendingTexts();
}

void TRaquette::producePendingTexts() {
  if (!pendingTexts_) {
    return;
  }
  // Taken out first: SetText may reach a view that reads the paddle back.
  const TextsProducer produce = std::move(pendingTexts_);
  pendingTexts_ = nullptr;
  for (const auto& [control, text] : produce()) {
    SetText(control, text);
  }
}

void TRaquette::SetVisible(const std::string& control, bool visible) {
  auto& state = mutableControl(control);
  state.visible = visible;
  view_->update(state);
}

void TRaquette::SetEnabled(const std::string& control, bool enabled) {
  auto& state = mutableControl(control);
  state.enabled = enabled;
  view_->update(state);
}

bool TRaquette::reachable(const std::string& control) const {
  if (!visible_) {
    return false;
  }
  const auto found = std::find_if(controls_.begin(), controls_.end(),
                                  [&](const auto& state) { return state.name == control; });
  return found != controls_.end() && found->visible && found->enabled;
}

// The toolkit's rule for a failure escaping an event handler: show it and carry on.
template <class Handler>
void TRaquette::guarded(Handler&& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    messages_.showErrorBox(errorBoxText(e.what()));
  } catch (...) {
    messages_.showErrorBox(errorBoxText("Unexpected failure"));
  }
}

void TRaquette::mouseDown(const std::string& control) {
  if (!reachable(control)) {
    return;
  }
  if (control == names::kButtonEast) {
    guarded([this] { ButtonEastMouseDown(); });
  } else if (control == names::kButtonWest) {
    guarded([this] { ButtonWestMouseDown(); });
  } else if (control == names::kButtonNorth) {
    guarded([this] { ButtonNorthMouseDown(); });
  } else if (control == names::kButtonSouth) {
    guarded([this] { ButtonSouthMouseDown(); });
  }
}

void TRaquette::mouseUp(const std::string& control) {
  if (!reachable(control)) {
    return;
  }
  if (control == names::kButtonEast) {
    guarded([this] { ButtonEastMouseUp(); });
  } else if (control == names::kButtonWest) {
    guarded([this] { ButtonWestMouseUp(); });
  } else if (control == names::kButtonNorth) {
    guarded([this] { ButtonNorthMouseUp(); });
  } else if (control == names::kButtonSouth) {
    guarded([this] { ButtonSouthMouseUp(); });
  }
}

void TRaquette::click(const std::string& control) {
  if (!reachable(control)) {
    return;
  }
  if (control == names::kButtonSetPark) {
    guarded([this] { ButtonSetParkClick(); });
  } else if (control == names::kButtonPark) {
    guarded([this] { ButtonParkClick(); });
  } else if (control == names::kButtonTracking) {
    guarded([this] { ButtonTrackingClick(); });
  } else if (control == names::kButtonMaj) {
    guarded([this] { ButtonMajClick(); });
  }
}

// The slider has no handler of its own: the direction buttons read its position at each press.
void TRaquette::sliderMoved(int position) {
  if (!reachable(names::kTrackBarSpeed) || position < kSliderMin || position > kSliderMax) {
    return;
  }
  auto& slider = mutableControl(names::kTrackBarSpeed);
  slider.position = position;
  view_->update(slider);
}

// The close box only hides the window; it comes back with the next connection.
void TRaquette::closeBox() {
  Close();
}

}  // namespace tramox::paddle
