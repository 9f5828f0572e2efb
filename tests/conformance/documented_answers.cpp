#include "tests/conformance/documented_answers.h"

#include <iterator>

namespace tramox::conformance {

namespace {

struct DocumentedAnswer {
  const char* test;
  const char* text;  // part of the text
  const char* reason;
};

const DocumentedAnswer kAnswers[] = {
    {"MoveAxis Tertiary", "answered 0x401 Value to low",
     "the mount has no third axis; MoveAxis answers it as an invalid value, which ASCOM allows "
     "for an axis a mount lacks"},
};

}  // namespace

const char* documentedReason(const std::string& test, const std::string& text) {
  for (const DocumentedAnswer& answer : kAnswers) {
    if (*answer.test && test == answer.test && text.find(answer.text) != std::string::npos) {
      return answer.reason;
    }
  }
  return nullptr;
}

int documentedAnswerCount() {
  return static_cast<int>(std::size(kAnswers));
}

}  // namespace tramox::conformance
