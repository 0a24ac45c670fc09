// A whole Design as the Design button runs it (checks, prototype, sections,
// gain, rebuild) and the group-delay curve a plot asks for; scipy_compare.py
// times SciPy's ellip/butter (output='sos') and group_delay on the same filters.

#include "design/design_action.h"
#include "design/iir_filter.h"
#include "design/response_curves.h"

#include <benchmark/benchmark.h>

namespace {

using tarvo::CIirFilter;
using tarvo::IirDesignSpec;

// Fs = 1 Hz with the band 0.2 to 0.3 Hz: edges 0.4 and 0.6 of the Nyquist frequency.
IirDesignSpec EllipticBandpass10() {
    IirDesignSpec form;
    form.family = tarvo::kElliptic;
    form.response = tarvo::kBandpass;
    form.order = 10;
    form.edge1 = 0.2;
    form.edge2 = 0.3;
    form.rippleDb = 1.0;
    form.attenDb = 80.0;
    return form;
}

IirDesignSpec ButterworthLowpass8() {
    IirDesignSpec form;
    form.order = 8;
    form.edge1 = 0.2;
    return form;
}

void BM_DesignEllipticBandpass10(benchmark::State& state) {
    const IirDesignSpec form = EllipticBandpass10();
    for (auto _ : state) {
        CIirFilter filter;
        filter.fs = tarvo::CFs(1.0);
        benchmark::DoNotOptimize(tarvo::RunDesign(filter, form, -130.0));
        benchmark::DoNotOptimize(filter.sos.gain);
    }
}
BENCHMARK(BM_DesignEllipticBandpass10);

void BM_DesignButterworthLowpass8(benchmark::State& state) {
    const IirDesignSpec form = ButterworthLowpass8();
    for (auto _ : state) {
        CIirFilter filter;
        filter.fs = tarvo::CFs(1.0);
        benchmark::DoNotOptimize(tarvo::RunDesign(filter, form, -130.0));
        benchmark::DoNotOptimize(filter.sos.gain);
    }
}
BENCHMARK(BM_DesignButterworthLowpass8);

// The group-delay curve of the elliptic bandpass at 8192 points, 0 to Fs/2.
void BM_GroupDelayCurve8192(benchmark::State& state) {
    CIirFilter filter;
    filter.fs = tarvo::CFs(1.0);
    tarvo::RunDesign(filter, EllipticBandpass10(), -130.0);
    korin::mvect f;
    korin::mvect v;
    for (auto _ : state) {
        tarvo::ComputeResponse(filter, 0.0, 0.5, 8192, tarvo::kPlotGroupDelay, f, v);
        benchmark::DoNotOptimize(v.data());
    }
}
BENCHMARK(BM_GroupDelayCurve8192);

} // namespace
