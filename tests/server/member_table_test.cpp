#include <gtest/gtest.h>

#include <set>

#include "server/binding/automation_objects.h"
#include "server/member_table.h"

namespace tramox::server {
namespace {

TEST(MemberTable, TelescopeRowsFollowTheInterfaceOrder) {
  const auto members = telescopeInterface().members;
  ASSERT_EQ(members.size(), 91u);
  for (std::size_t i = 0; i < members.size(); ++i) {
    EXPECT_EQ(members[i].order, int(i) + 1);
  }
  for (const MemberInfo& m : members) {
    EXPECT_NE(m.dispid, 47) << m.name;
    EXPECT_NE(m.dispid, 49) << m.name;
  }
  EXPECT_EQ(findMemberByName(telescopeInterface(), "Declination")->dispid, 48);
  EXPECT_EQ(findMemberByName(telescopeInterface(), "connected")->dispid, 77);
}

TEST(MemberTable, GetAndPutOfOnePropertyShareTheIdentifierAndNothingElseDoes) {
  std::set<std::pair<DispId, MemberKind>> seen;
  for (const MemberInfo& m : telescopeInterface().members) {
    EXPECT_TRUE(seen.insert({m.dispid, m.kind}).second) << m.name;
    for (const MemberInfo& other : telescopeInterface().members) {
      if (other.dispid == m.dispid) {
        EXPECT_EQ(other.name, m.name);
      }
    }
  }
}

TEST(MemberTable, ParameterNamesAreThoseClientsUse) {
  const auto& t = telescopeInterface();
  EXPECT_EQ(findMemberByName(t, "CanMoveAxis")->params[0].name, "Axe");
  EXPECT_EQ(findMemberByName(t, "MoveAxis")->params[0].name, "Axe");
  EXPECT_EQ(findMemberByName(t, "MoveAxis")->params[1].name, "Rate");
  EXPECT_EQ(findMemberByName(t, "AxisRates")->params[0].name, "Axis");
  const MemberInfo* dsop = findMemberByName(t, "DestinationSideOfPier");
  EXPECT_EQ(dsop->params[0].name, "AD");
  EXPECT_EQ(dsop->params[1].name, "DEC");
  EXPECT_EQ(dsop->result.kind, TypeKind::Void);
  EXPECT_EQ(findMemberByName(t, "PulseGuide")->params[1].type.kind, TypeKind::Int32);
  EXPECT_EQ(findMemberByName(t, "CanMoveAxis")->result.kind, TypeKind::Variant);
  EXPECT_EQ(findMember(t, 64, MemberKind::PropertyGet)->result.kind, TypeKind::Int32);
  EXPECT_EQ(findMember(t, 76, MemberKind::PropertyGet)->result.kind, TypeKind::Date);
  const MemberInfo* axisRates = findMemberByName(t, "AxisRates");
  EXPECT_EQ(axisRates->result.kind, TypeKind::Interface);
  EXPECT_EQ(axisRates->result.name, "IRates");
  for (const MemberInfo& m : t.members) {
    if (m.kind == MemberKind::PropertyPut) {
      ASSERT_EQ(m.paramCount, 1u) << m.name;
      EXPECT_TRUE(m.params[0].name.empty()) << m.name;
    }
  }
}

TEST(MemberTable, CollectionsHaveAHiddenNewEnumAndADefaultItem) {
  for (const InterfaceInfo* c : {&ratesInterface(), &trackingRatesColInterface()}) {
    ASSERT_EQ(c->members.size(), 3u);
    EXPECT_EQ(c->members[0].dispid, kDispIdNewEnum);
    EXPECT_TRUE(c->members[0].hidden);
    EXPECT_EQ(c->members[0].result.kind, TypeKind::Unknown);
    EXPECT_EQ(c->members[2].dispid, kDispIdValue);
    EXPECT_TRUE(c->members[2].defaultCollectionElement);
    EXPECT_EQ(c->members[2].params[0].name, "Index");
  }
  EXPECT_EQ(ratesInterface().members[2].result.kind, TypeKind::Dispatch);
  EXPECT_EQ(trackingRatesColInterface().members[2].result.name, "DriveRates");
}

TEST(MemberTable, EveryEnumerationTypeNamedByAMemberExists) {
  for (const InterfaceInfo* i :
       {&telescopeInterface(), &rateInterface(), &ratesInterface(), &trackingRatesColInterface()}) {
    for (const MemberInfo& m : i->members) {
      if (m.result.kind == TypeKind::Enum) {
        EXPECT_NE(findEnum(m.result.name), nullptr);
      }
      for (const ParamInfo& p : m.parameters()) {
        if (p.type.kind == TypeKind::Enum) {
          EXPECT_NE(findEnum(p.type.name), nullptr);
        }
      }
    }
  }
  ASSERT_EQ(enumerations().size(), 6u);
  EXPECT_EQ(findEnum("GuideDirections")->members[3].name, "guideWest");
  EXPECT_EQ(findEnum("EquatorialCoordinateType")->members[4].value, 4);
}

TEST(MemberTable, ClassesLibraryAndIdentities) {
  ASSERT_EQ(classes().size(), 4u);
  EXPECT_EQ(classes()[0].name, "Rate");
  EXPECT_EQ(classes()[3].progId, "TRAMOX.Telescope");
  EXPECT_EQ(telescopeClass().helpString, "Telescope Object");
  EXPECT_TRUE(ratesClass().enumVariant);
  EXPECT_EQ(library().name, "TRAMOX");
  EXPECT_EQ(library().helpString, "TRAMOX Library");
  EXPECT_EQ(library().lcid, 0x0409u);
  EXPECT_EQ(typeDescriptions().size(), 14u);
  EXPECT_EQ(toRegistryString(telescopeClass().clsid), "{EA8EFCB6-7F43-48BD-9852-E684C3227D1F}");
  std::set<std::string> ids{toRegistryString(library().libid)};
  for (const ClassInfo& c : classes()) {
    ids.insert(toRegistryString(c.clsid));
    ids.insert(toRegistryString(c.defaultInterface->iid));
  }
  for (const EnumInfo& e : enumerations()) {
    ids.insert(toRegistryString(e.id));
  }
  EXPECT_EQ(ids.size(), 15u);
}

TEST(MemberTable, GuidTextRoundTripsAndRejectsMalformedText) {
  Guid g;
  ASSERT_TRUE(parseGuid("{ea8efcb6-7f43-48bd-9852-e684c3227d1f}", g));
  EXPECT_EQ(g, telescopeClass().clsid);
  EXPECT_FALSE(parseGuid("{EA8EFCB6-7F43-48BD-9852-E684C3227D1}", g));
  EXPECT_FALSE(parseGuid("EA8EFCB6x7F43-48BD-9852-E684C3227D1F", g));
  EXPECT_FALSE(parseGuid("", g));
}

template <class Target>
void expectEveryRowBound(const InterfaceInfo& iface,
                         std::span<const binding::Invoker<Target>> invokers) {
  for (const MemberInfo& m : iface.members) {
    if (m.dispid == kDispIdNewEnum) {
      continue;  // the collection object answers it itself
    }
    int found = 0;
    for (const auto& inv : invokers) {
      found += inv.dispid == m.dispid && inv.kind == m.kind;
    }
    EXPECT_EQ(found, 1) << iface.name << "." << m.name;
  }
  EXPECT_LE(invokers.size(), iface.members.size());
}

TEST(MemberTable, EveryRowHasExactlyOneMemberCall) {
  expectEveryRowBound(telescopeInterface(), binding::telescopeInvokers());
  expectEveryRowBound(rateInterface(), binding::rateInvokers());
  expectEveryRowBound(ratesInterface(), binding::ratesInvokers());
  expectEveryRowBound(trackingRatesColInterface(), binding::trackingRatesInvokers());
}

}  // namespace
}  // namespace tramox::server
