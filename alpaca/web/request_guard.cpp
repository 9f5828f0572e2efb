#include "alpaca/web/request_guard.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace tramox::web {
namespace {

std::string lower(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

// "host" and "host:80" are the same place for plain HTTP.
std::string withoutDefaultPort(std::string authority) {
  constexpr std::string_view kDefault = ":80";
  if (authority.size() > kDefault.size() &&
      authority.compare(authority.size() - kDefault.size(), kDefault.size(), kDefault) == 0) {
    authority.resize(authority.size() - kDefault.size());
  }
  return authority;
}

}  // namespace

bool sameOriginRequest(std::string_view origin, std::string_view fetchSite, std::string_view host) {
  if (!fetchSite.empty()) {
    const std::string site = lower(fetchSite);
    if (site != "same-origin" && site != "none") {
      return false;
    }
  }
  if (origin.empty()) {
    return true;
  }
  constexpr std::string_view kScheme = "http://";
  const std::string from = lower(origin);
  if (host.empty() || from.compare(0, kScheme.size(), kScheme) != 0) {
    return false;  // "null", https or another scheme: not one of our pages
  }
  return withoutDefaultPort(from.substr(kScheme.size())) == withoutDefaultPort(lower(host));
}

}  // namespace tramox::web
