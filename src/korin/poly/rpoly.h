#pragma once
// Roots of polynomials with real coefficients: the Jenkins-Traub three-stage
// algorithm with quadratic iteration (Jenkins & Traub, "A three-stage algorithm for
// real polynomials using quadratic iteration", SIAM J. Numer. Anal. 7, 1970; ACM
// TOMS Algorithm 493).

#include <vector>

namespace korin {

// Roots of coeffs[0] x^n + ... + coeffs[n], n >= 1: exact zeros at the end give roots 0,
// listed first, then the roots in the order found, pairs as (re, +im), (re, -im). Each
// root r has |p(r)| <= 20 (n+1) eta sum |p_k| |r|^(n-k), eta = 2.22e-16, as a rule and
// never more than 3e4 (n+1) eta times that sum. False (re, im: the roots found so far)
// for a zero leading or non-finite coefficient, no convergence or roots out of range.
bool RealPolyRoots(const std::vector<double>& coeffs, std::vector<double>& re,
                   std::vector<double>& im);

} // namespace korin
