#pragma once
// Minimum-order estimation: from the band edges a filter must keep and the
// loss it may have in its passband and must have in its stopband, the smallest
// order of each family that meets both, and the band edges to type into the
// design form so that the designed filter does.

#include "design/iir_spec.h"

#include <array>
#include <cstdint>
#include <string>

namespace tarvo {

// What the filter must do. Frequencies are in the unit of fs; pass2 and stop2
// (the upper edges) only count for Bandpass and Bandstop.
struct OrderRequest {
    std::int32_t response = kLowpass;
    double fs = 1.0;
    double pass1 = 0.0;    // passband edge (bands: lower passband edge)
    double pass2 = 0.0;    // upper passband edge
    double stop1 = 0.0;    // stopband edge (bands: lower stopband edge)
    double stop2 = 0.0;    // upper stopband edge
    double rippleDb = 1.0; // the most loss allowed at the passband edges
    double attenDb = 80.0; // the least attenuation at the stopband edges
};

// One family's answer.
struct FamilyOrder {
    std::int32_t family = kButterworth;
    // The smallest order that meets both requirements (INT32_MAX when beyond it).
    std::int32_t order = 0;
    // The form's band edges in the unit of fs (edge2 is 0 for Lowpass and
    // Highpass); both 0 when the order cannot be designed.
    double edge1 = 0.0;
    double edge2 = 0.0;
    // Why the order cannot be designed (above the design engine's maximum); empty otherwise.
    std::string error;

    bool Usable() const { return error.empty(); }
};

struct OrderEstimate {
    std::string error;                     // why the request was refused; empty when it was not
    std::array<FamilyOrder, 3> families{}; // indexed by family

    bool Ok() const { return error.empty(); }
};

// The orders and form edges of the three families, or the reason the request
// cannot be met. The orders are those of the usual bilinear-transformation
// estimate: the prototype's selectivity between the prewarped edges, and for
// Bandstop the passband edges moved towards the stopband where that balances
// the two stopband edges. Chebyshev and elliptic designs put their ripple edges
// on the passband edges; a Butterworth design's -3 dB edges are placed so that
// the loss at the passband edges is exactly the ripple, which leaves the margin
// to the stopband.
OrderEstimate EstimateOrder(const OrderRequest& request);

// The form with the chosen family's estimate typed in: family, response, order,
// band edges (as centre and width when the form has "Specify center and width"
// set and the response is a band), ripple and attenuation. The design it makes
// meets the request when the filter's sampling frequency is request.fs.
IirDesignSpec ApplyEstimate(IirDesignSpec form, const OrderRequest& request,
                            const FamilyOrder& chosen);

} // namespace tarvo
