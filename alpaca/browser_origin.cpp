#include "alpaca/browser_origin.h"

#include <algorithm>
#include <boost/asio/ip/address.hpp>
#include <boost/asio/ip/host_name.hpp>

#include "server/member_table.h"

namespace tramox::alpaca {

namespace {

// The host part of "name:port", "[v6]:port" or a bare name.
std::string_view hostName(std::string_view host) {
  if (host.starts_with('[')) {
    const auto close = host.find(']');
    return close == std::string_view::npos ? host : host.substr(1, close - 1);
  }
  const auto colon = host.rfind(':');
  return colon == std::string_view::npos ? host : host.substr(0, colon);
}

bool isAddress(std::string_view name) {
  boost::system::error_code ec;
  boost::asio::ip::make_address(std::string(name), ec);
  return !ec;
}

// Only ".local" may follow: it is resolved on the local network, never by an outside server.
bool isOwnName(std::string_view name, std::string_view ownName) {
  constexpr std::string_view kLocal = ".local";
  if (ownName.empty()) {
    return false;
  }
  if (name.size() == ownName.size() + kLocal.size() &&
      server::equalsIgnoreCase(name.substr(ownName.size()), kLocal)) {
    name = name.substr(0, ownName.size());
  }
  return server::equalsIgnoreCase(name, ownName);
}

bool isTrusted(std::string_view name, const OriginRule& rule) {
  return std::any_of(
      rule.trustedHosts.begin(), rule.trustedHosts.end(),
      [&](const std::string& trusted) { return server::equalsIgnoreCase(name, trusted); });
}

// The origin is "SCHEME://HOST" for exactly the Host header.
bool originIs(std::string_view origin, std::string_view scheme, std::string_view host) {
  return origin.size() == scheme.size() + host.size() &&
         server::equalsIgnoreCase(origin.substr(0, scheme.size()), scheme) &&
         server::equalsIgnoreCase(origin.substr(scheme.size()), host);
}

}  // namespace

OriginRule localOriginRule(std::vector<std::string> trustedHosts) {
  boost::system::error_code ec;
  const std::string own = boost::asio::ip::host_name(ec);
  return {ec ? std::string() : own, std::move(trustedHosts)};
}

bool mayCommand(std::string_view origin, std::string_view host, const OriginRule& rule) {
  if (origin.empty()) {
    return true;
  }
  const std::string_view name = hostName(host);
  if (isTrusted(name, rule)) {
    return originIs(origin, "http://", host) || originIs(origin, "https://", host);
  }
  return originIs(origin, "http://", host) &&
         (isAddress(name) || server::equalsIgnoreCase(name, "localhost") ||
          isOwnName(name, rule.ownName));
}

}  // namespace tramox::alpaca
