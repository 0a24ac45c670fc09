#include "korin/poly/rpoly.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstddef>
#include <limits>
#include <numbers>
#include <utility>

namespace korin {
namespace {

static_assert(std::numeric_limits<double>::radix == 2, "scale factors are powers of the base 2");

// Machine constants of the algorithm: relative precision (also used in the error
// bounds), the largest and smallest numbers, and the lower bound smallest/eta that
// coefficients are kept above when the range allows.
constexpr double kEta = 2.22e-16;
constexpr double kLargest = 3.4e38;
constexpr double kSmallest = 1.2e-38;
constexpr double kLowBound = kSmallest / kEta;

// Each restart turns the stage-two shift by 94 degrees: no simple fraction of a turn,
// so restarts keep trying new directions instead of cycling through a few.
constexpr double kRotation = 1.640609542;
constexpr double kFirstAngle = -std::numbers::pi / 4; // turned before the first use

constexpr int kNoShiftSteps = 5;
constexpr int kMaxShifts = 20;
constexpr int kFixedShiftStepsPerShift = 20; // times the number of the shift
constexpr int kMaxQuadraticSteps = 20;
constexpr int kMaxLinearSteps = 10;
constexpr int kFactorPolishSteps = 3; // extra quadratic steps once the values are negligible
constexpr int kNewtonSteps = 5;       // refinement steps on the undeflated polynomial
// A root whose value on the undeflated polynomial stays above this many eta of its
// rounding-error bound is not accepted (a thousand times the stopping test's margin).
constexpr double kVerifyFactor = 2.0e4;
// A value within this many eta of its rounding-error bound is as good as zero.
constexpr double kStopFactor = 20.0;

// Coefficients, highest power first.
using Poly = std::vector<double>;

bool IsFinite(double x) {
    return std::isfinite(x);
}

// x * 2^k, exact unless the result leaves the range of double.
double Pow2Scale(double x, int k) {
    return std::scalbn(x, k);
}

// Multiplies p by the power of two that brings its largest magnitude into [1, 2).
// False when p is all zero or not finite. Only the direction of a K-polynomial
// matters, so this keeps it away from overflow and underflow without rounding.
bool NormalizeDirection(Poly& p) {
    double m = 0.0;
    for (double c : p)
        m = std::max(m, std::abs(c));
    if (!(m > 0.0) || !IsFinite(m)) return false;
    const int k = -std::ilogb(m);
    if (k > -1000 && k < 1000) {
        const double factor = std::ldexp(1.0, k); // a product by it is exact
        for (double& c : p)
            c *= factor;
    } else {
        for (double& c : p)
            c = Pow2Scale(c, k);
    }
    return true;
}

// Divides the pair (a, b) by the power of two of its larger magnitude. False when
// both are zero or one is not finite.
bool NormalizePair(double& a, double& b) {
    const double m = std::max(std::abs(a), std::abs(b));
    if (!(m > 0.0) || !IsFinite(m)) return false;
    const int k = -std::ilogb(m);
    a = Pow2Scale(a, k);
    b = Pow2Scale(b, k);
    return true;
}

// Remainder a*z + b of a division by z^2 + u*z + v.
struct Linear {
    double a = 0.0;
    double b = 0.0;
};

// Synthetic division of p (degree >= 2) by z^2 + u*z + v; the quotient goes to q
// when q is given.
Linear DivideQuadratic(const Poly& p, double u, double v, Poly* q) {
    const std::size_t n = p.size() - 1;
    if (q != nullptr) q->resize(n - 1);
    double b1 = 0.0; // b(k-1)
    double b2 = 0.0; // b(k-2)
    for (std::size_t k = 0; k < n; ++k) {
        const double bk = p[k] - u * b1 - v * b2;
        if (q != nullptr && k + 1 < n) (*q)[k] = bk;
        b2 = b1;
        b1 = bk;
    }
    return {b1, p[n] - v * b2};
}

// Horner evaluation at a real point with the quotient p / (z - s) into q (when
// given) and the running sum of the partial values for the rounding-error bound.
struct Value {
    double abs = 0.0;   // |p(s)|
    double bound = 0.0; // sum |partial value k| * |s|^(n-k); the error is a few eta of it
};

double DivideLinear(const Poly& p, double s, Poly* q, Value* value) {
    const std::size_t n = p.size() - 1;
    if (q != nullptr) q->resize(n);
    const double as = std::abs(s);
    double y = p[0];
    double e = std::abs(y);
    for (std::size_t k = 1; k <= n; ++k) {
        if (q != nullptr) (*q)[k - 1] = y;
        y = y * s + p[k];
        e = e * as + std::abs(y);
    }
    if (value != nullptr) *value = {std::abs(y), e};
    return y;
}

// |p(x + jy)| and its rounding-error sum, by Horner's rule in complex arithmetic.
// The sum takes |re| + |im| for the modulus of each partial value (cheap, and at
// most sqrt(2) times larger).
Value EvaluateComplex(const Poly& p, double x, double y) {
    const double as = std::hypot(x, y);
    double re = p[0];
    double im = 0.0;
    double e = std::abs(re);
    for (std::size_t k = 1; k < p.size(); ++k) {
        const double t = re * x - im * y + p[k];
        im = re * y + im * x;
        re = t;
        e = e * as + std::abs(re) + std::abs(im);
    }
    return {std::hypot(re, im), e};
}

bool Negligible(const Value& v) {
    return IsFinite(v.bound) && v.abs <= kStopFactor * kEta * v.bound;
}

// Index of the largest term |p_k| * m^(n-k) of p at a point of modulus m.
std::size_t LargestTerm(const Poly& p, double m) {
    std::size_t best = 0;
    double bestLog = -std::numeric_limits<double>::infinity();
    const double logM = std::log(m);
    const std::size_t n = p.size() - 1;
    for (std::size_t k = 0; k <= n; ++k) {
        if (p[k] == 0.0) continue;
        const double l = std::log(std::abs(p[k])) + static_cast<double>(n - k) * logM;
        if (l > bestLog) {
            bestLog = l;
            best = k;
        }
    }
    return best;
}

// Deflation by the factor z - r (Peters & Wilkinson's combined deflation): the
// quotient's leading coefficients come from the division from the top, the others
// from the division from the bottom, split at the largest term of p(r). Either
// direction alone amplifies rounding errors by powers of r or 1/r; the split keeps
// the quotient a small perturbation of the exact one whatever the size of r.
void DeflateLinear(const Poly& p, double r, Poly& q) {
    const std::size_t n = p.size() - 1;
    q.resize(n);
    const std::size_t m = r == 0.0 ? n : LargestTerm(p, std::abs(r));
    double y = p[0];
    for (std::size_t k = 0; k < std::min(m, n); ++k) {
        q[k] = y;
        y = y * r + p[k + 1];
    }
    if (m >= n) return;
    // q(n-1) = -p(n)/r; q(k-1) = (q(k) - p(k))/r.
    double x = -p[n] / r;
    for (std::size_t k = n - 1;; --k) {
        q[k] = x;
        if (k == m) break;
        x = (x - p[k]) / r;
    }
}

// Deflation by z^2 + u z + v, combined like DeflateLinear with the split at the
// largest term of p at the modulus sqrt|v| of the factor's roots.
void DeflateQuadratic(const Poly& p, double u, double v, Poly& q) {
    const std::size_t n = p.size() - 1;
    q.assign(n - 1, 0.0);
    const std::size_t m = LargestTerm(p, std::sqrt(std::abs(v)));
    double b1 = 0.0;
    double b2 = 0.0;
    for (std::size_t k = 0; k < std::min(m, n - 1); ++k) {
        const double bk = p[k] - u * b1 - v * b2;
        q[k] = bk;
        b2 = b1;
        b1 = bk;
    }
    if (m >= n - 1) return;
    // From the bottom: p(k) = q(k) + u q(k-1) + v q(k-2) with q(n-1) = q(n) = 0.
    double c1 = 0.0; // q(k)
    double c2 = 0.0; // q(k-1)
    for (std::size_t k = n;; --k) {
        const double qk2 = (p[k] - c1 - u * c2) / v;
        q[k - 2] = qk2;
        if (k - 2 == m) break;
        c1 = c2;
        c2 = qk2;
    }
}

// Roots of a*z^2 + b*z + c with a != 0: a complex pair as (re, +im), (re, -im), two
// real roots with the smaller magnitude first.
struct RootPair {
    double re1 = 0.0;
    double im1 = 0.0;
    double re2 = 0.0;
    double im2 = 0.0;
};

RootPair SolveQuadratic(double a, double b, double c) {
    // Scaling by a power of two keeps b^2 and a*c finite and changes no root.
    const double m = std::max({std::abs(a), std::abs(b), std::abs(c)});
    const int k = -std::ilogb(m);
    a = Pow2Scale(a, k);
    b = Pow2Scale(b, k);
    c = Pow2Scale(c, k);
    if (c == 0.0) return {0.0, 0.0, -b / a, 0.0};
    const double h = -0.5 * b;
    // h^2 - a*c with the rounding of a*c recovered, so close real roots keep the
    // accuracy their conditioning allows.
    const double ac = a * c;
    const double d = std::fma(h, h, -ac) - std::fma(a, c, -ac);
    if (d < 0.0) {
        const double re = h / a;
        const double im = std::sqrt(-d) / std::abs(a);
        return {re, im, re, -im};
    }
    const double q = h + std::copysign(std::sqrt(d), h);
    double r1 = c / q;
    double r2 = q / a;
    if (std::abs(r1) > std::abs(r2)) std::swap(r1, r2);
    return {r1, 0.0, r2, 0.0};
}

// Cauchy lower bound of the moduli of the roots: the positive root of
// |p0| x^n + ... + |p(n-1)| x - |pn|, by Newton's method from above (the function is
// convex and increasing there, so the iterates fall monotonically).
double CauchyLowerBound(const Poly& p) {
    const std::size_t n = p.size() - 1;
    const double an = std::abs(p[n]);
    double x = std::exp((std::log(an) - std::log(std::abs(p[0]))) / static_cast<double>(n));
    if (p[n - 1] != 0.0) x = std::min(x, an / std::abs(p[n - 1]));
    for (int it = 0; it < 100; ++it) {
        double f = std::abs(p[0]);
        double df = 0.0;
        for (std::size_t k = 1; k <= n; ++k) {
            df = df * x + f;
            f = f * x + (k < n ? std::abs(p[k]) : -an);
        }
        const double dx = f / df;
        if (!IsFinite(dx) || x - dx <= 0.0) break;
        x -= dx;
        if (std::abs(dx) <= 0.005 * x) break;
    }
    return x;
}

// Estimates produced by one K-polynomial step.
struct Estimates {
    bool quadratic = false; // u, v valid
    double u = 0.0;
    double v = 0.0;
    bool linear = false; // root valid
    double root = 0.0;
};

// Relative change of at most a half twice in a row: the weak-convergence test that
// ends stage two.
class ConvergenceWatch {
public:
    void Reset() {
        hasLast_ = false;
        passes_ = 0;
    }
    // Feeds the next estimate (or its absence); true when the last three agree.
    bool Feed(bool valid, double x) {
        if (!valid) {
            Reset();
            return false;
        }
        if (hasLast_ && last_ != 0.0 && std::abs(x - last_) <= 0.5 * std::abs(last_)) {
            change_ = std::abs(x - last_) / std::abs(last_);
            ++passes_;
        } else {
            passes_ = 0;
        }
        last_ = x;
        hasLast_ = true;
        return passes_ >= 2;
    }
    // Relative change of the last step.
    double Change() const { return change_; }

private:
    bool hasLast_ = false;
    int passes_ = 0;
    double last_ = 0.0;
    double change_ = 0.0;
};

struct Root {
    double re = 0.0;
    double im = 0.0;
};

class JenkinsTraub {
public:
    explicit JenkinsTraub(Poly p) : p_(std::move(p)) {}

    // Finds the roots one factor at a time; false when a factor cannot be found.
    bool Solve() {
        for (;;) {
            StripZeroRoots();
            const std::size_t n = p_.size() - 1;
            if (n == 0) return true;
            if (n == 1) {
                roots_.push_back({-p_[1] / p_[0], 0.0});
                return true;
            }
            if (n == 2) {
                AddPair(SolveQuadratic(p_[0], p_[1], p_[2]));
                return true;
            }
            if (!FindFactor()) return false;
        }
    }

    // The roots found, in order; a complex pair as (re, +im), (re, -im).
    const std::vector<Root>& Roots() const { return roots_; }

private:
    std::size_t Degree() const { return p_.size() - 1; }

    // Deflation can leave an exact zero constant term: that root is 0.
    void StripZeroRoots() {
        while (p_.size() > 1 && p_.back() == 0.0) {
            p_.pop_back();
            roots_.push_back({0.0, 0.0});
        }
    }

    void AddPair(const RootPair& r) {
        roots_.push_back({r.re1, r.im1});
        roots_.push_back({r.re2, r.im2});
    }

    // One linear or quadratic factor of p_ found, reported and divided out.
    bool FindFactor() {
        const std::size_t n = Degree();
        // Stage one: K(0) = P'/n, then shifts at 0 that damp the large roots.
        k_.resize(n);
        for (std::size_t i = 0; i < n; ++i)
            k_[i] = p_[i] * static_cast<double>(n - i) / static_cast<double>(n);
        for (int step = 0; step < kNoShiftSteps; ++step)
            if (!NoShiftStep()) return false;
        const Poly kStageOne = k_;

        // Stage two from shifts on the circle of the Cauchy bound, turned on restart.
        const double beta = CauchyLowerBound(p_);
        for (int shift = 1; shift <= kMaxShifts; ++shift) {
            angle_ += kRotation;
            const double x = beta * std::cos(angle_);
            k_ = kStageOne;
            if (FixedShift(kFixedShiftStepsPerShift * shift, -2.0 * x, beta * beta)) return true;
        }
        return false;
    }

    // K <- (K - K(0)/P(0) P) / z, up to a factor.
    bool NoShiftStep() {
        const std::size_t n = Degree();
        double c1 = p_[n];
        double c2 = k_[n - 1];
        if (!NormalizePair(c1, c2)) return false;
        kNew_.resize(n);
        kNew_[0] = -c2 * p_[0];
        for (std::size_t i = 1; i < n; ++i)
            kNew_[i] = c1 * k_[i - 1] - c2 * p_[i];
        if (!NormalizeDirection(kNew_)) return false;
        k_.swap(kNew_);
        return true;
    }

    // Stage two: K-steps with the fixed shift z^2 + u z + v, watching the estimates
    // of a quadratic factor and of a real root; once one settles, stage three starts
    // from it. A failed stage three resumes stage two from the K it started with.
    bool FixedShift(int steps, double u, double v) {
        ConvergenceWatch quadWatch;
        ConvergenceWatch linWatch;
        for (int step = 0; step < steps; ++step) {
            Estimates est;
            if (!ShiftStep(u, v, est)) return false;
            const bool quadReady = quadWatch.Feed(est.quadratic, est.v);
            const bool linReady = linWatch.Feed(est.linear, est.root);
            if (!quadReady && !linReady) continue;
            const bool linFirst =
                linReady && (!quadReady || linWatch.Change() <= quadWatch.Change());
            for (int trial = 0; trial < 2; ++trial) {
                const bool linear = (trial == 0) == linFirst;
                if (linear ? !linReady : !quadReady) continue;
                const Poly saved = k_;
                if (linear ? LinearIteration(est.root) : QuadraticIteration(est.u, est.v))
                    return true;
                k_ = saved;
                (linear ? linWatch : quadWatch).Reset();
            }
        }
        return false;
    }

    // K <- (K + (a z + b) P) / (z^2 + u z + v) with a, b making the division exact,
    // up to a factor; then the estimates from the new K. False when K degenerates.
    bool ShiftStep(double u, double v, Estimates& est) {
        const std::size_t n = Degree();
        const Linear rp = DivideQuadratic(p_, u, v, &qp_);
        const Linear rk = DivideQuadratic(k_, u, v, &qk_);
        // Multiplied through by D = P(s1) P(s2) so that a root at the shift (D = 0)
        // needs no division.
        double d = rp.b * rp.b - u * rp.a * rp.b + v * rp.a * rp.a;
        double a = rp.a * rk.b - rk.a * rp.b;
        double b = -rk.b * (rp.b - u * rp.a) - rk.a * rp.a * v;
        const double m = std::max({std::abs(d), std::abs(a), std::abs(b)});
        if (!(m > 0.0) || !IsFinite(m)) return false;
        const int scale = -std::ilogb(m);
        d = Pow2Scale(d, scale);
        a = Pow2Scale(a, scale);
        b = Pow2Scale(b, scale);
        kNew_.assign(n, 0.0);
        for (std::size_t i = 0; i < n; ++i) {
            double c = 0.0;
            if (i + 2 <= n) c += a * qp_[i];
            if (i >= 1) c += b * qp_[i - 1];
            if (i >= 2) c += d * qk_[i - 2];
            kNew_[i] = c;
        }
        kNew_[n - 1] += a * rp.a;
        if (!NormalizeDirection(kNew_)) return false;
        k_.swap(kNew_);
        est = Estimate(rp, u, v);
        return true;
    }

    // The quadratic factor z^2 + u' z + v' for which K + u' K1 + v' K2 vanishes at the
    // roots of z^2 + u z + v, where K1, K2 are K after one and two no-shift steps;
    // exact when K lies in the span of P/(z - r1) and P/(z - r2). Computed as a
    // correction of (u, v) from the remainders of P and K. Also -P(0)/K(0) with K
    // scaled to P's leading coefficient: exact when K is a multiple of P/(z - r).
    Estimates Estimate(const Linear& rp, double u, double v) const {
        Estimates est;
        const std::size_t n = Degree();
        const Linear rk = DivideQuadratic(k_, u, v, nullptr);
        const double pAtZero = p_[n];
        const double t = k_[n - 1] / pAtZero;
        const double t1 = (k_[n - 2] - t * p_[n - 1]) / pAtZero;
        const double ra = rk.a - t * rp.a;
        const double rb = rk.b - t * rp.b;
        const double x1a = rb - u * ra;
        const double x1b = -v * ra;
        const double x2a = ra - t1 * (rp.b - u * rp.a);
        const double x2b = rb + t1 * v * rp.a;
        const double l1 = u * t + v * t1;
        const double l0 = v * t;
        const double ya = rp.a * l0 + rp.b * l1 - u * rp.a * l1;
        const double yb = rp.b * l0 - v * rp.a * l1;
        const double det = x1a * x2b - x2a * x1b;
        if (det != 0.0) {
            est.u = u + (ya * x2b - x2a * yb) / det;
            est.v = v + (x1a * yb - ya * x1b) / det;
            est.quadratic = IsFinite(est.u) && IsFinite(est.v) && est.v != 0.0;
        }
        if (k_[n - 1] != 0.0) {
            est.root = -(pAtZero / k_[n - 1]) * (k_[0] / p_[0]);
            est.linear = IsFinite(est.root);
        }
        return est;
    }

    // Stage three for a quadratic factor: variable shifts z^2 + u z + v. Gives up on
    // two real roots of clearly different size (the real iteration takes those), on
    // a degenerate step, or after a bounded number of steps. Once the roots' values
    // are negligible, a few more steps run while they shrink the remainder of P: for
    // close roots the remainder's slope (P(s1) - P(s2))/(s1 - s2) can still be large,
    // and dividing by the factor would carry it into every later root.
    bool QuadraticIteration(double u, double v) {
        bool found = false;
        double bestU = 0.0;
        double bestV = 0.0;
        double bestRemainder = 0.0;
        int polish = 0;
        for (int step = 0; step < kMaxQuadraticSteps; ++step) {
            if (!IsFinite(u) || !IsFinite(v) || v == 0.0) break;
            const RootPair r = SolveQuadratic(1.0, u, v);
            bool done = false;
            if (r.im1 != 0.0) {
                done = Negligible(EvaluateComplex(p_, r.re1, r.im1));
            } else {
                if (std::abs(std::abs(r.re2) - std::abs(r.re1)) > 0.01 * std::abs(r.re2)) break;
                Value v1;
                Value v2;
                DivideLinear(p_, r.re1, nullptr, &v1);
                DivideLinear(p_, r.re2, nullptr, &v2);
                done = Negligible(v1) && Negligible(v2);
            }
            if (done) {
                const Linear rem = DivideQuadratic(p_, u, v, nullptr);
                const double size = std::abs(rem.a) * std::sqrt(std::abs(v)) + std::abs(rem.b);
                if (found && !(size < bestRemainder)) break;
                found = true;
                bestU = u;
                bestV = v;
                bestRemainder = size;
                if (size == 0.0 || ++polish > kFactorPolishSteps) break;
            } else if (found) {
                break;
            }
            Estimates est;
            if (!ShiftStep(u, v, est) || !est.quadratic) break;
            u = est.u;
            v = est.v;
        }
        if (!found) return false;
        DeflateQuadratic(p_, bestU, bestV, qp_);
        p_.swap(qp_);
        AddPair(SolveQuadratic(1.0, bestU, bestV));
        return true;
    }

    // Stage three for a real root: variable shifts s <- s - P(s)/K(s), K scaled to
    // P's leading coefficient. When the steps stall with the value of P growing, the
    // roots nearby are a pair or a multiple root: the quadratic iteration takes over
    // from (z - s)^2.
    bool LinearIteration(double s) {
        const std::size_t n = Degree();
        double lastValue = 0.0;
        double lastS = 0.0;
        for (int step = 0; step < kMaxLinearSteps; ++step) {
            if (!IsFinite(s)) return false;
            Value pv;
            const double pAtS = DivideLinear(p_, s, &qp_, &pv);
            if (Negligible(pv)) {
                DeflateLinear(p_, s, qp_);
                p_.swap(qp_);
                roots_.push_back({s, 0.0});
                return true;
            }
            if (step >= 2 && std::abs(s - lastS) <= 0.001 * std::abs(s) && pv.abs > lastValue)
                return QuadraticIteration(-2.0 * s, s * s);
            lastValue = pv.abs;
            lastS = s;
            double ps = pAtS;
            double ks = DivideLinear(k_, s, &qk_, nullptr);
            if (!NormalizePair(ps, ks)) return false;
            // (P(s) K - K(s) P) / (z - s) = P(s) QK - K(s) QP.
            kNew_.resize(n);
            kNew_[0] = -ks * qp_[0];
            for (std::size_t i = 1; i < n; ++i)
                kNew_[i] = ps * qk_[i - 1] - ks * qp_[i];
            if (!NormalizeDirection(kNew_)) return false;
            k_.swap(kNew_);
            const double kv = DivideLinear(k_, s, nullptr, nullptr);
            if (kv == 0.0) return false;
            s -= (pAtS / p_[0]) * (k_[0] / kv);
        }
        return false;
    }

    Poly p_;
    std::vector<Root> roots_;
    Poly k_;
    Poly kNew_;
    Poly qp_;
    Poly qk_;
    double angle_ = kFirstAngle;
};

// The Newton step p(z)/p'(z) and the relative value |p(z)| / (its rounding-error
// sum), with p evaluated from its low end at 1/z when |z| > 1 so that no power of z
// overflows. The relative value is 0 when p(z) vanishes and NaN when it cannot be
// computed.
struct Probe {
    std::complex<double> step;
    double relative = 0.0;
};

Probe NewtonProbe(const Poly& p, std::complex<double> z) {
    using C = std::complex<double>;
    const std::size_t n = p.size() - 1;
    const bool reversed = std::abs(z) > 1.0;
    const C w = reversed ? 1.0 / z : z;
    const double aw = std::abs(w);
    C value = reversed ? p[n] : p[0];
    C slope = 0.0;
    double e = std::abs(value.real());
    for (std::size_t k = 1; k <= n; ++k) {
        slope = slope * w + value;
        value = value * w + (reversed ? p[n - k] : p[k]);
        e = e * aw + std::abs(value.real()) + std::abs(value.imag());
    }
    Probe probe;
    probe.relative = std::abs(value) == 0.0 ? 0.0 : std::abs(value) / e;
    if (!IsFinite(e)) probe.relative = std::numeric_limits<double>::quiet_NaN();
    // p(z) = z^n r(w) with w = 1/z gives p/p' = z r / (n r - w r').
    probe.step =
        reversed ? z * value / (static_cast<double>(n) * value - w * slope) : value / slope;
    return probe;
}

// Newton steps on the undeflated polynomial p for every root whose value there is
// not yet negligible: the rounding errors of earlier deflations can leave a later
// root slightly off for p itself. A step is taken only while it lowers the relative
// value and moves the root by less than a quarter of its distance to any other root,
// so a root never wanders into a neighbour; a complex root stays off the real axis
// and takes its conjugate partner along. Returns how many leading roots pass the
// final check on p: deflation errors that grew beyond repair make the rest unusable.
std::size_t Refine(const Poly& p, std::vector<Root>& roots) {
    using C = std::complex<double>;
    for (std::size_t i = 0; i < roots.size(); ++i) {
        if (roots[i].im < 0.0) continue; // moved with its partner
        C z(roots[i].re, roots[i].im);
        double nearest = std::numeric_limits<double>::infinity(); // squared at first
        for (std::size_t j = 0; j < roots.size(); ++j)
            if (j != i) nearest = std::min(nearest, std::norm(z - C(roots[j].re, roots[j].im)));
        nearest = std::sqrt(nearest);
        Probe probe = NewtonProbe(p, z);
        for (int step = 0; step < kNewtonSteps && !(probe.relative <= kStopFactor * kEta); ++step) {
            C dz = probe.step;
            if (z.imag() == 0.0) dz.imag(0.0);
            const C next = z - dz;
            if (!(std::abs(dz) < 0.25 * nearest) || !IsFinite(next.real()) ||
                !IsFinite(next.imag()) || (z.imag() > 0.0 && !(next.imag() > 0.0)))
                break;
            const Probe nextProbe = NewtonProbe(p, next);
            if (!(nextProbe.relative < probe.relative)) break;
            nearest -= std::abs(dz);
            z = next;
            probe = nextProbe;
        }
        if (!(probe.relative <= kVerifyFactor * kEta)) return i;
        roots[i] = {z.real(), z.imag()};
        if (z.imag() > 0.0 && i + 1 < roots.size()) roots[i + 1] = {z.real(), -z.imag()};
    }
    return roots.size();
}

// Substitutes z = 2^e w with 2^e near the geometric mean of the root moduli, then
// multiplies by a power of two that centres the coefficient magnitudes in
// [kLowBound, kLargest] when they leave it. Both are exact; the roots in w times 2^e
// are those of p. False when the scaled coefficients leave the range of double.
bool Scale(Poly& p, int& exponent) {
    const std::size_t n = p.size() - 1;
    const double dn = static_cast<double>(n);
    exponent =
        static_cast<int>(std::lround((std::log2(std::abs(p[n])) - std::log2(std::abs(p[0]))) / dn));
    double lo = std::numeric_limits<double>::infinity();
    double hi = -lo;
    for (std::size_t k = 0; k <= n; ++k) {
        if (p[k] == 0.0) continue;
        const double l = std::log2(std::abs(p[k])) + exponent * static_cast<double>(n - k);
        lo = std::min(lo, l);
        hi = std::max(hi, l);
    }
    const double loLimit = std::log2(kLowBound);
    const double hiLimit = std::log2(kLargest);
    int extra = 0;
    if (lo < loLimit || hi > hiLimit)
        extra = static_cast<int>(std::lround(0.5 * (loLimit + hiLimit) - 0.5 * (lo + hi)));
    for (std::size_t k = 0; k <= n; ++k)
        p[k] = Pow2Scale(p[k], exponent * static_cast<int>(n - k) + extra);
    if (!std::all_of(p.begin(), p.end(), IsFinite)) return false;
    return p[0] != 0.0 && p[n] != 0.0;
}

} // namespace

bool RealPolyRoots(const std::vector<double>& coeffs, std::vector<double>& re,
                   std::vector<double>& im) {
    re.clear();
    im.clear();
    if (coeffs.size() < 2 || coeffs[0] == 0.0) return false;
    if (!std::all_of(coeffs.begin(), coeffs.end(), IsFinite)) return false;
    std::size_t end = coeffs.size();
    while (coeffs[end - 1] == 0.0) {
        --end;
        re.push_back(0.0);
        im.push_back(0.0);
    }
    Poly p(coeffs.begin(), coeffs.begin() + static_cast<std::ptrdiff_t>(end));
    if (p.size() == 1) return true;
    int exponent = 0;
    if (!Scale(p, exponent)) return false;
    JenkinsTraub solver(p);
    bool solved = solver.Solve();
    std::vector<Root> roots = solver.Roots();
    const std::size_t usable = Refine(p, roots);
    if (usable < roots.size()) {
        solved = false;
        roots.resize(usable);
    }
    for (const Root& r : roots) {
        const double x = Pow2Scale(r.re, exponent);
        const double y = Pow2Scale(r.im, exponent);
        if (!IsFinite(x) || !IsFinite(y)) return false;
        re.push_back(x);
        im.push_back(y);
    }
    return solved;
}

} // namespace korin
