// Designs of every family, shape and order 1 to 20 against reference designs
// computed at 40 digits with mpmath and checked against SciPy
// (tools/gen_ellf_fixtures.py): z-plane roots as multisets, the gain, and the
// response at the passband reference point.

#include "design/ellf.h"
#include "korin/base/mv_t.h"
#include "korin/poly/mpoly.h"
#include "support/fixtures.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdlib>
#include <gtest/gtest.h>
#include <iostream>
#include <limits>
#include <numbers>
#include <sstream>
#include <string>
#include <vector>

namespace tarvo {
namespace {

using cplx = std::complex<double>;

struct ReferenceDesign {
    int shape = 0;
    int kind = 0;
    int order = 0;
    double f1 = 0.0;
    double f2 = 0.0;
    double ripple = 0.0;
    double stop = 0.0;
    double gain = 0.0;
    cplx href;
    std::vector<cplx> poles;
    std::vector<cplx> zeros;
    std::string line; // the "design" line, to name a failing case
};

double Num(const std::string& word) {
    return std::strtod(word.c_str(), nullptr);
}

std::vector<ReferenceDesign> LoadDesigns(const std::string& name) {
    std::istringstream in(test::ReadFixture(name));
    std::vector<ReferenceDesign> designs;
    std::string line;
    ReferenceDesign d;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string tag;
        std::string a;
        std::string b;
        words >> tag;
        if (tag == "design") {
            d = ReferenceDesign{};
            d.line = line;
            std::string w[7];
            for (std::string& s : w) {
                words >> s;
            }
            d.shape = std::atoi(w[0].c_str());
            d.kind = std::atoi(w[1].c_str());
            d.order = std::atoi(w[2].c_str());
            d.f1 = Num(w[3]);
            d.f2 = Num(w[4]);
            d.ripple = Num(w[5]);
            d.stop = Num(w[6]);
        } else if (tag == "gain") {
            words >> a;
            d.gain = Num(a);
        } else if (tag == "href") {
            words >> a >> b;
            d.href = {Num(a), Num(b)};
        } else if (tag == "p" || tag == "z") {
            words >> a >> b;
            (tag == "p" ? d.poles : d.zeros).emplace_back(Num(a), Num(b));
        } else if (tag == "end") {
            designs.push_back(d);
        }
    }
    EXPECT_FALSE(designs.empty()) << name;
    return designs;
}

// Largest distance, relative to max(1, |ref|), after pairing each reference root
// with the nearest unused root of got; infinity when the counts differ.
double MultisetDistance(const std::vector<cplx>& ref, const std::vector<cplx>& got) {
    if (ref.size() != got.size()) {
        return std::numeric_limits<double>::infinity();
    }
    std::vector<bool> used(got.size(), false);
    double worst = 0.0;
    for (const cplx& r : ref) {
        std::size_t best = got.size();
        for (std::size_t j = 0; j < got.size(); ++j) {
            if (!used[j] &&
                (best == got.size() || std::abs(got[j] - r) < std::abs(got[best] - r))) {
                best = j;
            }
        }
        used[best] = true;
        worst = std::max(worst, std::abs(got[best] - r) / std::max(1.0, std::abs(r)));
    }
    return worst;
}

// The passband reference point: z = 1 (lowpass, bandstop), -1 (highpass), or the
// band centre e^(j w0) with cos w0 = cos(pi (f1 + f2)/2) / cos(pi (f2 - f1)/2).
cplx ReferencePoint(int shape, double f1, double f2) {
    if (shape == ellf::kHighpass) {
        return -1.0;
    }
    if (shape == ellf::kBandpass) {
        const double pi = std::numbers::pi;
        const double g = std::cos(pi * (f1 + f2) / 2.0) / std::cos(pi * (f2 - f1) / 2.0);
        return std::polar(1.0, std::acos(g));
    }
    return 1.0;
}

// gain * prod(z - zero) / prod(z - pole) in long double, factor by factor.
std::complex<long double> Response(const ellf& e, cplx z) {
    std::complex<long double> h = e.Gain();
    const std::complex<long double> zl(z.real(), z.imag());
    for (int i = 0; i < e.ZOrder(); ++i) {
        const std::complex<long double> zero(e.Zero(i).real(), e.Zero(i).imag());
        const std::complex<long double> pole(e.Pole(i).real(), e.Pole(i).imag());
        h *= (zl - zero) / (zl - pole);
    }
    return h;
}

std::vector<cplx> Poles(const ellf& e) {
    std::vector<cplx> v;
    v.reserve(static_cast<std::size_t>(e.ZOrder()));
    for (int i = 0; i < e.ZOrder(); ++i) {
        v.push_back(e.Pole(i).std());
    }
    return v;
}

std::vector<cplx> Zeros(const ellf& e) {
    std::vector<cplx> v;
    v.reserve(static_cast<std::size_t>(e.ZOrder()));
    for (int i = 0; i < e.ZOrder(); ++i) {
        v.push_back(e.Zero(i).std());
    }
    return v;
}

// Every complex root is directly followed by its exact conjugate.
bool ConjugatesFollow(const std::vector<cplx>& roots) {
    for (std::size_t i = 0; i < roots.size(); ++i) {
        if (roots[i].imag() == 0.0) {
            continue;
        }
        if (i + 1 == roots.size() || roots[i + 1] != std::conj(roots[i])) {
            return false;
        }
        ++i;
    }
    return true;
}

void CheckFamily(const std::string& file, double rootTol) {
    double worstRoot = 0.0;
    double worstGain = 0.0;
    double worstHref = 0.0;
    for (const ReferenceDesign& d : LoadDesigns(file)) {
        SCOPED_TRACE(d.line);
        ellf e;
        ASSERT_TRUE(e.Run(d.shape, d.kind, d.order, 2.0, d.f1, d.f2, d.ripple, d.stop));
        const bool band = d.shape == ellf::kBandpass || d.shape == ellf::kBandstop;
        ASSERT_EQ(e.ZOrder(), band ? 2 * d.order : d.order);

        const std::vector<cplx> poles = Poles(e);
        const std::vector<cplx> zeros = Zeros(e);
        const double dr =
            std::max(MultisetDistance(d.poles, poles), MultisetDistance(d.zeros, zeros));
        EXPECT_LE(dr, rootTol);
        EXPECT_TRUE(ConjugatesFollow(poles));
        EXPECT_TRUE(ConjugatesFollow(zeros));

        const double dg = std::abs(e.Gain() - d.gain) / std::abs(d.gain);
        EXPECT_LE(dg, 1e-9) << "gain " << e.Gain() << " want " << d.gain;

        const std::complex<long double> h = Response(e, ReferencePoint(d.shape, d.f1, d.f2));
        const double dh = static_cast<double>(
            std::abs(h - std::complex<long double>(d.href.real(), d.href.imag())) /
            std::abs(d.href));
        EXPECT_LE(dh, 1e-9);

        worstRoot = std::max(worstRoot, dr);
        worstGain = std::max(worstGain, dg);
        worstHref = std::max(worstHref, dh);
    }
    std::cout << file << ": largest root deviation " << worstRoot << ", gain " << worstGain
              << ", reference response " << worstHref << "\n";
}

TEST(EllfReference, Butterworth) {
    CheckFamily("ellf/butterworth.txt", 1e-12);
}

TEST(EllfReference, Chebyshev) {
    CheckFamily("ellf/chebyshev.txt", 1e-12);
}

TEST(EllfReference, Elliptic) {
    CheckFamily("ellf/elliptic.txt", 1e-9);
}

// The direct-form coefficients are the expansions of the roots (checked against
// the polynomial library's own expansion) at orders where that is well conditioned.
TEST(EllfReference, PolynomialsExpandTheRoots) {
    for (const ReferenceDesign& d : LoadDesigns("ellf/elliptic.txt")) {
        if (d.order > 6) {
            continue;
        }
        SCOPED_TRACE(d.line);
        ellf e;
        ASSERT_TRUE(e.Run(d.shape, d.kind, d.order, 2.0, d.f1, d.f2, d.ripple, d.stop));
        korin::mvect p;
        korin::mvect z;
        for (int i = 0; i < e.ZOrder(); ++i) {
            p.push_back(e.Pole(i));
            z.push_back(e.Zero(i));
        }
        korin::mvect a;
        korin::mvect b;
        korin::Poly(p, a);
        korin::Poly(z, b);
        const auto den = e.Den();
        const auto num = e.Num();
        ASSERT_EQ(den.size(), a.size());
        ASSERT_EQ(num.size(), b.size());
        for (std::size_t i = 0; i < den.size(); ++i) {
            EXPECT_NEAR(den[i], a[i].real(), 1e-11 * std::max(1.0, std::abs(a[i].real())));
            const double bi = e.Gain() * b[i].real();
            EXPECT_NEAR(num[i], bi, 1e-11 * std::max(std::abs(e.Gain()), std::abs(bi)));
        }
    }
}

} // namespace
} // namespace tarvo
