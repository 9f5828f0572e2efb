// The client's output forms that do not need a driver: message lines read back from the
// Windows module's message file, and the paddle's control lines.
#include <gtest/gtest.h>

#include "client/message_lines.h"
#include "client/value_format.h"
#include "tools/paddle_lines.h"

namespace {

using tramox::client::MessageLines;
using tramox::client::quoteText;
using tramox::tools::paddleControlLine;
using Lines = std::vector<std::string>;

TEST(MessageLines, MapsTheModulePrefixesToTheClientForms) {
  MessageLines lines;
  EXPECT_EQ(lines.feed("message: Controller missing\r\nerror: Slew refused\r\n"),
            (Lines{"message: Controller missing", "messagebox: Slew refused"}));
  EXPECT_EQ(lines.feed(""), Lines{});
}

TEST(MessageLines, AnUnfinishedLineWaitsForTheRestOfIt) {
  MessageLines lines;
  EXPECT_EQ(lines.feed("message: Con"), Lines{});
  EXPECT_EQ(lines.feed("nect"), Lines{});
  EXPECT_EQ(lines.feed("ed\r"), Lines{});
  EXPECT_EQ(lines.feed("\nerror: x\n"), (Lines{"message: Connected", "messagebox: x"}));
}

TEST(MessageLines, ATextOnSeveralLinesStaysOneOutputLine) {
  MessageLines lines;
  EXPECT_EQ(lines.feed("error: First\r\nsecond\r\n\r\nmessage: next\r\n"),
            (Lines{"messagebox: First second ", "message: next"}));
  // Without a prefix to attach to, a line is still shown rather than lost.
  EXPECT_EQ(lines.feed("stray\r\n"), Lines{"message: stray"});
}

TEST(PaddleControlLine, QuotesTheTextAndGivesOnlyTheSliderAPosition) {
  tramox::platform::PaddleControlState label;
  label.name = "LabelDEC";
  label.text =
      "+89\xC2\xB0"
      "51'30\"\\";
  label.visible = false;
  EXPECT_EQ(paddleControlLine(label),
            "control LabelDEC text=\"+89\xC2\xB0"
            "51'30\\\"\\\\\" visible=false enabled=true");
  tramox::platform::PaddleControlState slider;
  slider.name = "TrackBarSpeed";
  slider.kind = tramox::platform::PaddleControlKind::Slider;
  slider.enabled = false;
  slider.position = 2;
  EXPECT_EQ(paddleControlLine(slider),
            "control TrackBarSpeed text=\"\" visible=true enabled=false position=2");
}

TEST(QuoteText, KeepsEveryValueOnItsOneResultLine) {
  EXPECT_EQ(quoteText("TRAMOX"), "\"TRAMOX\"");
  EXPECT_EQ(quoteText("a \"b\" c\\d"), "\"a \\\"b\\\" c\\\\d\"");
  EXPECT_EQ(quoteText("line1\r\nline2\tend"), "\"line1\\r\\nline2\\tend\"");
  EXPECT_EQ(quoteText(std::string("bell\x07"
                                  "del\x7F",
                                  9)),
            "\"bell\\x07del\\x7F\"");
  EXPECT_EQ(quoteText("45\xC2\xB0"), "\"45\xC2\xB0\"");
}

}  // namespace
