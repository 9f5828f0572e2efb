// Request and result lines: every member logs through these, so the layout is written once.
#include "diag/diagnostic_log.h"
#include "driver/telescope.h"

namespace tramox::driver {

namespace {
// Result lines line the value up under the member name of the request line.
constexpr const char* kResultIndent = "                            =";
}  // namespace

void TTelescope::log(const std::string& message) {
  rt_.log.WriteLog(message);
}

void TTelescope::logAsk(const std::string& member) {
  log("ASK for " + member);
}

void TTelescope::logResult(const std::string& value) {
  log(kResultIndent + value);
}

void TTelescope::logResult(double value) {
  logResult(number(value));
}

void TTelescope::logResult(bool value) {
  logResult(std::string(diag::formatBool(value)));
}

std::string TTelescope::number(double value) {
  return diag::formatNumber(value, rt_.services.locale->decimalSeparator());
}

}  // namespace tramox::driver
