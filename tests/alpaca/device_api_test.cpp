// The device API over a backend with no driver behind it: what reaches the driver's member,
// and how the member's failures are answered.
#include <gtest/gtest.h>

#include <future>
#include <string>

#include <nlohmann/json.hpp>

#include "alpaca/device_api.h"
#include "common/driver_error.h"
#include "server/status_codes.h"
#include "tests/alpaca/fake_backend.h"

namespace tramox::alpaca::testing {
namespace {

class DeviceApiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string why;
    ASSERT_TRUE(host_.start(why)) << why;
  }

  nlohmann::json ask(HttpMethod method, const std::string& member, const std::string& form) {
    HttpRequest request;
    request.methodName = method == HttpMethod::Put ? "PUT" : "GET";
    request.method = methodNamed(request.methodName);
    request.path = "/api/v1/telescope/0/" + member;
    (method == HttpMethod::Put ? request.body : request.query) = form;
    request.contentType = "application/x-www-form-urlencoded";
    std::promise<HttpResponse> answered;
    api_.handle(request, [&](HttpResponse response) { answered.set_value(std::move(response)); });
    const HttpResponse response = answered.get_future().get();
    EXPECT_EQ(response.status, 200) << response.body;
    return nlohmann::json::parse(response.body);
  }

  FakeDriver driver_;
  DriverHost host_{fakeBackendFactory(driver_)};
  AnswerWriter answers_;
  DeviceApi api_{host_, answers_};
};

TEST_F(DeviceApiTest, ArgumentsReachTheMemberInItsOwnOrderWhateverTheirOrderInTheBody) {
  ask(HttpMethod::Put, "slewtocoordinatesasync", "Declination=-20.5&RightAscension=5.5");
  host_.stop([](DriverAccess&) {}, [](DriverAccess&) {});
  ASSERT_EQ(driver_.calls.size(), 1u);
  const FakeDriver::Call& call = driver_.calls.front();
  EXPECT_EQ(call.member, "slewtocoordinatesasync");
  EXPECT_EQ(call.kind, client::CallKind::Call);
  ASSERT_EQ(call.positional.size(), 2u);
  EXPECT_EQ(call.positional[0].number, 5.5);
  EXPECT_EQ(call.positional[1].number, -20.5);
}

TEST_F(DeviceApiTest, ACollectionIsReadToItsLastElementWhateverItsSize) {
  for (std::int32_t rate = 0; rate < 70; ++rate) {
    driver_.elements.push_back(client::Value::ofInt32(rate));
  }
  struct Collection final : client::ClientObject {
    const void* identity() const override { return this; }
  };
  driver_.answer = [](const FakeDriver::Call&) {
    client::CallResult collection;
    collection.value.kind = client::Value::Kind::Object;
    collection.value.object = std::make_shared<Collection>();
    return collection;
  };
  const nlohmann::json rates = ask(HttpMethod::Get, "trackingrates", "")["Value"];
  ASSERT_EQ(rates.size(), 70u);
  EXPECT_EQ(rates.front(), 0);
  EXPECT_EQ(rates.back(), 69);
}

TEST_F(DeviceApiTest, AFailureIsNumberedByItsReasonAndKeepsItsMessage) {
  struct Case {
    std::int32_t hr;
    FailureReason reason;
    const char* description;
    int number;
    std::string message;
  };
  const Case cases[] = {
      // Words the driver never uses: the number cannot come from them.
      {server::status::kDispException, FailureReason::Parked, "any words", 0x408, "any words"},
      {server::status::kDispException, FailureReason::ControllerRefused, "Telescope is parked",
       0x500, "Telescope is parked"},
      {server::status::kDispTypeMismatch, FailureReason::Parked, "", 0x4FF,
       "Automation call failed (0x80020005)"},
  };
  for (const Case& c : cases) {
    driver_.answer = [&c](const FakeDriver::Call&) {
      client::CallResult result;
      result.hr = c.hr;
      result.error.scode = codes::kInvalidState;
      result.error.reason = c.reason;
      result.error.description = c.description;
      return result;
    };
    const nlohmann::json answer = ask(HttpMethod::Get, "rightascension", "");
    EXPECT_EQ(answer["ErrorNumber"], c.number) << c.description;
    EXPECT_EQ(answer["ErrorMessage"], c.message);
    EXPECT_EQ(answer["Value"], 0.0);  // a GET keeps its Value when the member failed
  }
}

}  // namespace
}  // namespace tramox::alpaca::testing
