#include "korin/signal/zp2sos.h"

#include "korin/base/kassert.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <numeric>
#include <utility>
#include <vector>

namespace korin {

namespace {

// Conjugate-pairing tolerance of the section builder: 100 machine epsilons.
constexpr double kPairTol = 2.2204460492503102e-14;
constexpr std::size_t kNone = static_cast<std::size_t>(-1);

using Quadratic = std::array<mcplx, 3>;

// |x|, equal to Abs(x); the square root of the squared modulus where that can
// neither overflow nor lose the smaller part, which is nearly always.
double Modulus(const mcplx& x) {
    const double n = Norm(x);
    if (n > 0x1p-900 && n < 0x1p900) return std::sqrt(n);
    return Abs(x);
}

bool HasNaN(const mcplx& x) {
    return std::isnan(x.real()) || std::isnan(x.imag());
}

// Real within the pairing tolerance; an exact zero is real.
bool IsRealRoot(const mcplx& x, double tol) {
    return x.imag() == 0.0 || !(std::fabs(x.imag()) >= tol * Modulus(x));
}

// Ascending order with NaN after every number (a strict weak ordering).
bool AscendingNaNLast(double a, double b) {
    if (std::isnan(a)) return false;
    if (std::isnan(b)) return true;
    return a < b;
}

// Descending order with NaN after every number.
bool DescendingNaNLast(double a, double b) {
    if (std::isnan(a)) return false;
    if (std::isnan(b)) return true;
    return a > b;
}

// Stable sort of [first, last) that avoids the merge sort's buffer for the short
// ranges that are the rule here (tens of values).
template <class It, class Less> void StableSort(It first, It last, Less less) {
    if (last - first > 32) {
        std::stable_sort(first, last, less);
        return;
    }
    for (It i = first; i != last; ++i) {
        auto x = std::move(*i);
        It j = i;
        for (; j != first && less(x, *(j - 1)); --j)
            *j = std::move(*(j - 1));
        *j = std::move(x);
    }
}

// A value with its sort key.
template <class Key> struct Keyed {
    Key key;
    mcplx value;
};

// (1, -(r1 + r2), r1 r2) computed with exactly the operations of Poly on (r1, r2),
// imaginary parts below 1e-12 of the real part dropped, so that conjugate pairs
// give real coefficients.
Quadratic Expand(const mcplx& r1, const mcplx& r2) {
    const mcplx one(1.0);
    const mcplx m1 = -r1;
    const mcplx m2 = -r2;
    const mcplx p1 = m1 * one;
    Quadratic q{one, p1 + m2 * one, m2 * p1};
    for (mcplx& c : q) {
        if (std::fabs(c.real()) * 1e-12 > std::fabs(c.imag())) c.imag(0.0);
    }
    return q;
}

bool RealQuadratic(const mcplx& r1, const mcplx& r2) {
    const Quadratic q = Expand(r1, r2);
    return q[1].imag() == 0.0 && q[2].imag() == 0.0;
}

// Makes a and b exact conjugates when they are within the pairing tolerance of it.
void SnapConjugates(mcplx& a, mcplx& b) {
    const mcplx d(a.real() - b.real(), a.imag() + b.imag());
    if (!(Modulus(d) < kPairTol)) return;
    const mcplx m((a.real() + b.real()) / 2.0, (a.imag() - b.imag()) / 2.0);
    a = m;
    b = Conj(m);
}

// Keeps the running minimum of |d| over candidates, with exactly the outcome of
// comparing Modulus values (a later candidate must be strictly nearer) but mostly
// without square roots: sqrt is monotone, so only a smaller squared modulus can
// be nearer.
class Nearest {
public:
    // True when d is strictly nearer than every candidate so far (or is the first).
    bool Offer(const mcplx& d) {
        const double n = Norm(d);
        if (found_ && !(n < bestNorm_) && inRange_ && n > 0x1p-900 && n < 0x1p900) return false;
        const double m = Modulus(d);
        if (found_ && !(m < bestDistance_)) return false;
        found_ = true;
        bestNorm_ = n;
        bestDistance_ = m;
        inRange_ = n > 0x1p-900 && n < 0x1p900;
        return true;
    }

private:
    bool found_ = false;
    bool inRange_ = false;
    double bestNorm_ = 0.0;
    double bestDistance_ = 0.0;
};

// Index in v[first..] of the value of the wanted kind (real or complex) nearest to
// target, the lowest index on ties; kNone when there is none. Entries marked in
// used (when given) are skipped.
std::size_t NearestOfKind(const mvect& v, std::size_t first, const mcplx& target, bool wantReal,
                          const std::vector<bool>* used = nullptr) {
    std::size_t best = kNone;
    Nearest nearest;
    for (std::size_t j = first; j < v.size(); ++j) {
        if ((used != nullptr && (*used)[j]) || IsRealRoot(v[j], kPairTol) != wantReal) continue;
        if (nearest.Offer(v[j] - target)) best = j;
    }
    return best;
}

// Reorders the poles (sorted by distance from the unit circle) into consecutive
// section pairs. A pair of neighbours that already forms a real quadratic stays as
// it is; otherwise a complex pole takes the remaining pole nearest to its conjugate
// and a real pole the next real pole. A real pole left without a partner goes last,
// where it makes the first-order section.
void GroupPoles(mvect& P) {
    const std::size_t n = P.size();
    std::vector<bool> used(n, false);
    mvect grouped;
    grouped.column = P.column;
    grouped.reserve(n);
    mvect unpaired;
    for (std::size_t i = 0; i < n; ++i) {
        if (used[i]) continue;
        used[i] = true;
        std::size_t next = i + 1;
        while (next < n && used[next])
            ++next;
        if (next < n && RealQuadratic(P[i], P[next])) {
            used[next] = true;
            grouped.push_back(P[i]);
            grouped.push_back(P[next]);
            continue;
        }
        mcplx a = P[i];
        const bool real = IsRealRoot(a, kPairTol);
        std::size_t partner = kNone;
        if (real) {
            for (std::size_t j = next; j < n && partner == kNone; ++j) {
                if (!used[j] && IsRealRoot(P[j], kPairTol)) partner = j;
            }
        } else {
            partner = NearestOfKind(P, next, Conj(a), false, &used);
        }
        if (partner == kNone) {
            unpaired.push_back(a);
            continue;
        }
        used[partner] = true;
        mcplx b = P[partner];
        if (real) {
            a.imag(0.0);
            b.imag(0.0);
        } else {
            SnapConjugates(a, b);
        }
        grouped.push_back(a);
        grouped.push_back(b);
    }
    grouped.Append(unpaired);
    P = std::move(grouped);
}

// Moves the zero of Z[first..] nearest to target to Z[first] (lowest index on ties).
void TakeNearest(mvect& Z, std::size_t first, const mcplx& target) {
    std::size_t best = first;
    Nearest nearest;
    for (std::size_t j = first; j < Z.size(); ++j) {
        if (nearest.Offer(Z[j] - target)) best = j;
    }
    std::swap(Z[first], Z[best]);
}

// Z[i], Z[i + 1], taken one at a time for the poles of one section, mix a real and
// a complex zero (or two complex zeros of different pairs). Keep the first pole's
// choice and give the second its partner: the conjugate of a complex zero, or the
// nearest real zero to the second pole. A real zero can only be paired while one
// real zero is left for a first-order section still to come; otherwise the first
// pole takes its nearest complex zero and the section that zero's conjugate.
void RepairZeroPair(mvect& Z, std::size_t i, const mvect& P, bool firstOrderPending) {
    if (!IsRealRoot(Z[i], kPairTol)) {
        const std::size_t j = NearestOfKind(Z, i + 1, Conj(Z[i]), false);
        if (j == kNone) return;
        std::swap(Z[i + 1], Z[j]);
        SnapConjugates(Z[i], Z[i + 1]);
        return;
    }
    std::size_t realsLeft = 0;
    for (std::size_t j = i + 1; j < Z.size(); ++j) {
        if (IsRealRoot(Z[j], kPairTol)) ++realsLeft;
    }
    if (realsLeft >= (firstOrderPending ? 2U : 1U)) {
        const std::size_t j = NearestOfKind(Z, i + 1, P[i + 1], true);
        std::swap(Z[i + 1], Z[j]);
        Z[i].imag(0.0);
        Z[i + 1].imag(0.0);
        return;
    }
    const std::size_t j = NearestOfKind(Z, i + 1, P[i], false);
    if (j == kNone) return;
    std::swap(Z[i], Z[j]);
    const std::size_t k = NearestOfKind(Z, i + 1, Conj(Z[i]), false);
    if (k == kNone) return;
    std::swap(Z[i + 1], Z[k]);
    SnapConjugates(Z[i], Z[i + 1]);
}

// Gives every pole in order the nearest remaining zero, then repairs the sections
// whose two zeros would not form a real quadratic.
void MatchZeros(mvect& Z, const mvect& P) {
    const std::size_t n = Z.size();
    const bool odd = n % 2 == 1;
    for (std::size_t i = 0; i < n; i += 2) {
        TakeNearest(Z, i, P[i]);
        if (i + 1 == n) break;
        TakeNearest(Z, i + 1, P[i + 1]);
        if (!RealQuadratic(Z[i], Z[i + 1])) RepairZeroPair(Z, i, P, odd);
    }
}

// Distance from the unit circle of the row's pole nearest to it, from the real
// parts of its denominator a0 z^2 + a1 z + a2.
double SectionKey(const std::array<mcplx, 6>& row) {
    const double a0 = row[3].real();
    const double a1 = row[4].real();
    const double a2 = row[5].real();
    const double d = a1 * a1 - 4.0 * a0 * a2;
    double m1 = 0.0;
    double m2 = 0.0;
    if (d < 0.0) {
        const double s = std::sqrt(-d);
        m1 = Modulus(mcplx(-a1 / (2.0 * a0), s / (2.0 * a0)));
        m2 = Modulus(mcplx(-a1 / (2.0 * a0), -s / (2.0 * a0)));
    } else {
        const double s = std::sqrt(d);
        m1 = std::fabs((s - a1) / (2.0 * a0));
        m2 = std::fabs((-s - a1) / (2.0 * a0));
    }
    return std::min(std::fabs(m1 - 1.0), std::fabs(m2 - 1.0));
}

} // namespace

void PairConjugates(mvect& v, double tol) {
    const std::size_t n = v.size();
    // Complex values, then real values, then values with a NaN part, each group in
    // input order.
    std::size_t complexCount = 0;
    std::size_t realCount = 0;
    for (const mcplx& x : v) {
        if (HasNaN(x)) continue;
        if (IsRealRoot(x, tol)) {
            ++realCount;
        } else {
            ++complexCount;
        }
    }
    std::vector<mcplx> sorted(n);
    std::size_t nextComplex = 0;
    std::size_t nextReal = complexCount;
    std::size_t nextNaN = complexCount + realCount;
    for (const mcplx& x : v) {
        if (HasNaN(x)) {
            sorted[nextNaN++] = x;
        } else if (IsRealRoot(x, tol)) {
            sorted[nextReal++] = x;
        } else {
            sorted[nextComplex++] = x;
        }
    }
    const auto complexEnd = sorted.begin() + static_cast<std::ptrdiff_t>(complexCount);
    const auto realEnd = complexEnd + static_cast<std::ptrdiff_t>(realCount);
    // Complex values by real part; runs of nearly equal real parts (each within the
    // tolerance of the previous value) then by imaginary part, which keeps the order
    // transitive where a pairwise tolerance test would not be.
    StableSort(sorted.begin(), complexEnd,
               [](const mcplx& a, const mcplx& b) { return a.real() < b.real(); });
    const auto byImag = [](const mcplx& a, const mcplx& b) { return a.imag() < b.imag(); };
    auto run = sorted.begin();
    for (auto it = sorted.begin(); it != complexEnd; ++it) {
        const auto next = it + 1;
        if (next == complexEnd ||
            next->real() - it->real() >= tol * std::max(Modulus(*it), Modulus(*next))) {
            StableSort(run, next, byImag);
            run = next;
        }
    }
    StableSort(complexEnd, realEnd,
               [](const mcplx& a, const mcplx& b) { return a.real() < b.real(); });
    std::copy(sorted.begin(), sorted.end(), v.begin());

    for (std::size_t i = 0; i + 1 < n; ++i) {
        const mcplx d(v[i].real() - v[i + 1].real(), v[i].imag() + v[i + 1].imag());
        if (Modulus(d) < tol) {
            const mcplx m((v[i].real() + v[i + 1].real()) / 2.0,
                          (v[i].imag() - v[i + 1].imag()) / 2.0);
            v[i] = m;
            v[i + 1] = Conj(m);
        }
    }
}

void SortByUnitCircle(mvect& v) {
    std::vector<Keyed<double>> items;
    items.reserve(v.size());
    for (const mcplx& x : v)
        items.push_back({std::fabs(Modulus(x) - 1.0), x});
    StableSort(items.begin(), items.end(), [](const Keyed<double>& a, const Keyed<double>& b) {
        return AscendingNaNLast(a.key, b.key);
    });
    for (std::size_t i = 0; i < v.size(); ++i)
        v[i] = items[i].value;
}

void ZpToSos(msos& sos, const mvect& z, const mvect& p) {
    KORIN_ASSERT(z.size() > 0);
    KORIN_ASSERT(z.size() == p.size());
    sos.Clear();
    if (z.empty() || p.empty() || z.size() != p.size()) return;

    mvect Z(z);
    mvect P(p);
    PairConjugates(Z, kPairTol);
    PairConjugates(P, kPairTol);
    SortByUnitCircle(P);
    GroupPoles(P);
    MatchZeros(Z, P);

    // Row k: the quadratics of Z[2k], Z[2k + 1] and of P[2k], P[2k + 1] (the missing
    // root of an odd count is 0), normalised by the real part of a0 unless it is 0.
    const std::size_t n = P.size();
    std::vector<std::array<mcplx, 6>> rows((n + 1) / 2);
    std::vector<double> keys(rows.size());
    for (std::size_t k = 0; k < rows.size(); ++k) {
        const bool pair = 2 * k + 1 < n;
        const Quadratic b = Expand(Z[2 * k], pair ? Z[2 * k + 1] : mcplx());
        const Quadratic a = Expand(P[2 * k], pair ? P[2 * k + 1] : mcplx());
        std::array<mcplx, 6>& row = rows[k];
        std::copy(b.begin(), b.end(), row.begin());
        std::copy(a.begin(), a.end(), row.begin() + 3);
        const double a0 = row[3].real();
        if (a0 != 0.0) {
            for (mcplx& c : row)
                c = mcplx(c.real() / a0, c.imag() / a0);
        }
        keys[k] = SectionKey(row);
    }

    // Sections whose poles lie farthest from the unit circle come first.
    std::vector<std::size_t> order(rows.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    StableSort(order.begin(), order.end(),
               [&](std::size_t a, std::size_t b) { return DescendingNaNLast(keys[a], keys[b]); });
    for (const std::size_t k : order) {
        mvect& row = sos.AddRow();
        row.column = false;
        row.assign(rows[k].begin(), rows[k].end());
    }
}

msos SelectColumns(const mmatrix& source, std::span<const std::int32_t> columns, bool negate) {
    msos result;
    for (std::size_t r = 0; r < source.Rows(); ++r) {
        mvect& row = result.AddRow();
        row.Select(source[r], columns);
        if (!negate) continue;
        std::size_t k = 0;
        for (const std::int32_t c : columns) {
            if (c < 0) break;
            if (c == 4 || c == 5) row[k] = -row[k];
            ++k;
        }
    }
    return result;
}

} // namespace korin
