#pragma once
// The HTML pages a person opens with a browser: the server's (/setup) and the telescope's
// (/setup/v1/telescope/0/setup). They name the device and say whether it is connected.
#include "alpaca/driver_host.h"
#include "alpaca/route_table.h"

namespace tramox::alpaca {

void addSetupPages(RouteTable& routes, DriverHost& host);

}  // namespace tramox::alpaca
