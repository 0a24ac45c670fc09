// Jenkins-Traub roots of real polynomials of degree 10 and 40. Each iteration solves
// one of a fixed set of polynomials with uniformly random roots (real roots and
// conjugate pairs in the annulus 0.2 < |z| < 1.5), so no single lucky case decides.
// Run with --benchmark_repetitions=9 --benchmark_report_aggregates_only=true for
// the medians.

#include "korin/poly/rpoly.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace {

std::vector<std::vector<double>> MakeSet(std::size_t degree) {
    std::mt19937_64 rng(0x600d + degree);
    const auto uniform = [&rng](double lo, double hi) {
        return lo + (hi - lo) * static_cast<double>(rng() >> 11) * 0x1.0p-53;
    };
    std::vector<std::vector<double>> set;
    for (int i = 0; i < 16; ++i) {
        std::vector<double> p{1.0};
        const auto multiply = [&p](const std::vector<double>& f) {
            std::vector<double> out(p.size() + f.size() - 1, 0.0);
            for (std::size_t a = 0; a < p.size(); ++a)
                for (std::size_t b = 0; b < f.size(); ++b)
                    out[a + b] += p[a] * f[b];
            p = out;
        };
        while (p.size() - 1 < degree) {
            const double m = uniform(0.2, 1.5);
            const double phi = uniform(0.0, 3.14159);
            if (p.size() == degree || uniform(0.0, 1.0) < 0.25)
                multiply({1.0, -m * std::cos(phi)});
            else
                multiply({1.0, -2.0 * m * std::cos(phi), m * m});
        }
        set.push_back(p);
    }
    return set;
}

void BM_RealPolyRoots(benchmark::State& state) {
    const auto set = MakeSet(static_cast<std::size_t>(state.range(0)));
    std::vector<double> re;
    std::vector<double> im;
    std::size_t i = 0;
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores): the benchmark loop
        const bool ok = korin::RealPolyRoots(set[i++ % set.size()], re, im);
        benchmark::DoNotOptimize(ok);
        benchmark::DoNotOptimize(re.data());
    }
}

BENCHMARK(BM_RealPolyRoots)->Arg(10)->Arg(40);

} // namespace
