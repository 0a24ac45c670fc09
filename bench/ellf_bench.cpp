// Design time of the prototype engine for representative specifications.

#include "design/ellf.h"

#include <benchmark/benchmark.h>

namespace {

using tarvo::ellf;

void Design(benchmark::State& state, int shape, int kind, int order, double f1, double f2,
            double ripple, double stop) {
    for (auto _ : state) {
        (void)_;
        ellf e;
        const bool ok = e.Run(shape, kind, order, 2.0, f1, f2, ripple, stop);
        benchmark::DoNotOptimize(ok);
        benchmark::DoNotOptimize(e.Gain());
    }
}

void EllipticBandpass10(benchmark::State& state) {
    Design(state, ellf::kBandpass, ellf::kElliptic, 10, 0.2, 0.3, 1.0, -80.0);
}
void ButterworthLowpass8(benchmark::State& state) {
    Design(state, ellf::kLowpass, ellf::kButterworth, 8, 0.0, 0.2, 0.0, 0.0);
}
void ChebyshevLowpass20(benchmark::State& state) {
    Design(state, ellf::kLowpass, ellf::kChebyshev, 20, 0.0, 0.2, 1.0, 0.0);
}
void ChebyshevBandpass20(benchmark::State& state) {
    Design(state, ellf::kBandpass, ellf::kChebyshev, 20, 0.2, 0.3, 1.0, 0.0);
}

BENCHMARK(EllipticBandpass10);
BENCHMARK(ButterworthLowpass8);
BENCHMARK(ChebyshevLowpass20);
BENCHMARK(ChebyshevBandpass20);

} // namespace
