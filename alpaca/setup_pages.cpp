#include "alpaca/setup_pages.h"

#include <string>

#include "alpaca/management_api.h"

namespace tramox::alpaca {

namespace {

std::string page(bool connected) {
  return std::string(
             "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\">"
             "<title>TRAMOX Alpaca server</title></head><body>\n"
             "<h1>TRAMOX Alpaca server</h1>\n<p>Telescope 0: ") +
         kDeviceName + " (" + client::kDriverProgId + "), " +
         (connected ? "connected" : "not connected") + ".</p>\n</body></html>\n";
}

void answerPage(DriverHost& host, const HttpRequest& request, Reply reply) {
  if (request.method != HttpMethod::Get)
    return reply(textResponse(400, request.methodName + " is not allowed for " + request.path));
  host.post([reply = std::move(reply)](DriverAccess& access) {
    const client::CallResult connected =
        access.backend.invoke(*access.driver, "Connected", client::CallKind::Get, {}, {});
    reply(
        htmlResponse(page(connected.hr >= 0 && connected.value.kind == client::Value::Kind::Bool &&
                          connected.value.boolean)));
  });
}

}  // namespace

void addSetupPages(RouteTable& routes, DriverHost& host) {
  for (const char* path : {"/setup", "/setup/v1/telescope/0/setup"})
    routes.addExact(path, [&host](const HttpRequest& request, Reply reply) {
      answerPage(host, request, std::move(reply));
    });
}

}  // namespace tramox::alpaca
