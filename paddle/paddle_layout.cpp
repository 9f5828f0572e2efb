#include "paddle/paddle_layout.h"

namespace tramox::paddle {

namespace {

using platform::PaddleControlKind;
using platform::PaddleControlState;

PaddleControlState control(const char* name, PaddleControlKind kind, const char* text, int left,
                           int top, int width, int height) {
  PaddleControlState state;
  state.name = name;
  state.kind = kind;
  state.text = text;
  state.left = left;
  state.top = top;
  state.width = width;
  state.height = height;
  return state;
}

PaddleControlState hidden(PaddleControlState state) {
  state.visible = false;
  return state;
}

PaddleControlState tab(PaddleControlState state, int order) {
  state.tabOrder = order;
  return state;
}

}  // namespace

std::vector<PaddleControlState> designControls() {
  using K = PaddleControlKind;
  namespace n = names;
  PaddleControlState slider = tab(control(n::kTrackBarSpeed, K::Slider, "", 48, 160, 73, 25), 7);
  slider.position = 1;
  // The background picture comes first so that everything else is drawn over it.
  return {
      control(n::kImage, K::Picture, "", 0, 0, kClientWidth, kClientHeight),
      hidden(control(n::kLabelKing, K::Label, "King", 96, 208, 36, 20)),
      hidden(control(n::kLabelPec, K::Label, "PEC", 96, 240, 36, 20)),
      control(n::kLabelAd, K::Label, "AD", 24, 8, 26, 20),
      control(n::kLabelDec, K::Label, "DEC", 24, 32, 38, 20),
      control(n::kLabelSideOfPier, K::Label, "W", 104, 266, 17, 20),
      tab(control(n::kButtonSetPark, K::Button, "Set Park", 8, 192, 65, 25), 0),
      tab(control(n::kButtonPark, K::Button, "Park", 8, 224, 65, 25), 1),
      tab(control(n::kButtonTracking, K::Button, "UnTracking", 8, 256, 65, 25), 2),
      tab(control(n::kButtonWest, K::BitmapButton, "", 96, 88, 33, 33), 3),
      tab(control(n::kButtonSouth, K::BitmapButton, "", 64, 120, 33, 33), 4),
      tab(control(n::kButtonEast, K::BitmapButton, "", 32, 88, 33, 33), 5),
      tab(control(n::kButtonNorth, K::BitmapButton, "", 64, 56, 33, 33), 6),
      slider,
      tab(control(n::kButtonMaj, K::Button, "MAJ", 112, 56, 41, 25), 8),
  };
}

}  // namespace tramox::paddle
