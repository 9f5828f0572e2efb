#pragma once
// What every answer of the pages carries: the security headers a browser heeds.
#include <nlohmann/json.hpp>

#include "alpaca/http_message.h"

namespace tramox::web {

// A page's own state change comes as POST (or PUT); the server has already refused any
// request a page of another site sent.
inline constexpr const char* kChangeMethods = "POST, PUT";

alpaca::HttpResponse page(alpaca::HttpResponse response);
alpaca::HttpResponse pageJson(const nlohmann::json& value);

}  // namespace tramox::web
