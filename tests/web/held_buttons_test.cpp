// The dead man's switch on a clock the test moves by hand.
#include <gtest/gtest.h>

#include "alpaca/web/held_buttons.h"
#include "tests/fakes/fake_clock.h"

namespace tramox::web {
namespace {

class HeldButtonsTest : public ::testing::Test {
 protected:
  fakes::FakeClock clock;
  HeldButtons held{clock};
};

TEST_F(HeldButtonsTest, HeartbeatsKeepAHoldAliveAndSilenceDropsItAfterOneSecond) {
  ASSERT_TRUE(held.press("ButtonNorth", "a"));
  for (int beat = 0; beat < 20; ++beat) {
    clock.advanceSeconds(0.25);
    ASSERT_TRUE(held.heartbeat("ButtonNorth", "a"));
    ASSERT_TRUE(held.expire().empty());
  }
  clock.advanceSeconds(1.0);
  EXPECT_TRUE(held.expire().empty());  // exactly the time-out is still alive
  clock.advanceSeconds(0.01);
  EXPECT_EQ(held.expire(), std::vector<std::string>{"ButtonNorth"});
  EXPECT_FALSE(held.held("ButtonNorth"));
  EXPECT_FALSE(held.heartbeat("ButtonNorth", "a"));
}

TEST_F(HeldButtonsTest, TwoHoldersReleaseTheButtonWhenTheLastLetsGo) {
  EXPECT_TRUE(held.press("ButtonEast", "a"));
  EXPECT_FALSE(held.press("ButtonEast", "b"));
  EXPECT_FALSE(held.release("ButtonEast", "a"));
  EXPECT_FALSE(held.release("ButtonEast", "a"));  // a second release of the same page
  EXPECT_TRUE(held.release("ButtonEast", "b"));
}

TEST_F(HeldButtonsTest, ASilentHolderExpiresWhileAnotherKeepsTheButton) {
  held.press("ButtonEast", "a");
  held.press("ButtonEast", "b");
  clock.advanceSeconds(0.8);
  held.heartbeat("ButtonEast", "b");
  clock.advanceSeconds(0.8);
  EXPECT_TRUE(held.expire().empty());
  EXPECT_FALSE(held.heartbeat("ButtonEast", "a"));
  EXPECT_TRUE(held.release("ButtonEast", "b"));
}

TEST_F(HeldButtonsTest, APageGoingAwayReleasesOnlyWhatItAloneHeld) {
  held.press("ButtonEast", "a");
  held.press("ButtonNorth", "a");
  held.press("ButtonNorth", "b");
  EXPECT_EQ(held.releaseAll("a"), std::vector<std::string>{"ButtonEast"});
  EXPECT_TRUE(held.held("ButtonNorth"));
  EXPECT_FALSE(held.release("ButtonSouth", "a"));
}

}  // namespace
}  // namespace tramox::web
