#pragma once
// Filters and file helpers of the export tests. The hand-built filter has
// dyadic coefficients, so every number it writes is exact and its text can be
// checked by hand.

#include "design/iir_filter.h"

#include <string>
#include <vector>

namespace tarvo::test {

// H(z) = 0.125 (z+1)(z+0.5)(z^2+1) / ((z^2+0.25)(z^2-z+0.5)), as two sections:
// rows (1, 1.5, 0.5, 1, 0, 0.25) and (1, 0, 1, 1, -1, 0.5), section gain 0.125;
// zeros -1, -0.5, j, -j; poles 0.5 +- 0.5j, +-0.5j; direct form
// b = (0.125, 0.1875, 0.1875, 0.1875, 0.0625), a = (1, -1, 0.75, -0.25, 0.125).
// Specification: the defaults (Butterworth lowpass, order 4, cutoff 0.2 Hz).
CIirFilter TwoSectionFilter();

// A filter designed as the Design button does from this form, Fs 1 Hz.
CIirFilter DesignedFilter(const IirDesignSpec& form);

// Lines of a text, split at "\n"; a text ending in "\n" has no empty last entry.
std::vector<std::string> SplitLines(const std::string& text);

// printf of one double with the given format.
std::string Printf(const char* format, double value);

} // namespace tarvo::test
