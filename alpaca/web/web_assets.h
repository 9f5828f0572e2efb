#pragma once
// The pages' files, built into the program (alpaca/web/assets): nothing is read from disk and
// nothing is fetched from elsewhere.
#include <string_view>
#include <vector>

namespace tramox::web {

struct WebAsset {
  std::string_view path;  // "/web/paddle.js"
  std::string_view contentType;
  std::string_view body;
};

const std::vector<WebAsset>& webAssets();
// nullptr when no asset has that path.
const WebAsset* findWebAsset(std::string_view path);

}  // namespace tramox::web
