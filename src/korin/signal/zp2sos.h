#pragma once
// Pairing of zeros and poles into second-order sections (biquads), and the
// column re-selection the exporters use to write sections in their own order.

#include "korin/base/mmatrix.h"

#include <cstdint>
#include <span>

namespace korin {

// Rebuilds the rows of sos from n zeros z and n poles p: ceil(n/2) rows
// b0 b1 b2 a0 a1 a2 of monic quadratics (b2 = a2 = 0 in the first-order row an odd
// n leaves), ordered by decreasing distance of their poles from the unit circle.
// A conjugate-symmetric set gives real rows: each conjugate pair shares a row and
// real roots pair with real roots. The gain is left as the caller set it. Empty or
// unequal z and p are contract violations and leave sos without rows.
void ZpToSos(msos& sos, const mvect& z, const mvect& p);

// Sorts v into conjugate-pair order: complex values first, by ascending real part
// (real parts within tol*|x| of each other count as equal and order by imaginary
// part, negative first), then real values ascending (|Im x| < tol*|x| counts as
// real), then values with a NaN part in their order. Adjacent values whose sum of
// imaginary parts and difference of real parts are below tol (absolute) become
// exact conjugates. Equal keys keep their order.
void PairConjugates(mvect& v, double tol);

// Stable sort by | |x| - 1 |, nearest to the unit circle first; NaN moduli last.
void SortByUnitCircle(mvect& v);

// A new msos (gain 1) whose rows are the source rows' coefficients at the listed
// column indices, in list order, up to the first negative entry; with negate, the
// selected columns 4 and 5 (a1, a2) change sign. An index past a row's end throws
// std::out_of_range.
msos SelectColumns(const mmatrix& source, std::span<const std::int32_t> columns, bool negate);

} // namespace korin
