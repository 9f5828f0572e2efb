// The LX200 protocol's pure pieces: commands cut from a byte stream however it arrives, and
// the angle and time forms read and written.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "lx200/command_framer.h"
#include "lx200/sexagesimal.h"

namespace tramox::lx200 {
namespace {

Frame command(const std::string& text) {
  return {Frame::Kind::Command, text};
}

const Frame kAckFrame{Frame::Kind::Ack, {}};

struct FramingCase {
  const char* name;
  std::vector<std::string> segments;
  std::vector<Frame> frames;
};

TEST(CommandFramer, CutsCommandsWhereverTheSegmentsEnd) {
  const std::string overlong(kMaxCommandLength + 1, 'x');
  const FramingCase cases[] = {
      {"one", {":GR#"}, {command("GR")}},
      {"several in one segment", {":GR#:GD#\x06"}, {command("GR"), command("GD"), kAckFrame}},
      {"split across segments", {":Sr03:", "30:0", "0#"}, {command("Sr03:30:00")}},
      {"colons inside arguments", {":Sd+40*15:00#"}, {command("Sd+40*15:00")}},
      {"noise outside commands dropped", {"xx#\r\n:GD#"}, {command("GD")}},
      {"ack between commands", {":GR#", "\x06", ":GD#"}, {command("GR"), kAckFrame, command("GD")}},
      {"empty command", {":#"}, {command("")}},
      {"unfinished command kept", {":GR"}, {}},
      {"overlong dropped, next kept", {":" + overlong + "#:GD#"}, {command("GD")}},
      {"at the length limit kept",
       {":" + std::string(kMaxCommandLength, 'y') + "#"},
       {command(std::string(kMaxCommandLength, 'y'))}},
  };
  for (const FramingCase& c : cases) {
    CommandFramer framer;
    std::vector<Frame> frames;
    for (const std::string& segment : c.segments) {
      for (Frame& frame : framer.feed(segment)) {
        frames.push_back(frame);
      }
    }
    EXPECT_EQ(frames, c.frames) << c.name;
  }
}

struct ParseCase {
  const char* text;
  std::optional<double> value;
};

TEST(Sexagesimal, ReadsTheFormsClientsSend) {
  const ParseCase cases[] = {
      {"03:30:00", 3.5},
      {" 03:30:00", 3.5},    // INDI puts a blank after :Sr
      {"03:30.6", 3.51},     // low precision: tenths of a minute
      {"+40*15:00", 40.25},  // high-precision declination
      {"-40*15", -40.25},    // low precision
      {"-00*30:00", -0.5},   // the sign of a declination under one degree
      {"-151*15", -151.25},  // INDI's site longitude
      {"208\xDF"
       "45",
       208.75},  // the degree sign some clients send
      {"+47'15'30", 47.2583333333333},
      {"12", 12.0},
      {"12:60", std::nullopt},
      {"12:30:60", std::nullopt},
      {"12:30.5:10", std::nullopt},  // seconds after a minute fraction
      {"", std::nullopt},
      {"+", std::nullopt},
      {"ab:cd", std::nullopt},
      {"12:30x", std::nullopt},
  };
  for (const ParseCase& c : cases) {
    const std::optional<double> value = parseSexagesimal(c.text);
    ASSERT_EQ(value.has_value(), c.value.has_value()) << c.text;
    if (value) {
      EXPECT_NEAR(*value, *c.value, 1e-9) << c.text;
    }
  }
}

TEST(Sexagesimal, ReadsDecimals) {
  const ParseCase cases[] = {{"-2.0", -2.0},     {"+05", 5.0},       {"060.2", 60.2},
                             {"5.", 5.0},        {"", std::nullopt}, {"2:0", std::nullopt},
                             {"-", std::nullopt}};
  for (const ParseCase& c : cases) {
    const std::optional<double> value = parseDecimal(c.text);
    ASSERT_EQ(value.has_value(), c.value.has_value()) << c.text;
    if (value) {
      EXPECT_DOUBLE_EQ(*value, *c.value) << c.text;
    }
  }
}

struct FormatCase {
  std::string (*format)(double, Precision);
  double value;
  Precision precision;
  const char* text;
};

TEST(Sexagesimal, WritesPositionsInEitherPrecision) {
  const FormatCase cases[] = {
      {formatRightAscension, 3.5, Precision::High, "03:30:00"},
      {formatRightAscension, 3.5, Precision::Low, "03:30.0"},
      {formatRightAscension, 23.9999999, Precision::High, "00:00:00"},  // rounds into the next day
      {formatRightAscension, -1.0, Precision::High, "23:00:00"},
      {formatRightAscension, 1.0 + 59.99 / 60.0, Precision::Low, "02:00.0"},
      {formatDeclination, 40.25, Precision::High, "+40*15:00"},
      {formatDeclination, -0.5, Precision::High, "-00*30:00"},
      {formatDeclination, -0.5, Precision::Low, "-00*30"},
      {formatDeclination, -0.00001, Precision::High, "+00*00:00"},  // no negative zero
      {formatDeclination, 89.99999, Precision::Low, "+90*00"},
      {formatAzimuth, 359.99999, Precision::High, "000*00:00"},
      {formatAzimuth, 181.5, Precision::Low, "181*30"},
  };
  for (const FormatCase& c : cases) {
    EXPECT_EQ(c.format(c.value, c.precision), c.text) << c.value;
  }
}

TEST(Sexagesimal, WritesTheSiteAndTheUtcOffset) {
  EXPECT_EQ(formatLatitude(47.25), "+47*15");
  EXPECT_EQ(formatLatitude(-33.5), "-33*30");
  EXPECT_EQ(formatLongitude(-151.25), "-151*15");
  EXPECT_EQ(formatLongitude(5.0), "+005*00");
  EXPECT_EQ(formatUtcOffset(-2.0), "-02.0");
  EXPECT_EQ(formatUtcOffset(5.5), "+05.5");
  EXPECT_EQ(formatUtcOffset(-0.0), "+00.0");
}

TEST(Sexagesimal, ConvertsTheLongitudeSignBothWays) {
  struct {
    double lx200;
    double east;
  } const cases[] = {{-151.25, 151.25}, {208.75, 151.25}, {5.0, -5.0},
                     {355.0, 5.0},      {180.0, 180.0},   {0.0, 0.0}};
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(eastLongitudeFromLx200(c.lx200), c.east) << c.lx200;
  }
  for (double east : {151.25, -5.0, 0.0, 179.5}) {
    EXPECT_DOUBLE_EQ(eastLongitudeFromLx200(lx200LongitudeFromEast(east)), east) << east;
  }
}

}  // namespace
}  // namespace tramox::lx200
