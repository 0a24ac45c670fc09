#pragma once
// The Design button: checks the form's values in a fixed order and, when they
// pass, designs the filter exactly as the form does. Shared by the design form
// and the command-line tool.

#include "design/ellf.h"
#include "design/iir_spec.h"

#include <cstdint>
#include <string>

namespace tarvo {

class CIirFilter;

// Highest order the form accepts: the design engine's own bound. Measured: the
// families still design up to orders between about 70 (elliptic) and 1000
// (Butterworth bandstop) in well under 0.1 s; a huge order would only exhaust memory.
inline constexpr std::int32_t kMaxOrder = ellf::kMaxOrder;

// Shown after a design whose quantized sections have a pole on or outside the
// unit circle: the design is kept, as asked for, but the user must know.
inline constexpr const char* kUnstableQuantizedWarning =
    "The quantized filter is unstable: a pole lies on or outside the unit circle. Use more "
    "fraction bits.";

struct DesignOutcome {
    enum class Status { kDesigned, kRefused, kFailed };
    Status status = Status::kDesigned; // kRefused: a check failed; kFailed: the design did
    std::string message;               // the message to show when not designed
    std::string warning;               // designed, but with this to show (empty: none)

    bool Designed() const { return status == Status::kDesigned; }
};

// Runs the checks on `form` (the form's fourteen values) against the project's
// minimum dB and the filter's sampling frequency, then designs. On success the
// filter holds the design (spec copied from the form, gain applied, rebuilt from
// the roots, pick cleared, useSos from "Use biquads"); the caller then notifies
// the document. On a refused input or a failed design the filter is untouched.
DesignOutcome RunDesign(CIirFilter& filter, const IirDesignSpec& form, double minDb);

// The linear gain the form applies for a specification: 10^(g/20) with
// g = gainDb (+ rippleDb/2 when adjusting for ripple, except Butterworth);
// 0 below -300 dB.
double LinearGain(const IirDesignSpec& spec);

} // namespace tarvo
