#pragma once
// The text of the error box shown for a failure escaping a paddle event.
#include <string>

namespace tramox::paddle {

// The message with a full stop appended when its last character's code is above that of '.'
// (letters and digits get one; ".", "!", ")" or a blank do not). Codes compare as unsigned
// bytes, so a message ending in a non-ASCII letter gets its full stop too.
std::string errorBoxText(const std::string& message);

}  // namespace tramox::paddle
