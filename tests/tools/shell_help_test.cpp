// What the shell offers the person at it: "did you mean", help from the member table, tab
// completion, and the session's handles it completes from.
#include <gtest/gtest.h>

#include "server/status_codes.h"
#include "tests/fakes/null_client_backend.h"
#include "tools/closest_name.h"
#include "tools/command_help.h"
#include "tools/shell_completion.h"

namespace tramox::tools {
namespace {

using Words = std::vector<std::string>;

TEST(ClosestName, SuggestsOnlyANearName) {
  const std::vector<std::string_view> names{"Name", "Connected", "Tracking", "get"};
  const struct {
    const char* typed;
    const char* expected;  // nullptr: no suggestion
  } cases[] = {
      {"Nmae", "Name"}, {"conected", "Connected"}, {"Trakcing", "Tracking"}, {"gte", "get"},
      {"ge", "get"},    {"Bogus", nullptr},        {"Tx", nullptr},          {"", nullptr}};
  for (const auto& c : cases) {
    const auto found = closestName(c.typed, names);
    EXPECT_EQ(found.value_or("(none)"), c.expected ? c.expected : "(none)") << c.typed;
  }
  EXPECT_EQ(didYouMean("Nmae", names), "did you mean 'Name'?");
}

TEST(CommandHelp, DescribesMembersFromTheMemberTable) {
  EXPECT_EQ(helpLines("slewtocoordinates"),
            Words{"method ITelescope.SlewToCoordinates(RightAscension As Double, Declination As "
                  "Double)"});
  EXPECT_EQ(helpLines("SiteLatitude"), (Words{"property get ITelescope.SiteLatitude As Double",
                                              "property put ITelescope.SiteLatitude = Double"}));
  EXPECT_EQ(helpLines("AxisRates"),
            Words{"method ITelescope.AxisRates(Axis As TelescopeAxes) As IRates"});
  // Every interface that has the name, the collections' indexed Item included.
  const Words count = helpLines("Count");
  EXPECT_EQ(count.size(), 2u);
  EXPECT_NE(std::find(count.begin(), count.end(), "property get IRates.Count As Long"),
            count.end());
  EXPECT_EQ(helpLines("TelescopeAxes"),
            Words{"enumeration TelescopeAxes: axisPrimary=0 axisSecondary=1 axisTertiary=2"});
  EXPECT_EQ(helpLines("guideEast"), Words{"guideEast = 2 (GuideDirections)"});
  EXPECT_EQ(helpLines("enum").size(), 1u);
  EXPECT_TRUE(helpLines("Bogus").empty());
  EXPECT_TRUE(helpLines("_NewEnum").empty());
  // One line per command, the shell's own included.
  EXPECT_EQ(helpLines().size(), commandHelp().size() + 1);
}

TEST(ShellCompletion, OffersTheWordsThatFitWhereTheCursorIs) {
  const ShellState state{{{0, &server::telescopeInterface()}, {3, &server::ratesInterface()}},
                         {"ButtonNorth", "ButtonSouth"}};
  const struct {
    const char* line;
    Words expected;
  } cases[] = {
      {"ca", {"call", "canunload"}},
      {"get Trackin", {"Tracking", "TrackingRate", "TrackingRates"}},
      {"put Trackin", {"Tracking", "TrackingRate"}},  // only what can be written
      {"call slewtoc", {"SlewToCoordinates", "SlewToCoordinatesAsync"}},
      {"get $", {"$0.", "$3."}},
      {"get $3.C", {"$3.Count"}},
      {"get $7.C", {}},
      {"call MoveAxis axisP", {"axisPrimary"}},
      {"call MoveAxis Axe:=axisS", {"Axe:=axisSecondary"}},
      {"call X $", {"$0", "$3"}},
      {"call X tr", {"true"}},
      {"release $", {"$0", "$3"}},
      {"click ButtonN", {"ButtonNorth"}},
      {"help TelescopeA", {"TelescopeAxes"}},
      {"help he", {"help"}},
      {"paddle x", {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(completions(c.line, state), c.expected) << c.line;
  }
  EXPECT_EQ(completions("", state).size(), commandHelp().size());
}

// A driver whose every TrackingRates is a new collection.
class FakeObject : public ClientObject {
 public:
  explicit FakeObject(bool driver) : driver_(driver) {}
  const void* identity() const override { return this; }
  bool driver_;
};

class FakeBackend : public fakes::NullClientBackend {
 public:
  std::int32_t createDriver(ObjectRef& driver, std::string&) override {
    driver = std::make_shared<FakeObject>(true);
    return 0;
  }
  CallResult invoke(ClientObject&, const std::string& member, CallKind, const std::vector<Value>&,
                    const std::vector<NamedValue>&) override {
    CallResult r;
    if (member == "TrackingRates") {
      r.value.kind = Value::Kind::Object;
      r.value.object = std::make_shared<FakeObject>(false);
    } else {
      r.hr = server::status::kDispUnknownName;
    }
    return r;
  }
  bool supports(ClientObject& object, const server::Guid& iid) override {
    return iid == (static_cast<FakeObject&>(object).driver_
                       ? server::telescopeInterface().iid
                       : server::trackingRatesColInterface().iid);
  }
};

Outcome run(ScriptSession& session, std::string_view line) {
  return session.execute(*parseLine(line).command);
}

TEST(ScriptSessionHandles, AReleasedHandleIsDroppedAndItsNumberNotGivenAgain) {
  FakeBackend backend;
  ScriptSession session(backend);
  for (int i = 1; i <= 1000; ++i) {
    ASSERT_EQ(run(session, "call TrackingRates").lines, Words{"ok $" + std::to_string(i)});
    ASSERT_EQ(run(session, "release $" + std::to_string(i)).lines, Words{"ok"});
  }
  run(session, "call TrackingRates");
  const std::vector<LiveObject> live = session.liveObjects();
  ASSERT_EQ(live.size(), 2u);
  EXPECT_EQ(live[1].handle, 1001);
  EXPECT_EQ(live[1].iface, &server::trackingRatesColInterface());
  EXPECT_EQ(run(session, "get $1000.Count").lines,
            Words{"error 0x80070057 tramox: No object $1000"});
}

TEST(ScriptSessionHandles, AnUnknownMemberGetsAHintThatScriptsDoNotPrint) {
  FakeBackend backend;
  ScriptSession session(backend);
  const Outcome o = run(session, "get Nmae");
  EXPECT_EQ(o.lines, Words{"error 0x80020006 tramox: Unknown name 'Nmae'"});
  EXPECT_EQ(o.hint, "did you mean 'Name'?");
  EXPECT_EQ(run(session, "get Bogus").hint, "");
}

}  // namespace
}  // namespace tramox::tools
