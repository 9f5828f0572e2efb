// `tramox --sim serve` through real HTTP on loopback: throughput against the least a server of
// the same HTTP library can do, the latency of a position read, the server's resident memory
// over many requests and what the diagnostic log costs a polled read. The in-process read of
// the same member (RightAscensionOnTheSimulator) comes from the dispatch benchmarks linked into
// this program, so both latencies come from one run.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <exception>
#include <mutex>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <vector>

#include "bench/alpaca/constant_json_server.h"
#include "bench/alpaca/keep_alive_client.h"
#include "bench/alpaca/resident_memory.h"
#include "platform/posix/reg_file_registry.h"
#include "tests/alpaca/alpaca_server.h"

namespace {

using tramox::alpaca::bench::ConstantJsonServer;
using tramox::alpaca::bench::KeepAliveClient;
using tramox::alpaca::testing::AlpacaServer;
using tramox::alpaca::testing::devicePath;
using Clock = std::chrono::steady_clock;

// One server for the throughput and latency runs, connected to the simulated mount, as a
// client finds a server that has been running for a while.
AlpacaServer& connectedServer() {
  static AlpacaServer server;
  static const bool connected = [] {
    server.member("PUT", "connected", "Connected=True");
    return true;
  }();
  (void)connected;
  return server;
}

// GETs target on `clients` keep-alive connections at once, one thread each, for this long.
double requestsPerSecond(const std::string& host, std::uint16_t port, const std::string& target,
                         int clients, std::chrono::duration<double> length) {
  std::atomic<int> connectedClients{0};
  std::atomic<bool> go{false}, stop{false};
  std::atomic<long> answered{0};
  std::exception_ptr failure;
  std::mutex failureLock;
  std::vector<std::thread> threads;
  for (int i = 0; i < clients; ++i) {
    threads.emplace_back([&] {
      try {
        KeepAliveClient client(host, port);
        client.get(target);
        ++connectedClients;
        while (!go) {
          std::this_thread::yield();
        }
        long count = 0;
        for (; !stop; ++count) {
          client.get(target);
        }
        answered += count;
      } catch (...) {
        const std::lock_guard<std::mutex> lock(failureLock);
        failure = std::current_exception();
        ++connectedClients;
      }
    });
  }
  while (connectedClients < clients) {
    std::this_thread::yield();
  }
  const auto start = Clock::now();
  go = true;
  std::this_thread::sleep_for(length);
  stop = true;
  for (std::thread& thread : threads) {
    thread.join();
  }
  const std::chrono::duration<double> elapsed = Clock::now() - start;
  if (failure) {
    std::rethrow_exception(failure);
  }
  return static_cast<double>(answered) / elapsed.count();
}

struct Throughputs {
  double alpaca = 0;
  double constant = 0;
};

// The two servers take turns, so that the machine's other load falls on both alike.
Throughputs takingTurns(const AlpacaServer& server, const std::string& target, int clients) {
  constexpr int kTurns = 3;
  constexpr std::chrono::milliseconds kTurnLength{1500};
  ConstantJsonServer yardstick;
  Throughputs sum;
  for (int turn = 0; turn < kTurns; ++turn) {
    sum.alpaca += requestsPerSecond(server.host(), server.port(), target, clients, kTurnLength);
    sum.constant += requestsPerSecond("127.0.0.1", yardstick.port(), target, clients, kTurnLength);
  }
  return {sum.alpaca / kTurns, sum.constant / kTurns};
}

void report(benchmark::State& state, const Throughputs& rates) {
  state.counters["alpaca_rps"] = rates.alpaca;
  state.counters["constant_json_rps"] = rates.constant;
  state.counters["ratio"] = rates.alpaca / rates.constant;
}

// The argument is the number of concurrent clients.
void CanParkAgainstConstantJson(benchmark::State& state) {
  const int clients = static_cast<int>(state.range(0));
  Throughputs rates;
  try {
    AlpacaServer& server = connectedServer();
    for (auto _ : state) {
      rates = takingTurns(server, devicePath("canpark"), clients);
    }
  } catch (const std::exception& e) {
    state.SkipWithError(e.what());
    return;
  }
  report(state, rates);
}
BENCHMARK(CanParkAgainstConstantJson)
    ->ArgName("clients")
    ->Arg(1)
    ->Arg(8)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);

// One client; the argument is the log switch, written to the server's store as a user would,
// and set back to off afterwards.
void CanParkWithTheLog(benchmark::State& state) {
  Throughputs rates;
  try {
    AlpacaServer& server = connectedServer();
    tramox::platform::RegFileRegistry store(server.home().string());
    const auto logSwitch = [&](std::uint32_t on) {
      store.writeValue(tramox::platform::Hive::CurrentUser, "SOFTWARE\\TRAMOX", "LogEnabled",
                       tramox::platform::RegistryValue::ofDword(on));
    };
    logSwitch(static_cast<std::uint32_t>(state.range(0)));
    for (auto _ : state) {
      rates = takingTurns(server, devicePath("canpark"), 1);
    }
    logSwitch(0);
  } catch (const std::exception& e) {
    state.SkipWithError(e.what());
    return;
  }
  report(state, rates);
}
BENCHMARK(CanParkWithTheLog)
    ->ArgName("log")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kSecond);

// sorted must not be empty.
double percentile(const std::vector<double>& sorted, double fraction) {
  return sorted[static_cast<std::size_t>(fraction * static_cast<double>(sorted.size() - 1))];
}

void RightAscensionOverHttp(benchmark::State& state) {
  const std::string target = devicePath("rightascension");
  std::vector<double> micros;
  try {
    AlpacaServer& server = connectedServer();
    KeepAliveClient client(server.host(), server.port());
    const auto first = nlohmann::json::parse(client.get(target));
    if (first.value("ErrorNumber", -1) != 0) {
      state.SkipWithError(("rightascension failed: " + first.dump()).c_str());
      return;
    }
    for (auto _ : state) {
      const auto start = Clock::now();
      benchmark::DoNotOptimize(client.get(target));
      micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    }
  } catch (const std::exception& e) {
    state.SkipWithError(e.what());
    return;
  }
  std::sort(micros.begin(), micros.end());
  state.counters["p50_us"] = percentile(micros, 0.50);
  state.counters["p99_us"] = percentile(micros, 0.99);
}
BENCHMARK(RightAscensionOverHttp)->UseRealTime()->Unit(benchmark::kMicrosecond);

// A fresh server of its own, read idle, after a warm-up and after 100,000 requests: what
// stays resident after the warm-up is the growth to watch.
void ResidentMemoryOver100000Requests(benchmark::State& state) {
  constexpr long kWarmUp = 10'000;
  constexpr long kRequests = 100'000;
  const std::string targets[] = {devicePath("canpark"), devicePath("rightascension")};
  for (auto _ : state) {
    try {
      AlpacaServer server;
      const pid_t pid = tramox::alpaca::bench::childListeningOn(server.port());
      if (pid < 0) {
        state.SkipWithError("cannot find the server process");
        return;
      }
      const long idle = tramox::alpaca::bench::residentKiB(pid);
      server.member("PUT", "connected", "Connected=True");
      KeepAliveClient client(server.host(), server.port());
      long warm = 0;
      for (long i = 1; i <= kRequests; ++i) {
        client.get(targets[i % 2]);
        if (i == kWarmUp) {
          warm = tramox::alpaca::bench::residentKiB(pid);
        }
      }
      const long after = tramox::alpaca::bench::residentKiB(pid);
      state.counters["idle_KiB"] = static_cast<double>(idle);
      state.counters["warm_KiB"] = static_cast<double>(warm);
      state.counters["after_100k_KiB"] = static_cast<double>(after);
      state.counters["growth_after_warm_KiB"] = static_cast<double>(after - warm);
    } catch (const std::exception& e) {
      state.SkipWithError(e.what());
      return;
    }
  }
}
BENCHMARK(ResidentMemoryOver100000Requests)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

}  // namespace
