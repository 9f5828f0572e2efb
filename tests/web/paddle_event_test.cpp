// What a page may send: anything else is refused before it reaches the paddle.
#include <gtest/gtest.h>

#include "alpaca/web/web_paddle.h"

namespace tramox::web {
namespace {

TEST(PaddleEventTest, AcceptsEachActionWithItsControl) {
  PaddleEvent event;
  std::string why;
  ASSERT_TRUE(
      parsePaddleEvent(R"({"page":"p-1","action":"press","control":"ButtonNorth"})", event, why))
      << why;
  EXPECT_EQ(event.action, PaddleAction::Press);
  EXPECT_EQ(event.control, "ButtonNorth");
  EXPECT_EQ(event.page, "p-1");
  ASSERT_TRUE(parsePaddleEvent(R"({"page":"p","action":"slider","position":2})", event, why));
  EXPECT_EQ(event.action, PaddleAction::Slider);
  EXPECT_EQ(event.position, 2);
  EXPECT_TRUE(
      parsePaddleEvent(R"({"page":"p","action":"click","control":"ButtonMaj"})", event, why));
  EXPECT_TRUE(parsePaddleEvent(R"({"page":"p","action":"leave"})", event, why));
}

TEST(PaddleEventTest, RefusesWhatNoPageOfOursSends) {
  const char* cases[] = {
      "not json",
      R"(["press"])",
      R"({"action":"press","control":"ButtonNorth"})",               // no page
      R"({"page":"a b","action":"press","control":"ButtonNorth"})",  // odd page
      R"({"page":"p","action":"hold","control":"ButtonNorth"})",     // unknown action
      R"({"page":"p","action":"press","control":"ButtonPark"})",     // not a direction
      R"({"page":"p","action":"click","control":"ButtonNorth"})",    // not clickable
      R"({"page":"p","action":"click","control":"LabelAD"})",        // a label
      R"({"page":"p","action":"slider"})",                           // no position
      R"({"page":"p","action":"slider","position":"1"})",            // not a number
  };
  for (const char* body : cases) {
    PaddleEvent event;
    std::string why;
    EXPECT_FALSE(parsePaddleEvent(body, event, why)) << body;
    EXPECT_FALSE(why.empty()) << body;
  }
}

}  // namespace
}  // namespace tramox::web
