#pragma once
// The hand paddle TRaquette: the model of every control, the binding to the driver object and
// the control handlers. The paddle has no logic of its own: each button calls the driver's
// member exactly as a client would, and the driver writes the labels and captions back
// through SetText / SetVisible / SetEnabled. The platform view only draws the model and
// reports the user's actions.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "paddle/paddle_telescope.h"
#include "platform/message_windows.h"
#include "platform/paddle_view.h"
#include "rates/rates.h"

namespace tramox::paddle {

class TRaquette : public platform::IPaddleEvents {
 public:
  // Creates the model of every control in creation order, and its view (not yet shown).
  TRaquette(platform::IPaddleViewFactory& views, platform::IMessageWindows& messages);
  ~TRaquette() override;
  TRaquette(const TRaquette&) = delete;
  TRaquette& operator=(const TRaquette&) = delete;

  // Stores the driver object (not owned) and fetches the axis rates of the primary and then
  // the secondary axis; a failure propagates to the caller (connecting fails with it).
  void GetTelescope(IPaddleTelescope* telescope);
  // The driver object is going away: from now on every event does nothing.
  void Unbind();

  void Show();
  // Hides the window; the driver forgets the paddle afterwards.
  void Close();
  bool Visible() const;

  // The driver's writes; each updates the model and then the view. An unknown control name
  // is a programming error (std::invalid_argument).
  void SetText(const std::string& control, const std::string& text);
  void SetVisible(const std::string& control, bool visible);
  void SetEnabled(const std::string& control, bool enabled);

  // Texts that cost work to produce, as (control, text) pairs. A view that draws continuously
  // gets them at once. Any other gets them when the paddle is next read, from the newest
  // producer only, so a client that reads the position without reading the paddle pays
  // nothing for them. A producer holds copies of all it needs, or refers to state that only
  // changes along with the next producer; its controls are written through producers only.
  using Texts = std::vector<std::pair<std::string, std::string>>;
  using TextsProducer = std::function<Texts()>;
  void SetTextsWhenRead(TextsProducer produce);

  // Reading the model produces the texts put off until then.
  const platform::PaddleControlState& Control(const std::string& name);
  std::vector<platform::PaddleControlState> Controls();

  // The view's events, routed to the handlers below. Every failure is caught here and shown
  // in the error box; the paddle stays as it was. Events for a control the user could not
  // reach (window hidden, control hidden or disabled) are dropped, as a real window would.
  void mouseDown(const std::string& control) override;
  void mouseUp(const std::string& control) override;
  void click(const std::string& control) override;
  void sliderMoved(int position) override;
  void closeBox() override;
  void aboutToBeRead() override;

  // The handlers; these throw the driver's failures (the event boundary above catches them).
  void ButtonSetParkClick();
  void ButtonParkClick();
  void ButtonTrackingClick();
  void ButtonEastMouseDown();
  void ButtonEastMouseUp();
  void ButtonWestMouseDown();
  void ButtonWestMouseUp();
  void ButtonNorthMouseDown();
  void ButtonNorthMouseUp();
  void ButtonSouthMouseDown();
  void ButtonSouthMouseUp();
  void ButtonMajClick();

 private:
  std::size_t indexOf(const std::string& name) const;
  platform::PaddleControlState& mutableControl(const std::string& name);
  bool reachable(const std::string& control) const;
  double directionRateDegPerSec(const std::shared_ptr<rates::TRates>& axisRates) const;
  void moveAxis(std::int32_t axis, double rateDegPerSec);
  template <class Handler>
  void guarded(Handler&& handler);
  void producePendingTexts();

  platform::IMessageWindows& messages_;
  std::vector<platform::PaddleControlState> controls_;
  std::unique_ptr<platform::IPaddleView> view_;
  bool visible_ = false;
  IPaddleTelescope* telescope_ = nullptr;
  std::shared_ptr<rates::TRates> primaryRates_;
  std::shared_ptr<rates::TRates> secondaryRates_;
  TextsProducer pendingTexts_;
};

}  // namespace tramox::paddle
