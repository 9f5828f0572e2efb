// Request and result lines: every member logs through these, so the layout is written once.
#include "diag/diagnostic_log.h"
#include "driver/telescope.h"

namespace tramox::driver {

namespace {
// Result lines line the value up under the member name of the request line.
constexpr std::string_view kResultIndent = "                            =";
constexpr std::string_view kAsk = "ASK for ";

std::string joined(std::string_view head, std::string_view tail) {
  std::string line;
  line.reserve(head.size() + tail.size());
  line.append(head).append(tail);
  return line;
}
}  // namespace

bool TTelescope::logging() {
  if (!deferredLogFailure_) {
    return rt_.log.enabled();
  }
  try {
    return rt_.log.enabled();
  } catch (...) {
    if (!*deferredLogFailure_) {
      *deferredLogFailure_ = std::current_exception();
    }
    return false;
  }
}

void TTelescope::log(const std::string& message) {
  if (logging()) {
    rt_.log.writeLine(message);
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

void TTelescope::logAsk(std::string_view member) {
  if (logging()) {
    rt_.log.writeLine(joined(kAsk, member));
  }
}

void TTelescope::logResult(std::string_view value) {
  if (logging()) {
    rt_.log.writeLine(joined(kResultIndent, value));
  }
}

void TTelescope::logResult(double value) {
  if (logging()) {
    rt_.log.writeLine(joined(kResultIndent, number(value)));
  }
}

void TTelescope::logResult(bool value) {
  logResult(diag::formatBool(value));
}

std::string TTelescope::number(double value) {
  return diag::formatNumber(value, rt_.services.locale->decimalSeparator());
}

}  // namespace tramox::driver
