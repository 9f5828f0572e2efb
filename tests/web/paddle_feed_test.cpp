// The long poll: a page behind is answered at once, an up-to-date page when the model or the
// windows change, or when it has waited long enough.
#include <gtest/gtest.h>

#include <vector>

#include "alpaca/web/paddle_feed.h"

namespace tramox::web {
namespace {

class PaddleFeedTest : public ::testing::Test {
 protected:
  PaddleFeed feed{[](std::uint64_t after) { return nlohmann::json{{"after", after}}; }};
  std::vector<nlohmann::json> answers;
  PaddleFeed::Answer record() {
    return [this](const nlohmann::json& a) { answers.push_back(a); };
  }
};

TEST_F(PaddleFeedTest, AnswersWhenThePageIsBehindAndHoldsItOtherwise) {
  feed.update({{"text", "a"}}, 0, 0.0);
  feed.wait(0, -1, 0.0, record());  // a new page
  ASSERT_EQ(answers.size(), 1u);
  EXPECT_EQ(answers[0]["version"], 1);
  EXPECT_EQ(answers[0]["state"]["text"], "a");

  feed.wait(1, 0, 0.0, record());
  feed.update({{"text", "a"}}, 0, 1.0);  // nothing changed
  EXPECT_EQ(answers.size(), 1u);
  feed.update({{"text", "b"}}, 0, 1.5);
  ASSERT_EQ(answers.size(), 2u);
  EXPECT_EQ(answers[1]["version"], 2);
  EXPECT_EQ(feed.waiting(), 0u);
}

TEST_F(PaddleFeedTest, ANewWindowOrTheTimeLimitAnswersAWaitingPage) {
  feed.update({}, 3, 0.0);
  feed.wait(1, -1, 0.0, record());  // sees only windows after 3
  feed.update({}, 4, 0.5);
  ASSERT_EQ(answers.size(), 1u);
  EXPECT_EQ(answers[0]["dialogs"]["after"], 3);
  EXPECT_EQ(answers[0]["lastDialog"], 4);

  feed.wait(1, 4, 1.0, record());
  feed.update({}, 4, 1.0 + kLongPollSeconds - 0.1);
  EXPECT_EQ(answers.size(), 1u);
  feed.update({}, 4, 1.0 + kLongPollSeconds);
  EXPECT_EQ(answers.size(), 2u);
}

}  // namespace
}  // namespace tramox::web
