#pragma once
// The pages' defences: a request that changes state must come from a page of this server
// (or from no browser at all), and every page is served with a policy that lets it load and
// talk to nothing but this server.
#include <string_view>

namespace tramox::web {

// No inline script or style, nothing from elsewhere, no framing, forms post only here.
inline constexpr const char* kContentSecurityPolicy =
    "default-src 'none'; script-src 'self'; style-src 'self'; img-src 'self' data:; "
    "connect-src 'self'; form-action 'self'; frame-ancestors 'none'; base-uri 'none'";

// Whether a PUT or POST may change state. origin and fetchSite are the request's Origin and
// Sec-Fetch-Site headers (empty when absent), host its Host header. Programs other than
// browsers send neither header and pass; a browser request passes only from this server's own
// pages: Origin "http://" + host, or Sec-Fetch-Site "same-origin" or "none" (typed by the user).
bool sameOriginRequest(std::string_view origin, std::string_view fetchSite, std::string_view host);

}  // namespace tramox::web
