#include "korin/signal/freqz.h"

#include "korin/base/kassert.h"
#include "korin/poly/mpoly.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <limits>
#include <vector>

namespace korin {

namespace {

// Magnitudes between which the numerator and denominator products are divided
// directly; beyond them the scaled complex division takes over, and beyond
// kLargest (or at NaN) the point is evaluated row by row.
constexpr double kDirectSmallest = 1e-150;
constexpr double kDirectLargest = 1e150;
constexpr double kLargest = 1e280;

// Points evaluated together; the fixed count lets the compiler use vector registers.
constexpr std::size_t kBlock = 8;

using Block = std::array<double, kBlock>;

// One row as numerator and denominator coefficients, real and imaginary parts.
struct Row {
    bool real = true;
    bool monic = false; // real, with b0 = a0 = 1
    std::array<double, 3> br{};
    std::array<double, 3> bi{};
    std::array<double, 3> ar{};
    std::array<double, 3> ai{};
};

double MaxNorm(double re, double im) {
    if (std::isnan(re) || std::isnan(im)) return std::numeric_limits<double>::quiet_NaN();
    return std::max(std::fabs(re), std::fabs(im));
}

// Smallest final product magnitude that proves the product never went below the
// normal range on its way: from there the remaining rows, whose moduli multiply to
// at most e^logGrowth, could not have brought it back up. Never below 1e-280.
double ProvenFloor(double logGrowth) {
    return std::max(1e-280, 2.0 * std::numeric_limits<double>::min() * std::exp(logGrowth));
}

// n / d, both within kDirectSmallest..kDirectLargest, through 1 / |d|^2 (a few
// units in the last place); the scaled complex division elsewhere.
mcplx Divide(double nr, double ni, double dr, double di) {
    const double mn = MaxNorm(nr, ni);
    const double md = MaxNorm(dr, di);
    if (mn < kDirectLargest && md > kDirectSmallest && md < kDirectLargest) {
        const double q = 1.0 / (dr * dr + di * di);
        return {(nr * dr + ni * di) * q, (ni * dr - nr * di) * q};
    }
    return mcplx(nr, ni) / mcplx(dr, di);
}

// |c0| r^2 + |c1| r + |c2|: a bound of the quadratic's modulus for |z| <= r.
double QuadraticBound(const std::array<double, 3>& re, const std::array<double, 3>& im, double r) {
    double bound = 0.0;
    for (std::size_t k = 0; k < 3; ++k)
        bound = bound * r + std::hypot(re[k], im[k]);
    return bound;
}

// Numerator and denominator products of all rows at kBlock points z. Each
// quadratic is evaluated by Horner's rule with exactly the operations of complex
// arithmetic; real rows skip the products with zero imaginary parts. Locals only,
// so that the fixed-length loops go to vector registers.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
// Wider vector registers where the processor has them; the arithmetic is the
// same (no fused multiply-add), so are the results.
__attribute__((target_clones("avx2", "default")))
#endif
void EvaluateBlock(const std::vector<Row>& rows, const double* zrIn, const double* ziIn,
                   Block& nrOut, Block& niOut, Block& drOut, Block& diOut) {
    double zr[kBlock];
    double zi[kBlock];
    double nr[kBlock];
    double ni[kBlock];
    double dr[kBlock];
    double di[kBlock];
    // zi^2 and zi zr, the terms of z^2 that monic rows share.
    double zii[kBlock];
    double zir[kBlock];
    for (std::size_t l = 0; l < kBlock; ++l) {
        zr[l] = zrIn[l];
        zi[l] = ziIn[l];
        zii[l] = zi[l] * zi[l];
        zir[l] = zi[l] * zr[l];
        nr[l] = 1.0;
        ni[l] = 0.0;
        dr[l] = 1.0;
        di[l] = 0.0;
    }
    for (const Row& row : rows) {
        if (row.monic) {
            // (1 z + c1) z + c2: 1 z is z exactly.
            const double b1 = row.br[1];
            const double b2 = row.br[2];
            const double a1 = row.ar[1];
            const double a2 = row.ar[2];
            for (std::size_t l = 0; l < kBlock; ++l) {
                const double ur = zr[l] + b1;
                const double qr = ur * zr[l] - zii[l] + b2;
                const double qi = ur * zi[l] + zir[l];
                const double tn = nr[l] * qr - ni[l] * qi;
                ni[l] = nr[l] * qi + ni[l] * qr;
                nr[l] = tn;
                const double vr = zr[l] + a1;
                const double pr = vr * zr[l] - zii[l] + a2;
                const double pi = vr * zi[l] + zir[l];
                const double td = dr[l] * pr - di[l] * pi;
                di[l] = dr[l] * pi + di[l] * pr;
                dr[l] = td;
            }
            continue;
        }
        if (row.real) {
            const double b0 = row.br[0];
            const double b1 = row.br[1];
            const double b2 = row.br[2];
            const double a0 = row.ar[0];
            const double a1 = row.ar[1];
            const double a2 = row.ar[2];
            for (std::size_t l = 0; l < kBlock; ++l) {
                const double ur = b0 * zr[l] + b1;
                const double ui = b0 * zi[l];
                const double qr = ur * zr[l] - ui * zi[l] + b2;
                const double qi = ur * zi[l] + ui * zr[l];
                const double tn = nr[l] * qr - ni[l] * qi;
                ni[l] = nr[l] * qi + ni[l] * qr;
                nr[l] = tn;
                const double vr = a0 * zr[l] + a1;
                const double vi = a0 * zi[l];
                const double pr = vr * zr[l] - vi * zi[l] + a2;
                const double pi = vr * zi[l] + vi * zr[l];
                const double td = dr[l] * pr - di[l] * pi;
                di[l] = dr[l] * pi + di[l] * pr;
                dr[l] = td;
            }
            continue;
        }
        for (std::size_t l = 0; l < kBlock; ++l) {
            double qr = row.br[0];
            double qi = row.bi[0];
            double pr = row.ar[0];
            double pi = row.ai[0];
            for (std::size_t k = 1; k < 3; ++k) {
                const double tq = qr * zr[l] - qi * zi[l] + row.br[k];
                qi = qr * zi[l] + qi * zr[l] + row.bi[k];
                qr = tq;
                const double tp = pr * zr[l] - pi * zi[l] + row.ar[k];
                pi = pr * zi[l] + pi * zr[l] + row.ai[k];
                pr = tp;
            }
            const double tn = nr[l] * qr - ni[l] * qi;
            ni[l] = nr[l] * qi + ni[l] * qr;
            nr[l] = tn;
            const double td = dr[l] * pr - di[l] * pi;
            di[l] = dr[l] * pi + di[l] * pr;
            dr[l] = td;
        }
    }
    for (std::size_t l = 0; l < kBlock; ++l) {
        nrOut[l] = nr[l];
        niOut[l] = ni[l];
        drOut[l] = dr[l];
        diOut[l] = di[l];
    }
}

// Horner's rule on three coefficients of a row, as PolyVal evaluates them.
mcplx Quadratic3(const mvect& row, std::size_t first, const mcplx& z) {
    mcplx y = row[first];
    y = y * z + row[first + 1];
    return y * z + row[first + 2];
}

} // namespace

mcplx SosResponseAt(const msos& sos, const mcplx& z) {
    mcplx h(1.0);
    for (std::size_t i = 0; i < sos.Rows(); ++i) {
        const mvect& row = sos[i];
        if (row.size() != 6) continue;
        h *= Quadratic3(row, 0, z) / Quadratic3(row, 3, z);
    }
    return h;
}

void FreqzBA(const mvect& b, const mvect& a, const mvect& s, mvect& H) {
    mvect z(s);
    z.Exp();
    if (b.empty()) {
        PolyVal(b, mcplx()); // reports the empty numerator once
        H.assign(s.size(), mcplx());
        return;
    }
    PolyValAt(b, z, H);
    if (a.empty()) return;
    mvect denominator;
    PolyValAt(a, z, denominator);
    H.DivElems(denominator);
}

void FreqzSos(const msos& sos, const mvect& s, mvect& H) {
    std::vector<Row> rows;
    rows.reserve(sos.Rows());
    for (std::size_t i = 0; i < sos.Rows(); ++i) {
        if (!KORIN_ASSERT(sos[i].size() == 6)) continue;
        const mvect& c = sos[i];
        Row row;
        for (std::size_t k = 0; k < 3; ++k) {
            row.br[k] = c[k].real();
            row.bi[k] = c[k].imag();
            row.ar[k] = c[k + 3].real();
            row.ai[k] = c[k + 3].imag();
            row.real = row.real && row.bi[k] == 0.0 && row.ai[k] == 0.0;
        }
        row.monic = row.real && row.br[0] == 1.0 && row.ar[0] == 1.0;
        rows.push_back(row);
    }

    // One e^s per point, shared by all rows.
    const std::size_t n = s.size();
    const std::size_t padded = (n + kBlock - 1) / kBlock * kBlock;
    std::vector<double> pointRe(padded, 0.0);
    std::vector<double> pointIm(padded, 0.0);
    double radius2 = 0.0;
    for (std::size_t k = 0; k < n; ++k) {
        // On the unit circle (the usual case) e^s is (cos, sin) exactly as Exp gives it.
        const mcplx z =
            s[k].real() == 0.0 ? mcplx(std::cos(s[k].imag()), std::sin(s[k].imag())) : Exp(s[k]);
        pointRe[k] = z.real();
        pointIm[k] = z.imag();
        radius2 = std::max(radius2, Norm(z));
    }
    const double radius = std::sqrt(radius2);

    // Numerator and denominator products are accumulated apart and divided once.
    // Where a product ends below its proven floor, or overflowed, the point is
    // evaluated row by row instead.
    double logGrowthB = 0.0;
    double logGrowthA = 0.0;
    for (const Row& row : rows) {
        logGrowthB += std::log(std::max(1.0, QuadraticBound(row.br, row.bi, radius)));
        logGrowthA += std::log(std::max(1.0, QuadraticBound(row.ar, row.ai, radius)));
    }
    const double floorB = ProvenFloor(logGrowthB);
    const double floorA = ProvenFloor(logGrowthA);

    mvect result;
    result.column = s.column;
    result.resize(n);
    for (std::size_t first = 0; first < n; first += kBlock) {
        Block br{};
        Block bi{};
        Block ar{};
        Block ai{};
        EvaluateBlock(rows, pointRe.data() + first, pointIm.data() + first, br, bi, ar, ai);
        const std::size_t count = std::min(kBlock, n - first);
        for (std::size_t l = 0; l < count; ++l) {
            const double mb = MaxNorm(br[l], bi[l]);
            const double ma = MaxNorm(ar[l], ai[l]);
            if (mb >= floorB && mb < kLargest && ma >= floorA && ma < kLargest) {
                result[first + l] = Divide(br[l], bi[l], ar[l], ai[l]);
            } else {
                const mcplx z(pointRe[first + l], pointIm[first + l]);
                result[first + l] = SosResponseAt(sos, z);
            }
        }
    }
    H = std::move(result);
}

} // namespace korin
