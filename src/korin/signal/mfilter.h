#pragma once
// The design results of one filter: H(z) = k * prod(z - z_i) / prod(z - p_i),
// as direct-form polynomials (highest power of z first) and as sections.

#include "korin/base/mmatrix.h"
#include "korin/base/mv_t.h"

namespace korin {

class mfilter {
public:
    mfilter() = default;
    mfilter(const mfilter&) = default;
    mfilter(mfilter&&) noexcept = default;
    mfilter& operator=(const mfilter&) = default;
    mfilter& operator=(mfilter&&) noexcept = default;
    virtual ~mfilter() = default;

    mvect b;            // numerator coefficients
    mvect a;            // denominator coefficients; a0 = 1 after a design
    mvect z;            // zeros (z-plane)
    mvect p;            // poles (z-plane), as many as zeros after a design
    double k = 0.0;     // overall gain
    msos sos;           // second-order sections and their common gain
    bool useSos = true; // responses and filtering go through sos when it has rows
};

} // namespace korin
