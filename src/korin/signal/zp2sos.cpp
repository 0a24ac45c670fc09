#include "korin/signal/zp2sos.h"

#include "korin/base/kassert.h"
#include "korin/poly/mpoly.h"

#include <algorithm>
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

bool HasNaN(const mcplx& x) {
    return std::isnan(x.real()) || std::isnan(x.imag());
}

// Real within the pairing tolerance; an exact zero is real.
bool IsRealRoot(const mcplx& x, double tol) {
    return x.imag() == 0.0 || !(std::fabs(x.imag()) >= tol * Abs(x));
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

// Sort key of the conjugate-pair order. Values whose real parts agree within the
// tolerance share a cluster, so the order is transitive even where a pairwise
// tolerance test would not be.
struct PairKey {
    int group = 0;           // 0 complex, 1 real, 2 NaN part
    std::size_t cluster = 0; // rank of the real-part cluster (complex values)
    double value = 0.0;      // imaginary part (complex) or real part (real)
};

bool operator<(const PairKey& x, const PairKey& y) {
    if (x.group != y.group) return x.group < y.group;
    if (x.cluster != y.cluster) return x.cluster < y.cluster;
    return x.value < y.value;
}

template <class Less> void StableSortBy(mvect& v, const std::vector<double>& keys, Less less) {
    std::vector<std::size_t> order(v.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return less(keys[a], keys[b]); });
    mvect sorted;
    sorted.column = v.column;
    sorted.reserve(v.size());
    for (const std::size_t i : order)
        sorted.push_back(v[i]);
    v = std::move(sorted);
}

// Expands two roots as the rows are expanded and tells whether the quadratic is real.
bool RealQuadratic(const mcplx& r1, const mcplx& r2) {
    const mvect roots{r1, r2};
    mvect q;
    Poly(roots, q);
    return q.IsReal();
}

// Makes a and b exact conjugates when they are within the pairing tolerance of it.
void SnapConjugates(mcplx& a, mcplx& b) {
    const mcplx d(a.real() - b.real(), a.imag() + b.imag());
    if (!(Abs(d) < kPairTol)) return;
    const mcplx m((a.real() + b.real()) / 2.0, (a.imag() - b.imag()) / 2.0);
    a = m;
    b = Conj(m);
}

// Index in v[first..] of the value of the wanted kind (real or complex) nearest to
// target, the lowest index on ties; kNone when there is none. Entries marked in
// used (when given) are skipped.
std::size_t NearestOfKind(const mvect& v, std::size_t first, const mcplx& target, bool wantReal,
                          const std::vector<bool>* used = nullptr) {
    std::size_t best = kNone;
    double bestDistance = 0.0;
    for (std::size_t j = first; j < v.size(); ++j) {
        if ((used != nullptr && (*used)[j]) || IsRealRoot(v[j], kPairTol) != wantReal) continue;
        const double d = Abs(v[j] - target);
        if (best == kNone || d < bestDistance) {
            best = j;
            bestDistance = d;
        }
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
        std::size_t partner = kNone;
        if (IsRealRoot(a, kPairTol)) {
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
        if (IsRealRoot(a, kPairTol)) {
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
    double bestDistance = Abs(Z[first] - target);
    for (std::size_t j = first + 1; j < Z.size(); ++j) {
        const double d = Abs(Z[j] - target);
        if (d < bestDistance) {
            best = j;
            bestDistance = d;
        }
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

// Appends the monic quadratic of R[2k], R[2k + 1] (0 when missing) to row k.
void AppendQuadratics(std::vector<mvect>& rows, const mvect& R) {
    const std::size_t n = R.size();
    for (std::size_t k = 0; 2 * k < n; ++k) {
        const mvect roots{R[2 * k], 2 * k + 1 < n ? R[2 * k + 1] : mcplx()};
        mvect q;
        Poly(roots, q);
        if (rows.size() == k) rows.emplace_back();
        rows[k].column = false;
        rows[k].insert(rows[k].end(), q.begin(), q.end());
    }
}

// Distance from the unit circle of the row's pole nearest to it, from the real
// parts of its denominator a0 z^2 + a1 z + a2.
double SectionKey(const mvect& row) {
    const double a0 = row[3].real();
    const double a1 = row[4].real();
    const double a2 = row[5].real();
    const double d = a1 * a1 - 4.0 * a0 * a2;
    double m1 = 0.0;
    double m2 = 0.0;
    if (d < 0.0) {
        const double s = std::sqrt(-d);
        m1 = Abs(mcplx(-a1 / (2.0 * a0), s / (2.0 * a0)));
        m2 = Abs(mcplx(-a1 / (2.0 * a0), -s / (2.0 * a0)));
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
    std::vector<PairKey> keys(n);
    std::vector<std::size_t> complexIndices;
    for (std::size_t i = 0; i < n; ++i) {
        if (HasNaN(v[i])) {
            keys[i].group = 2;
        } else if (IsRealRoot(v[i], tol)) {
            keys[i] = {1, 0, v[i].real()};
        } else {
            keys[i] = {0, 0, v[i].imag()};
            complexIndices.push_back(i);
        }
    }
    std::stable_sort(complexIndices.begin(), complexIndices.end(),
                     [&](std::size_t a, std::size_t b) { return v[a].real() < v[b].real(); });
    std::size_t cluster = 0;
    for (std::size_t k = 1; k < complexIndices.size(); ++k) {
        const mcplx& previous = v[complexIndices[k - 1]];
        const mcplx& current = v[complexIndices[k]];
        if (current.real() - previous.real() >= tol * std::max(Abs(previous), Abs(current))) {
            ++cluster;
        }
        keys[complexIndices[k]].cluster = cluster;
    }

    std::vector<std::size_t> order(n);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
    mvect sorted;
    sorted.column = v.column;
    sorted.reserve(n);
    for (const std::size_t i : order)
        sorted.push_back(v[i]);
    v = std::move(sorted);

    for (std::size_t i = 0; i + 1 < n; ++i) {
        const mcplx d(v[i].real() - v[i + 1].real(), v[i].imag() + v[i + 1].imag());
        if (Abs(d) < tol) {
            const mcplx m((v[i].real() + v[i + 1].real()) / 2.0,
                          (v[i].imag() - v[i + 1].imag()) / 2.0);
            v[i] = m;
            v[i + 1] = Conj(m);
        }
    }
}

void SortByUnitCircle(mvect& v) {
    std::vector<double> keys;
    keys.reserve(v.size());
    for (const mcplx& x : v)
        keys.push_back(std::fabs(Abs(x) - 1.0));
    StableSortBy(v, keys, AscendingNaNLast);
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

    std::vector<mvect> rows;
    AppendQuadratics(rows, Z);
    AppendQuadratics(rows, P);

    // Normalise each row by its real a0 (1 for monic rows; a zero a0 is left alone).
    std::vector<double> keys;
    keys.reserve(rows.size());
    for (mvect& row : rows) {
        const double a = row[3].real();
        if (a != 0.0) {
            for (mcplx& c : row)
                c = mcplx(c.real() / a, c.imag() / a);
        }
        keys.push_back(SectionKey(row));
    }

    // Sections whose poles lie farthest from the unit circle come first.
    std::vector<std::size_t> order(rows.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return DescendingNaNLast(keys[a], keys[b]);
    });
    for (const std::size_t i : order)
        sos.AddRow() = std::move(rows[i]);
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
