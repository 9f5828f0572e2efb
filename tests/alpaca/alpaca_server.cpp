#include "tests/alpaca/alpaca_server.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <boost/asio/connect.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/write.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <thread>

namespace tramox::alpaca::testing {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = asio::ip::tcp;

namespace {

std::string readLine(int fd) {
  std::string line;
  char c = 0;
  while (::read(fd, &c, 1) == 1 && c != '\n') {
    line += c;
  }
  return line;
}

}  // namespace

bool AlpacaServer::external() {
  return std::getenv("TRAMOX_ALPACA_SERVER") != nullptr;
}

AlpacaServer::AlpacaServer(const std::string& simulator, const std::string& extraArgs,
                           int descriptors) {
  if (const char* address = std::getenv("TRAMOX_ALPACA_SERVER")) {
    const std::string text(address);
    const auto colon = text.rfind(':');
    host_ = text.substr(0, colon);
    port_ = static_cast<std::uint16_t>(std::stoi(text.substr(colon + 1)));
    return;
  }
  char folder[] = "/tmp/tramox-alpaca-XXXXXX";
  if (!::mkdtemp(folder)) {
    throw std::runtime_error("mkdtemp failed");
  }
  home_ = folder;
  int pipeFds[2];
  if (::pipe(pipeFds) != 0) {
    throw std::runtime_error("pipe failed");
  }
  const std::string command = std::string("exec '") + TRAMOX_CLIENT +
                              "' --sim serve --port 0 --discovery-port 0 " + extraArgs;
  const std::string settings = "reset=1" + (simulator.empty() ? "" : "," + simulator);
  pid_ = ::fork();
  if (pid_ == 0) {
    // A test that crashes must not leave its server behind.
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    if (descriptors > 0) {
      const rlimit limit{static_cast<rlim_t>(descriptors / 2), static_cast<rlim_t>(descriptors)};
      ::setrlimit(RLIMIT_NOFILE, &limit);
    }
    ::dup2(pipeFds[1], STDOUT_FILENO);
    ::close(pipeFds[0]);
    ::close(pipeFds[1]);
    ::setenv("TRAMOX_HOME", folder, 1);
    ::setenv("TRAMOX_SIM", settings.c_str(), 1);
    ::execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
    ::_exit(127);
  }
  ::close(pipeFds[1]);
  output_ = pipeFds[0];
  const std::string first = readLine(output_);
  const auto colon = first.rfind(':');
  if (first.rfind("Alpaca server on http://", 0) != 0 || colon == std::string::npos) {
    throw std::runtime_error("the server did not start: '" + first + "'");
  }
  port_ = static_cast<std::uint16_t>(std::stoi(first.substr(colon + 1)));
  discoveryLine_ = readLine(output_);
}

AlpacaServer::~AlpacaServer() {
  stop();
  if (!home_.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(home_, ignored);
  }
}

int AlpacaServer::stop(double limitSeconds) {
  if (pid_ <= 0) {
    return -1;
  }
  ::kill(pid_, SIGTERM);
  const auto deadline =
      std::chrono::steady_clock::now() + std::chrono::duration<double>(limitSeconds);
  int status = 0;
  while (::waitpid(pid_, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      ::kill(pid_, SIGKILL);
      ::waitpid(pid_, &status, 0);
      pid_ = -1;
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  pid_ = -1;
  ::close(output_);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string AlpacaServer::nextLine() {
  return readLine(output_);
}

HttpReply AlpacaServer::raw(const std::string& bytes) const {
  asio::io_context io;
  beast::tcp_stream stream(io);
  stream.connect(tcp::endpoint(asio::ip::make_address(host_), port_));
  stream.expires_after(std::chrono::seconds(120));
  asio::write(stream, asio::buffer(bytes));
  beast::flat_buffer buffer;
  http::response_parser<http::string_body> parser;
  parser.body_limit(1 << 20);
  beast::error_code ec;
  http::read(stream, buffer, parser, ec);
  HttpReply reply;
  if (ec) {
    return reply;
  }
  const auto& message = parser.get();
  reply.status = static_cast<int>(message.result_int());
  reply.contentType = std::string(message[http::field::content_type]);
  reply.body = message.body();
  for (const auto& field : message) {
    reply.headers += std::string(field.name_string()) + ": " + std::string(field.value()) + "\n";
  }
  return reply;
}

HttpReply AlpacaServer::get(const std::string& target) const {
  return raw("GET " + target + " HTTP/1.1\r\nHost: " + host_ + "\r\nConnection: close\r\n\r\n");
}

HttpReply AlpacaServer::put(const std::string& target, const std::string& form,
                            const std::string& extraHeaders) const {
  return raw("PUT " + target + " HTTP/1.1\r\nHost: " + host_ +
             "\r\nConnection: close\r\nContent-Type: application/x-www-form-urlencoded\r\n" +
             extraHeaders + "Content-Length: " + std::to_string(form.size()) + "\r\n\r\n" + form);
}

nlohmann::json AlpacaServer::member(const std::string& method, const std::string& name,
                                    const std::string& parameters) const {
  const HttpReply reply = method == "GET"
                              ? get(devicePath(name) + (parameters.empty() ? "" : "?" + parameters))
                              : put(devicePath(name), parameters);
  if (reply.status != 200) {
    throw std::runtime_error(method + " " + name + " answered " + std::to_string(reply.status) +
                             ": " + reply.body);
  }
  return reply.json();
}

std::string devicePath(const std::string& member) {
  return "/api/v1/telescope/0/" + member;
}

}  // namespace tramox::alpaca::testing
