#include "tests/conformance/report.h"

#include "tests/conformance/documented_answers.h"

namespace tramox::conformance {

void Report::line(const char* kind, const std::string& test, const std::string& text) {
  ++checks_;
  out_ << kind << " " << test << ": " << text << "\n";
}

void Report::ok(const std::string& test, const std::string& text) {
  line("OK   ", test, text);
}

void Report::info(const std::string& test, const std::string& text) {
  ++infos_;
  line("INFO ", test, text);
}

void Report::issue(const std::string& test, const std::string& text) {
  if (const char* reason = documentedReason(test, text)) {
    ++documented_;
    line("ISSUE", test, text + " [documented: " + reason + "]");
    return;
  }
  ++issues_;
  line("ISSUE", test, text);
}

int Report::finish() {
  out_ << "Conformance: " << checks_ << " checks, " << infos_ << " information, "
       << issues_ + documented_ << " issues of which " << documented_ << " documented answers ("
       << documentedAnswerCount() << " listed), " << issues_ << " undocumented" << std::endl;
  return issues_ == 0 ? 0 : 1;
}

}  // namespace tramox::conformance
