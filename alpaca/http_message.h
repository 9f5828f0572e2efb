#pragma once
// A request and its answer as the Alpaca handlers see them: plain values, free of the HTTP
// library, so that handlers and their tests need no network code.
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tramox::alpaca {

enum class HttpMethod { Get, Put, Post, Other };

// The method a request line names (methods are case-sensitive): Other for any the handlers
// do not take.
HttpMethod methodNamed(std::string_view name);

struct HttpRequest {
  HttpMethod method = HttpMethod::Other;
  std::string methodName;  // as sent, for messages
  std::string path;        // the target before '?', still percent-encoded
  std::string query;       // after '?', without it
  std::string contentType;
  std::string body;
  std::string host;    // the Host header
  std::string origin;  // the Origin header a browser adds; empty otherwise
  std::string remoteAddress;
};

struct HttpResponse {
  int status = 200;
  std::string contentType = "text/plain; charset=utf-8";
  std::string body;
  // Further header fields (name, value), e.g. the pages' security policy.
  std::vector<std::pair<std::string, std::string>> headers;
};

// The text as one line, control bytes and bytes that are not UTF-8 escaped: it often echoes
// what the client sent.
HttpResponse textResponse(int status, std::string_view text);
HttpResponse htmlResponse(std::string html);
// 405, with the methods the path takes ("GET" or "POST, PUT") in Allow.
HttpResponse methodNotAllowed(const std::string& allow);

// Called exactly once per request, from any thread; the connection answers when it is called.
using Reply = std::function<void(HttpResponse)>;

}  // namespace tramox::alpaca
