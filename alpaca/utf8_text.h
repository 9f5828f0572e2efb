#pragma once
// Text that came from outside (a request, a file, the controller) on its way back out.
#include <cstddef>
#include <string>
#include <string_view>

namespace tramox::alpaca {

bool isUtf8(std::string_view text);
// The length of the well-formed UTF-8 sequence at the start of text, or 0 when there is none.
std::size_t utf8SequenceLength(std::string_view text);
// The text with control bytes and bytes that are not UTF-8 written as \xHH, so that an echoed
// value can neither break lines nor carry bytes a reader would misread.
std::string printableText(std::string_view text);

}  // namespace tramox::alpaca
