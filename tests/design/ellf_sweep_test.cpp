// Orders 1 to 100 of every family and shape over narrow, wide, near-0 and
// near-Nyquist edges: the engine either refuses or hands back a usable filter
// (finite roots, every pole strictly inside the unit circle, and the response
// 1/scale at the passband reference point). It must also finish; CTest's
// timeout guards that.

#include "design/ellf.h"

#include <cmath>
#include <complex>
#include <gtest/gtest.h>
#include <iostream>
#include <map>
#include <numbers>
#include <string>
#include <vector>

namespace tarvo {
namespace {

using cplx = std::complex<double>;

struct Family {
    int kind;
    double ripple;
    double stop;
    std::string name;
};

struct Edges {
    double f1;
    double f2;
    std::string name;
};

const std::vector<Family> kFamilies = {
    {ellf::kButterworth, 0.0, 0.0, "Butterworth"},
    {ellf::kChebyshev, 0.1, 0.0, "Chebyshev 0.1 dB"},
    {ellf::kChebyshev, 3.0, 0.0, "Chebyshev 3 dB"},
    {ellf::kElliptic, 1.0, -60.0, "Elliptic 1 dB 60 dB"},
    {ellf::kElliptic, 0.1, -40.0, "Elliptic 0.1 dB 40 dB"},
    {ellf::kElliptic, 0.5, -100.0, "Elliptic 0.5 dB 100 dB"},
};

const std::vector<Edges> kSingleEdges = {{0.0, 0.001, "near 0"},
                                         {0.0, 0.2, "typical"},
                                         {0.0, 0.5, "half"},
                                         {0.0, 0.999, "near Nyquist"}};

const std::vector<Edges> kBandEdges = {{0.001, 0.003, "near 0"},
                                       {0.2, 0.5, "typical"},
                                       {0.4, 0.401, "narrow"},
                                       {0.01, 0.99, "wide"},
                                       {0.97, 0.999, "near Nyquist"}};

const char* ShapeName(int shape) {
    switch (shape) {
    case ellf::kLowpass:
        return "lowpass";
    case ellf::kHighpass:
        return "highpass";
    case ellf::kBandpass:
        return "bandpass";
    default:
        return "bandstop";
    }
}

cplx ReferencePoint(int shape, double f1, double f2) {
    if (shape == ellf::kHighpass) {
        return -1.0;
    }
    if (shape == ellf::kBandpass) {
        const double pi = std::numbers::pi;
        return std::polar(
            1.0, std::acos(std::cos(pi * (f1 + f2) / 2.0) / std::cos(pi * (f2 - f1) / 2.0)));
    }
    return 1.0;
}

// gain * prod (z - zero) / (z - pole) in long double, whose range holds the
// products of up to 200 factors.
std::complex<long double> Response(const ellf& e, cplx z) {
    std::complex<long double> h = e.Gain();
    const std::complex<long double> zl(z.real(), z.imag());
    for (int i = 0; i < e.ZOrder(); ++i) {
        h *= (zl - std::complex<long double>(e.Zero(i).real(), e.Zero(i).imag())) /
             (zl - std::complex<long double>(e.Pole(i).real(), e.Pole(i).imag()));
    }
    return h;
}

// 1 / scale: 10^(-R/20) for even Chebyshev and elliptic orders, else 1.
double ReferenceResponse(const Family& f, int order) {
    return (f.kind != ellf::kButterworth && order % 2 == 0) ? std::pow(10.0, -f.ripple / 20.0)
                                                            : 1.0;
}

void ExpectUsable(const ellf& e, const Family& f, int shape, const Edges& edges, int order) {
    const int m = (shape == ellf::kBandpass || shape == ellf::kBandstop) ? 2 * order : order;
    ASSERT_EQ(e.ZOrder(), m);
    ASSERT_EQ(e.Den().size(), static_cast<std::size_t>(m) + 1);
    ASSERT_EQ(e.Num().size(), static_cast<std::size_t>(m) + 1);
    for (int i = 0; i < m; ++i) {
        const cplx p = e.Pole(i).std();
        const cplx z = e.Zero(i).std();
        ASSERT_TRUE(std::isfinite(p.real()) && std::isfinite(p.imag()) && std::isfinite(z.real()) &&
                    std::isfinite(z.imag()));
        ASSERT_LT(std::abs(p), 1.0) << "pole " << i;
    }
    for (const double c : e.Den()) {
        ASSERT_TRUE(std::isfinite(c));
    }
    for (const double c : e.Num()) {
        ASSERT_TRUE(std::isfinite(c));
    }
    ASSERT_TRUE(std::isnormal(e.Gain()));
    const double want = ReferenceResponse(f, order);
    const std::complex<long double> h = Response(e, ReferencePoint(shape, edges.f1, edges.f2));
    EXPECT_NEAR(static_cast<double>(std::abs(h - static_cast<long double>(want))) / want, 0.0,
                1e-9);

    // The passband edges keep their specified response (-3.01 dB or -R dB).
    const double edgeDb = f.kind == ellf::kButterworth ? 10.0 * std::log10(0.5) : -f.ripple;
    for (const double edge : {edges.f1, edges.f2}) {
        if (edge == 0.0) {
            continue;
        }
        const double db = 20.0 * std::log10(static_cast<double>(std::abs(
                                     Response(e, std::polar(1.0, std::numbers::pi * edge)))));
        EXPECT_NEAR(db, edgeDb, 0.001) << "edge " << edge;
    }
}

class EllfSweep : public ::testing::TestWithParam<Family> {};

TEST_P(EllfSweep, EveryOrderIsUsableOrRefused) {
    const Family& f = GetParam();
    // At the typical edges, per shape: the highest order designed, and the
    // order up to which every order is designed.
    std::map<std::string, int> highestTypical;
    std::map<std::string, int> allUpTo;
    int designed = 0;
    int refused = 0;
    for (const int shape : {ellf::kLowpass, ellf::kHighpass, ellf::kBandpass, ellf::kBandstop}) {
        const bool band = shape == ellf::kBandpass || shape == ellf::kBandstop;
        for (const Edges& edges : band ? kBandEdges : kSingleEdges) {
            for (int order = 1; order <= 100; ++order) {
                SCOPED_TRACE(f.name + " " + ShapeName(shape) + " " + edges.name + " order " +
                             std::to_string(order));
                const std::string key = ShapeName(shape);
                ellf e;
                if (!e.Run(shape, f.kind, order, 2.0, edges.f1, edges.f2, f.ripple, f.stop)) {
                    if (edges.name == "typical" && allUpTo.count(key) == 0) {
                        allUpTo[key] = order - 1;
                    }
                    ++refused;
                    EXPECT_EQ(e.ZOrder(), 0);
                    EXPECT_TRUE(e.Den().empty());
                    continue;
                }
                ++designed;
                ExpectUsable(e, f, shape, edges, order);
                if (edges.name == "typical") {
                    highestTypical[key] = std::max(highestTypical[key], order);
                }
            }
        }
    }
    std::cout << f.name << ": " << designed << " designs, " << refused << " refused\n";
    for (const auto& [name, order] : highestTypical) {
        const int upTo = allUpTo.count(name) != 0 ? allUpTo[name] : 100;
        std::cout << "  typical edges, " << name << ": every order up to " << upTo << ", highest "
                  << order << "\n";
        // Well beyond the orders the reference fixtures check.
        EXPECT_GE(upTo, 30) << name;
    }
}

INSTANTIATE_TEST_SUITE_P(Families, EllfSweep, ::testing::ValuesIn(kFamilies),
                         [](const ::testing::TestParamInfo<Family>& info) {
                             return "Family" + std::to_string(info.index);
                         });

} // namespace
} // namespace tarvo
