// tramox: a late-bound client of the TRAMOX driver, as a script host would be.
//   tramox [--sim | --controller PATH] script [FILE|-] | shell | demo
//   tramox [--sim | --controller PATH] serve [--bind ADDR] [--port N] [--discovery-port N]
//                                            [--trusted-host NAME]...
//   tramox register [MODULE] | tramox unregister [MODULE]
// Exit status: 0 when the commands ran (member errors are results), 1 when the client could
// not start (bad usage, unreadable script, no module), 2 for a script line that cannot be
// parsed (reported on standard error with its line number; nothing runs).
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "client/client_backend.h"
#include "client/client_environment.h"
#include "client/value_format.h"
#include "tools/demo_tour.h"
#include "tools/interactive_shell.h"
#include "tools/interruption.h"
#include "tools/script_session.h"
#include "tools/serve_command.h"

namespace {

using namespace tramox::client;
using namespace tramox::tools;

constexpr int kExitRan = 0;
constexpr int kExitCannotStart = 1;
constexpr int kExitParseError = 2;

// Demo pacing for the simulated controller when the user set none.
constexpr const char* kDemoSimulatorSettings = "slew=25";

int usage() {
  std::fputs(
      "usage: tramox [--sim | --controller PATH] script [FILE|-]\n"
      "       tramox [--sim | --controller PATH] shell\n"
      "       tramox [--sim | --controller PATH] demo\n"
      "       tramox [--sim | --controller PATH] serve [--bind ADDR] [--port N] "
      "[--discovery-port N]\n"
      "             [--trusted-host NAME]...\n"
      "       tramox register [MODULE]\n"
      "       tramox unregister [MODULE]\n",
      stderr);
  return kExitCannotStart;
}

int runScript(ScriptSession& session, const std::string& file) {
  std::ifstream stream;
  std::istream* in = &std::cin;
  const std::string name = file.empty() || file == "-" ? "<stdin>" : file;
  if (name != "<stdin>") {
    stream.open(file);
    if (!stream) {
      std::fprintf(stderr, "tramox: cannot read %s\n", file.c_str());
      return kExitCannotStart;
    }
    in = &stream;
  }
  // The whole script is parsed before the first command runs: a bad line must not leave the
  // mount half-way through a sequence.
  std::vector<Command> commands;
  bool parseFailed = false;
  std::string line;
  for (int number = 1; std::getline(*in, line); ++number) {
    const ParsedLine parsed = parseLine(number == 1 ? withoutByteOrderMark(line) : line);
    if (!parsed.error.empty()) {
      std::fprintf(stderr, "tramox: %s:%d: %s\n", name.c_str(), number, parsed.error.c_str());
      parseFailed = true;
    } else if (parsed.command) {
      commands.push_back(*parsed.command);
    }
  }
  if (parseFailed) {
    return kExitParseError;
  }
  for (const Command& command : commands) {
    printLines(session.execute(command), stdout);
  }
  return kExitRan;
}

// The demo works in a home of its own unless the user chose one, so it starts from a known
// mount and leaves the user's settings alone.
std::string makeDemoHome() {
  return makeTemporaryFolder("tramox-demo");
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::size_t i = 0;
  std::string controller;
  bool sim = false;
  for (; i < args.size() && args[i].rfind("--", 0) == 0; ++i) {
    if (args[i] == "--sim") {
      sim = true;
    } else if (args[i] == "--controller" && i + 1 < args.size()) {
      controller = args[++i];
    } else if (args[i] == "--help") {
      usage();
      return kExitRan;
    } else {
      return usage();
    }
  }
  if (i >= args.size() || (sim && !controller.empty())) {
    return usage();
  }
  const std::string verb = args[i++];
  const std::vector<std::string> rest(args.begin() + static_cast<long>(i), args.end());

  const bool runsCommands = verb == "script" || verb == "shell" || verb == "demo";
  if (!runsCommands && verb != "serve" && verb != "register" && verb != "unregister") {
    return usage();
  }
  if (runsCommands && rest.size() > (verb == "script" ? 1u : 0u)) {
    return usage();
  }

  if (verb == "demo" && controller.empty()) {
    sim = true;
  }
  if (sim) {
    controller = simulatorPath();
    if (controller.empty()) {
      std::fputs("tramox: this build has no simulated controller\n", stderr);
      return kExitCannotStart;
    }
  }

  std::string demoHome;
  if (verb == "demo") {
    // Ctrl+C ends the tour between steps, so that its temporary home is removed; from here
    // on every way out goes through that removal.
    catchInterruptions();
    if (!hasEnvironment("TRAMOX_HOME")) {
      demoHome = makeDemoHome();
      if (!demoHome.empty()) {
        setEnvironment("TRAMOX_HOME", demoHome);
      }
    }
    setEnvironment("TRAMOX_SIM", kDemoSimulatorSettings, false);
  }
  if (!controller.empty()) {
    setEnvironment("TRAMOX_CONTROLLER", controller);
  }

  // The server makes its backend on the thread that owns the driver.
  if (verb == "serve") {
    return runServe(rest);
  }

  int status = kExitCannotStart;
  {
    const std::unique_ptr<IClientBackend> backend = makeClientBackend();
    if (verb == "register" || verb == "unregister") {
      if (rest.size() > 1) {
        return usage();
      }
      const std::string module = rest.empty() ? defaultModulePath() : rest[0];
      const auto hr =
          verb == "register" ? backend->registerModule(module) : backend->unregisterModule(module);
      if (hr == 0) {
        std::puts("ok");
        return kExitRan;
      }
      std::fprintf(stderr, "tramox: %s %s failed (%s)%s%s\n", verb.c_str(), module.c_str(),
                   formatCode(hr).c_str(), backend->lastLoadError().empty() ? "" : ": ",
                   backend->lastLoadError().c_str());
      return kExitCannotStart;
    }
    std::string why;
    if (!ensureRegistered(*backend, defaultModulePath(), why)) {
      std::fprintf(stderr, "tramox: %s\n", why.c_str());
    } else {
      ScriptSession session(*backend);
      if (verb == "script") {
        status = runScript(session, rest.empty() ? "-" : rest[0]);
      } else if (verb == "shell") {
        status = runShell(session);
      } else {
        status = runDemoTour(session);
      }
    }
  }
  if (!demoHome.empty()) {
    std::error_code ignored;
    std::filesystem::remove_all(demoHome, ignored);
  }
  endByInterruption();
  return status;
}
