#pragma once
// Polynomials as complex coefficient vectors, highest power first:
// P = (p0, p1, ..., pn) stands for p0*x^n + p1*x^(n-1) + ... + pn.

#include "korin/base/mv_t.h"

namespace korin {

// Horner evaluation of P at x. An empty P is a contract violation; the result is then 0.
mcplx PolyVal(const mvect& P, const mcplx& x);

// Y[i] = PolyVal(P, X[i]); Y is resized to X.
void PolyValAt(const mvect& P, const mvect& X, mvect& Y);

// P = prod (x - R[j]), expanded root by root, then imaginary parts below 1e-12 of
// their real part are dropped, so conjugate-symmetric roots give real coefficients.
// An empty R leaves P as it was; R and P must be different objects.
void Poly(const mvect& R, mvect& P);

// The two roots (-b +- sqrt(b^2 - 4ac)) / 2a of P = (a, b, c), principal square
// root, '+' first. A P of another size is a contract violation; its first three
// coefficients are used (missing ones count as 0).
void QuadRoots(const mvect& P, mcplx& r1, mcplx& r2);

// Roots of the monic polynomial P (p0 = 1 exactly). Degree 1 and 2 are solved
// directly (a root exactly 0 of a quadratic is not reported); degree 3 and more
// use the Jenkins-Traub real-coefficient algorithm on the real parts of P, and R
// stays empty when it fails. An empty P is a contract violation (R unchanged).
void Roots(const mvect& P, mvect& R);

} // namespace korin
