#pragma once
// Which handler answers which path. Filled before the server starts and only read afterwards,
// so the I/O threads share it without a lock. Other front ends served by the same server
// (setup pages, the web paddle) add their own routes.
#include <functional>
#include <string>
#include <vector>

#include "alpaca/http_message.h"

namespace tramox::alpaca {

using RouteHandler = std::function<void(const HttpRequest&, Reply)>;

class RouteTable {
 public:
  // The path exactly (case-sensitive, as Alpaca paths are). allow: the methods the path takes,
  // as Allow lists them ("GET", "POST, PUT"); empty leaves every method to the handler.
  void addExact(std::string path, RouteHandler handler, std::string allow = "");
  // Every path that starts with prefix; the longest matching prefix wins over shorter ones,
  // an exact route over any prefix.
  void addPrefix(std::string prefix, RouteHandler handler, std::string allow = "");

  // 404 with a plain-text reason when no route matches, 405 for a method it does not take.
  void dispatch(const HttpRequest& request, Reply reply) const;

 private:
  struct Route {
    std::string path;
    bool prefix = false;
    RouteHandler handler;
    std::string allow;
  };
  std::vector<Route> routes_;
};

}  // namespace tramox::alpaca
