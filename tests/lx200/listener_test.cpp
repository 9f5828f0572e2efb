// The LX200 listener's edges over raw sockets, against a `tramox --sim serve --lx200-port` of
// each test's own: precision, framing across segments, what it does not know, several
// clients, and the stops for a client that goes or falls silent while moving.
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <regex>
#include <stdexcept>
#include <string>
#include <thread>

#include "tests/alpaca/journaled_server.h"

namespace tramox::lx200 {
namespace {

using alpaca::testing::AlpacaServer;
using alpaca::testing::JournaledServer;
using Clock = std::chrono::steady_clock;

// Reads what the server prints until the LX200 line, and its port.
std::uint16_t lx200Port(AlpacaServer& server) {
  for (std::string line = server.nextLine(); !line.empty(); line = server.nextLine()) {
    if (line.rfind("LX200 on TCP port ", 0) == 0) {
      return static_cast<std::uint16_t>(std::stoi(line.substr(18)));
    }
  }
  throw std::runtime_error("the server printed no LX200 line");
}

class Lx200Client {
 public:
  explicit Lx200Client(std::uint16_t port) : fd_(::socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const timeval limit{3, 0};
    const int on = 1;
    ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    if (::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
      throw std::runtime_error("cannot connect to the LX200 port");
    }
  }
  ~Lx200Client() { close(); }
  Lx200Client(const Lx200Client&) = delete;
  Lx200Client& operator=(const Lx200Client&) = delete;

  void send(const std::string& bytes) const {
    ASSERT_EQ(::write(fd_, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }
  // Exactly count bytes, or what came before the time-out.
  std::string read(std::size_t count) const {
    std::string text;
    char c = 0;
    while (text.size() < count && ::read(fd_, &c, 1) == 1) {
      text += c;
    }
    return text;
  }
  // Up to and with the hashes-th '#'.
  std::string readAnswers(int hashes = 1) const {
    std::string text;
    char c = 0;
    while (hashes > 0 && ::read(fd_, &c, 1) == 1) {
      text += c;
      hashes -= c == '#';
    }
    return text;
  }
  std::string ask(const std::string& command, int hashes = 1) const {
    send(command);
    return readAnswers(hashes);
  }
  void close() {
    if (fd_ >= 0) {
      ::close(fd_);
    }
    fd_ = -1;
  }

 private:
  int fd_;
};

const std::regex kHighRa(R"(\d\d:\d\d:\d\d#)");
const std::regex kLowRa(R"(\d\d:\d\d\.\d#)");
const std::regex kHighDec(R"([+-]\d\d\*\d\d:\d\d#)");

// Whether the journal shows, after the last MoveEngineDevice_DLL, the stop of that axis,
// within the limit.
bool axisStopsWithin(const JournaledServer& server, const std::string& stop, double seconds) {
  const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
  do {
    const std::vector<std::string> lines = server.journal();
    const auto moved = std::find_if(lines.rbegin(), lines.rend(), [](const std::string& line) {
      return line.rfind("MoveEngineDevice_DLL", 0) == 0;
    });
    if (moved != lines.rend() && std::find(lines.rbegin(), moved, stop) != moved) {
      return true;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  } while (Clock::now() < deadline);
  return false;
}

bool skipExternal() {
  return AlpacaServer::external();
}

TEST(Lx200Listener, TogglesPrecisionAndFramesCommandsAcrossSegments) {
  if (skipExternal()) {
    GTEST_SKIP() << "needs a server of its own";
  }
  AlpacaServer server("", "--lx200-port 0");
  Lx200Client client(lx200Port(server));
  EXPECT_TRUE(std::regex_match(client.ask(":GR#"), kHighRa));
  EXPECT_EQ(client.ask(":U#:Gc#"), "24#");
  EXPECT_TRUE(std::regex_match(client.ask(":GR#"), kLowRa));
  client.send(":U#");
  // One command in three segments, then two in one, each answered in order.
  client.send(":G");
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  client.send("R");
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_TRUE(std::regex_match(client.ask("#"), kHighRa));
  const std::string both = client.ask(":GR#:GD#", 2);
  const auto split = both.find('#') + 1;
  EXPECT_TRUE(std::regex_match(both.substr(0, split), kHighRa)) << both;
  EXPECT_TRUE(std::regex_match(both.substr(split), kHighDec)) << both;
}

// What the listener cannot use is answered as the convention expects, and the stream stays
// in step: unknown commands get nothing, malformed settings '0'.
TEST(Lx200Listener, AnswersMalformedAndUnknownCommandsAndStaysInStep) {
  if (skipExternal()) {
    GTEST_SKIP() << "needs a server of its own";
  }
  AlpacaServer server("", "--lx200-port 0");
  Lx200Client client(lx200Port(server));
  client.send(":XYZ#:G#" + std::string(200, 'A') + "#stray#:Sr25:00:00#:Srabc#:Sd+91*00#");
  client.send(":St+47*99#:SG+99#:SC13/40/26#:ST50.0#:Mx#:Mgq0100#:Gc#");
  EXPECT_EQ(client.readAnswers(),
            "0000000"
            "24#");
  EXPECT_EQ(client.ask("\x06"
                       ":Gc#"),
            "P24#");
}

// Each client counts while its socket is open: the first connects the mount, the last to go
// disconnects it.
TEST(Lx200Listener, ServesTwoClientsAndCountsEachAsConnected) {
  if (skipExternal()) {
    GTEST_SKIP() << "needs a server of its own";
  }
  AlpacaServer server("", "--lx200-port 0");
  const std::uint16_t port = lx200Port(server);
  auto connected = [&] { return server.member("GET", "connected")["Value"].get<bool>(); };
  Lx200Client first(port);
  Lx200Client second(port);
  EXPECT_TRUE(std::regex_match(first.ask(":GR#"), kHighRa));
  EXPECT_TRUE(std::regex_match(second.ask(":GD#"), kHighDec));
  EXPECT_TRUE(connected());
  first.close();
  EXPECT_TRUE(std::regex_match(second.ask(":GR#"), kHighRa));
  EXPECT_TRUE(connected());
  second.close();
  const auto deadline = Clock::now() + std::chrono::seconds(3);
  while (connected() && Clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  EXPECT_FALSE(connected());
}

struct StopCase {
  const char* name;
  enum { kDrop, kSilence, kLeave } how;
};

// A direction a client set moving stops when its connection drops, when nothing has come from
// it for the silence limit (not before), and when the server leaves.
TEST(Lx200Listener, StopsTheDirectionOfAClientThatGoesOrFallsSilent) {
  if (skipExternal()) {
    GTEST_SKIP() << "needs a server of its own";
  }
  for (const StopCase& c :
       {StopCase{"dropped", StopCase::kDrop}, StopCase{"silent", StopCase::kSilence},
        StopCase{"server leaves", StopCase::kLeave}}) {
    JournaledServer server("", "--lx200-port 0");
    Lx200Client client(lx200Port(*server));
    client.ask(":GR#");
    client.send(":RS#:Mn#");
    const auto started = Clock::now();
    ASSERT_EQ(client.ask(":Gc#"), "24#") << c.name;
    if (c.how == StopCase::kDrop) {
      client.close();
      EXPECT_TRUE(axisStopsWithin(server, "StopTelescopeEngineDevice_DLL 0 1", 2.0)) << c.name;
    } else if (c.how == StopCase::kLeave) {
      EXPECT_EQ(server->stop(), 0);
      EXPECT_TRUE(axisStopsWithin(server, "StopTelescopeEngineDevice_DLL 0 1", 0.0)) << c.name;
    } else {
      EXPECT_FALSE(axisStopsWithin(server, "StopTelescopeEngineDevice_DLL 0 1", 3.5)) << c.name;
      EXPECT_TRUE(axisStopsWithin(server, "StopTelescopeEngineDevice_DLL 0 1", 4.0)) << c.name;
      const std::chrono::duration<double> after = Clock::now() - started;
      EXPECT_GE(after.count(), 4.9) << c.name;
    }
  }
}

}  // namespace
}  // namespace tramox::lx200
