#pragma once
// A client backend with no module behind it: each call is recorded and answered by the test,
// on the driver thread of the host that made the backend.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "alpaca/driver_host.h"
#include "client/client_backend.h"
#include "tests/fakes/null_client_backend.h"

namespace tramox::alpaca::testing {

struct FakeDriver {
  struct Call {
    std::string member;
    client::CallKind kind;
    std::vector<client::Value> positional;
  };
  // Answers every invoke; success with no value unless set.
  std::function<client::CallResult(const Call&)> answer;
  std::vector<Call> calls;
  // What every collection the driver returns holds.
  std::vector<client::Value> elements;
  bool released = false;  // the driver object's last reference went
};

class FakeBackend final : public fakes::NullClientBackend {
 public:
  explicit FakeBackend(FakeDriver& driver) : driver_(driver) {}

  std::int32_t createDriver(client::ObjectRef& driver, std::string&) override {
    driver = std::make_shared<Object>(driver_);
    return 0;
  }
  client::CallResult invoke(client::ClientObject&, const std::string& member, client::CallKind kind,
                            const std::vector<client::Value>& positional,
                            const std::vector<client::NamedValue>&) override {
    driver_.calls.push_back({member, kind, positional});
    return driver_.answer ? driver_.answer(driver_.calls.back()) : client::CallResult{};
  }
  client::CallResult newEnum(client::ClientObject&) override {
    client::CallResult made;
    made.value.kind = client::Value::Kind::Object;
    made.value.object = std::make_shared<Enumerator>();
    return made;
  }
  // S_OK while count elements were there, S_FALSE once fewer were.
  std::int32_t next(client::ClientObject& enumerator, std::uint32_t count,
                    std::vector<client::Value>& items) override {
    std::size_t& taken = static_cast<Enumerator&>(enumerator).taken;
    std::uint32_t given = 0;
    for (; given < count && taken < driver_.elements.size(); ++given) {
      items.push_back(driver_.elements[taken++]);
    }
    return given == count ? 0 : 1;
  }

 private:
  struct Object final : client::ClientObject {
    explicit Object(FakeDriver& driver) : driver(driver) {}
    ~Object() override { driver.released = true; }
    const void* identity() const override { return this; }
    FakeDriver& driver;
  };
  struct Enumerator final : client::ClientObject {
    const void* identity() const override { return this; }
    std::size_t taken = 0;
  };
  FakeDriver& driver_;
};

// A host whose backend is a FakeBackend over driver.
inline DriverHost::BackendFactory fakeBackendFactory(FakeDriver& driver) {
  return [&driver](platform::IClock&) { return std::make_unique<FakeBackend>(driver); };
}

}  // namespace tramox::alpaca::testing
