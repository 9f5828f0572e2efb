#include "alpaca/http_message.h"

#include <utility>

namespace tramox::alpaca {

HttpResponse textResponse(int status, std::string text) {
  HttpResponse response;
  response.status = status;
  response.body = std::move(text);
  if (!response.body.empty() && response.body.back() != '\n')
    response.body += '\n';
  return response;
}

HttpResponse jsonResponse(std::string json) {
  HttpResponse response;
  response.contentType = "application/json; charset=utf-8";
  response.body = std::move(json);
  return response;
}

HttpResponse htmlResponse(std::string html) {
  HttpResponse response;
  response.contentType = "text/html; charset=utf-8";
  response.body = std::move(html);
  return response;
}

}  // namespace tramox::alpaca
