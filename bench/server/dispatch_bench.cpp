// Late binding's cost: a property read by dispatch identifier against the direct member call,
// and RightAscension through the whole client path on the simulated controller.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/posix/reg_file_registry.h"
#include "server/binding/automation_objects.h"
#include "server/portable/client_runtime.h"

namespace binding = tramox::server::binding;
namespace portable = tramox::server::portable;
using binding::Variant;

static void DirectMemberCall(benchmark::State& state) {
  auto rate = std::make_shared<tramox::rates::TRate>(1.5, 2.5);
  for (auto _ : state) {
    benchmark::DoNotOptimize(rate.get());
    benchmark::DoNotOptimize(rate->Get_Maximum());
  }
}
BENCHMARK(DirectMemberCall);

static void PropertyReadByDispatchIdentifier(benchmark::State& state) {
  auto rate = binding::newRateObject(std::make_shared<tramox::rates::TRate>(1.5, 2.5));
  binding::DispParams none;
  for (auto _ : state) {
    Variant result;
    rate->Invoke(2, binding::kDispatchPropertyGet, &none, &result, nullptr, nullptr);
    benchmark::DoNotOptimize(result.doubleValue());
  }
}
BENCHMARK(PropertyReadByDispatchIdentifier);

// Connected to the simulated controller, logging off, through the module as a client loads it.
static void RightAscensionOnTheSimulator(benchmark::State& state) {
  const auto home =
      std::filesystem::temp_directory_path() / ("tramox-bench-" + std::to_string(getpid()));
  std::filesystem::create_directories(home);
  setenv("TRAMOX_HOME", home.c_str(), 1);
  setenv("TRAMOX_CONTROLLER", TRAMOX_SIMULATOR_FILE, 1);
  {
    tramox::platform::RegFileRegistry registry(home.string());
    portable::ClientRuntime runtime(registry, {});
    if (runtime.registerModule(TRAMOX_MODULE_FILE) != 0) {
      state.SkipWithError("cannot register the module");
      return;
    }
    binding::ComRef<binding::IDispatch> scope;
    if (runtime.createObject("TRAMOX.Telescope", scope) != 0) {
      state.SkipWithError("cannot create the driver object");
      return;
    }
    portable::invokeByName(*scope.get(), "Connected", binding::kDispatchPropertyPut,
                           {Variant::ofBool(true)});
    const std::string name = "RightAscension";
    tramox::server::DispId id = 0;
    scope->GetIDsOfNames(&name, 1, &id);
    binding::DispParams none;
    for (auto _ : state) {
      Variant result;
      scope->Invoke(id, binding::kDispatchPropertyGet, &none, &result, nullptr, nullptr);
      benchmark::DoNotOptimize(result.doubleValue());
    }
    portable::invokeByName(*scope.get(), "Connected", binding::kDispatchPropertyPut,
                           {Variant::ofBool(false)});
  }
  std::filesystem::remove_all(home);
}
BENCHMARK(RightAscensionOnTheSimulator);

BENCHMARK_MAIN();
