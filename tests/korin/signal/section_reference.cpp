#include "section_reference.h"

#include "korin/poly/mpoly.h"
#include "korin/signal/freqz.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace tarvo::test {

using korin::mcplx;
using korin::mvect;

namespace {

constexpr double kTol = 2.2204460492503102e-14;

// x before y, judged with t = tol * |x| for both. Only a strict weak ordering on
// well-separated values, which is all the tests hand it.
bool WrittenBefore(const mcplx& x, const mcplx& y, double tol) {
    const double t = tol * korin::Abs(x);
    const bool xComplex = std::fabs(x.imag()) >= t;
    const bool yComplex = std::fabs(y.imag()) >= t;
    if (xComplex && !yComplex) return true;
    if (!xComplex && yComplex) return false;
    if (xComplex && yComplex) {
        if (std::fabs(x.real() - y.real()) < t) return x.imag() < y.imag();
        return x.real() < y.real();
    }
    return x.real() < y.real();
}

void AppendQuadratics(std::vector<mvect>& rows, const mvect& R) {
    const std::size_t n = R.size();
    for (std::size_t k = 0; 2 * k < n; ++k) {
        const mvect roots{R[2 * k], 2 * k + 1 < n ? R[2 * k + 1] : mcplx()};
        mvect q;
        korin::Poly(roots, q);
        if (rows.size() == k) rows.emplace_back();
        rows[k].column = false;
        rows[k].insert(rows[k].end(), q.begin(), q.end());
    }
}

double Key(const mvect& row) {
    const double a0 = row[3].real();
    const double a1 = row[4].real();
    const double a2 = row[5].real();
    const double d = a1 * a1 - 4.0 * a0 * a2;
    double m1 = 0.0;
    double m2 = 0.0;
    if (d < 0.0) {
        const double s = std::sqrt(-d);
        m1 = korin::Abs(mcplx(-a1 / (2.0 * a0), s / (2.0 * a0)));
        m2 = korin::Abs(mcplx(-a1 / (2.0 * a0), -s / (2.0 * a0)));
    } else {
        const double s = std::sqrt(d);
        m1 = std::fabs((s - a1) / (2.0 * a0));
        m2 = std::fabs((-s - a1) / (2.0 * a0));
    }
    return std::min(std::fabs(m1 - 1.0), std::fabs(m2 - 1.0));
}

} // namespace

void ReferencePairConjugates(mvect& v, double tol) {
    std::stable_sort(v.begin(), v.end(),
                     [tol](const mcplx& x, const mcplx& y) { return WrittenBefore(x, y, tol); });
    for (std::size_t i = 0; i + 1 < v.size(); ++i) {
        const mcplx d(v[i].real() - v[i + 1].real(), v[i].imag() + v[i + 1].imag());
        if (korin::Abs(d) < tol) {
            v[i] =
                mcplx((v[i].real() + v[i + 1].real()) / 2.0, (v[i].imag() - v[i + 1].imag()) / 2.0);
            v[i + 1] = korin::Conj(v[i]);
        }
    }
}

void ReferenceZpToSos(korin::msos& sos, const mvect& z, const mvect& p) {
    sos.Clear();
    if (z.empty() || p.empty() || z.size() != p.size()) return;
    mvect Z(z);
    mvect P(p);
    ReferencePairConjugates(Z, kTol);
    ReferencePairConjugates(P, kTol);
    std::stable_sort(P.begin(), P.end(), [](const mcplx& x, const mcplx& y) {
        return std::fabs(korin::Abs(x) - 1.0) < std::fabs(korin::Abs(y) - 1.0);
    });
    const std::size_t n = P.size();
    for (std::size_t i = 0; i < n; ++i) {
        std::size_t best = i;
        for (std::size_t j = i; j < n; ++j) {
            if (korin::Abs(Z[j] - P[i]) < korin::Abs(Z[best] - P[i])) best = j;
        }
        std::swap(Z[i], Z[best]);
    }
    std::vector<mvect> rows;
    AppendQuadratics(rows, Z);
    AppendQuadratics(rows, P);
    for (mvect& row : rows) {
        const double a = row[3].real();
        if (a != 0.0) {
            for (mcplx& c : row)
                c = mcplx(c.real() / a, c.imag() / a);
        }
    }
    std::stable_sort(rows.begin(), rows.end(),
                     [](const mvect& x, const mvect& y) { return Key(x) > Key(y); });
    for (mvect& row : rows)
        sos.AddRow() = std::move(row);
}

void ReferenceFreqzSos(const korin::msos& sos, const mvect& s, mvect& H) {
    H.assign(s.size(), mcplx(1.0));
    for (std::size_t i = 0; i < sos.Rows(); ++i) {
        const mvect b{sos[i][0], sos[i][1], sos[i][2]};
        const mvect a{sos[i][3], sos[i][4], sos[i][5]};
        mvect hi;
        korin::FreqzBA(b, a, s, hi);
        H.MulElems(hi);
    }
}

} // namespace tarvo::test
