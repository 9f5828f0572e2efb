#include "alpaca/web/setup_pages.h"

#include "alpaca/web/html_text.h"
#include "client/setup_settings.h"

namespace tramox::web {
namespace {

std::string pageStart(const std::string& title) {
  return "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
         "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
         "<meta name=\"color-scheme\" content=\"dark\">\n<link rel=\"icon\" "
         "href=\"data:,\">\n<title>" +
         htmlEscape(title) +
         "</title>\n<link rel=\"stylesheet\" href=\"/web/style.css\">\n</head>\n"
         "<body>\n<div class=\"setup\">\n<h1>" +
         htmlEscape(title) + "</h1>\n";
}

constexpr const char* kPageEnd = "</div>\n</body>\n</html>\n";

std::string row(const std::string& heading, const std::string& valueHtml) {
  return "<tr><th>" + htmlEscape(heading) + "</th><td>" + valueHtml + "</td></tr>\n";
}

std::string errorSpan(const std::string& id, const std::string& error) {
  if (error.empty()) {
    return "";
  }
  return "<span class=\"field-error\" id=\"" + htmlEscape(id) + "-error\" role=\"alert\">" +
         htmlEscape(error) + "</span>";
}

std::string fieldRow(const SetupField& field) {
  const std::string id = htmlEscape(field.name);
  std::string cell = "<input type=\"text\" inputmode=\"decimal\" id=\"" + id + "\" name=\"" + id +
                     "\" value=\"" + htmlEscape(field.value) + "\"";
  if (!field.error.empty()) {
    cell += " aria-invalid=\"true\" aria-describedby=\"" + id + "-error\"";
  }
  cell += "> " + htmlEscape(field.unit) + errorSpan(field.name, field.error);
  return "<tr><th><label for=\"" + id + "\">" + htmlEscape(field.label) + "</label></th><td>" +
         cell + "</td></tr>\n";
}

}  // namespace

std::string deviceSetupPage(const DeviceSetupView& view) {
  std::string html = pageStart("TRAMOX telescope setup");
  if (!view.notice.empty()) {
    html += std::string("<p class=\"") + (view.noticeIsError ? "not-saved" : "saved") +
            "\" role=\"status\">" + htmlEscape(view.notice) + "</p>\n";
  }
  html += "<form method=\"post\" action=\"" + std::string(kDeviceSetupPath) + "\">\n<table>\n";
  for (const auto& field : view.fields) {
    html += fieldRow(field);
  }
  const std::string log = client::kLogEnabledValue;
  html += "<tr><th><label for=\"" + log + "\">Diagnostic log</label></th><td>" +
          "<input type=\"hidden\" name=\"" + log + "\" value=\"0\">" +
          "<input type=\"checkbox\" id=\"" + log + "\" name=\"" + log + "\" value=\"1\"" +
          (view.logEnabled ? " checked" : "") + "> on" + errorSpan(log, view.logError) +
          "</td></tr>\n";
  html += row("Driver", view.connected ? "connected" : "not connected");
  html += row("Park position", htmlEscape(view.parkPosition));
  html += row("Controller library", htmlEscape(view.controllerLibrary));
  html += "</table>\n<button type=\"submit\">Save</button>\n</form>\n";
  html += "<p><a href=\"/paddle\">Hand paddle</a> &middot; <a href=\"" +
          std::string(kServerSetupPath) + "\">Server</a></p>\n";
  return html + kPageEnd;
}

std::string serverSetupPage(const ServerSetupView& view) {
  std::string html = pageStart("TRAMOX Alpaca server");
  html += "<table>\n";
  html += row("Address", htmlEscape(view.address));
  html += row("Port", std::to_string(view.port));
  html += row("Discovery", htmlEscape(view.discovery));
  html += row("Device", htmlEscape(view.driverName) + " (telescope 0)");
  html += row("UniqueID", htmlEscape(view.uniqueId));
  html += row("Driver", view.connected ? "connected" : "not connected");
  html += row("Connected clients", std::to_string(view.connectedClients));
  html += "</table>\n<ul>\n<li><a href=\"/paddle\">Hand paddle</a></li>\n<li><a href=\"" +
          std::string(kDeviceSetupPath) + "\">Telescope setup</a></li>\n</ul>\n";
  return html + kPageEnd;
}

}  // namespace tramox::web
