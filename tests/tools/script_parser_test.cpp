#include "tools/script_parser.h"

#include <gtest/gtest.h>

namespace tramox::tools {
namespace {

Command parsed(std::string_view line) {
  ParsedLine p = parseLine(line);
  EXPECT_TRUE(p.error.empty()) << line << ": " << p.error;
  EXPECT_TRUE(p.command.has_value()) << line;
  return p.command.value_or(Command{});
}

std::string errorOf(std::string_view line) {
  ParsedLine p = parseLine(line);
  EXPECT_FALSE(p.command.has_value()) << line;
  return p.error;
}

TEST(ScriptParser, BlankAndCommentLinesAreSkipped) {
  for (const char* line : {"", "   ", "\t", "# get Name", "   # comment"}) {
    ParsedLine p = parseLine(line);
    EXPECT_FALSE(p.command.has_value());
    EXPECT_TRUE(p.error.empty());
  }
}

TEST(ScriptParser, LiteralsKeepTheTypeTheyAreWrittenIn) {
  Command c = parsed("call SlewToCoordinates 5 5.5 \"5.5\" true empty $3 axisSecondary word");
  EXPECT_EQ(c.kind, CommandKind::Call);
  EXPECT_EQ(c.member, "SlewToCoordinates");
  ASSERT_EQ(c.args.size(), 8u);
  EXPECT_EQ(c.args[0].value.kind, Literal::Kind::Int32);
  EXPECT_EQ(c.args[1].value.kind, Literal::Kind::Double);
  EXPECT_EQ(c.args[2].value.kind, Literal::Kind::Text);
  EXPECT_EQ(c.args[2].value.text, "5.5");
  EXPECT_TRUE(c.args[3].value.boolean);
  EXPECT_EQ(c.args[4].value.kind, Literal::Kind::Empty);
  EXPECT_EQ(c.args[5].value.object, 3);
  EXPECT_EQ(c.args[6].value.int32, 1);
  EXPECT_EQ(c.args[7].value.text, "word");
  EXPECT_EQ(parsed("call X 3000000000").args[0].value.kind, Literal::Kind::Double);
}

TEST(ScriptParser, TextsEscapesObjectsAndNamedArguments) {
  Command c = parsed(R"(call $2.CommandBlind "" Command:="a \"b\" \\ c")");
  EXPECT_EQ(c.object, 2);
  ASSERT_EQ(c.args.size(), 2u);
  EXPECT_EQ(c.args[0].value.text, "");
  EXPECT_EQ(c.args[1].name, "Command");
  EXPECT_EQ(c.args[1].value.text, R"(a "b" \ c)");
  Command n = parsed("call MoveAxis Axe:=axisPrimary Rate:=1.5");
  EXPECT_EQ(n.args[0].name, "Axe");
  EXPECT_EQ(n.args[1].value.number, 1.5);
  EXPECT_FALSE(errorOf("call MoveAxis Axe:=1 2").empty());
  EXPECT_FALSE(errorOf("call MoveAxis 1bad:=2").empty());
  EXPECT_FALSE(errorOf("call MoveAxis Axe:=").empty());
}

TEST(ScriptParser, TheOtherCommands) {
  EXPECT_EQ(parsed("enum $1").count, std::nullopt);
  EXPECT_EQ(parsed("ENUM $1 3").count, 3u);
  EXPECT_EQ(parsed("release $4").object, 4);
  EXPECT_EQ(parsed("mousedown ButtonNord").control, "ButtonNord");
  EXPECT_EQ(parsed("slider -1").position, -1);
  EXPECT_EQ(parsed("sleep 0.25").seconds, 0.25);
  EXPECT_EQ(parsed("put Tracking false").args.size(), 1u);
  EXPECT_EQ(parsed("canunload").kind, CommandKind::CanUnload);
  EXPECT_EQ(parsed("paddle").kind, CommandKind::Paddle);
  EXPECT_EQ(parsed("closebox").kind, CommandKind::CloseBox);
}

TEST(ScriptParser, BadLinesSayWhy) {
  for (const char* line : {"fly away",
                           "get",
                           "get 1abc",
                           "get $x.Name",
                           "get $1.",
                           "put Tracking",
                           "put Tracking true false",
                           "put Tracking Value:=true",
                           "call X \"open",
                           "call X \"a\"b",
                           "call X \"\\n\"",
                           "enum",
                           "enum 3",
                           "enum $1 -1",
                           "enum $1 x",
                           "release",
                           "release Name",
                           "slider",
                           "slider 1.5",
                           "sleep -1",
                           "sleep 99999",
                           "sleep nan",
                           "mousedown",
                           "click \"B\"",
                           "paddle now",
                           "canunload 1",
                           "\"get\" Name",
                           "call X 1e999",
                           "get $99999999.Name"}) {
    EXPECT_FALSE(errorOf(line).empty()) << line;
  }
}

TEST(ScriptParser, AnEchoedWordIsEscapedAndCut) {
  // A NUL once ended the message early and an ESC reached the terminal raw.
  EXPECT_EQ(errorOf(std::string_view("fl\0y\x1B[2J", 8)), "unknown command 'fl\\x00y\\x1B[2J'");
  const std::string error = errorOf("get " + std::string(5000, 'A'));
  EXPECT_LT(error.size(), 300u);
  EXPECT_EQ(error.substr(error.size() - 4), "...'");
  // Cut on a character's boundary, never inside a UTF-8 sequence.
  const std::string cut = errorOf("sleep " + std::string(199, 'x') + "\xC2\xB0");
  EXPECT_NE(cut.find(std::string(199, 'x') + "...'"), std::string::npos) << cut;
}

TEST(ScriptParser, OnlyAScriptsFirstLineDropsAByteOrderMark) {
  EXPECT_EQ(withoutByteOrderMark("\xEF\xBB\xBFget Name"), "get Name");
  EXPECT_EQ(withoutByteOrderMark("get Name"), "get Name");
  EXPECT_EQ(withoutByteOrderMark("\xEF\xBB"), "\xEF\xBB");
}

}  // namespace
}  // namespace tramox::tools
