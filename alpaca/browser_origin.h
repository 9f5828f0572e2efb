#pragma once
// Whether a request that a browser sent on behalf of a web page may reach the mount. Other
// clients send no Origin header and always may. A page may only command the server it was
// loaded from, and only under a name that no outside site can make point here (an address,
// "localhost" or this computer's own name): this shuts out cross-site requests and DNS
// rebinding alike, without any CORS allowance.
#include <string>
#include <string_view>

namespace tramox::alpaca {

// origin: the Origin header (empty when absent); host: the Host header; ownName: this
// computer's host name.
bool mayCommand(std::string_view origin, std::string_view host, std::string_view ownName);
// The same with this computer's host name.
bool mayCommand(std::string_view origin, std::string_view host);

}  // namespace tramox::alpaca
