// Targets on the reference machine: NutationAngles <= 0.5 us, RefractionIntegral for the
// pipeline's arguments <= 8 us, the pipeline's constructor <= 20 us, ObservedToMeanJ2000
// above 14 deg altitude <= 1 us.
#include <benchmark/benchmark.h>

#include "astro/nutation.h"
#include "astro/radec_transform.h"
#include "astro/refraction.h"
#include "astro/time_scales.h"
#include "common/units.h"

namespace {

using namespace tramox::astro;
using tramox::units::degreesToRadians;

const SiteParameters kSite{degreesToRadians(44.8), degreesToRadians(-2.3), 150.0};

void BM_NutationAngles(benchmark::State& state) {
  double jd = 2460676.25;
  for (auto _ : state) {
    benchmark::DoNotOptimize(NutationAngles(jd));
    jd += 0.001;
  }
}
BENCHMARK(BM_NutationAngles);

void BM_RefractionIntegralPipelineArguments(benchmark::State& state) {
  const double zenithDistance = degreesToRadians(static_cast<double>(state.range(0)));
  for (auto _ : state) {
    benchmark::DoNotOptimize(RefractionIntegral(zenithDistance, 150.0, 15.0 + 273.1, 1013.25, 0.6,
                                                0.55, degreesToRadians(44.8), 0.0065, 1e-8));
  }
}
BENCHMARK(BM_RefractionIntegralPipelineArguments)->Arg(45)->Arg(76)->Arg(85)->Arg(90);

void BM_PipelineConstructor(benchmark::State& state) {
  for (auto _ : state) {
    TRADECtranfos pipeline(kSite, AtmosphereParameters{});
    benchmark::DoNotOptimize(pipeline.RefractionA);
  }
}
BENCHMARK(BM_PipelineConstructor);

void BM_ObservedToMeanJ2000(benchmark::State& state) {
  const TRADECtranfos pipeline(kSite, AtmosphereParameters{});
  const double utDate = 45678.9;
  // Observed altitude set by the argument, on the meridian south of the zenith.
  const double altitudeDeg = static_cast<double>(state.range(0));
  const double dec = degreesToRadians(44.8 - (90.0 - altitudeDeg));
  const double ra = LocalSiderealTime(kSite.westLongitudeRad, utDate);
  for (auto _ : state) {
    benchmark::DoNotOptimize(pipeline.ObservedToMeanJ2000(utDate, ra, dec));
  }
}
BENCHMARK(BM_ObservedToMeanJ2000)->Arg(15)->Arg(45)->Arg(80)->Arg(10);

}  // namespace
