#include "alpaca/web/web_assets.h"

namespace tramox::web {

const WebAsset* findWebAsset(std::string_view path) {
  for (const auto& asset : webAssets()) {
    if (asset.path == path) {
      return &asset;
    }
  }
  return nullptr;
}

}  // namespace tramox::web
