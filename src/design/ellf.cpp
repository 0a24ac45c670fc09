#include "design/ellf.h"

#include "design/ellf_math.h"
#include "korin/base/kassert.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <numbers>
#include <utility>

namespace tarvo {

namespace {

using korin::mcplx;

constexpr double kPi = std::numbers::pi;
// e^(x / kD) = 10^(x / 10): decibels to power ratios.
constexpr double kD = 10.0 / std::numbers::ln10;
// A pole closer to the unit circle than a few rounding units cannot be told
// from one on it.
constexpr double kMaxPoleRadius = 1.0 - 4.0 * std::numeric_limits<double>::epsilon();
// How far (dB) the response at a passband edge may stray from the specified
// value before the design counts as lost to rounding.
constexpr double kEdgeToleranceDb = 0.001;

bool AllFinite(std::initializer_list<double> values) {
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

mcplx ScaleByPowerOfTwo(const mcplx& z, int e) {
    return {std::ldexp(z.real(), e), std::ldexp(z.imag(), e)};
}

// A product of complex factors held as a mantissa of modulus near 1 and a binary
// exponent, so that a long product of small (or large) factors neither
// underflows nor overflows before it is divided by another.
class ScaledProduct {
public:
    void Multiply(const mcplx& factor) {
        const double size = std::max(std::abs(factor.real()), std::abs(factor.imag()));
        if (size == 0.0) {
            zero_ = true;
            return;
        }
        // Filter roots give factors of ordinary size: multiply directly and
        // rescale only when the mantissa drifts far from 1. Anything else (or a
        // non-finite factor) takes the careful path.
        if ((size > 0x1p-400 && size < 0x1p400) || !std::isfinite(size)) {
            mant_ *= factor;
        } else {
            const int ef = std::ilogb(size);
            mant_ *= ScaleByPowerOfTwo(factor, -ef);
            exp_ += ef;
        }
        const double m = std::max(std::abs(mant_.real()), std::abs(mant_.imag()));
        // A non-finite mantissa stays so; the engine refuses non-finite results.
        if (std::isfinite(m) && m > 0.0 && !(m > 0x1p-500 && m < 0x1p500)) {
            const int em = std::ilogb(m);
            mant_ = ScaleByPowerOfTwo(mant_, -em);
            exp_ += em;
        }
    }
    bool IsZero() const { return zero_; }

    // this / other as a double complex (0 or infinite parts when out of range).
    mcplx DividedBy(const ScaledProduct& other) const {
        const mcplx q = mant_ / other.mant_;
        const long e = std::clamp(exp_ - other.exp_, -4000L, 4000L);
        return ScaleByPowerOfTwo(q, static_cast<int>(e));
    }

private:
    mcplx mant_{1.0, 0.0};
    long exp_ = 0;
    bool zero_ = false;
};

} // namespace

ellf::ellf() = default;

ellf::~ellf() = default;

void ellf::ClearResults() {
    zOrder = 0;
    lastIndex = -1;
    gain = 0.0;
}

bool ellf::Run(int shapeIn, int kindIn, int n, double fs, double f1, double f2, double r,
               double s) {
    ClearResults();
    const bool argsOk = shapeIn >= kLowpass && shapeIn <= kBandstop && kindIn >= kButterworth &&
                        kindIn <= kElliptic && n >= 1 && n <= kMaxOrder &&
                        AllFinite({fs, f1, f2, r, s}) && fs > 0.0;
    if (!argsOk) {
        return false;
    }
    const unsigned long errorsBefore = MathErrorCount();
    shape = shapeIn;
    kind = kindIn;
    order = n;
    sampleRate = fs;
    edgeLo = f1;
    edgeHi = f2;
    rippleDb = r;
    stopSpec = s;

    // Storage and edges. 4n + 2 holds the 2M roots (M <= 2n) and M + 1
    // coefficients of every shape.
    capacity = 4 * n + 2;
    const auto cap = static_cast<std::size_t>(capacity);
    den.assign(cap, 0.0);
    num.assign(cap, 0.0);
    work.assign(cap, 0.0);
    sRoots.assign(cap, 0.0);
    zRoots.assign(cap, mcplx());
    if (edgeLo > edgeHi) {
        std::swap(edgeLo, edgeHi);
    }
    nOrder = n;

    bool ok =
        RippleConstants() && BandGeometry() && SplaneRoots() && ZplaneRoots() && CompleteZeros();
    if (ok) {
        if (expandPolynomials) {
            Expand();
        }
        ok = ReferenceGain() && ResultsUsable() && PassbandEdgesHold();
    }
    // A helper that had to return its fallback value gave no answer.
    if (MathErrorCount() != errorsBefore) {
        ok = false;
    }
    if (!ok) {
        ClearResults();
    }
    return ok;
}

// Ripple factor and the reference response 1 / scale.
bool ellf::RippleConstants() {
    const bool even = order % 2 == 0;
    scale = 1.0;
    if (kind == kChebyshev) {
        phi = std::exp(0.5 * rippleDb / kD);
        scale = even ? phi : 1.0;
        return std::isfinite(phi);
    }
    if (kind == kElliptic) {
        const double E = std::exp(rippleDb / kD);
        scale = even ? std::sqrt(E) : 1.0;
        eps = std::sqrt(E - 1.0);
        return AllFinite({scale, eps});
    }
    return true;
}

// Prewarped band geometry, and for the elliptic kind its modular constants.
bool ellf::BandGeometry() {
    fNyq = sampleRate / 2.0;
    double bw = edgeHi - edgeLo;
    double a = edgeHi;
    if (shape == kHighpass) {
        bw = edgeHi;
        a = fNyq;
    }
    const double theta = kPi * bw / sampleRate;
    W = std::sin(theta) / std::cos(theta);
    gamma = std::cos(kPi * (a + edgeLo) / sampleRate) / std::cos(theta);
    const bool band = shape == kBandpass || shape == kBandstop;
    if (!AllFinite({W}) || (band && !std::isfinite(gamma))) {
        return false;
    }
    if (kind == kElliptic) {
        return EllipticConstants();
    }
    wc = W;
    omegaB = (gamma - std::cos(2.0 * kPi * edgeHi / sampleRate)) /
             std::sin(2.0 * kPi * edgeHi / sampleRate);
    return !(kind == kChebyshev && band && !std::isfinite(omegaB));
}

bool ellf::EllipticConstants() {
    const bool band = shape == kBandpass || shape == kBandstop;
    const bool inverse = shape == kHighpass || shape == kBandstop;

    // Stopband edge: given, or the one where the attenuation is reached at this order.
    double f3 = stopSpec;
    if (stopSpec <= 0.0) {
        const double A = std::exp(-stopSpec / kD);
        const double ratio = eps / std::sqrt(A - 1.0);
        const double m1 = ratio * ratio;
        // K of the complementary parameter straight from ellpk(m1): forming
        // 1 - (1 - m1) would lose the low bits of a small m1.
        const double q = std::exp(-kPi * ellpk(m1) / (nOrder * ellpk(1.0 - m1)));
        const std::optional<double> km = ModulusFromNome(q);
        if (!km || !(*km > 0.0)) {
            return false;
        }
        wr = inverse ? *km : 1.0 / *km;
        if (!band) {
            f3 = std::atan(W * wr) * sampleRate / kPi;
        } else {
            const double a2 = (W * wr) * (W * wr);
            const double b2 =
                (gamma + std::sqrt(a2 * (1.0 - gamma * gamma) + a2 * a2)) / (1.0 + a2);
            f3 = (kPi / 2.0 - std::asin(b2)) * sampleRate / (2.0 * kPi);
        }
    }
    if (!std::isfinite(f3)) {
        return false;
    }
    switch (shape) {
    case kLowpass:
        if (f3 <= edgeHi) {
            return false;
        }
        break;
    case kBandpass:
        if (edgeLo <= f3 && f3 <= edgeHi) {
            return false;
        }
        break;
    case kHighpass:
        if (f3 >= edgeHi) {
            return false;
        }
        break;
    default:
        if (!(edgeLo < f3 && f3 < edgeHi)) {
            return false;
        }
        break;
    }

    // Selectivity from the stopband edge.
    const double alpha = kPi * f3 / sampleRate;
    if (!band) {
        wr = std::sin(alpha) / (std::cos(alpha) * W);
    } else {
        wr = (gamma - std::cos(2.0 * alpha)) / (std::sin(2.0 * alpha) * W);
    }
    if (inverse) {
        wr = 1.0 / wr;
    }
    wr = std::abs(wr);

    // Modular constants of the prototype.
    wc = 1.0;
    k = 1.0 / wr;
    m = k * k;
    Kk = ellpk(1.0 - m);
    const double q = std::exp(-kPi * nOrder * ellpk(m) / Kk);
    const std::optional<double> k1 = ModulusFromNome(q);
    if (!k1) {
        return false;
    }
    const double m1 = *k1 * *k1;
    u = ellik(std::atan(1.0 / eps), 1.0 - m1) * Kk / (nOrder * ellpk(1.0 - m1));
    return AllFinite({wr, k, m, Kk, u});
}

// s -> 1/s on count stored roots from index first; (x, y) / (x^2 + y^2) keeps the
// member of each conjugate pair with a non-negative imaginary part.
void ellf::MapReciprocal(int first, int count) {
    for (int i = first; i < first + count; ++i) {
        const auto ix = 2 * static_cast<std::size_t>(i);
        const double x = sRoots[ix];
        const double y = sRoots[ix + 1];
        const double d = x * x + y * y;
        sRoots[ix] = x / d;
        sRoots[ix + 1] = y / d;
    }
}

// The prototype's s-plane poles, then zeros, one member of each
// conjugate pair (the one with a non-negative imaginary part).
bool ellf::SplaneRoots() {
    std::fill(sRoots.begin(), sRoots.end(), 0.0);
    numPoles = (order + 1) / 2;
    numZeros = 0;
    const auto re = [this](int i) -> double& { return sRoots[2 * static_cast<std::size_t>(i)]; };
    const auto im = [this](int i) -> double& {
        return sRoots[2 * static_cast<std::size_t>(i) + 1];
    };

    if (kind != kElliptic) {
        double a = 1.0;
        double b = 1.0;
        if (kind == kChebyshev) {
            rho = (phi - 1.0) * (phi + 1.0);
            eps = std::sqrt(rho);
            phi = std::pow((phi + 1.0) / eps, 1.0 / nOrder);
            b = 0.5 * (phi + 1.0 / phi);
            a = 0.5 * (phi - 1.0 / phi);
        }
        double t = (order % 2 != 0) ? 0.0 : kPi / (2.0 * nOrder);
        for (int i = 0; i < numPoles; ++i) {
            re(i) = -a * std::cos(t);
            im(i) = b * std::sin(t);
            t += kPi / nOrder;
        }
        if (shape == kHighpass || shape == kBandstop) {
            MapReciprocal(0, numPoles);
            // The zeros at the origin are already in place (the array is cleared).
            numZeros = numPoles + (shape == kBandstop ? order / 2 : 0);
        }
    } else {
        numZeros = order / 2;
        const JacobiElliptic j1 = ellpj(u, 1.0 - m);
        // Zero i and pole i share the elliptic functions at v (numZeros <= numPoles).
        for (int i = 0; i < numPoles; ++i) {
            const double v = (order - 1 - 2 * i) * Kk / nOrder;
            const JacobiElliptic j = ellpj(v, m);
            if (i < numZeros) {
                re(numPoles + i) = 0.0;
                im(numPoles + i) = wc / (k * j.sn);
            }
            const double r = k * j.sn * j1.sn;
            const double D = j1.cn * j1.cn + r * r;
            re(i) = -wc * j.cn * j.dn * j1.sn * j1.cn / D;
            im(i) = wc * j.sn * j1.dn / D;
        }
        if (shape == kHighpass || shape == kBandstop) {
            MapReciprocal(0, numPoles + numZeros);
            while (numPoles > numZeros) {
                re(numPoles + numZeros) = 0.0;
                im(numPoles + numZeros) = 0.0;
                ++numZeros;
            }
        }
    }
    const auto used = sRoots.begin() + 2 * (numPoles + numZeros);
    return std::all_of(sRoots.begin(), used, [](double v) { return std::isfinite(v); });
}

bool ellf::AppendZ(const mcplx& z) {
    if (lastIndex + 1 >= capacity) {
        return false;
    }
    ++lastIndex;
    zRoots[static_cast<std::size_t>(lastIndex)] = z;
    return true;
}

// Bilinear map of the stored roots, poles first; conjugates follow.
bool ellf::ZplaneRoots() {
    std::fill(zRoots.begin(), zRoots.end(), mcplx());
    lastIndex = -1;
    const bool band = shape == kBandpass || shape == kBandstop;
    const double C = W;
    const double omega = (kind == kChebyshev) ? omegaB : W;
    const mcplx one(1.0, 0.0);
    for (int j = 0; j < numPoles + numZeros; ++j) {
        const mcplx r(sRoots[2 * static_cast<std::size_t>(j)],
                      sRoots[2 * static_cast<std::size_t>(j) + 1]);
        if (!band) {
            const mcplx z = cdiv(one - C * r, one + C * r);
            if (!AppendZ(z) || (r.imag() != 0.0 && !AppendZ(korin::Conj(z)))) {
                return false;
            }
        } else {
            // (1 - r W) z^2 - 2 gamma z + (1 + r W) = 0.
            const mcplx a = one - r * omega;
            const double b = -2.0 * gamma;
            const mcplx c = one + r * omega;
            const mcplx sq = csqrt(mcplx(b * b) - 4.0 * (a * c));
            const mcplx twoA = 2.0 * a;
            const mcplx root1 = cdiv(twoA, mcplx(-b) + sq);
            if (!AppendZ(root1) || (root1.imag() != 0.0 && !AppendZ(korin::Conj(root1)))) {
                return false;
            }
            // A real root with a complex root1 has root2 = conj(root1), already stored.
            if (r.imag() != 0.0 || root1.imag() == 0.0) {
                const mcplx root2 = cdiv(twoA, mcplx(-b) - sq);
                if (!AppendZ(root2) || (root2.imag() != 0.0 && !AppendZ(korin::Conj(root2)))) {
                    return false;
                }
            }
        }
        if (j == numPoles - 1) {
            zOrder = lastIndex + 1;
        }
    }
    return zOrder == (band ? 2 * order : order);
}

// The zeros the mapping leaves out, at z = -1 (Nyquist) and z = +1 (0 Hz).
bool ellf::CompleteZeros() {
    const int M = zOrder;
    while (lastIndex < 2 * M - 1) {
        bool ok = true;
        if (kind == kElliptic) {
            ok = AppendZ(-1.0) && ((shape != kBandpass && shape != kBandstop) || AppendZ(1.0));
        } else {
            ok = (shape == kHighpass || AppendZ(-1.0)) &&
                 ((shape != kBandpass && shape != kHighpass) || AppendZ(1.0));
        }
        if (!ok) {
            return false;
        }
    }
    return lastIndex == 2 * M - 1;
}

// Expands the poles into den and the zeros into num, real and imaginary
// parts apart (work holds the imaginary parts, which cancel for conjugate pairs).
void ellf::Expand() {
    const auto M = static_cast<std::size_t>(zOrder);
    for (std::size_t set = 0; set < 2; ++set) {
        std::fill(num.begin(), num.end(), 0.0);
        std::fill(work.begin(), work.end(), 0.0);
        num[0] = 1.0;
        for (std::size_t j = 0; j < M; ++j) {
            const mcplx& root = zRoots[set * M + j];
            const double x = root.real();
            const double y = root.imag();
            for (std::size_t i = 0; i <= j; ++i) {
                const std::size_t h = j - i;
                num[h + 1] = num[h + 1] - x * num[h] + y * work[h];
                work[h + 1] = work[h + 1] - y * num[h] - x * work[h];
            }
        }
        if (set == 0) {
            std::copy_n(num.begin(), M + 1, den.begin());
        }
    }
}

// The gain that makes the response at the passband reference
// point 1 / scale, from the roots (the expanded polynomials cancel badly there).
bool ellf::ReferenceGain() {
    mcplx zref(1.0, 0.0);
    if (shape == kHighpass) {
        zref = mcplx(-1.0, 0.0);
    } else if (shape == kBandpass) {
        const double g = kPi / 2.0 - std::asin(gamma);
        zref = mcplx(std::cos(g), std::sin(g));
    }
    ScaledProduct A;
    ScaledProduct P;
    for (int i = 0; i < zOrder; ++i) {
        A.Multiply(zref - Pole(i));
        P.Multiply(zref - Zero(i));
    }
    if (P.IsZero()) {
        if (kind == kElliptic) {
            return false;
        }
        gain = 1.0;
    } else {
        gain = A.IsZero() ? 0.0 : A.DividedBy(P).real() / scale;
    }
    if (expandPolynomials) {
        for (int i = 0; i <= zOrder; ++i) {
            num[static_cast<std::size_t>(i)] *= gain;
        }
    }
    return true;
}

bool ellf::ResultsUsable() const {
    if (!std::isnormal(gain)) {
        return false;
    }
    const auto coeffEnd = static_cast<std::ptrdiff_t>(zOrder) + 1;
    const auto finite = [](double v) { return std::isfinite(v); };
    if (expandPolynomials && (!std::all_of(den.begin(), den.begin() + coeffEnd, finite) ||
                              !std::all_of(num.begin(), num.begin() + coeffEnd, finite))) {
        return false;
    }
    for (int i = 0; i < zOrder; ++i) {
        const mcplx p = Pole(i);
        const mcplx z = Zero(i);
        if (!AllFinite({p.real(), p.imag(), z.real(), z.imag()}) ||
            !(korin::Abs(p) < kMaxPoleRadius)) {
            return false;
        }
    }
    return true;
}

// The response at every passband edge must be the specified one: 1/sqrt(2)
// (Butterworth) or 10^(-R/20). At high elliptic orders the poles nearest the
// band edge sit closer to the jW axis than double precision places them, and
// the ripple grows from R dB to several dB while everything else looks sound.
bool ellf::PassbandEdgesHold() const {
    const double want =
        kind == kButterworth ? 1.0 / std::numbers::sqrt2 : std::exp(-0.5 * rippleDb / kD);
    const bool band = shape == kBandpass || shape == kBandstop;
    for (const double f : {edgeLo, edgeHi}) {
        if (!band && f == edgeLo) {
            continue;
        }
        const double w = 2.0 * kPi * f / sampleRate;
        const mcplx z(std::cos(w), std::sin(w));
        ScaledProduct A;
        ScaledProduct P;
        for (int i = 0; i < zOrder; ++i) {
            A.Multiply(z - Pole(i));
            P.Multiply(z - Zero(i));
        }
        if (A.IsZero() || P.IsZero()) {
            return false;
        }
        const double h = std::abs(gain) / korin::Abs(A.DividedBy(P));
        if (!(std::abs(20.0 * std::log10(h / want)) <= kEdgeToleranceDb)) {
            return false;
        }
    }
    return true;
}

korin::mcplx ellf::Pole(int i) const {
    if (!KORIN_ASSERT(i >= 0 && i < zOrder)) {
        return {};
    }
    return zRoots[static_cast<std::size_t>(i)];
}

korin::mcplx ellf::Zero(int i) const {
    if (!KORIN_ASSERT(i >= 0 && i < zOrder)) {
        return {};
    }
    return zRoots[static_cast<std::size_t>(zOrder) + static_cast<std::size_t>(i)];
}

std::span<const double> ellf::Den() const {
    if (zOrder == 0 || !expandPolynomials) {
        return {};
    }
    return {den.data(), static_cast<std::size_t>(zOrder) + 1};
}

std::span<const double> ellf::Num() const {
    if (zOrder == 0 || !expandPolynomials) {
        return {};
    }
    return {num.data(), static_cast<std::size_t>(zOrder) + 1};
}

} // namespace tarvo
