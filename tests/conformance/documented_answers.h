#pragma once
// The driver's deliberate answers that ASCOM's checker counts as issues.
#include <string>

namespace tramox::conformance {

// The reason the driver answers so, or nullptr when this issue is not a documented answer.
const char* documentedReason(const std::string& test, const std::string& text);

// How many answers are documented.
int documentedAnswerCount();

}  // namespace tramox::conformance
