#pragma once
// Special functions and complex helpers of the prototype design engine: complete
// and incomplete elliptic integrals of the first kind, Jacobian elliptic
// functions, the modulus belonging to a nome, and complex division, modulus and
// square root on korin::mcplx.
//
// Errors (an argument outside the domain, a singularity, an overflow) are passed
// to one replaceable diagnostic reporter with the routine's name and the kind of
// error; the routine then returns the fallback value its contract states.

#include "korin/base/mcplx.h"

#include <cfloat>
#include <optional>

namespace tarvo {

// 2^-53, the relative rounding unit of a double; iterations stop below it.
inline constexpr double kMachEp = 1.1102230246251565e-16;
inline constexpr double kDblMax = DBL_MAX;

enum class MathError {
    Domain = 1,
    Singularity,
    Overflow,
    Underflow,
    TotalLoss,
    PartialLoss,
};

// "domain", "singularity", "overflow", "underflow", "total loss of precision",
// "partial loss of precision"; "unknown" for any other value.
const char* MathErrorName(MathError kind);

// Receives the routine's name ("ellpk", "ellik", "ellpj", "cdiv", "cabs",
// "ModulusFromNome") and the kind's name.
using MathErrorReporter = void (*)(const char* routine, const char* kind);

// Installs a reporter (nullptr: silent, the default) and returns the previous one.
MathErrorReporter SetMathErrorReporter(MathErrorReporter reporter);

// Reports one error through the installed reporter and counts it.
void ReportMathError(const char* routine, MathError kind);

// Number of errors reported on this thread so far, whatever the reporter; the
// engine compares it before and after a design to see whether a fallback was used.
unsigned long MathErrorCount();

// K(1 - x): the complete elliptic integral of the first kind for the parameter
// m = 1 - x, 0 <= x <= 1 (so K(m) is ellpk(1 - m)); relative error about 1e-16.
// x < 0 or x > 1: "domain", result 0. x = 0: "singularity", result DBL_MAX.
double ellpk(double x);

// F(phi | m) = integral from 0 to phi of (1 - m sin^2 t)^(-1/2) dt, 0 <= m <= 1,
// any finite phi; relative error about 1e-15. m = 1 and |phi| >= pi/2:
// "singularity", DBL_MAX. m outside [0, 1] or a non-finite phi: "domain", NaN;
// an iteration that does not converge: "total loss of precision", NaN.
double ellik(double phi, double m);

struct JacobiElliptic {
    double sn = 0.0;
    double cn = 0.0;
    double dn = 0.0;
    double ph = 0.0; // amplitude: sn = sin ph, cn = cos ph
};

// sn, cn, dn and the amplitude of u for the parameter 0 <= m <= 1; absolute
// error about 1e-15 for |u| up to a few K(m), except for m >= 1 - 1e-10, where a
// first-order expansion in 1 - m is used and the error grows towards K(m) (about
// 1e-11 at 0.99 K(m)). m outside [0, 1]: "domain", all four zero. More than 8
// arithmetic-geometric-mean steps: "overflow", the values of the steps taken.
JacobiElliptic ellpj(double u, double m);

// The elliptic modulus k belonging to the nome q, 0 <= q < 1, from the theta
// series k = 4 sqrt(q) (sum q^(j(j+1)))^2 / (1 + 2 sum q^(j^2))^2; relative error
// a few 1e-16 for moderate q. No value (and a diagnostic) for q outside [0, 1)
// or when the series does not reach the rounding unit within its bound.
std::optional<double> ModulusFromNome(double q);

// b / a, for |a| and |b| below about 1e150 (|a|^2 and the products must not
// overflow). When |a|^2 < 1 and the quotient would overflow, or |a|^2 = 0:
// "overflow", result (DBL_MAX, DBL_MAX).
korin::mcplx cdiv(const korin::mcplx& a, const korin::mcplx& b);

// |z| with power-of-two scaling, so finite parts neither overflow nor underflow
// in the squares; a result beyond the double range: "overflow", +inf. An
// infinite part gives +inf, a NaN part NaN.
double cabs(const korin::mcplx& z);

// The square root of z whose imaginary part is non-negative (for a negative real
// z, j sqrt(-z)); one Newton step (through cdiv) refines the first estimate, so
// |z| must lie between about 1e-150 and 1e150. Within 2 ulp there.
korin::mcplx csqrt(const korin::mcplx& z);

} // namespace tarvo
