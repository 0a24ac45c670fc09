#include "design/pole_zero_edit.h"

#include "design/iir_filter.h"

#include <cmath>
#include <numbers>

namespace tarvo {

using korin::mcplx;
using korin::mvect;

namespace {

double RadiusLimit(bool isPole) {
    return isPole ? kPoleRadiusLimit : 1.0;
}

// The mirror image of a real value must print as "+ 0.000000j", not "- 0.000000j".
double PositiveZero(double x) {
    return x == 0.0 ? 0.0 : x;
}

bool Finite(const mcplx& c) {
    return std::isfinite(c.real()) && std::isfinite(c.imag());
}

bool AllFinite(const mvect& v) {
    for (const mcplx& c : v) {
        if (!Finite(c)) return false;
    }
    return true;
}

bool CoefficientsFinite(const CIirFilter& f) {
    if (!std::isfinite(f.k) || !std::isfinite(f.sos.gain)) return false;
    if (!AllFinite(f.b) || !AllFinite(f.a)) return false;
    for (std::size_t i = 0; i < f.sos.Rows(); ++i) {
        if (!AllFinite(f.sos[i])) return false;
    }
    return true;
}

// Cartesian snap: after a shift of one coordinate took a constrained root
// outside, that coordinate is set so the root lies on the limit circle, keeping
// the other. The sign follows the moved coordinate, which for a root that was
// inside is always the side it left through. When the other coordinate alone
// reaches the circle there is no such point, and the root is projected radially.
std::complex<double> SnapMovedCoordinate(std::complex<double> q, bool movedReal, bool isPole) {
    const double limit = RadiusLimit(isPole);
    if (!(std::abs(q) > limit)) return q;
    const double other = movedReal ? q.imag() : q.real();
    if (std::abs(other) >= limit) return ConstrainPoint(q, isPole, true);
    const double moved = movedReal ? q.real() : q.imag();
    const double snapped = std::copysign(std::sqrt(limit * limit - other * other), moved);
    const std::complex<double> s =
        movedReal ? std::complex<double>(snapped, other) : std::complex<double>(other, snapped);
    // The square root may land an ulp outside.
    return ConstrainPoint(s, isPole, true);
}

} // namespace

std::complex<double> ConstrainPoint(std::complex<double> p, bool isPole, bool constrained) {
    const double limit = RadiusLimit(isPole);
    const double r = std::abs(p);
    if (!constrained || !(r > limit) || !std::isfinite(r)) return p;
    double scale = limit / r;
    std::complex<double> q = p * scale;
    // Rounding may leave the product an ulp beyond the limit; a pole must not be.
    while (std::abs(q) > limit) {
        scale = std::nextafter(scale, 0.0);
        q = p * scale;
    }
    return q;
}

KeyStep ArrowKeyStep(std::complex<double> p, PoleZeroKey key, bool polar, bool belowAxis,
                     bool hasPartner, bool isPole, bool constrained, double xSpan, double ySpan) {
    const double d = 0.02 * ySpan;
    const bool horizontal = key == PoleZeroKey::kLeft || key == PoleZeroKey::kRight;
    if (polar) {
        if (p == std::complex<double>()) return {std::nullopt, kOriginRootStatus};
        if (horizontal) {
            // Rotating a lone real root and dropping the imaginary part would
            // only shrink it towards the origin.
            if (!hasPartner) return {std::nullopt, kRealRootPolarStatus};
            double h = (xSpan + ySpan) / 5.0 * std::numbers::pi / 60.0;
            if (belowAxis) h = -h;
            if (key == PoleZeroKey::kRight) h = -h;
            return {p * std::polar(1.0, h), {}};
        }
        if (key == PoleZeroKey::kUp)
            return {ConstrainPoint(p * (1.0 + d), isPole, constrained), {}};
        return {p * (1.0 - d), {}};
    }
    // A lone real root keeps no imaginary part, so a vertical shift would do nothing.
    if (!horizontal && !hasPartner && p.imag() == 0.0) {
        return {std::nullopt, kRealRootCartesianStatus};
    }
    std::complex<double> q = p;
    switch (key) {
    case PoleZeroKey::kLeft:
        q.real(q.real() - d);
        break;
    case PoleZeroKey::kRight:
        q.real(q.real() + d);
        break;
    case PoleZeroKey::kUp:
        q.imag(q.imag() + d);
        break;
    case PoleZeroKey::kDown:
        q.imag(q.imag() - d);
        break;
    }
    if (constrained) q = SnapMovedCoordinate(q, horizontal, isPole);
    return {q, {}};
}

MoveOutcome MovePickTo(CIirFilter& filter, std::complex<double> q) {
    mcplx* pick = filter.Pick();
    if (pick == nullptr) return {};
    mcplx* partner = filter.Partner();
    const mcplx target =
        partner != nullptr ? mcplx(q.real(), PositiveZero(q.imag())) : mcplx(q.real(), 0.0);
    if (target == *pick) return {};

    // Roots and everything built from them, to undo a move that breaks the filter.
    const korin::mfilter before = filter;
    const mvect qzBefore = filter.qz;
    const mvect qpBefore = filter.qp;

    *pick = target;
    if (partner != nullptr) *partner = mcplx(target.real(), PositiveZero(-target.imag()));
    filter.RebuildFromRoots();
    MoveOutcome outcome;
    outcome.renormalized = filter.Renormalize();
    if (!CoefficientsFinite(filter)) {
        static_cast<korin::mfilter&>(filter) = before;
        filter.qz = qzBefore;
        filter.qp = qpBefore;
        return {MoveResult::kRefused, false};
    }
    filter.dragMoved = 1;
    outcome.result = MoveResult::kMoved;
    return outcome;
}

} // namespace tarvo
