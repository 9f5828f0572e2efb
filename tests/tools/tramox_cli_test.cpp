// The tramox client end to end: the built program, the built module and the simulated
// controller, in a TRAMOX_HOME of the test's own.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>

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

  ClientRun script(const std::string& text, const std::string& options = "--sim",
                   const std::string& launcher = "") {
    const fs::path file = home_ / "script.txt";
    std::ofstream(file) << text;
    return client(options + " script '" + file.string() + "'", launcher);
  }

  // The shell with standard input from a file: plain lines, no line editing.
  ClientRun shell(const std::string& input) {
    const fs::path file = home_ / "input.txt";
    std::ofstream(file) << input;
    return client("--sim shell <'" + file.string() + "'");
  }

  // launcher: a program that runs the client (valgrind), or nothing.
  ClientRun client(const std::string& arguments, const std::string& launcher = "") {
    const std::string command = "TRAMOX_HOME='" + home_.string() +
                                "' TRAMOX_SIM='slew=180,reset=1' " + launcher +
                                " '" TRAMOX_CLIENT "' " + arguments + " >'" +
                                (home_ / "out").string() + "' 2>'" + (home_ / "err").string() + "'";
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
            "ok S_FALSE 1\n"
            "ok S_FALSE 0\n"
            "error 0x80040405 TRAMOX.TrackingRatesCol: Invalid tracking rate index\n"
            "ok $2\n"
            "ok 0\n"
            "ok true\n"
            "ok empty\n"
            "ok S_FALSE\n"
            "ok\n"
            "error 0x80070057 tramox: No object $1\n"
            "ok\n");
}

// The module's paddle holds a view the client made: exiting with the paddle alive must not
// reach it after the client is gone. Under ASan the sanitizer watches; otherwise valgrind.
TEST_F(TramoxCli, ExitingWithThePaddleAliveIsClean) {
#if defined(__SANITIZE_ADDRESS__)
  const std::string launcher;
#else
  const std::string launcher = std::system("valgrind --version >/dev/null 2>&1") == 0
                                   ? "valgrind -q --error-exitcode=99"
                                   : "";
#endif
  for (const char* text : {"put Connected true\n", "put Connected true\nrelease $0\ncanunload\n"}) {
    const ClientRun run = script(text, "--sim", launcher);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
  }
  EXPECT_EQ(script("put Connected true\nrelease $0\ncanunload\n").out, "ok\nok\nok S_FALSE\n");
}

TEST_F(TramoxCli, AMistypedLogSwitchIsReportedWithItsFile) {
  std::ofstream(home_ / "HKCU.reg") << "Windows Registry Editor Version 5.00\n\n"
                                       "[HKEY_CURRENT_USER\\SOFTWARE\\TRAMOX]\n"
                                       "\"LogEnabled\"=\"1\"\n";
  EXPECT_EQ(script("put Connected false\n").out,
            "error 0x8000FFFF TRAMOX.Telescope: Type de données incorrect pour 'LogEnabled' "
            "(\"LogEnabled\"=\"1\" in " +
                (home_ / "HKCU.reg").string() + ")\n");
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
            "ok S_OK 1\n"
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
  // The module says only "Init DLL failed"; the client adds the file and the loader's reason.
  EXPECT_NE(run.err.find("cannot load the controller library /nonexistent/Tramox_Telescope.so: "),
            std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("No such file"), std::string::npos) << run.err;
}

TEST_F(TramoxCli, AScriptMayStartWithAByteOrderMark) {
  const ClientRun run = script("\xEF\xBB\xBFget Connected\n");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "ok false\n");
}

TEST_F(TramoxCli, TheShellHelpsWithoutChangingTheResultLines) {
  const ClientRun run =
      shell("help\nhelp slewtocoordinates\nget Nmae\nhepl\nget Name\nquit\nget Name\n");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out.rfind("get [$N.]NAME [ARG ...]", 0), 0u) << run.out;
  EXPECT_NE(run.out.find("\nmethod ITelescope.SlewToCoordinates(RightAscension As Double, "
                         "Declination As Double)\n"
                         "error 0x80020006 tramox: Unknown name 'Nmae'\n"
                         "ok \"TRAMOX\"\n"),
            std::string::npos)
      << run.out;
  EXPECT_EQ(run.out.find("ok \"TRAMOX\"\nok"), std::string::npos) << "ran past quit";
  EXPECT_EQ(run.err,
            "tramox: did you mean 'Name'?\n"
            "tramox: line 4: unknown command 'hepl'; did you mean 'help'?\n");
}

TEST_F(TramoxCli, AnInterruptedDemoStopsTheMountAndRemovesItsHome) {
  const fs::path temporary = home_ / "tmp";
  fs::create_directories(temporary);
  const pid_t child = fork();
  ASSERT_NE(child, -1);
  if (child == 0) {
    setenv("TMPDIR", temporary.c_str(), 1);
    unsetenv("TRAMOX_HOME");
    if (!std::freopen((home_ / "out").c_str(), "w", stdout)) {
      _exit(127);
    }
    execl(TRAMOX_CLIENT, TRAMOX_CLIENT, "demo", static_cast<char*>(nullptr));
    _exit(127);
  }
  // Interrupted once the tour has written its settings into its home.
  bool started = false;
  for (int i = 0; i < 400 && !started; ++i) {
    std::error_code ignored;
    for (const auto& entry : fs::directory_iterator(temporary, ignored)) {
      started = started || !fs::is_empty(entry.path(), ignored);
    }
    if (!started) {
      usleep(50000);
    }
  }
  EXPECT_TRUE(started);
  kill(child, SIGTERM);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;
  EXPECT_TRUE(fs::is_empty(temporary));
  EXPECT_NE(read(home_ / "out").find("tramox> put Connected false\n  ok\n"), std::string::npos)
      << read(home_ / "out");
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
