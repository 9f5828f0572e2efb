#include "alpaca/http_message.h"

#include <utility>

#include "alpaca/utf8_text.h"

namespace tramox::alpaca {

HttpMethod methodNamed(std::string_view name) {
  if (name == "GET") {
    return HttpMethod::Get;
  }
  if (name == "PUT") {
    return HttpMethod::Put;
  }
  if (name == "POST") {
    return HttpMethod::Post;
  }
  return HttpMethod::Other;
}

HttpResponse textResponse(int status, std::string_view text) {
  HttpResponse response;
  response.status = status;
  response.body = printableText(text) + '\n';
  return response;
}

HttpResponse htmlResponse(std::string html) {
  HttpResponse response;
  response.contentType = "text/html; charset=utf-8";
  response.body = std::move(html);
  return response;
}

HttpResponse methodNotAllowed(const std::string& allow) {
  HttpResponse response = textResponse(405, "This path takes only " + allow);
  response.headers.emplace_back("Allow", allow);
  return response;
}

}  // namespace tramox::alpaca
