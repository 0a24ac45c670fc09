#include "korin/poly/mpoly.h"

#include "korin/base/kassert.h"
#include "korin/poly/rpoly.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace korin {

mcplx PolyVal(const mvect& P, const mcplx& x) {
    if (P.empty()) {
        KORIN_ASSERT(false);
        return {};
    }
    mcplx y = P[0];
    for (std::size_t k = 1; k < P.size(); ++k)
        y = y * x + P[k];
    return y;
}

void PolyValAt(const mvect& P, const mvect& X, mvect& Y) {
    mvect result;
    result.column = Y.column;
    result.reserve(X.size());
    for (const mcplx& x : X)
        result.push_back(PolyVal(P, x));
    Y = std::move(result);
}

namespace {

// True when every root's exact conjugate is in the set as often as the root.
bool IsConjugateSymmetric(const mvect& R) {
    // Designs list each complex root next to its conjugate: check that first.
    bool adjacent = true;
    for (std::size_t i = 0; i < R.size() && adjacent; ++i) {
        if (R[i].imag() == 0.0) continue;
        adjacent = i + 1 < R.size() && R[i + 1] == Conj(R[i]);
        ++i;
    }
    if (adjacent) return true;
    for (const mcplx& r : R) {
        if (std::isnan(r.real()) || std::isnan(r.imag())) return false;
        if (r.imag() == 0.0) continue;
        const mcplx c = Conj(r);
        std::size_t same = 0;
        std::size_t mirrored = 0;
        for (const mcplx& x : R) {
            same += x == r ? 1 : 0;
            mirrored += x == c ? 1 : 0;
        }
        if (same != mirrored) return false;
    }
    return true;
}

} // namespace

void Poly(const mvect& R, mvect& P) {
    if (!KORIN_ASSERT(&R != &P)) return;
    if (R.empty()) return;
    P.assign(1, mcplx(1.0));
    P.reserve(R.size() + 1);
    for (const mcplx& r : R) {
        const mcplx m = -r;
        P.push_back(m * P.back());
        // p_k += m * p_(k-1) from the old last index down to 1, on the raw parts
        // (the same operations as the complex type's, in a loop the compiler unrolls).
        mcplx* c = P.data();
        const double mr = m.real();
        const double mi = m.imag();
        for (std::size_t k = P.size() - 2; k >= 1; --k) {
            const double pr = c[k - 1].real();
            const double pi = c[k - 1].imag();
            c[k] = mcplx(c[k].real() + (mr * pr - mi * pi), c[k].imag() + (mr * pi + mi * pr));
        }
    }
    P.DropSmallImag(1e-12);
    // Rounding leaves imaginary parts on coefficients whose real part cancels to
    // (nearly) zero, which the relative test above cannot catch; a set of exact
    // conjugates has a real polynomial.
    if (!P.IsReal() && IsConjugateSymmetric(R)) P.Real();
}

void QuadRoots(const mvect& P, mcplx& r1, mcplx& r2) {
    KORIN_ASSERT(P.size() == 3);
    const mcplx a = P.size() > 0 ? P[0] : mcplx();
    const mcplx b = P.size() > 1 ? P[1] : mcplx();
    const mcplx c = P.size() > 2 ? P[2] : mcplx();
    const mcplx s = Sqrt(b * b - mcplx(4.0) * a * c);
    const mcplx twoA = mcplx(2.0) * a;
    r1 = (-b + s) / twoA;
    r2 = (-b - s) / twoA;
}

void Roots(const mvect& P, mvect& R) {
    if (P.empty()) {
        KORIN_ASSERT(false);
        return;
    }
    KORIN_ASSERT(P[0] == mreal(1.0));
    R.clear();
    const std::size_t degree = P.size() - 1;
    if (degree == 0) return;
    if (degree == 1) {
        R.push_back(-P[1]);
        return;
    }
    if (degree == 2) {
        mcplx r1;
        mcplx r2;
        QuadRoots(P, r1, r2);
        if (!(r1 == mcplx())) R.push_back(r1);
        if (!(r2 == mcplx())) R.push_back(r2);
        return;
    }
    std::vector<double> coeffs;
    coeffs.reserve(P.size());
    for (const mcplx& p : P)
        coeffs.push_back(p.real());
    std::vector<double> re;
    std::vector<double> im;
    if (!RealPolyRoots(coeffs, re, im)) return;
    for (std::size_t i = 0; i < re.size(); ++i)
        R.push_back(mcplx(re[i], im[i]));
}

} // namespace korin
