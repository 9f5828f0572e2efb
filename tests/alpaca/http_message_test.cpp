// The request the handlers see keeps every method they tell apart, POST with GET and PUT.
#include <gtest/gtest.h>

#include "alpaca/http_message.h"

namespace tramox::alpaca {
namespace {

TEST(HttpMessageTest, TheRequestLinesMethodIsKeptAsNamedAndCaseSensitive) {
  const struct {
    const char* name;
    HttpMethod method;
  } cases[] = {{"GET", HttpMethod::Get},      {"PUT", HttpMethod::Put},
               {"POST", HttpMethod::Post},    {"post", HttpMethod::Other},
               {"DELETE", HttpMethod::Other}, {"", HttpMethod::Other}};
  for (const auto& c : cases) {
    EXPECT_EQ(methodNamed(c.name), c.method) << c.name;
  }
}

}  // namespace
}  // namespace tramox::alpaca
