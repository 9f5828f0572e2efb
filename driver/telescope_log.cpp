// Request and result lines: every member logs through these, so the layout is written once.
#include "diag/diagnostic_log.h"
#include "driver/telescope.h"

namespace tramox::driver {

namespace {
// Result lines line the value up under the member name of the request line.
constexpr const char* kResultIndent = "                            =";
}  // namespace

void TTelescope::log(const std::string& message) {
  if (!deferredLogFailure_) {
    rt_.log.WriteLog(message);
    return;
  }
  try {
    rt_.log.WriteLog(message);
  } catch (...) {
    if (!*deferredLogFailure_) {
      *deferredLogFailure_ = std::current_exception();
    }
  }
}

void TTelescope::stopFirst(const std::function<void()>& member) {
  std::exception_ptr logFailure;
  struct Deferral {
    std::exception_ptr*& slot;
    ~Deferral() { slot = nullptr; }
  } deferral{deferredLogFailure_};
  deferredLogFailure_ = &logFailure;
  member();
  if (logFailure) {
    std::rethrow_exception(logFailure);
  }
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
