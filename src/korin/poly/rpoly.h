#pragma once
// Roots of polynomials with real coefficients: the Jenkins-Traub three-stage
// algorithm with quadratic iteration (Jenkins & Traub, "A three-stage algorithm for
// real polynomials using quadratic iteration", SIAM J. Numer. Anal. 7, 1970; ACM
// TOMS Algorithm 493).

#include <vector>

namespace korin {

// Roots of coeffs[0]*x^n + coeffs[1]*x^(n-1) + ... + coeffs[n]. Exact zero
// coefficients at the end are roots 0, reported first; the other roots follow in the
// order found, complex ones as exact conjugate pairs (positive imaginary part first).
// Each root is an exact root of a polynomial within a few hundred units of 2.22e-16
// (relative, coefficient by coefficient) of the one being solved at the time.
// Returns false for fewer than two coefficients, a zero leading coefficient, a
// non-finite coefficient or an iteration that does not converge; re and im then hold
// the roots found before the failure (possibly none). Never loops without bound.
bool RealPolyRoots(const std::vector<double>& coeffs, std::vector<double>& re,
                   std::vector<double>& im);

} // namespace korin
