#pragma once
// The design form's rules, apart from its widgets: which fields are enabled
// and how the two frequency fields are labelled for a specification, and how
// the "Specify center and width" box converts the two frequencies.

#include "design/iir_spec.h"

#include <string_view>

namespace tarvo {

struct DesignFormState {
    bool rippleEnabled = false;      // Chebyshev and Elliptic
    bool attenuationEnabled = false; // Elliptic
    bool secondEdgeEnabled = false;  // Bandpass and Bandstop
    bool centerWidthEnabled = false; // the "Specify center and width" box, likewise
    bool fixedPointEnabled = false;  // the two bit counts, for "Fixed Point"
    std::string_view firstLabel;     // "Cutoff 1", or "Center"
    std::string_view secondLabel;    // "Cutoff 2", or "Width"
};

DesignFormState DesignFormRules(const IirDesignSpec& form);

// The box was just set (nowSet) or cleared: edge1 and edge2 turn from two edges
// into centre and width, or back. Results are rounded to 15 significant digits,
// so that toggling twice gives back the values typed.
void ToggleCenterWidth(IirDesignSpec& form, bool nowSet);

// x rounded to 15 significant digits (non-finite values unchanged).
double RoundSignificant15(double x);

} // namespace tarvo
