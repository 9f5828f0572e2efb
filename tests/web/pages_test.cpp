// The pages as text: values escaped, refusals beside their field, and assets that load
// nothing from elsewhere.
#include <gtest/gtest.h>

#include <string>

#include "alpaca/web/setup_pages.h"
#include "alpaca/web/web_assets.h"

namespace tramox::web {
namespace {

TEST(SetupPagesTest, EveryValueIsEscapedAndARefusalShowsBesideItsField) {
  DeviceSetupView view;
  view.fields = {
      {"SiteLatitude", "Latitude", "degrees", "100", "Latitude must be in the range [-90°,90°]"},
      {"SiteLongitude", "Longitude", "degrees", "\"><script>x</script>", ""}};
  view.controllerLibrary = "/opt/<lib>.so";
  view.parkPosition = "a & b";
  const std::string page = deviceSetupPage(view);
  EXPECT_NE(page.find("<span class=\"field-error\" id=\"SiteLatitude-error\" role=\"alert\">"
                      "Latitude must be in the range [-90°,90°]</span>"),
            std::string::npos);
  EXPECT_EQ(page.find("<script>"), std::string::npos);
  EXPECT_NE(page.find("value=\"&quot;&gt;&lt;script&gt;x&lt;/script&gt;\""), std::string::npos);
  EXPECT_NE(page.find("/opt/&lt;lib&gt;.so"), std::string::npos);
  EXPECT_NE(page.find("a &amp; b"), std::string::npos);
  EXPECT_NE(page.find("<form method=\"post\" action=\"/setup/v1/telescope/0/setup\">"),
            std::string::npos);

  ServerSetupView server;
  server.uniqueId = "<id>";
  EXPECT_NE(serverSetupPage(server).find("&lt;id&gt;"), std::string::npos);
}

TEST(WebAssetsTest, ThePagesFilesAreBuiltInAndReferToNothingElsewhere) {
  for (const char* path : {"/web/paddle.html", "/web/paddle.js", "/web/style.css"}) {
    const WebAsset* asset = findWebAsset(path);
    ASSERT_NE(asset, nullptr) << path;
    EXPECT_GT(asset->body.size(), 100u) << path;
    EXPECT_EQ(asset->body.find("//cdn"), std::string_view::npos) << path;
    EXPECT_EQ(asset->body.find("https://"), std::string_view::npos) << path;
  }
  EXPECT_EQ(findWebAsset("/web/missing.js"), nullptr);
}

}  // namespace
}  // namespace tramox::web
