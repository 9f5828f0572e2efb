#pragma once
// The outcome of every check, one line each, as ASCOM's checker words them: OK, INFO or ISSUE.
// An issue the driver answers on purpose (see documented_answers.cpp) is shown with its reason
// and does not fail the run.
#include <ostream>
#include <string>

namespace tramox::conformance {

class Report {
 public:
  explicit Report(std::ostream& out) : out_(out) {}

  void ok(const std::string& test, const std::string& text);
  void info(const std::string& test, const std::string& text);
  void issue(const std::string& test, const std::string& text);

  // Prints the totals; the process exit status: 0 when no undocumented issue was seen.
  int finish();

 private:
  void line(const char* kind, const std::string& test, const std::string& text);

  std::ostream& out_;
  int checks_ = 0;
  int infos_ = 0;
  int issues_ = 0;
  int documented_ = 0;
};

}  // namespace tramox::conformance
