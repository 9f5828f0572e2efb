#pragma once
// The device API v1 of telescope 0: checks a request against the rules of the protocol,
// answers 400 with the reason for anything it cannot understand, and queues the member's call
// for the driver thread.
#include <cstdint>
#include <set>

#include "alpaca/alpaca_answer.h"
#include "alpaca/device_members.h"
#include "alpaca/driver_host.h"
#include "alpaca/route_table.h"

namespace tramox::alpaca {

inline constexpr const char* kDeviceApiPrefix = "/api/";

class DeviceApi {
 public:
  DeviceApi(DriverHost& host, AnswerWriter& answers) : host_(host), answers_(answers) {}

  void addRoutes(RouteTable& routes);
  void handle(const HttpRequest& request, Reply reply);

  // On the driver thread: Connected set by one client (the web pages count as one); the mount
  // stays connected while any client that connected it has not let it go.
  Answer connect(DriverAccess& access, bool connect, std::uint32_t clientId);
  // On the driver thread: the clients that have the mount connected.
  std::size_t connectedClientCount() const { return connectedClients_.size(); }

 private:
  void call(const DeviceMember& member, std::vector<client::Value> arguments,
            std::uint32_t clientId, std::uint32_t clientTransactionId, Reply reply);
  // On the driver thread.
  Answer answer(DriverAccess& access, const DeviceMember& member,
                const std::vector<client::Value>& arguments, std::uint32_t clientId);

  DriverHost& host_;
  AnswerWriter& answers_;
  // Clients that set Connected true and not yet false; 0 stands for every client without an
  // identifier. Only touched on the driver thread.
  std::set<std::uint32_t> connectedClients_;
};

}  // namespace tramox::alpaca
