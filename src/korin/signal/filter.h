#pragma once
// Time-domain filtering in transposed direct form II, from direct-form
// coefficients or through a cascade of second-order sections, and the impulse and
// step responses built on it.

#include "korin/base/mmatrix.h"

#include <cstdint>

namespace korin {

// y[n] = sum b[k] x[n-k] - sum a[k] y[n-k] for k >= 1 (plus b[0] x[n]): b and a of
// equal size N (highest power of z first, so the z^-1 form for equal sizes), a[0] = 1
// assumed and never divided by. The state holds the N - 1 delay values: empty
// starts from zero, and it is left holding the final values so that a next call
// continues the signal. Violations (x and y one object, empty b, unequal sizes, a
// state of the wrong size) are reported; the call then still filters x, gives zeros
// for an empty b, pads the shorter of b and a with trailing zeros, or restarts from
// a zero state.
void FilterState(const mvect& b, const mvect& a, mvect& state, const mvect& x, mvect& y);

// FilterState from a zero state.
void FilterZero(const mvect& b, const mvect& a, const mvect& x, mvect& y);

// x through every row b0 b1 b2 a0 a1 a2 of sos in order (no section gain). z holds
// two delay values per row (empty starts from zero; another size is reported and
// restarts from zero) and is left holding the final values. A row of another size
// than six is reported and passes its input through. No rows: y = x.
void SosFilter(const msos& sos, const mvect& x, mvect& z, mvect& y);

// The first n samples (n = 0 means 1024; a negative n is reported and gives none)
// of the response of b/a to a unit impulse or a unit step from a zero state.
void ImpulseBA(std::int32_t n, const mvect& b, const mvect& a, mvect& y);
void StepBA(std::int32_t n, const mvect& b, const mvect& a, mvect& y);

// The same through the rows of sos, multiplied by the section gain.
void ImpulseSos(std::int32_t n, const msos& sos, mvect& y);
void StepSos(std::int32_t n, const msos& sos, mvect& y);

} // namespace korin
