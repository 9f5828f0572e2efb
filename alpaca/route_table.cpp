#include "alpaca/route_table.h"

#include <utility>

namespace tramox::alpaca {

void RouteTable::addExact(std::string path, RouteHandler handler) {
  routes_.push_back({std::move(path), false, std::move(handler)});
}

void RouteTable::addPrefix(std::string prefix, RouteHandler handler) {
  routes_.push_back({std::move(prefix), true, std::move(handler)});
}

void RouteTable::dispatch(const HttpRequest& request, Reply reply) const {
  const Route* best = nullptr;
  for (const Route& route : routes_) {
    if (!route.prefix && route.path == request.path) {
      best = &route;
      break;
    }
    if (route.prefix && request.path.starts_with(route.path) &&
        (!best || route.path.size() > best->path.size()))
      best = &route;
  }
  if (!best) {
    reply(textResponse(404, "No such path: " + request.path));
    return;
  }
  best->handler(request, std::move(reply));
}

}  // namespace tramox::alpaca
