#include "alpaca/route_table.h"

#include <string_view>
#include <utility>

namespace tramox::alpaca {

namespace {

bool allows(std::string_view allow, std::string_view method) {
  while (!allow.empty()) {
    const auto comma = allow.find(", ");
    if (allow.substr(0, comma) == method) {
      return true;
    }
    allow = comma == std::string_view::npos ? std::string_view() : allow.substr(comma + 2);
  }
  return false;
}

}  // namespace

void RouteTable::addExact(std::string path, RouteHandler handler, std::string allow) {
  routes_.push_back({std::move(path), false, std::move(handler), std::move(allow)});
}

void RouteTable::addPrefix(std::string prefix, RouteHandler handler, std::string allow) {
  routes_.push_back({std::move(prefix), true, std::move(handler), std::move(allow)});
}

void RouteTable::dispatch(const HttpRequest& request, Reply reply) const {
  const Route* best = nullptr;
  for (const Route& route : routes_) {
    if (!route.prefix && route.path == request.path) {
      best = &route;
      break;
    }
    if (route.prefix && request.path.starts_with(route.path) &&
        (!best || route.path.size() > best->path.size())) {
      best = &route;
    }
  }
  if (!best) {
    reply(textResponse(404, "No such path: " + request.path));
    return;
  }
  if (!best->allow.empty() && !allows(best->allow, request.methodName)) {
    reply(methodNotAllowed(best->allow));
    return;
  }
  best->handler(request, std::move(reply));
}

}  // namespace tramox::alpaca
