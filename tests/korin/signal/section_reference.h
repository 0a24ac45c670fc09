#pragma once
// Literal transcriptions kept as references for the tests: the section pairing as
// first written (pairwise tolerance comparator, one zero at a time, no repairs) and
// the frequency response of sections row by row through FreqzBA.

#include "korin/base/mmatrix.h"

namespace tarvo::test {

void ReferencePairConjugates(korin::mvect& v, double tol);
void ReferenceZpToSos(korin::msos& sos, const korin::mvect& z, const korin::mvect& p);

// H = product over rows of FreqzBA(row[0..2], row[3..5], s), one row at a time.
void ReferenceFreqzSos(const korin::msos& sos, const korin::mvect& s, korin::mvect& H);

} // namespace tarvo::test
