#pragma once
// Text written into a page: every value goes through here, so a name or a message with
// markup in it shows as text.
#include <string>
#include <string_view>

namespace tramox::web {

// &, <, >, " and ' as character references; safe in element text and in quoted attributes.
std::string htmlEscape(std::string_view text);

}  // namespace tramox::web
