// The paddle's model and its view: the design controls, the driver's writes, showing and
// hiding, the slider, and events that reach an unbound paddle.
#include <gtest/gtest.h>

#include <stdexcept>

#include "paddle/paddle_layout.h"
#include "paddle/raquette.h"
#include "tests/fakes/recording_message_windows.h"
#include "tests/fakes/recording_paddle_view.h"

namespace tramox::paddle {
namespace {

using platform::PaddleControlKind;

class PaddleModelTest : public ::testing::Test {
 protected:
  fakes::RecordingPaddleViewFactory views;
  fakes::RecordingMessageWindows messages;
  TRaquette paddle{views, messages};
  fakes::PaddleViewRecord& view = *views.lastView();
};

TEST_F(PaddleModelTest, CreatesEveryControlInDesignOrderAndHandsThemToItsView) {
  const std::vector<std::string> order = {
      "Image1",          "LabelKing",     "LabelPEC",    "LabelAD",        "LabelDEC",
      "LabelSideOfPier", "ButtonSetPark", "ButtonPark",  "ButtonTracking", "ButtonWest",
      "ButtonSouth",     "ButtonEast",    "ButtonNorth", "TrackBarSpeed",  "ButtonMaj"};
  std::vector<std::string> names;
  for (const auto& control : paddle.Controls()) {
    names.push_back(control.name);
  }
  EXPECT_EQ(names, order);

  ASSERT_EQ(views.views().size(), 1u);
  EXPECT_EQ(view.caption, "Raquette ASCOM");
  EXPECT_EQ(view.width, 157);
  EXPECT_EQ(view.height, 286);
  EXPECT_EQ(view.events, &paddle);
  ASSERT_EQ(view.controls.size(), order.size());
  EXPECT_FALSE(view.shown);
  EXPECT_FALSE(paddle.Visible());
}

TEST_F(PaddleModelTest, DesignContentMatchesTheWindowDefinition) {
  const auto& king = paddle.Control("LabelKing");
  EXPECT_EQ(king.text, "King");
  EXPECT_FALSE(king.visible);
  EXPECT_FALSE(paddle.Control("LabelPEC").visible);
  EXPECT_EQ(paddle.Control("LabelSideOfPier").text, "W");
  EXPECT_TRUE(paddle.Control("LabelAD").visible);

  const auto& tracking = paddle.Control("ButtonTracking");
  EXPECT_EQ(tracking.text, "UnTracking");
  EXPECT_EQ(tracking.kind, PaddleControlKind::Button);
  EXPECT_EQ(tracking.tabOrder, 2);
  EXPECT_EQ((std::vector<int>{tracking.left, tracking.top, tracking.width, tracking.height}),
            (std::vector<int>{8, 256, 65, 25}));

  const auto& north = paddle.Control("ButtonNorth");
  EXPECT_EQ(north.kind, PaddleControlKind::BitmapButton);
  EXPECT_EQ((std::vector<int>{north.left, north.top}), (std::vector<int>{64, 56}));

  const auto& slider = paddle.Control("TrackBarSpeed");
  EXPECT_EQ(slider.kind, PaddleControlKind::Slider);
  EXPECT_EQ(slider.position, 1);
  EXPECT_EQ(paddle.Control("ButtonMaj").tabOrder, 8);
  EXPECT_EQ(paddle.Control("Image1").width, kClientWidth);
}

TEST_F(PaddleModelTest, DriverWritesUpdateTheModelAndThenTheView) {
  paddle.SetText("LabelAD", " 05h30m00s");
  paddle.SetVisible("LabelKing", true);
  paddle.SetEnabled("ButtonTracking", false);

  EXPECT_EQ(paddle.Control("LabelAD").text, " 05h30m00s");
  EXPECT_TRUE(paddle.Control("LabelKing").visible);
  EXPECT_FALSE(paddle.Control("ButtonTracking").enabled);
  EXPECT_EQ(view.control("LabelAD")->text, " 05h30m00s");
  EXPECT_TRUE(view.control("LabelKing")->visible);
  EXPECT_FALSE(view.control("ButtonTracking")->enabled);
  EXPECT_EQ(view.log, (std::vector<std::string>{"create", "update LabelAD", "update LabelKing",
                                                "update ButtonTracking"}));
}

// A window on screen gets costly texts at once; a headless view only when it is read, made
// once and from the newest producer.
TEST_F(PaddleModelTest, CostlyTextsWaitForAReaderUnlessTheViewDrawsContinuously) {
  for (const bool draws : {true, false}) {
    SCOPED_TRACE(draws ? "window on screen" : "headless view");
    fakes::RecordingPaddleViewFactory factory;
    factory.drawsContinuously = draws;
    TRaquette raquette{factory, messages};
    const fakes::PaddleViewRecord& record = *factory.lastView();
    int produced = 0;
    for (const char* text : {"first", "second", "third"}) {
      raquette.SetTextsWhenRead([&produced, text] {
        ++produced;
        return TRaquette::Texts{{"LabelAD", text}};
      });
    }
    EXPECT_EQ(produced, draws ? 3 : 0);
    EXPECT_EQ(record.control("LabelAD")->text, draws ? "third" : "AD");
    record.events->aboutToBeRead();
    EXPECT_EQ(record.control("LabelAD")->text, "third");
    EXPECT_EQ(raquette.Control("LabelAD").text, "third");
    EXPECT_EQ(produced, draws ? 3 : 1);
  }
}

TEST_F(PaddleModelTest, UnknownControlNamesAreRefused) {
  EXPECT_THROW(paddle.SetText("LabelNord", "x"), std::invalid_argument);
  EXPECT_THROW(paddle.Control("ButtonNord"), std::invalid_argument);
}

TEST_F(PaddleModelTest, CloseBoxOnlyHidesTheWindow) {
  paddle.Show();
  EXPECT_TRUE(paddle.Visible());
  EXPECT_TRUE(view.shown);
  view.events->closeBox();
  EXPECT_FALSE(paddle.Visible());
  EXPECT_TRUE(view.closed);
  EXPECT_FALSE(view.destroyed);
  // The driver still writes into the hidden paddle.
  paddle.SetText("ButtonPark", "UnPark");
  EXPECT_EQ(view.control("ButtonPark")->text, "UnPark");
}

TEST_F(PaddleModelTest, SliderMovesWithinItsThreePositionsOnly) {
  paddle.Show();
  view.events->sliderMoved(2);
  EXPECT_EQ(paddle.Control("TrackBarSpeed").position, 2);
  EXPECT_EQ(view.control("TrackBarSpeed")->position, 2);
  view.events->sliderMoved(3);
  view.events->sliderMoved(-1);
  EXPECT_EQ(paddle.Control("TrackBarSpeed").position, 2);
  view.events->sliderMoved(0);
  EXPECT_EQ(paddle.Control("TrackBarSpeed").position, 0);
}

TEST_F(PaddleModelTest, AHiddenWindowTakesNoUserAction) {
  view.events->sliderMoved(2);
  EXPECT_EQ(paddle.Control("TrackBarSpeed").position, 1);
}

TEST_F(PaddleModelTest, EventsOnAnUnboundPaddleDoNothing) {
  paddle.Show();
  for (const char* button : {"ButtonEast", "ButtonWest", "ButtonNorth", "ButtonSouth"}) {
    view.events->mouseDown(button);
    view.events->mouseUp(button);
  }
  for (const char* button : {"ButtonSetPark", "ButtonPark", "ButtonTracking", "ButtonMaj"}) {
    view.events->click(button);
  }
  view.events->click("NoSuchButton");
  EXPECT_TRUE(messages.shown().empty());
}

TEST_F(PaddleModelTest, DestroyingThePaddleDestroysItsView) {
  {
    TRaquette second(views, messages);
    EXPECT_FALSE(views.lastView()->destroyed);
  }
  EXPECT_TRUE(views.lastView()->destroyed);
  EXPECT_FALSE(view.destroyed);
}

}  // namespace
}  // namespace tramox::paddle
