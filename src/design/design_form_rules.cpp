#include "design/design_form_rules.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace tarvo {

DesignFormState DesignFormRules(const IirDesignSpec& form) {
    DesignFormState state;
    const bool band = form.response == kBandpass || form.response == kBandstop;
    state.rippleEnabled = form.family == kChebyshev || form.family == kElliptic;
    state.attenuationEnabled = form.family == kElliptic;
    state.secondEdgeEnabled = band;
    state.centerWidthEnabled = band;
    state.fixedPointEnabled = form.dataType == kFixedPoint;
    const bool centerWidth = band && form.centerWidth != 0;
    state.firstLabel = centerWidth ? "Center" : "Cutoff 1";
    state.secondLabel = centerWidth ? "Width" : "Cutoff 2";
    return state;
}

double RoundSignificant15(double x) {
    if (!std::isfinite(x) || x == 0.0) return x;
    // The C library rounds the decimal form correctly in every locale's digits.
    char text[64];
    std::snprintf(text, sizeof text, "%.14e", x);
    return std::strtod(text, nullptr);
}

void ToggleCenterWidth(IirDesignSpec& form, bool nowSet) {
    const BandEdges converted = nowSet ? CenterWidthFromEdges(form.edge1, form.edge2)
                                       : EdgesFromCenterWidth(form.edge1, form.edge2);
    form.edge1 = RoundSignificant15(converted.lo);
    form.edge2 = RoundSignificant15(converted.hi);
    form.centerWidth = nowSet ? 1 : 0;
}

} // namespace tarvo
