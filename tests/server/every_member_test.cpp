// Every row of the four interfaces, called by name as a script host does, must reach the
// member of that name: the same log lines, controller calls, result and error code as the
// direct call of that member on a fresh fixture taken through the same calls. The expected
// identifiers are the published ones, so a table whose names and identifiers were swapped
// together fails too. Members with no log line and a constant answer (ApertureArea,
// Azimuth...) are told apart by their identifier only.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "server/binding/automation_objects.h"
#include "server/failure_rule.h"
#include "server/portable/client_runtime.h"
#include "tests/driver/driver_fixture.h"
#include "tests/server/every_member_rows.h"

namespace tramox::server::portable {
namespace {

using testing::every_member::Arg;
using testing::every_member::Row;
using testing::every_member::shown;

Variant toVariant(const Arg& a) {
  if (const auto* d = std::get_if<double>(&a)) {
    return Variant::ofDouble(*d);
  }
  if (const auto* i = std::get_if<std::int32_t>(&a)) {
    return Variant::ofInt32(*i);
  }
  if (const auto* b = std::get_if<bool>(&a)) {
    return Variant::ofBool(*b);
  }
  return Variant::ofText(std::get<const char*>(a));
}

std::string shown(const Variant& v) {
  switch (v.type()) {
    case VarType::Empty:
      return "empty";
    case VarType::Bool:
      return shown(v.boolValue());
    case VarType::Int32:
      return shown(v.int32Value());
    case VarType::Double:
    case VarType::Date:
      return shown(v.doubleValue());
    case VarType::Text:
      return shown(v.text());
    case VarType::Dispatch: {
      // An object shows through what it answers.
      std::string text = "object";
      for (const char* member : testing::every_member::kObjectShownBy) {
        auto r = invokeByName(*v.dispatch(), member, kDispatchPropertyGet, {});
        if (r.hr == status::kOk) {
          text += std::string(" ") + member + "=" + shown(r.value);
        }
      }
      return text;
    }
    default:
      return "other";
  }
}

std::string shown(HResult code, const std::string& description, const std::string& value) {
  char text[16];
  std::snprintf(text, sizeof text, "%08X", static_cast<unsigned>(code));
  return std::string(text) + " '" + description + "' " + value;
}

// A driver object on fake services with logging on; its log and controller calls are read
// and cleared after each member.
struct Bench : driver::testing::DriverTest {
  void TestBody() override {}
  std::string drain() {
    std::string seen;
    for (const auto& line : logged()) {
      seen += "\n  log: " + line;
    }
    for (const auto& name : mount_.names()) {
      seen += "\n  controller: " + name;
    }
    clearLog();
    mount_.clearCalls();
    return seen;
  }
  std::shared_ptr<driver::TTelescope> scope() { return {std::shared_ptr<void>(), scope_.get()}; }
  std::shared_ptr<rates::TRates> axisRates() {
    return std::make_shared<rates::TRates>(&runtime_->log, runtime_->services.locale, 1.0, 2.0, 3.0,
                                           3);
  }
};

ComRef<IDispatch> automationObject(std::shared_ptr<driver::TTelescope> t) {
  return binding::newTelescopeObject(std::move(t));
}
ComRef<IDispatch> automationObject(std::shared_ptr<rates::TRate> t) {
  return binding::newRateObject(std::move(t));
}
ComRef<IDispatch> automationObject(std::shared_ptr<rates::TRates> t) {
  return binding::newRatesObject(std::move(t));
}
ComRef<IDispatch> automationObject(std::shared_ptr<rates::TTrackingRatesCol> t) {
  return binding::newTrackingRatesObject(std::move(t));
}

// The controller fake is one per process, so the two walks run one after the other, each on a
// fresh bench: make gives the bench's object of the interface.
template <class Target, class Make>
void walk(const InterfaceInfo& iface, const std::vector<Row<Target>>& rows, Make make) {
  for (const auto& m : iface.members) {
    int walked = 0;
    for (const auto& row : rows) {
      walked += equalsIgnoreCase(row.name, m.name) && row.kind == m.kind;
    }
    EXPECT_TRUE(walked > 0 || m.dispid == kDispIdNewEnum) << iface.name << "." << m.name;
  }
  std::vector<std::string> expected;
  {
    Bench bench;
    const std::shared_ptr<Target> target = make(bench);
    for (const auto& row : rows) {
      MemberFailure failure;
      std::string value = "empty";  // what a failed call answers
      const HResult code = guardMember("", failure, [&] { value = row.direct(*target); });
      const std::string seen = bench.drain();
      expected.push_back(shown(code, failure.description, value) + seen);
    }
  }
  Bench bench;
  auto object = automationObject(make(bench));
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const std::string name = rows[i].name;
    SCOPED_TRACE(std::string(iface.name) + "." + name);
    DispId id = kDispIdUnknown;
    EXPECT_EQ(object->GetIDsOfNames(&name, 1, &id), status::kOk);
    EXPECT_EQ(id, rows[i].id);
    std::vector<Variant> args;
    for (const auto& a : rows[i].args) {
      args.push_back(toVariant(a));
    }
    auto r = invokeByName(*object.get(), name, binding::invokeFlagOf(rows[i].kind), args);
    const HResult code = r.hr == status::kDispException ? r.error.scode : r.hr;
    const std::string value = shown(r.value);
    const std::string seen = bench.drain();
    EXPECT_EQ(shown(code, r.error.description, value) + seen, expected[i]);
  }
}

TEST(EveryMember, TelescopeRowsReachTheirOwnMember) {
  walk(telescopeInterface(), testing::every_member::telescopeRows(),
       [](Bench& b) { return b.scope(); });
}

TEST(EveryMember, CollectionRowsReachTheirOwnMember) {
  walk(rateInterface(), testing::every_member::rateRows(),
       [](Bench&) { return std::make_shared<rates::TRate>(); });
  walk(ratesInterface(), testing::every_member::ratesRows(),
       [](Bench& b) { return b.axisRates(); });
  walk(trackingRatesColInterface(), testing::every_member::trackingRatesRows(),
       [](Bench&) { return std::make_shared<rates::TTrackingRatesCol>(); });
}

}  // namespace
}  // namespace tramox::server::portable
