#include "alpaca/browser_origin.h"

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

// The computer's name alone or with a domain after it (e.g. "mypc.local").
bool isOwnName(std::string_view name, std::string_view ownName) {
  if (ownName.empty() || name.size() < ownName.size())
    return false;
  if (!server::equalsIgnoreCase(name.substr(0, ownName.size()), ownName))
    return false;
  return name.size() == ownName.size() || name[ownName.size()] == '.';
}

}  // namespace

bool mayCommand(std::string_view origin, std::string_view host, std::string_view ownName) {
  if (origin.empty())
    return true;
  constexpr std::string_view kScheme = "http://";
  if (!origin.starts_with(kScheme) ||
      !server::equalsIgnoreCase(origin.substr(kScheme.size()), host))
    return false;
  const std::string_view name = hostName(host);
  return isAddress(name) || server::equalsIgnoreCase(name, "localhost") || isOwnName(name, ownName);
}

bool mayCommand(std::string_view origin, std::string_view host) {
  boost::system::error_code ec;
  const std::string own = boost::asio::ip::host_name(ec);
  return mayCommand(origin, host, ec ? std::string() : own);
}

}  // namespace tramox::alpaca
