// The full stop the error box adds after a message whose last character is above '.'.
#include <gtest/gtest.h>

#include "paddle/error_box_text.h"

namespace tramox::paddle {
namespace {

TEST(ErrorBoxTextTest, LettersAndDigitsGetAFullStop) {
  EXPECT_EQ(errorBoxText("Telescope is parked"), "Telescope is parked.");
  EXPECT_EQ(errorBoxText("Park failed"), "Park failed.");
  EXPECT_EQ(errorBoxText("code 5"), "code 5.");
  EXPECT_EQ(errorBoxText("/"), "/.");
  // A non-ASCII last letter counts as above '.' as well.
  EXPECT_EQ(errorBoxText("Accès refusé"), "Accès refusé.");
}

TEST(ErrorBoxTextTest, TextsEndingAtOrBelowTheFullStopAreLeftAlone) {
  for (const char* text : {"Done.", "Stop!", "(x)", "trailing ", "a-", "a,", "'quoted'"}) {
    const std::string message = text;
    // "'" (0x27) and "," (0x2C) are below '.' (0x2E), "-" (0x2D) as well.
    EXPECT_EQ(errorBoxText(message), message) << message;
  }
  EXPECT_EQ(errorBoxText("Echec à l'obtention des données pour 'Park_AH'"),
            "Echec à l'obtention des données pour 'Park_AH'");
  EXPECT_EQ(errorBoxText(""), "");
}

}  // namespace
}  // namespace tramox::paddle
