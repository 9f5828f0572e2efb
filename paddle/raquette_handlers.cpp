// What the paddle's controls do: each calls the driver's member as a client would, and the
// driver writes the resulting labels and captions back into the paddle.
#include "common/telescope_enums.h"
#include "paddle/paddle_layout.h"
#include "paddle/raquette.h"

namespace tramox::paddle {

void TRaquette::GetTelescope(IPaddleTelescope* telescope) {
  // Both collections or neither: a half-bound paddle would fail later on the other axis.
  auto primary = telescope->AxisRates(ascom::axisPrimary);
  auto secondary = telescope->AxisRates(ascom::axisSecondary);
  telescope_ = telescope;
  primaryRates_ = std::move(primary);
  secondaryRates_ = std::move(secondary);
}

// Fetched anew at every press, so the slider may move between presses; the item fetch writes
// its "Get_Item index" line like any client's.
double TRaquette::directionRateDegPerSec(const std::shared_ptr<rates::TRates>& axisRates) const {
  const int position = controls_[indexOf(names::kTrackBarSpeed)].position;
  return axisRates->Get_Item(position + 1)->Get_Maximum();
}

void TRaquette::moveAxis(std::int32_t axis, double rateDegPerSec) {
  if (telescope_ != nullptr) {
    telescope_->MoveAxis(axis, rateDegPerSec);
  }
}

void TRaquette::ButtonEastMouseDown() {
  if (telescope_ != nullptr) {
    moveAxis(ascom::axisPrimary, directionRateDegPerSec(primaryRates_));
  }
}

void TRaquette::ButtonWestMouseDown() {
  if (telescope_ != nullptr) {
    moveAxis(ascom::axisPrimary, -directionRateDegPerSec(primaryRates_));
  }
}

void TRaquette::ButtonNorthMouseDown() {
  if (telescope_ != nullptr) {
    moveAxis(ascom::axisSecondary, directionRateDegPerSec(secondaryRates_));
  }
}

void TRaquette::ButtonSouthMouseDown() {
  if (telescope_ != nullptr) {
    moveAxis(ascom::axisSecondary, -directionRateDegPerSec(secondaryRates_));
  }
}

void TRaquette::ButtonEastMouseUp() {
  moveAxis(ascom::axisPrimary, 0.0);
}
void TRaquette::ButtonWestMouseUp() {
  moveAxis(ascom::axisPrimary, 0.0);
}
void TRaquette::ButtonNorthMouseUp() {
  moveAxis(ascom::axisSecondary, 0.0);
}
void TRaquette::ButtonSouthMouseUp() {
  moveAxis(ascom::axisSecondary, 0.0);
}

void TRaquette::ButtonSetParkClick() {
  if (telescope_ != nullptr) {
    telescope_->SetPark();
  }
}

// Decided by the driver's flag at the moment of the click, not by the caption.
void TRaquette::ButtonParkClick() {
  if (telescope_ == nullptr) {
    return;
  }
  if (telescope_->parked()) {
    telescope_->Unpark();
  } else {
    telescope_->Park();
  }
}

void TRaquette::ButtonTrackingClick() {
  if (telescope_ != nullptr) {
    telescope_->Set_Tracking(!telescope_->tracking());
  }
}

// The read itself refreshes the position labels; the value is not needed. During a park
// motion the refresh also asks whether the mount has arrived, which sets the park caption.
void TRaquette::ButtonMajClick() {
  if (telescope_ != nullptr) {
    telescope_->Get_RightAscension();
    if (telescope_->parking()) {
      telescope_->Get_Slewing();
    }
  }
}

}  // namespace tramox::paddle
