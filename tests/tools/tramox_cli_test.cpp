// The tramox client end to end: the built program, the built module and the simulated
// controller, in a TRAMOX_HOME of the test's own.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;

struct ClientRun {
  int status = -1;
  std::string out;
  std::string err;
};

class TramoxCli : public ::testing::Test {
 protected:
  TramoxCli() {
    home_ = fs::temp_directory_path() /
            ("tramox-cli-" + std::to_string(getpid()) + "-" + std::to_string(counter_++));
    fs::create_directories(home_);
  }
  ~TramoxCli() override { fs::remove_all(home_); }

  ClientRun script(const std::string& text, const std::string& options = "--sim") {
    const fs::path file = home_ / "script.txt";
    std::ofstream(file) << text;
    const std::string command = "TRAMOX_HOME='" + home_.string() +
                                "' TRAMOX_SIM='slew=180,reset=1' '" TRAMOX_CLIENT "' " + options +
                                " script '" + file.string() + "' >'" + (home_ / "out").string() +
                                "' 2>'" + (home_ / "err").string() + "'";
    ClientRun run;
    const int raw = std::system(command.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = read(home_ / "out");
    run.err = read(home_ / "err");
    return run;
  }

  static std::string read(const fs::path& file) {
    std::stringstream s;
    s << std::ifstream(file).rdbuf();
    return s.str();
  }

  fs::path home_;
  static inline int counter_ = 0;
};

TEST_F(TramoxCli, ScriptRunsMembersThroughTheAutomationLayer) {
  const ClientRun run = script(
      "# site, errors, collections\n"
      "canunload\n"
      "get Connected\n"
      "put SiteLatitude \"45.5\"\n"
      "get SiteLatitude\n"
      "put SiteElevation 10001\n"
      "put SiteLatitude abc\n"
      "call SlewToCoordinates 5\n"
      "get Bogus\n"
      "put Connected true\n"
      "call TrackingRates\n"
      "enum $1 2\n"
      "enum $1\n"
      "get $1.Item 4\n"
      "call AxisRates axisTertiary\n"
      "get $2.Count\n"
      "call CanMoveAxis Axe:=axisSecondary\n"
      "call CanMoveAxis 9\n"
      "canunload\n"
      "release $1\n"
      "get $1.Count\n"
      "put Connected false\n");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "ok S_OK\n"
            "ok false\n"
            "ok\n"
            "ok 45.5\n"
            "error 0x80040405 TRAMOX.Telescope: Elevation must be in the range [-300m,10000m]\n"
            "error 0x80020005 tramox: Type mismatch in argument 1 of SiteLatitude\n"
            "error 0x8002000E tramox: Wrong number of arguments for SlewToCoordinates\n"
            "error 0x80020006 tramox: Unknown name 'Bogus'\n"
            "ok\n"
            "ok $1\n"
            "item 0\n"
            "item 1\n"
            "ok S_OK 2\n"
            "item 2\n"
            "item 3\n"
            "ok S_FALSE 2\n"
            "ok 3\n"
            "ok $2\n"
            "ok 0\n"
            "ok true\n"
            "ok empty\n"
            "ok S_FALSE\n"
            "ok\n"
            "error 0x80070057 tramox: No object $1\n"
            "ok\n");
}

TEST_F(TramoxCli, HostileLinesEachGiveOneClearResultLine) {
  const ClientRun run = script(
      "call AxisRates Axe:=0\n"
      "call SlewToCoordinates Foo:=1 Bar:=2\n"
      "put UTCDate 1e300\n"
      "get $99.Count\n"
      "call AbortSlew 1\n"
      "put SiteLongitude nan\n"
      "call TrackingRates\n"
      "enum $1\n"
      "enum $1\n"
      "call AxisRates axisPrimary\n"
      "enum $2 1\n"
      "enum $2\n"
      "release $0\n"
      "release $0\n"
      "get Name\n");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "error 0x80020006 tramox: Unknown parameter name 'Axe' of AxisRates\n"
            "error 0x80020006 tramox: Unknown parameter name 'Foo' of SlewToCoordinates\n"
            "error 0x8002000A tramox: Overflow in argument 1 of UTCDate\n"
            "error 0x80070057 tramox: No object $99\n"
            "error 0x8002000E tramox: Wrong number of arguments for AbortSlew\n"
            "error 0x80020005 tramox: Type mismatch in argument 1 of SiteLongitude\n"
            "ok $1\n"
            // Without a count, one Next of the collection's Count: a fresh pass is complete.
            "item 0\n"
            "item 1\n"
            "item 2\n"
            "item 3\n"
            "ok S_OK 4\n"
            "ok S_FALSE 0\n"
            "ok $2\n"
            "item $3\n"
            "ok S_OK 1\n"
            "item $4\n"
            "item $5\n"
            "ok S_FALSE 2\n"
            "ok\n"
            "error 0x80070057 tramox: The driver object $0 was released\n"
            "error 0x80070057 tramox: The driver object $0 was released\n");
}

TEST_F(TramoxCli, ASlewEndsAtItsTarget) {
  const ClientRun run = script(
      "put Connected true\n"
      "put Tracking true\n"
      "call SlewToCoordinates \"5.5\" 20\n"
      "get Slewing\n"
      "get TargetRightAscension\n"
      "put Connected false\n");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "ok\nok\nok\nok false\nok 5.5\nok\n");
}

TEST_F(TramoxCli, AParseErrorStopsTheScriptBeforeItRuns) {
  const ClientRun run = script("put Connected true\nget\nfly\n");
  EXPECT_EQ(run.status, 2);
  EXPECT_EQ(run.out, "");
  EXPECT_NE(run.err.find(":2:"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find(":3:"), std::string::npos) << run.err;
}

TEST_F(TramoxCli, AMissingControllerIsReportedInMessageLines) {
  const ClientRun run = script("get Connected\n", "--controller /nonexistent/Tramox_Telescope.so");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.rfind("message: ", 0), 0u) << run.out;
  EXPECT_NE(run.out.find("\nok false\n"), std::string::npos) << run.out;
}

TEST_F(TramoxCli, APartialRegistrationIsRepairedAndAFailedOneSaysWhy) {
  ASSERT_EQ(script("get Connected\n").status, 0);
  const fs::path classes = home_ / "HKCR.reg";
  const std::string complete = read(classes);
  std::string partial;
  std::istringstream lines(complete);
  for (std::string line; std::getline(lines, line);) {
    if (line != "\"Version\"=\"1.0\"") {
      partial += line + "\n";
    }
  }
  ASSERT_NE(partial, complete);
  std::ofstream(classes) << partial;
  EXPECT_EQ(script("get Connected\n").out, "ok false\n");
  EXPECT_EQ(read(classes), complete);

  std::ofstream(classes) << "REGEDIT4\n";
  const ClientRun run = script("get Connected\n");
  EXPECT_NE(run.status, 0);
  EXPECT_NE(run.err.find(classes.string() + ":1: expected the header"), std::string::npos)
      << run.err;
}

}  // namespace
