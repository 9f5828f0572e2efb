// The Alpaca device table against the automation member table it calls into: a row with a
// wrong name, kind, arity or type would otherwise pass every protocol test, and fail only when
// a client asks that one member.
#include <gtest/gtest.h>

#include <string>

#include "alpaca/device_members.h"
#include "server/member_table.h"
#include "tests/alpaca/alpaca_server.h"

namespace tramox::alpaca::testing {
namespace {

using server::MemberKind;
using server::TypeKind;

bool typeFits(ValueType alpaca, const server::TypeRef& member) {
  if (member.kind == TypeKind::Variant) {
    return alpaca != ValueType::None;
  }
  switch (alpaca) {
    case ValueType::None:
      return member.kind == TypeKind::Void;
    case ValueType::Bool:
      return member.kind == TypeKind::Bool;
    case ValueType::Double:
      return member.kind == TypeKind::Double;
    case ValueType::Int32:
      return member.kind == TypeKind::Int32 || member.kind == TypeKind::Enum;
    case ValueType::Text:
      return member.kind == TypeKind::Text;
    case ValueType::Date:
      return member.kind == TypeKind::Date;
    case ValueType::AxisRates:
      return member.kind == TypeKind::Interface && member.name == "IRates";
    case ValueType::TrackingRates:
      return member.kind == TypeKind::Interface && member.name == "ITrackingRatesCol";
    case ValueType::TextList:
      return false;
  }
  return false;
}

MemberKind kindOf(DriverCall call) {
  switch (call) {
    case DriverCall::Get:
      return MemberKind::PropertyGet;
    case DriverCall::Put:
      return MemberKind::PropertyPut;
    case DriverCall::Method:
      break;
  }
  return MemberKind::Method;
}

// These interface members have no result, while the protocol's answer carries one; the driver
// refuses them all as not implemented, so the answer's Value is the type's empty value.
bool resultWaived(const DeviceMember& row) {
  return row.path == "commandbool" || row.path == "commandstring" ||
         row.path == "destinationsideofpier";
}

const server::MemberInfo* memberOfKind(std::string_view name, MemberKind kind) {
  for (const server::MemberInfo& m : server::telescopeInterface().members) {
    if (m.kind == kind && server::equalsIgnoreCase(m.name, name)) {
      return &m;
    }
  }
  return nullptr;
}

TEST(AlpacaDeviceTable, EveryRowNamesAnInterfaceMemberOfTheSameShape) {
  int checked = 0;
  for (const DeviceMember& row : telescopeMembers()) {
    if (row.special == Special::SupportedActions || row.special == Special::Action) {
      continue;  // answered by the server itself
    }
    SCOPED_TRACE(std::string(row.path));
    const server::MemberInfo* member = memberOfKind(row.path, kindOf(row.call));
    ASSERT_NE(member, nullptr) << "no interface member of that name and kind";
    ++checked;

    // By position: the protocol names parameters its own way ("Axis" for the interface's "Axe").
    std::size_t passed = 0;
    for (const AlpacaParameter& p : row.params()) {
      if (!p.passed) {
        continue;
      }
      ASSERT_LT(passed, member->paramCount);
      const server::ParamInfo& param = member->params[passed++];
      EXPECT_TRUE(typeFits(p.type, param.type)) << p.name;
    }
    EXPECT_EQ(passed, member->paramCount) << "arity";

    if (row.call == DriverCall::Put) {
      EXPECT_EQ(row.value, ValueType::None);
    } else if (!resultWaived(row)) {
      EXPECT_TRUE(typeFits(row.value, member->result)) << "result type";
    }
  }
  EXPECT_GT(checked, 80);
}

bool jsonFits(ValueType type, const nlohmann::json& value) {
  switch (type) {
    case ValueType::Bool:
      return value.is_boolean();
    case ValueType::Double:
      return value.is_number();
    case ValueType::Int32:
      return value.is_number_integer();
    case ValueType::Text:
    case ValueType::Date:
      return value.is_string();
    case ValueType::AxisRates:
    case ValueType::TrackingRates:
    case ValueType::TextList:
      return value.is_array();
    case ValueType::None:
      break;
  }
  return false;
}

// Reads a connected simulated mount may refuse: their answers are the driver's own.
bool mayFail(std::string_view path) {
  for (std::string_view p :
       {"slewsettletime", "targetdeclination", "targetrightascension", "destinationsideofpier",
        "guideratedeclination", "guideraterightascension"}) {
    if (p == path) {
      return true;
    }
  }
  return false;
}

// Failed reads too: a client parses Value before it looks at ErrorNumber. Every other read
// must succeed once connected, so that a row whose type the driver's result cannot take shows.
TEST(AlpacaDeviceTable, EveryReadableRowAnswersAValueOfItsDeclaredType) {
  AlpacaServer server;
  for (const bool connected : {false, true}) {
    server.member("PUT", "connected", connected ? "Connected=True" : "Connected=False");
    for (const DeviceMember& row : telescopeMembers()) {
      if (row.method != HttpMethod::Get) {
        continue;
      }
      std::string query;
      for (const AlpacaParameter& p : row.params()) {
        query += (query.empty() ? "" : "&") + std::string(p.name) + "=0";
      }
      const nlohmann::json answer = server.member("GET", std::string(row.path), query);
      ASSERT_TRUE(answer.contains("Value")) << row.path;
      EXPECT_TRUE(jsonFits(row.value, answer["Value"]))
          << row.path << (connected ? " connected: " : ": ") << answer.dump();
      if (connected && !mayFail(row.path)) {
        EXPECT_EQ(answer["ErrorNumber"], 0) << row.path << ": " << answer.dump();
      }
    }
  }
}

}  // namespace
}  // namespace tramox::alpaca::testing
