#pragma once
// Frequency responses of direct-form coefficients and of second-order sections,
// evaluated at arbitrary points s (z = e^s; the callers pass s = j*omega).

#include "korin/base/mmatrix.h"

namespace korin {

// H[i] = B(e^s[i]) / A(e^s[i]) by Horner's rule, coefficients highest power first;
// an empty a means A = 1, and a zero A(e^s[i]) gives NaN parts. An empty b is a
// contract violation of the polynomial evaluation and gives H = 0.
void FreqzBA(const mvect& b, const mvect& a, const mvect& s, mvect& H);

// H[i] = product over the rows of b(e^s[i]) / a(e^s[i]), rows b0 b1 b2 a0 a1 a2
// (the section gain is not applied). Agrees with multiplying the rows' FreqzBA
// responses to 1e-12 relative. A row of another size than six is a contract
// violation and is left out.
void FreqzSos(const msos& sos, const mvect& s, mvect& H);

// The same product at one point z itself (not e^s), row by row with one division
// per row, exactly as FreqzBA evaluates each row. Rows of another size than six
// are left out.
mcplx SosResponseAt(const msos& sos, const mcplx& z);

} // namespace korin
