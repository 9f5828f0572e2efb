// Members the driver refuses: always the same error, no log line.
#include "common/driver_error.h"
#include "driver/telescope.h"
#include "driver/telescope_messages.h"

namespace tramox::driver {

namespace {
[[noreturn]] void notImplemented(const char* message) {
  throw DriverError(codes::kNotImplemented, message);
}
}  // namespace

void TTelescope::Set_DeclinationRate(double) {
  notImplemented("Can not change DeclinationRate");
}
void TTelescope::Set_GuideRateDeclination(double) {
  notImplemented("Can not change GuideRateDeclination");
}
void TTelescope::Set_GuideRateRightAscension(double) {
  notImplemented("Can not change GuideRateRightAscension");
}
void TTelescope::Set_RightAscensionRate(double) {
  notImplemented("Can not change RightAscensionRate");
}
void TTelescope::Set_SideOfPier(std::int32_t) {
  notImplemented("Can not change side of pier");
}
std::int32_t TTelescope::Get_SlewSettleTime() {
  notImplemented(messages::kSlewSettleTimeNotAvailable);
}
void TTelescope::Set_SlewSettleTime(std::int32_t) {
  notImplemented(messages::kSlewSettleTimeNotAvailable);
}
void TTelescope::CommandBlind(const std::string&) {
  notImplemented("CommandBlind not implemented");
}
void TTelescope::CommandBool(const std::string&) {
  notImplemented("CommandBool not implemented");
}
void TTelescope::CommandString(const std::string&) {
  notImplemented("CommandString not implemented");
}
void TTelescope::DestinationSideOfPier(double, double) {
  notImplemented("Side of Pier unable");
}
void TTelescope::FindHome() {
  notImplemented("FindHome not implemented");
}

}  // namespace tramox::driver
