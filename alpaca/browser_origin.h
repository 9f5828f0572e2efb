#pragma once
// Whether a request that a browser sent on behalf of a web page may reach the mount. Other
// clients send no Origin header and always may. A page may only command the server it was
// loaded from, and only under a name that no outside site can make point here: an address,
// "localhost", this computer's own name alone or as NAME.local (names under any other domain
// can be rebound by whoever owns that domain), or a name the user trusts because a reverse
// proxy of theirs forwards it (reached through https:// as well). This shuts out cross-site
// requests and DNS rebinding alike, without any CORS allowance.
#include <string>
#include <string_view>
#include <vector>

namespace tramox::alpaca {

struct OriginRule {
  std::string ownName;                    // this computer's host name
  std::vector<std::string> trustedHosts;  // names given with --trusted-host
};

// The rule with this computer's host name.
OriginRule localOriginRule(std::vector<std::string> trustedHosts = {});

// origin: the Origin header (empty when absent); host: the Host header.
bool mayCommand(std::string_view origin, std::string_view host, const OriginRule& rule);

}  // namespace tramox::alpaca
