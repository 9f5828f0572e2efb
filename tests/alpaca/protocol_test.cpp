// The rules of the Alpaca protocol, checked over loopback HTTP against a running server.
#include <gtest/gtest.h>

#include <boost/asio/connect.hpp>
#include <boost/asio/ip/host_name.hpp>
#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/ip/udp.hpp>
#include <boost/asio/write.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <chrono>
#include <fstream>
#include <iterator>
#include <memory>
#include <regex>
#include <thread>
#include <utility>
#include <vector>

#include "alpaca/discovery.h"
#include "tests/alpaca/alpaca_server.h"

namespace tramox::alpaca::testing {
namespace {

class AlpacaProtocol : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { server_ = new AlpacaServer(); }
  static void TearDownTestSuite() {
    delete server_;
    server_ = nullptr;
  }
  static AlpacaServer& server() { return *server_; }

 private:
  static AlpacaServer* server_;
};
AlpacaServer* AlpacaProtocol::server_ = nullptr;

struct RequestCase {
  const char* method;
  std::string target;
  std::string form;  // PUT body
  int status;
};

TEST_F(AlpacaProtocol, RequestsAreUnderstoodOrRefusedWith4xx) {
  const std::string t = "/api/v1/telescope/";
  const RequestCase cases[] = {
      {"GET", t + "0/canpark", "", 200},
      {"GET", t + "0/axisrates?aXIS=0&clientid=1", "", 200},  // GET names in any casing
      {"PUT", t + "0/sitelatitude", "SiteLatitude=44.8&ClientID=1", 200},
      {"GET", "/api/v1/TELESCOPE/0/description", "", 400},
      {"GET", t + "0/Description", "", 400},
      {"GET", "/api/v1/camera/0/description", "", 400},
      {"GET", t + "-1/description", "", 400},
      {"GET", t + "1/description", "", 400},
      {"GET", t + "99999/description", "", 400},
      {"GET", t + "A/description", "", 400},
      {"GET", t + "00/description", "", 400},
      {"GET", t + "0/canpark/", "", 400},
      {"GET", t + "0/nosuchmember", "", 400},
      {"GET", t + "0/devicestate", "", 400},  // interface 4 only
      {"PUT", t + "0/connect", "", 400},
      {"PUT", t + "0/canpark", "", 400},
      {"GET", t + "0/park", "", 400},
      {"POST", t + "0/park", "", 400},
      {"PUT", t + "0/sitelatitude", "siteLatitude=44.8", 400},  // PUT names exactly cased
      {"PUT", t + "0/sitelatitude", "", 400},
      {"PUT", t + "0/sitelatitude", "SiteLatitude=asduio6fghZZ", 400},
      {"PUT", t + "0/tracking", "Tracking=yes", 400},
      {"PUT", t + "0/pulseguide", "Direction=0&Duration=1.5", 400},
      {"PUT", t + "0/utcdate", "UTCDate=yesterday", 400},
      {"GET", t + "0/axisrates?Axis=%ZZ", "", 400},  // broken escape
      {"GET", t + "0/axisrates?Axis=%FF", "", 400},  // not UTF-8
      {"GET", "/api/v2/telescope/0/canpark", "", 400},
  };
  for (const RequestCase& c : cases) {
    const HttpReply reply = std::string(c.method) == "PUT" ? server().put(c.target, c.form)
                            : std::string(c.method) == "GET"
                                ? server().get(c.target)
                                : server().raw(std::string(c.method) + " " + c.target +
                                               " HTTP/1.1\r\nHost: x\r\nContent-Length: 0\r\n\r\n");
    EXPECT_EQ(reply.status, c.status) << c.method << " " << c.target << " " << c.form;
    if (reply.status == 400) {
      EXPECT_TRUE(reply.contentType.starts_with("text/plain") && !reply.body.empty()) << c.target;
    }
  }
}

TEST_F(AlpacaProtocol, TransactionIdentifiersFollowTheRules) {
  struct Case {
    std::string parameters;
    bool put;
    long long echoed;
  } cases[] = {
      {"ClientTransactionID=123", false, 123},
      {"clienttransactionid=77", false, 77},  // any casing in a query
      {"ClientTransactionID=4294967295", false, 4294967295LL},
      {"ClientTransactionID=4294967296", false, 0},
      {"ClientTransactionID=", false, 0},
      {"ClientTransactionID=%20", false, 0},
      {"ClientTransactionID=-5", false, 0},
      {"ClientTransactionID=abc", false, 0},
      {"", false, 0},
      {"SiteElevation=100&ClientTransactionID=9", true, 9},
      {"SiteElevation=100&clienttransactionid=9", true, 0},  // mis-cased in a body: absent
  };
  long long lastServerId = 0;
  for (const Case& c : cases) {
    const nlohmann::json answer = c.put ? server().member("PUT", "siteelevation", c.parameters)
                                        : server().member("GET", "canpark", c.parameters);
    EXPECT_EQ(answer["ClientTransactionID"].get<long long>(), c.echoed) << c.parameters;
    const long long serverId = answer["ServerTransactionID"].get<long long>();
    EXPECT_GT(serverId, lastServerId);
    lastServerId = serverId;
  }
}

TEST_F(AlpacaProtocol, AnswersCarryExactlyTheFieldsOfTheProtocol) {
  const HttpReply ok = server().get(devicePath("canpark"));
  EXPECT_TRUE(ok.contentType.starts_with("application/json"));
  const nlohmann::json body = ok.json();
  std::vector<std::string> keys;
  for (const auto& item : body.items()) {
    keys.push_back(item.key());
  }
  // In the parser's (alphabetical) order.
  EXPECT_EQ(keys, (std::vector<std::string>{"ClientTransactionID", "ErrorMessage", "ErrorNumber",
                                            "ServerTransactionID", "Value"}));
  EXPECT_EQ(body["ErrorMessage"], "");

  // A GET that fails still carries Value; a PUT without a result carries none.
  const nlohmann::json failed = server().member("GET", "slewsettletime");
  EXPECT_NE(failed["ErrorNumber"], 0);
  EXPECT_TRUE(failed.contains("Value"));
  EXPECT_FALSE(failed["ErrorMessage"].get<std::string>().empty());
  EXPECT_FALSE(server().member("PUT", "abortslew").contains("Value"));
}

TEST_F(AlpacaProtocol, ValuesAreEncodedAsTheProtocolSays) {
  const nlohmann::json rates = server().member("GET", "axisrates", "Axis=0")["Value"];
  ASSERT_TRUE(rates.is_array() && !rates.empty());
  for (const auto& rate : rates) {
    EXPECT_GE(rate["Minimum"].get<double>(), 0.0);
    EXPECT_GE(rate["Maximum"].get<double>(), rate["Minimum"].get<double>());
  }
  const nlohmann::json trackingRates = server().member("GET", "trackingrates")["Value"];
  ASSERT_TRUE(trackingRates.is_array() && !trackingRates.empty());
  EXPECT_TRUE(trackingRates[0].is_number_integer());
  const std::string utc = server().member("GET", "utcdate")["Value"];
  EXPECT_TRUE(std::regex_match(utc, std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{7}Z)")))
      << utc;
  EXPECT_TRUE(server().member("GET", "alignmentmode")["Value"].is_number_integer());
  EXPECT_EQ(server().member("GET", "supportedactions")["Value"], nlohmann::json::array());
  EXPECT_EQ(server().member("PUT", "action", "Action=Dance&Parameters=")["ErrorNumber"], 0x40C);
}

TEST_F(AlpacaProtocol, ValuesAreReadInTheirInvariantForms) {
  server().member("PUT", "sitelatitude", "SiteLatitude=4.48e1");
  EXPECT_DOUBLE_EQ(server().member("GET", "sitelatitude")["Value"].get<double>(), 44.8);
  server().member("PUT", "siteelevation", "SiteElevation=%2B12.5");
  EXPECT_DOUBLE_EQ(server().member("GET", "siteelevation")["Value"].get<double>(), 12.5);
  // Booleans in any casing and dates in the forms clients write reach the driver (no 400).
  for (const char* flag : {"TRUE", "false", "True", "fAlSe"}) {
    EXPECT_NO_THROW(
        server().member("PUT", "doesrefraction", std::string("DoesRefraction=") + flag));
  }
  for (const char* date : {"2026-01-02T03:04:05Z", "2026-01-02T03:04:05.1234567Z",
                           "2026-01-02T03:04:05", "2026-01-02T03:04:05.5%2B02:00"}) {
    EXPECT_NO_THROW(server().member("PUT", "utcdate", std::string("UTCDate=") + date)) << date;
  }
  for (const char* date : {"2026-02-30T00:00:00Z", "2026-01-02", "2026-01-02T03:04:05.Z"}) {
    EXPECT_EQ(server().put(devicePath("utcdate"), std::string("UTCDate=") + date).status, 400)
        << date;
  }
}

TEST_F(AlpacaProtocol, ManagementApiDescribesTheServerAndItsTelescope) {
  EXPECT_EQ(server().get("/management/apiversions").json()["Value"], nlohmann::json::array({1}));
  const nlohmann::json description = server().get("/management/v1/description").json()["Value"];
  for (const char* field : {"ServerName", "Manufacturer", "ManufacturerVersion", "Location"}) {
    EXPECT_TRUE(description[field].is_string()) << field;
  }
  const nlohmann::json devices = server().get("/management/v1/configureddevices").json()["Value"];
  ASSERT_EQ(devices.size(), 1u);
  EXPECT_EQ(devices[0]["DeviceType"], "Telescope");
  EXPECT_EQ(devices[0]["DeviceNumber"], 0);
  EXPECT_TRUE(std::regex_match(
      devices[0]["UniqueID"].get<std::string>(),
      std::regex("[0-9a-f]{8}-[0-9a-f]{4}-4[0-9a-f]{3}-[89ab][0-9a-f]{3}-[0-9a-f]{12}")));
}

TEST_F(AlpacaProtocol, BadInputIsRefusedAndTheServerKeepsServing) {
  EXPECT_EQ(server().raw("GARBAGE\r\n\r\n").status, 400);
  EXPECT_EQ(server().raw("GET / HTTP/1.1\r\nBad Header\r\n\r\n").status, 400);
  EXPECT_EQ(server().put(devicePath("sitelatitude"), std::string(70 * 1024, 'x')).status, 413);
  EXPECT_EQ(server().get(devicePath("canpark") + "?x=" + std::string(9 * 1024, 'a')).status, 431);
  // A page of another site must not command the mount through the user's browser.
  const HttpReply crossSite =
      server().put(devicePath("abortslew"), "", "Origin: http://evil.example\r\n");
  EXPECT_EQ(crossSite.status, 403);
  // Nor through a name of its own pointed at this computer (DNS rebinding).
  const HttpReply rebound = server().raw("PUT " + devicePath("abortslew") +
                                         " HTTP/1.1\r\nHost: evil.example\r\nOrigin: "
                                         "http://evil.example\r\nContent-Length: 0\r\n\r\n");
  EXPECT_EQ(rebound.status, 403);
  const HttpReply preflight = server().raw(
      "OPTIONS " + devicePath("abortslew") +
      " HTTP/1.1\r\nHost: x\r\nOrigin: http://evil.example\r\nAccess-Control-Request-Method: "
      "PUT\r\n\r\n");
  EXPECT_EQ(preflight.headers.find("Access-Control-Allow"), std::string::npos);
  EXPECT_EQ(server().get(devicePath("canpark")).status, 200);
}

// A request head of exactly size bytes.
std::string headOfSize(std::size_t size) {
  const std::string start = "GET " + devicePath("canpark") + "?x=";
  const std::string end = " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
  return start + std::string(size - start.size() - end.size(), 'a') + end;
}

TEST_F(AlpacaProtocol, MethodsHostsAndHeadsAreCheckedExactly) {
  const std::string close = "Connection: close\r\n";
  const auto connect = [&](const std::string& body) {
    return "POST /paddle/connect HTTP/1.1\r\nHost: x\r\n" + close +
           "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
  };
  const struct {
    std::string request;
    int status;
    const char* allow;  // the Allow header a 405 carries
  } cases[] = {
      {headOfSize(8192), 200, ""},
      {headOfSize(8193), 431, ""},
      {"DELETE / HTTP/1.1\r\nHost: x\r\n" + close + "\r\n", 405, "GET"},
      {"PUT /paddle HTTP/1.1\r\nHost: x\r\n" + close + "Content-Length: 0\r\n\r\n", 405, "GET"},
      {"PATCH /web/paddle.js HTTP/1.1\r\nHost: x\r\n" + close + "\r\n", 405, "GET"},
      {"GET /paddle/event HTTP/1.1\r\nHost: x\r\n" + close + "\r\n", 405, "POST, PUT"},
      {"GET / HTTP/1.1\r\n" + close + "\r\n", 400, ""},
      {"GET / HTTP/1.1\r\nHost: x\r\nHost: y\r\n" + close + "\r\n", 400, ""},
      {"GET / HTTP/1.0\r\n\r\n", 200, ""},
      {connect(R"({"connected":true,"page":5})"), 400, ""},
      {connect(R"({"connected":true,"page":""})"), 400, ""},
      {connect(R"({"connected":true,"x":"p1"})"), 400, ""},
  };
  for (const auto& c : cases) {
    const HttpReply reply = server().raw(c.request);
    EXPECT_EQ(reply.status, c.status) << c.request.substr(0, 60);
    EXPECT_NE(reply.headers.find("X-Content-Type-Options: nosniff"), std::string::npos);
    if (c.status == 405) {
      EXPECT_NE(reply.headers.find(std::string("Allow: ") + c.allow + "\n"), std::string::npos)
          << reply.headers;
    }
  }
  // What a text answer echoes cannot break its line.
  const HttpReply echoed = server().put(devicePath("tracking"), "Tracking=%01%0Ayes");
  EXPECT_EQ(echoed.status, 400);
  EXPECT_NE(echoed.body.find("\\x01\\x0Ayes"), std::string::npos) << echoed.body;
}

TEST_F(AlpacaProtocol, DatesAfterTheLastAutomationDateAreInvalidValues) {
  for (const char* date : {"9999-12-31T23:59:59-05:00", "9999-12-31T23:59:59.9999999Z"}) {
    EXPECT_EQ(server().member("PUT", "utcdate", std::string("UTCDate=") + date)["ErrorNumber"],
              0x401)
        << date;
  }
}

TEST_F(AlpacaProtocol, OnlyNamesNoOtherSiteCanPointHereMayCommandFromAPage) {
  if (AlpacaServer::external()) {
    GTEST_SKIP() << "needs a server trusting a proxy's name";
  }
  AlpacaServer proxied("", "--trusted-host proxy.example");
  boost::system::error_code ec;
  const std::string own = boost::asio::ip::host_name(ec);
  const std::string port = ":" + std::to_string(proxied.port());
  const struct {
    std::string host;
    std::string origin;  // empty: no Origin header
    int status;
  } cases[] = {
      {"127.0.0.1" + port, "", 200},
      {"localhost" + port, "http://localhost" + port, 200},
      {"127.0.0.1" + port, "http://127.0.0.1" + port, 200},
      {"[::1]" + port, "http://[::1]" + port, 200},
      {own + port, "http://" + own + port, 200},
      {own + ".local" + port, "http://" + own + ".local" + port, 200},
      {"proxy.example", "https://proxy.example", 200},
      {own + ".evil.example" + port, "http://" + own + ".evil.example" + port, 403},
      {"localhost.evil.example" + port, "http://localhost.evil.example" + port, 403},
      {"127.0.0.1.nip.io" + port, "http://127.0.0.1.nip.io" + port, 403},
      {"localhost" + port, "https://localhost" + port, 403},
  };
  for (const auto& c : cases) {
    const std::string origin = c.origin.empty() ? "" : "Origin: " + c.origin + "\r\n";
    const HttpReply reply =
        proxied.raw("PUT " + devicePath("abortslew") + " HTTP/1.1\r\nHost: " + c.host + "\r\n" +
                    origin + "Connection: close\r\nContent-Length: 0\r\n\r\n");
    EXPECT_EQ(reply.status, c.status) << c.host << " from " << c.origin;
  }
}

TEST(AlpacaPages, AMessageWithBytesThatAreNotUtf8StillReachesEveryPage) {
  if (AlpacaServer::external()) {
    GTEST_SKIP() << "writes the settings of a server of its own";
  }
  AlpacaServer server;
  std::ofstream(server.home() / "HKCU.reg")
      << "Windows Registry Editor Version 5.00\n\n[HKEY_CURRENT_USER\\SOFTWARE\\TRAMOX]\n"
         "\"Latitude\"=hex:\xff\n";
  const std::string body = R"({"connected":true,"page":"p1"})";
  const HttpReply connected = server.raw(
      "POST /paddle/connect HTTP/1.1\r\nHost: x\r\nConnection: close\r\n"
      "Content-Length: " +
      std::to_string(body.size()) + "\r\n\r\n" + body);
  ASSERT_EQ(connected.status, 200);
  EXPECT_NE(connected.json()["dialogs"][0]["text"].get<std::string>().find("\xEF\xBF\xBD"),
            std::string::npos);
  const HttpReply waiting = server.get("/paddle/state?version=0&dialog=0");
  ASSERT_EQ(waiting.status, 200);
  EXPECT_EQ(waiting.json()["dialogs"].size(), 1u);
}

// A GET of canpark from a loopback address of the test's choosing; 0 when not answered.
int statusFrom(const AlpacaServer& server, const char* source) {
  namespace ip = boost::asio::ip;
  boost::asio::io_context io;
  boost::beast::tcp_stream stream(io);
  boost::system::error_code ec;
  stream.socket().open(ip::tcp::v4(), ec);
  stream.socket().bind(ip::tcp::endpoint(ip::make_address(source), 0), ec);
  stream.connect(ip::tcp::endpoint(ip::make_address(server.host()), server.port()), ec);
  stream.expires_after(std::chrono::seconds(5));
  const std::string request =
      "GET " + devicePath("canpark") + " HTTP/1.1\r\nHost: x\r\nConnection: close\r\n\r\n";
  boost::asio::write(stream, boost::asio::buffer(request), ec);
  boost::beast::flat_buffer buffer;
  boost::beast::http::response<boost::beast::http::string_body> response;
  boost::beast::http::read(stream, buffer, response, ec);
  return ec ? 0 : static_cast<int>(response.result_int());
}

TEST(AlpacaLimits, SilentConnectionsFromSomePeersLeaveRoomForOthers) {
  if (AlpacaServer::external()) {
    GTEST_SKIP() << "needs a server under a small descriptor limit";
  }
  AlpacaServer server("", "", 64);
  std::ifstream limits("/proc/" + std::to_string(server.pid()) + "/limits");
  const std::string text((std::istreambuf_iterator<char>(limits)), {});
  EXPECT_TRUE(std::regex_search(text, std::regex(R"(Max open files\s+64\s+64)"))) << text;
  namespace ip = boost::asio::ip;
  boost::asio::io_context io;
  std::vector<std::unique_ptr<ip::tcp::socket>> silent;
  for (const auto& [source, count] : {std::pair{"127.0.0.1", 20}, std::pair{"127.0.0.2", 20}}) {
    for (int i = 0; i < count; ++i) {
      auto socket =
          std::make_unique<ip::tcp::socket>(io, ip::tcp::endpoint(ip::make_address(source), 0));
      socket->connect(ip::tcp::endpoint(ip::make_address(server.host()), server.port()));
      silent.push_back(std::move(socket));
    }
  }
  EXPECT_EQ(statusFrom(server, "127.0.0.3"), 200);
  EXPECT_NE(statusFrom(server, "127.0.0.1"), 200);
}

TEST_F(AlpacaProtocol, IdleConnectionsDoNotBlockOtherClients) {
  boost::asio::io_context io;
  std::vector<std::unique_ptr<boost::asio::ip::tcp::socket>> idle;
  const boost::asio::ip::tcp::endpoint endpoint(boost::asio::ip::make_address(server().host()),
                                                server().port());
  for (int i = 0; i < 500; ++i) {
    idle.push_back(std::make_unique<boost::asio::ip::tcp::socket>(io));
    idle.back()->connect(endpoint);
  }
  // Served, not kept waiting until the server closes the idle ones (after 30 s): the bound
  // tells the two apart on however loaded a machine, it is no speed goal.
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(server().get(devicePath("canpark")).status, 200);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

TEST_F(AlpacaProtocol, SetupPagesNameTheDeviceAndItsState) {
  for (const char* path : {"/setup", "/setup/v1/telescope/0/setup"}) {
    const HttpReply page = server().get(path);
    EXPECT_EQ(page.status, 200) << path;
    EXPECT_TRUE(page.contentType.starts_with("text/html")) << path;
    EXPECT_NE(page.body.find("connected"), std::string::npos) << path;
  }
}

// Stored from the setup page, refused values shown beside the field with the driver's message.
TEST_F(AlpacaProtocol, SetupPageStoresTheGuideRateTheMembersAnswer) {
  const std::string setup = "/setup/v1/telescope/0/setup";
  const HttpReply refused = server().put(setup, "GuideRate=3");
  EXPECT_NE(refused.body.find("id=\"GuideRate-error\""), std::string::npos);
  EXPECT_NE(refused.body.find("Guide rate must be in the range ]0,2]"), std::string::npos);
  EXPECT_NE(server().put(setup, "GuideRate=0.5").body.find("Saved."), std::string::npos);
  const auto answer = nlohmann::json::parse(server().get(devicePath("guideratedeclination")).body);
  EXPECT_DOUBLE_EQ(answer["Value"].get<double>(), 0.5 * 15.041067 / 3600.0);
}

TEST(AlpacaDiscovery, OnlySendersThatCouldReachTheServerAreAnswered) {
  struct Case {
    const char* bind;
    const char* sender;
    bool answered;
  } cases[] = {
      {"127.0.0.1", "127.0.0.1", true},
      {"127.0.0.1", "192.168.1.20", false},
      {"::1", "::1", true},
      {"::1", "fe80::1", false},
      {"0.0.0.0", "192.168.1.20", true},
      {"0.0.0.0", "fe80::1", false},
      {"::", "192.168.1.20", true},
      {"::", "fe80::1", true},
      {"192.168.1.5", "10.0.0.7", true},
      {"127.0.0.1", "::ffff:127.0.0.1", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(couldReach(c.bind, c.sender), c.answered) << c.bind << " <- " << c.sender;
  }
}

// Discovery, on a port of the test's choosing: loopback senders learn the HTTP port.
TEST(AlpacaDiscovery, LoopbackSenderLearnsThePort) {
  if (AlpacaServer::external()) {
    GTEST_SKIP() << "needs a server of its own";
  }
  namespace ip = boost::asio::ip;
  boost::asio::io_context io;
  ip::udp::socket client(io, ip::udp::endpoint(ip::udp::v4(), 0));
  std::uint16_t port = 0;
  {
    ip::udp::socket probe(io, ip::udp::endpoint(ip::udp::v4(), 0));
    port = probe.local_endpoint().port();
  }
  AlpacaServer server("", "--discovery-port " + std::to_string(port));
  EXPECT_EQ(server.discoveryLine(), "Discovery on UDP port " + std::to_string(port));
  client.send_to(boost::asio::buffer(std::string("alpacadiscovery1")),
                 ip::udp::endpoint(ip::make_address("127.0.0.1"), port));
  char answer[128] = {};
  ip::udp::endpoint from;
  std::size_t size = 0;
  client.non_blocking(true);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(3);
  boost::system::error_code ec = boost::asio::error::would_block;
  while (ec == boost::asio::error::would_block && std::chrono::steady_clock::now() < deadline) {
    size = client.receive_from(boost::asio::buffer(answer), from, 0, ec);
    if (ec == boost::asio::error::would_block) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  }
  ASSERT_FALSE(ec) << ec.message();
  EXPECT_EQ(nlohmann::json::parse(std::string(answer, size))["AlpacaPort"], server.port());
  // Bound to the HTTP server's loopback address alone, so the port stays free elsewhere.
  ip::udp::socket beside(io, ip::udp::v4());
  beside.bind(ip::udp::endpoint(ip::make_address("127.0.0.2"), port), ec);
  EXPECT_FALSE(ec) << ec.message();
}

}  // namespace
}  // namespace tramox::alpaca::testing
