#pragma once
// A `tramox --sim serve` of the test's own, in a TRAMOX_HOME of its own, reached over
// loopback HTTP; or, when TRAMOX_ALPACA_SERVER names HOST:PORT, a server already running
// there (the Windows build under Wine), for the tests that need no particular simulator.
#include <sys/types.h>

#include <cstdint>
#include <filesystem>
#include <string>

#include <nlohmann/json.hpp>

namespace tramox::alpaca::testing {

struct HttpReply {
  int status = 0;
  std::string contentType;
  std::string body;
  std::string headers;  // every header line, for the few tests that look at one
  nlohmann::json json() const { return nlohmann::json::parse(body); }
};

class AlpacaServer {
 public:
  // simulator: TRAMOX_SIM for the spawned server; the saved mount state is ignored.
  // descriptors: when above 0, the server starts with that hard limit of open descriptors and
  // a lower soft one.
  explicit AlpacaServer(const std::string& simulator = "", const std::string& extraArgs = "",
                        int descriptors = 0);
  ~AlpacaServer();
  AlpacaServer(const AlpacaServer&) = delete;
  AlpacaServer& operator=(const AlpacaServer&) = delete;

  // True when the tests talk to a server they did not start.
  static bool external();

  HttpReply get(const std::string& target) const;
  HttpReply put(const std::string& target, const std::string& form,
                const std::string& extraHeaders = "") const;
  // Sends these bytes as they are and reads one answer (status 0 when the server closed).
  HttpReply raw(const std::string& bytes) const;

  // A device member: GET with the parameters as a query, PUT with them as a form body.
  nlohmann::json member(const std::string& method, const std::string& name,
                        const std::string& parameters = "") const;

  // SIGTERM, then the exit status (-1 when it did not end within the limit).
  int stop(double limitSeconds = 5.0);
  const std::string& host() const { return host_; }
  std::uint16_t port() const { return port_; }
  pid_t pid() const { return pid_; }
  const std::filesystem::path& home() const { return home_; }
  // The first line printed after the address line.
  const std::string& discoveryLine() const { return discoveryLine_; }
  // The next line the server prints (empty once it has ended).
  std::string nextLine();

 private:
  std::string host_ = "127.0.0.1";
  std::uint16_t port_ = 0;
  std::filesystem::path home_;
  std::string discoveryLine_;
  pid_t pid_ = -1;
  int output_ = -1;
};

// The path of a telescope-0 member.
std::string devicePath(const std::string& member);

}  // namespace tramox::alpaca::testing
