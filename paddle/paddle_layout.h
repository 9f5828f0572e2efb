#pragma once
// The paddle window as designed: caption, size, place, and every control in creation order
// with its design position, size and initial content (pixels at 96 dpi).
#include <string>
#include <vector>

#include "platform/paddle_view.h"

namespace tramox::paddle {

inline constexpr const char* kWindowCaption = "Raquette ASCOM";
inline constexpr int kClientWidth = 157;
inline constexpr int kClientHeight = 286;
inline constexpr int kWindowLeft = 816;
inline constexpr int kWindowTop = 234;

// Slider range; the middle (SMedium) is the design position.
inline constexpr int kSliderMin = 0;
inline constexpr int kSliderMax = 2;

// Control names, as the driver and the views address them.
namespace names {
inline constexpr const char* kImage = "Image1";
inline constexpr const char* kLabelKing = "LabelKing";
inline constexpr const char* kLabelPec = "LabelPEC";
inline constexpr const char* kLabelAd = "LabelAD";
inline constexpr const char* kLabelDec = "LabelDEC";
inline constexpr const char* kLabelSideOfPier = "LabelSideOfPier";
inline constexpr const char* kButtonSetPark = "ButtonSetPark";
inline constexpr const char* kButtonPark = "ButtonPark";
inline constexpr const char* kButtonTracking = "ButtonTracking";
inline constexpr const char* kButtonWest = "ButtonWest";
inline constexpr const char* kButtonSouth = "ButtonSouth";
inline constexpr const char* kButtonEast = "ButtonEast";
inline constexpr const char* kButtonNorth = "ButtonNorth";
inline constexpr const char* kTrackBarSpeed = "TrackBarSpeed";
inline constexpr const char* kButtonMaj = "ButtonMaj";
}  // namespace names

std::vector<platform::PaddleControlState> designControls();

}  // namespace tramox::paddle
