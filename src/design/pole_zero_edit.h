#pragma once
// Editing a filter by moving its roots: the rules behind the pole-zero plot's
// drag and arrow keys, free of any widget. The plot maps pixels and keys to
// these calls and redraws from the filter afterwards.

#include <complex>
#include <optional>
#include <string>

namespace tarvo {

class CIirFilter;

// Constrained poles stay strictly inside the unit circle: a pole on it makes the
// magnitude at its frequency infinite and the gain unusable. Zeros may lie on it.
inline constexpr double kPoleRadiusLimit = 1.0 - 1e-6;

// The point a constrained root may take for p: p itself when it lies within
// the allowed radius (kPoleRadiusLimit for poles, 1 for zeros) or when
// unconstrained; otherwise p pulled radially back onto that radius.
std::complex<double> ConstrainPoint(std::complex<double> p, bool isPole, bool constrained);

enum class PoleZeroKey { kLeft, kRight, kUp, kDown };

struct KeyStep {
    // Where the picked root should move; empty when the key does nothing.
    std::optional<std::complex<double>> target;
    // Why the key does nothing, for the status bar; empty otherwise.
    std::string status;
};

inline constexpr const char* kRealRootPolarStatus =
    "A real root without a partner moves along the real axis only: use Up and Down, or "
    "Cartesian mode (M).";
inline constexpr const char* kRealRootCartesianStatus =
    "A real root without a partner moves along the real axis only: use Left and Right.";
inline constexpr const char* kOriginRootStatus =
    "A root at the origin moves only in Cartesian mode (M).";

// One arrow key on the picked root p, for drawing spans xSpan and ySpan (axis
// units). Polar: Left and Right rotate by (xSpan + ySpan) / 5 * pi/60, Left
// towards the negative real axis in either half-plane (belowAxis: the root was
// picked at Im <= 0); Up and Down scale by 1 +- 0.02 * ySpan, Up limited to the
// circle when constrained. Cartesian: shift by 0.02 * ySpan, a constrained root
// that leaves the circle snapping back onto it along the moved coordinate, or
// radially when the other coordinate alone already reaches the circle.
KeyStep ArrowKeyStep(std::complex<double> p, PoleZeroKey key, bool polar, bool belowAxis,
                     bool hasPartner, bool isPole, bool constrained, double xSpan, double ySpan);

enum class MoveResult { kUnchanged, kMoved, kRefused };

struct MoveOutcome {
    MoveResult result = MoveResult::kUnchanged;
    // The gain was scaled to keep the magnitude at the reference frequency;
    // false after a move that put a pole or zero there (the gain is kept).
    bool renormalized = false;
};

// Moves the filter's pick to q: with a partner, the pair becomes q and its
// mirror image; without one, the root stays real at Re q. Then rebuilds the
// coefficients from the roots, renormalizes the gain when it can, and sets
// dragMoved. A move that would leave any coefficient or the gain non-finite is
// undone exactly and refused. No pick, or no change of the pick: kUnchanged.
MoveOutcome MovePickTo(CIirFilter& filter, std::complex<double> q);

} // namespace tarvo
