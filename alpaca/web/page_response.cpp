#include "alpaca/web/page_response.h"

#include <utility>

#include "alpaca/json_response.h"
#include "alpaca/web/web_assets.h"

namespace tramox::web {

alpaca::HttpResponse page(alpaca::HttpResponse response) {
  response.headers.emplace_back("Content-Security-Policy", kContentSecurityPolicy);
  response.headers.emplace_back("X-Content-Type-Options", "nosniff");
  // Not no-referrer: under it a browser sends "Origin: null" with a form, which the origin
  // check must refuse.
  response.headers.emplace_back("Referrer-Policy", "same-origin");
  return response;
}

alpaca::HttpResponse pageJson(const nlohmann::json& value) {
  return page(alpaca::jsonResponse(value));
}

}  // namespace tramox::web
