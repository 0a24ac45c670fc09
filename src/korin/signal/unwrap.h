#pragma once
// Phase unwrapping on the real parts of a vector.

#include "korin/base/mv_t.h"

namespace korin {

// Adds multiples of 2*pi so that no step between neighbours exceeds pi; the steps
// are judged on the values before correction. Imaginary parts are left alone.
void Unwrap(mvect& values);

} // namespace korin
