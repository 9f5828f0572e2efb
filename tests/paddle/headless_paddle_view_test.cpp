// The headless paddle view: it mirrors the model, plays the user's actions into it, knows
// which paddle is current, and prints controls as the command-line client shows them.
#include <gtest/gtest.h>

#include <memory>

#include "paddle/raquette.h"
#include "platform/posix/headless_paddle_view.h"
#include "tests/fakes/recording_message_windows.h"

namespace tramox::platform {
namespace {

class HeadlessPaddleViewTest : public ::testing::Test {
 protected:
  HeadlessPaddleViewFactory factory;
  fakes::RecordingMessageWindows messages;
};

TEST_F(HeadlessPaddleViewTest, CurrentIsTheNewestLivePaddle) {
  EXPECT_EQ(factory.current(), nullptr);
  auto first = std::make_unique<paddle::TRaquette>(factory, messages);
  HeadlessPaddleView* firstView = factory.current();
  ASSERT_NE(firstView, nullptr);
  {
    paddle::TRaquette second(factory, messages);
    EXPECT_NE(factory.current(), firstView);
  }
  EXPECT_EQ(factory.current(), firstView);
  first.reset();
  EXPECT_EQ(factory.current(), nullptr);
}

TEST_F(HeadlessPaddleViewTest, MirrorsTheModelAndItsVisibility) {
  paddle::TRaquette raquette(factory, messages);
  HeadlessPaddleView& view = *factory.current();
  EXPECT_EQ(view.caption(), "Raquette ASCOM");
  EXPECT_EQ(view.controls().size(), raquette.Controls().size());
  EXPECT_FALSE(view.visible());
  raquette.Show();
  EXPECT_TRUE(view.visible());
  raquette.SetText("LabelDEC", "+45°30'20\"");
  EXPECT_EQ(view.controls()[4].text, "+45°30'20\"");
  view.pressCloseBox();
  EXPECT_FALSE(view.visible());
  EXPECT_FALSE(raquette.Visible());
}

TEST_F(HeadlessPaddleViewTest, UserActionsReachThePaddle) {
  paddle::TRaquette raquette(factory, messages);
  raquette.Show();
  factory.current()->moveSlider(0);
  EXPECT_EQ(raquette.Control("TrackBarSpeed").position, 0);
  EXPECT_EQ(factory.current()->controls()[13].position, 0);
}

// Remembers the events it is given, as "kind name".
struct RecordingEvents : IPaddleEvents {
  void mouseDown(const std::string& c) override { seen.push_back("down " + c); }
  void mouseUp(const std::string& c) override { seen.push_back("up " + c); }
  void click(const std::string& c) override { seen.push_back("click " + c); }
  void sliderMoved(int p) override { seen.push_back("slider " + std::to_string(p)); }
  void closeBox() override { seen.push_back("close"); }
  std::vector<std::string> seen;
};

TEST_F(HeadlessPaddleViewTest, TypedNamesReachThePaddleInTheControlsOwnSpelling) {
  RecordingEvents events;
  auto view = factory.createView();
  PaddleControlState maj;
  maj.name = "ButtonMaj";
  view->create("Raquette ASCOM", 157, 286, {maj}, events);
  auto& headless = *factory.current();
  headless.click("buttonMAJ");
  headless.mouseDown("BUTTONMAJ");
  headless.mouseUp("ButtonNowhere");
  headless.moveSlider(2);
  headless.pressCloseBox();
  EXPECT_EQ(events.seen, (std::vector<std::string>{"click ButtonMaj", "down ButtonMaj",
                                                   "up ButtonNowhere", "slider 2", "close"}));
}

TEST_F(HeadlessPaddleViewTest, DescribesControlsWithEscapedTextAndTheSlidersPosition) {
  PaddleControlState label;
  label.name = "LabelDEC";
  label.text = "+45°30'20\" \\";
  EXPECT_EQ(describePaddleControl(label),
            "control LabelDEC text=\"+45°30'20\\\" \\\\\" visible=true enabled=true");

  PaddleControlState slider;
  slider.name = "TrackBarSpeed";
  slider.kind = PaddleControlKind::Slider;
  slider.position = 2;
  slider.enabled = false;
  slider.visible = false;
  EXPECT_EQ(describePaddleControl(slider),
            "control TrackBarSpeed text=\"\" visible=false enabled=false position=2");
}

TEST_F(HeadlessPaddleViewTest, TheProcessFactoryIsOneObject) {
  EXPECT_EQ(&headlessPaddleViewFactory(), &headlessPaddleViewFactory());
}

}  // namespace
}  // namespace tramox::platform
