#pragma once
// The pages' files, built into the program (alpaca/web/assets): nothing is read from disk and
// nothing is fetched from elsewhere.
#include <string_view>
#include <vector>

namespace tramox::web {

// Sent with every page and file: no inline script or style, nothing from elsewhere, no
// framing, forms post only here.
inline constexpr const char* kContentSecurityPolicy =
    "default-src 'none'; script-src 'self'; style-src 'self'; img-src 'self' data:; "
    "connect-src 'self'; form-action 'self'; frame-ancestors 'none'; base-uri 'none'";

struct WebAsset {
  std::string_view path;  // "/web/paddle.js"
  std::string_view contentType;
  std::string_view body;
};

const std::vector<WebAsset>& webAssets();
// nullptr when no asset has that path.
const WebAsset* findWebAsset(std::string_view path);

}  // namespace tramox::web
