// Frequency response of a 20-section filter at 8192 points, the size of the
// response the filter object is asked for; scipy_compare.py times SciPy's
// sosfreqz on the same sections and grid.

#include "korin/base/mmatrix.h"
#include "korin/signal/freqz.h"
#include "korin/signal/zp2sos.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdint>
#include <numbers>

namespace {

constexpr int kSections = 20;
constexpr std::int32_t kPoints = 8192;

// 20 sections of a narrow bandpass-like filter: pole pairs at radii 0.90..0.995
// and zero pairs on the unit circle (the same roots as scipy_compare.py).
korin::msos TwentySections() {
    korin::mvect z;
    korin::mvect p;
    for (int k = 0; k < kSections; ++k) {
        const double radius = 0.9 + 0.095 * k / (kSections - 1);
        const double pole = 0.25 * std::numbers::pi + 0.01 * k;
        const double zero = 0.1 * std::numbers::pi + 0.04 * k;
        p.push_back(std::polar(radius, pole));
        p.push_back(std::polar(radius, -pole));
        z.push_back(std::polar(1.0, zero));
        z.push_back(std::polar(1.0, -zero));
    }
    korin::msos sos;
    sos.gain = 1e-3;
    korin::ZpToSos(sos, z, p);
    return sos;
}

// s = j*omega on sosfreqz's default grid: omega = pi*i/N, i = 0..N-1.
korin::mvect Grid() {
    korin::mvect s;
    for (std::int32_t i = 0; i < kPoints; ++i) {
        s.push_back(korin::mcplx(0.0, std::numbers::pi * i / kPoints));
    }
    return s;
}

// What the filter object's ResponseAt does with sections: FreqzSos times the gain.
void BM_ResponseAt20Sections8192(benchmark::State& state) {
    const korin::msos sos = TwentySections();
    const korin::mvect s = Grid();
    korin::mvect h;
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores)
        korin::FreqzSos(sos, s, h);
        h.Scale(korin::mcplx(sos.gain));
        benchmark::DoNotOptimize(h.data());
    }
}
BENCHMARK(BM_ResponseAt20Sections8192)->Unit(benchmark::kMicrosecond);

// Baseline: each row through FreqzBA, the products taken one row at a time.
void BM_RowByRowFreqzBA(benchmark::State& state) {
    const korin::msos sos = TwentySections();
    const korin::mvect s = Grid();
    korin::mvect h;
    korin::mvect row;
    for (auto _ : state) { // NOLINT(clang-analyzer-deadcode.DeadStores)
        h.assign(s.size(), korin::mcplx(1.0));
        for (std::size_t i = 0; i < sos.Rows(); ++i) {
            const korin::mvect b{sos[i][0], sos[i][1], sos[i][2]};
            const korin::mvect a{sos[i][3], sos[i][4], sos[i][5]};
            korin::FreqzBA(b, a, s, row);
            h.MulElems(row);
        }
        h.Scale(korin::mcplx(sos.gain));
        benchmark::DoNotOptimize(h.data());
    }
}
BENCHMARK(BM_RowByRowFreqzBA)->Unit(benchmark::kMicrosecond);

} // namespace
