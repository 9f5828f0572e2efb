// ITelescope: which driver member each dispatch identifier runs. Rows follow the interface
// order; a test checks that every row of the member table has its call here.
#include "server/binding/member_binding.h"

namespace tramox::server::binding {
namespace {

using driver::TTelescope;
constexpr MemberKind M = MemberKind::Method;
constexpr MemberKind G = MemberKind::PropertyGet;
constexpr MemberKind P = MemberKind::PropertyPut;

const Invoker<TTelescope> kTelescopeInvokers[] = {
    {1, M, call<&TTelescope::AbortSlew>()},
    {2, M, call<&TTelescope::AxisRates>()},
    {3, M, call<&TTelescope::CanMoveAxis>()},
    {4, M, call<&TTelescope::CommandBlind>()},
    {5, M, call<&TTelescope::CommandBool>()},
    {6, M, call<&TTelescope::CommandString>()},
    {7, M, call<&TTelescope::DestinationSideOfPier>()},
    {8, M, call<&TTelescope::FindHome>()},
    {9, M, call<&TTelescope::MoveAxis>()},
    {10, M, call<&TTelescope::Park>()},
    {11, M, call<&TTelescope::PulseGuide>()},
    {12, M, call<&TTelescope::SetPark>()},
    {13, M, call<&TTelescope::SetupDialog>()},
    {14, M, call<&TTelescope::SlewToAltAz>()},
    {15, M, call<&TTelescope::SlewToAltAzAsync>()},
    {16, M, call<&TTelescope::SlewToCoordinates>()},
    {17, M, call<&TTelescope::SlewToCoordinatesAsync>()},
    {18, M, call<&TTelescope::SlewToTarget>()},
    {19, M, call<&TTelescope::SlewToTargetAsync>()},
    {20, M, call<&TTelescope::SyncToAltAz>()},
    {21, M, call<&TTelescope::SyncToCoordinates>()},
    {22, M, call<&TTelescope::SyncToTarget>()},
    {23, M, call<&TTelescope::Unpark>()},
    {24, G, call<&TTelescope::Get_AlignmentMode>()},
    {25, G, call<&TTelescope::Get_Altitude>()},
    {26, G, call<&TTelescope::Get_ApertureArea>()},
    {27, G, call<&TTelescope::Get_ApertureDiameter>()},
    {28, G, call<&TTelescope::Get_AtHome>()},
    {29, G, call<&TTelescope::Get_AtPark>()},
    {30, G, call<&TTelescope::Get_Azimuth>()},
    {31, G, call<&TTelescope::Get_CanFindHome>()},
    {32, G, call<&TTelescope::Get_CanPark>()},
    {33, G, call<&TTelescope::Get_CanPulseGuide>()},
    {34, G, call<&TTelescope::Get_CanSetDeclinationRate>()},
    {35, G, call<&TTelescope::Get_CanSetGuideRates>()},
    {36, G, call<&TTelescope::Get_CanSetPark>()},
    {37, G, call<&TTelescope::Get_CanSetPierSide>()},
    {38, G, call<&TTelescope::Get_CanSetRightAscensionRate>()},
    {39, G, call<&TTelescope::Get_CanSetTracking>()},
    {40, G, call<&TTelescope::Get_CanSlew>()},
    {41, G, call<&TTelescope::Get_CanSlewAltAz>()},
    {42, G, call<&TTelescope::Get_CanSlewAltAzAsync>()},
    {43, G, call<&TTelescope::Get_CanSlewAsync>()},
    {44, G, call<&TTelescope::Get_CanSync>()},
    {45, G, call<&TTelescope::Get_CanSyncAltAz>()},
    {46, G, call<&TTelescope::Get_CanUnpark>()},
    {48, G, call<&TTelescope::Get_Declination>()},
    {50, G, call<&TTelescope::Get_DeclinationRate>()},
    {50, P, call<&TTelescope::Set_DeclinationRate>()},
    {51, G, call<&TTelescope::Get_Description>()},
    {52, G, call<&TTelescope::Get_DoesRefraction>()},
    {52, P, call<&TTelescope::Set_DoesRefraction>()},
    {53, G, call<&TTelescope::Get_DriverInfo>()},
    {54, G, call<&TTelescope::Get_DriverVersion>()},
    {55, G, call<&TTelescope::Get_EquatorialSystem>()},
    {56, G, call<&TTelescope::Get_FocalLength>()},
    {57, G, call<&TTelescope::Get_GuideRateDeclination>()},
    {57, P, call<&TTelescope::Set_GuideRateDeclination>()},
    {58, G, call<&TTelescope::Get_GuideRateRightAscension>()},
    {58, P, call<&TTelescope::Set_GuideRateRightAscension>()},
    {59, G, call<&TTelescope::Get_InterfaceVersion>()},
    {60, G, call<&TTelescope::Get_IsPulseGuiding>()},
    {61, G, call<&TTelescope::Get_Name>()},
    {62, G, call<&TTelescope::Get_RightAscension>()},
    {63, G, call<&TTelescope::Get_RightAscensionRate>()},
    {63, P, call<&TTelescope::Set_RightAscensionRate>()},
    {64, G, call<&TTelescope::Get_SideOfPier>()},
    {64, P, call<&TTelescope::Set_SideOfPier>()},
    {65, G, call<&TTelescope::Get_SiderealTime>()},
    {66, G, call<&TTelescope::Get_SiteElevation>()},
    {66, P, call<&TTelescope::Set_SiteElevation>()},
    {67, G, call<&TTelescope::Get_SiteLatitude>()},
    {67, P, call<&TTelescope::Set_SiteLatitude>()},
    {68, G, call<&TTelescope::Get_SiteLongitude>()},
    {68, P, call<&TTelescope::Set_SiteLongitude>()},
    {69, G, call<&TTelescope::Get_Slewing>()},
    {70, G, call<&TTelescope::Get_SlewSettleTime>()},
    {70, P, call<&TTelescope::Set_SlewSettleTime>()},
    {71, G, call<&TTelescope::Get_TargetDeclination>()},
    {71, P, call<&TTelescope::Set_TargetDeclination>()},
    {72, G, call<&TTelescope::Get_TargetRightAscension>()},
    {72, P, call<&TTelescope::Set_TargetRightAscension>()},
    {73, G, call<&TTelescope::Get_Tracking>()},
    {73, P, call<&TTelescope::Set_Tracking>()},
    {74, G, call<&TTelescope::Get_TrackingRate>()},
    {74, P, call<&TTelescope::Set_TrackingRate>()},
    {75, G, call<&TTelescope::Get_TrackingRates>()},
    {76, G, call<&TTelescope::Get_UTCDate>()},
    {76, P, call<&TTelescope::Set_UTCDate>()},
    {77, G, call<&TTelescope::Get_Connected>()},
    {77, P, call<&TTelescope::Set_Connected>()},
};

}  // namespace

std::span<const Invoker<TTelescope>> telescopeInvokers() {
  return kTelescopeInvokers;
}

}  // namespace tramox::server::binding
