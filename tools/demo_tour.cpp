#include "tools/demo_tour.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>

#include "client/client_environment.h"
#include "client/value_format.h"
#include "tools/interruption.h"

namespace tramox::tools {
namespace {

using Clock = std::chrono::steady_clock;

// Tour pacing: long enough to read, short enough to finish well under a minute.
constexpr double kSlewTimeLimitSeconds = 40.0;
constexpr auto kProgressInterval = std::chrono::milliseconds(250);
constexpr double kMoveAxisSeconds = 1.5;

class Tour {
 public:
  explicit Tour(ScriptSession& session) : session_(session), live_(isTerminal(stdout)) {}

  void chapter(const char* title, const char* explanation) {
    std::printf("\n== %s\n   %s\n", title, explanation);
    std::fflush(stdout);
  }

  // Runs one command of the language, echoed as a user would type it.
  Outcome run(const std::string& line, bool echo = true) {
    // Interrupted: the remaining steps are skipped, the loops waiting on them end.
    if (interrupted()) {
      return Outcome{};
    }
    const ParsedLine parsed = parseLine(line);
    if (echo) {
      std::printf("tramox> %s\n", line.c_str());
    }
    std::fflush(stdout);
    Outcome outcome = parsed.command ? session_.execute(*parsed.command) : Outcome{};
    if (!parsed.command) {
      outcome.lines.push_back("error (demo) " + parsed.error);
    }
    ++commands_;
    if (!outcome.ok) {
      ++errors_;
    }
    if (echo) {
      for (const std::string& l : outcome.lines) {
        std::printf("  %s\n", l.c_str());
      }
    }
    std::fflush(stdout);
    return outcome;
  }

  double number(const std::string& line, double fallback) {
    const Outcome o = run(line);
    if (o.ok && (o.value.kind == Value::Kind::Double || o.value.kind == Value::Kind::Date)) {
      return o.value.number;
    }
    if (o.ok && o.value.kind == Value::Kind::Int32) {
      return o.value.int32;
    }
    return fallback;
  }

  bool flag(const std::string& line, bool echo) {
    const Outcome o = run(line, echo);
    return o.ok && o.value.kind == Value::Kind::Bool && o.value.boolean;
  }

  // Shows the position while the mount slews, on one line rewritten in place on a terminal.
  void followSlew() {
    const auto start = Clock::now();
    auto lastPrinted = start - std::chrono::hours(1);
    for (;;) {
      const bool slewing = flag("get Slewing", false);
      const double raHours = quiet("get RightAscension");
      const double decDegrees = quiet("get Declination");
      const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
      if (live_ || Clock::now() - lastPrinted >= std::chrono::seconds(1) || !slewing) {
        std::printf("%s  %s RA %9.5f h   Dec %+9.4f deg   %5.1f s%s", live_ ? "\r" : "",
                    slewing ? "slewing" : "arrived", raHours, decDegrees, elapsed,
                    live_ ? "   " : "\n");
        std::fflush(stdout);
        lastPrinted = Clock::now();
      }
      if (!slewing) {
        break;
      }
      if (elapsed > kSlewTimeLimitSeconds) {
        std::printf("\n");
        run("call AbortSlew");
        break;
      }
      pause(std::chrono::duration<double>(kProgressInterval).count());
    }
    if (live_) {
      std::printf("\n");
    }
  }

  void waitWhileGuiding() {
    const auto start = Clock::now();
    while (flag("get IsPulseGuiding", false) && Clock::now() - start < std::chrono::seconds(5)) {
      pause(0.05);
    }
  }

  // The paddle's position labels: the J2000.0 place the paddle shows.
  void showPaddleLabels() {
    std::printf("tramox> paddle\n");
    const ParsedLine parsed = parseLine("paddle");
    const Outcome o = session_.execute(*parsed.command);
    ++commands_;
    for (const std::string& l : o.lines) {
      if (l.find("control Label") == 0 && l.find("visible=true") != std::string::npos) {
        std::printf("  %s\n", l.c_str());
      }
    }
    std::printf("  (buttons and slider left out: `paddle` in a script prints every control)\n");
  }

  // Waits with the module's windows still answering.
  void pause(double seconds) {
    if (!interrupted()) {
      session_.wait(seconds);
    }
  }

  // After Ctrl+C: whatever the controller is, it must not be left moving.
  void stop() {
    std::printf("\nTour interrupted: stopping the mount and disconnecting.\n");
    for (const char* line : {"call AbortSlew", "call MoveAxis axisPrimary 0",
                             "call MoveAxis axisSecondary 0", "put Connected false"}) {
      const ParsedLine parsed = parseLine(line);
      std::printf("tramox> %s\n", line);
      for (const std::string& l : session_.execute(*parsed.command).lines) {
        std::printf("  %s\n", l.c_str());
      }
    }
    std::fflush(stdout);
  }

  void summary(Clock::time_point start) {
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    std::printf("\nTour finished in %.1f s: %d commands, %d error%s.\n", seconds, commands_,
                errors_, errors_ == 1 ? "" : "s");
  }

 private:
  double quiet(const std::string& line) {
    const Outcome o = run(line, false);
    return o.ok && o.value.kind == Value::Kind::Double ? o.value.number : NAN;
  }

  ScriptSession& session_;
  bool live_;
  int commands_ = 0;
  int errors_ = 0;
};

std::string fixed(double value, int decimals) {
  char text[48];
  std::snprintf(text, sizeof text, "%.*f", decimals, value);
  return text;
}

}  // namespace

int runDemoTour(ScriptSession& session) {
  const auto start = Clock::now();
  Tour tour(session);
  std::printf(
      "TRAMOX driver tour on the simulated controller.\n"
      "Every step is a command of `tramox script`; the indented lines are its results.\n");

  tour.chapter("Connect",
               "Set the site, connect the driver to the controller, switch tracking on and\n"
               "   keep the starting position as the park position.");
  tour.run("put SiteLatitude 45.5");
  tour.run("put SiteLongitude 5.25");
  tour.run("put Connected true");
  tour.run("get Connected");
  tour.run("put Tracking true");
  if (tour.flag("get AtPark", true)) {
    tour.run("call Unpark");
  }
  tour.run("call SetPark");

  tour.chapter("Position", "The mount's coordinates of date, and the paddle's J2000.0 display.");
  const double siderealHours = tour.number("get SiderealTime", 0.0);
  tour.run("get RightAscension");
  tour.run("get Declination");
  tour.run("get SideOfPier");
  tour.showPaddleLabels();

  tour.chapter("Slew", "Go to a star an hour east of the meridian at +20 degrees.");
  const double targetRaHours = std::fmod(siderealHours + 1.0 + 24.0, 24.0);
  tour.run("call SlewToCoordinatesAsync " + fixed(targetRaHours, 4) + " 20");
  tour.followSlew();

  tour.chapter("Sync", "Tell the mount it is really pointing a little further east.");
  tour.run("call SyncToCoordinates " + fixed(std::fmod(targetRaHours + 0.01, 24.0), 4) + " 20.1");
  tour.run("get RightAscension");
  tour.run("get Declination");

  tour.chapter("Guide", "Two guide pulses of 300 ms, north then east.");
  tour.run("call PulseGuide guideNorth 300");
  tour.waitWhileGuiding();
  tour.run("call PulseGuide guideEast 300");
  tour.waitWhileGuiding();
  tour.run("get IsPulseGuiding");

  tour.chapter("Move an axis", "Take the primary axis's fastest rate and run it for a moment.");
  tour.run("call AxisRates axisPrimary");
  tour.run("get $1.Count");
  tour.run("get $1.Item 3");
  const double rate = tour.number("get $2.Maximum", 1.0);
  tour.run("get RightAscension");
  tour.run("call MoveAxis axisPrimary " + formatDouble(rate));
  tour.pause(kMoveAxisSeconds);
  tour.run("call MoveAxis axisPrimary 0");
  tour.run("get RightAscension");
  tour.run("release $2");
  tour.run("release $1");

  tour.chapter("Park", "Park the mount (it goes back to the park position), look, unpark it.");
  tour.run("call Park");
  tour.run("get AtPark");
  tour.run("call Unpark");
  tour.run("get AtPark");

  tour.chapter("Disconnect", "Close the connection; the paddle goes away.");
  tour.run("put Connected false");
  tour.run("paddle");

  if (interrupted()) {
    tour.stop();
    return 1;
  }
  tour.summary(start);
  return 0;
}

}  // namespace tramox::tools
