#pragma once
// CIirFilter: one project's filter — the specification, the sampling frequency
// and every result derived from them (roots, gain, polynomials, sections and the
// roots of the quantized sections).

#include "design/iir_spec.h"
#include "fw/object.h"
#include "korin/signal/mfilter.h"
#include "plot/fs.h"

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>

namespace tarvo {

class CIirFilter : public fw::Object, public korin::mfilter {
public:
    CIirFilter();

    // Runs the prototype design for the request and fills every result. Returns
    // false when the engine fails; the filter is then empty (no rows, k = 0).
    bool Design(const IirDesignRequest& r);
    // The Design button's steps in one: Design, ScaleGain(linearGain) and
    // RebuildFromRoots, with the same results, but without expanding the
    // engine's polynomials (the rebuild replaces them) or pairing the roots
    // twice. Also fails, leaving the filter empty, when the rebuilt
    // polynomials are not finite.
    bool DesignWithGain(const IirDesignRequest& r, double linearGain);
    // Sections, b, a and the quantized roots from z, p and k.
    void RebuildFromRoots();
    // Rounds a, b and the rows to spec.dataType and recomputes qz, qp.
    void ApplyDataType();
    // b, k and the section gain times x.
    void ScaleGain(double x);
    // |H(e^{j 2 pi f})| + 1e-20, f in cycles per sample.
    double MagnitudeAt(double f) const;
    // Scales the gain so that the magnitude at normFreq is normMag again, and
    // returns true. Keeps the gain and returns false when there is no usable
    // reference: normMag not positive and finite, or the magnitude at normFreq
    // not finite or below normMag * 1e-12 (a pole or zero on the circle there).
    bool Renormalize();
    // Sets normFreq and normMag from the current results, as a design would for
    // this specification (used after loading, when they are not stored).
    void MeasureReference();

    // Picks the pole (first) or zero nearest to point within radius, and the
    // element nearest to its mirror image as partner. Returns whether one was found.
    bool FindNearest(const korin::mcplx& point, double radius);
    void ClearPick();
    // The picked root and its partner, or nullptr; they refer to the current
    // contents of p or z, so they never dangle.
    korin::mcplx* Pick();
    korin::mcplx* Partner();
    const korin::mcplx* Pick() const;
    const korin::mcplx* Partner() const;
    std::int32_t PickIndex() const { return pickIndex_; }
    std::int32_t PartnerIndex() const { return partnerIndex_; }

    // H at the points e^{s_i}.
    korin::mvect ResponseAt(const korin::mvect& s) const;
    // n samples (n = 0 means 1024).
    korin::mvect ImpulseResponse(std::int32_t n) const;
    korin::mvect StepResponse(std::int32_t n) const;
    // Filters x from a zero state.
    korin::mvect Filter(const korin::mvect& x) const;

    // The specification block of exported files, one line each, numbers with the
    // stream's current formatting; prefix (plus a space) starts every line.
    static void WriteSummary(const IirDesignSpec& spec, std::ostream& out,
                             const std::string& prefix, const std::string& unitName,
                             double fsValue);

    bool IsEmpty() const;
    // Empties b, a, z, p and the rows; k, the section gain, spec and fs stay.
    void Clear();
    std::string_view FamilyName() const { return FamilyText(spec.family); }

    CFs fs{1.0};
    IirDesignSpec spec;
    korin::mvect qz; // roots of the section numerators (quantized types only)
    korin::mvect qp; // roots of the section denominators
    std::uint8_t pickIsPole = 1;
    std::uint8_t dragMoved = 0;
    double normFreq = 0.0; // gain reference frequency, cycles per sample
    double normMag = 1.0;  // |H(normFreq)| of the design with its gain; 0 when not finite

private:
    // Responses and filtering go through the sections when chosen and present.
    bool UsesSections() const { return useSos && !sos.Empty(); }
    double SectionMagnitudeAt(double f) const;
    void ComputeQuantizedRoots();
    bool RunEngine(const IirDesignRequest& r, bool withPolynomials);
    // Rows of sos from z and p (gain set to k), before any rounding.
    void BuildSections();
    // b = k * Poly(z), a = Poly(p).
    void RebuildPolynomials();

    std::int32_t pickIndex_ = -1;
    std::int32_t partnerIndex_ = -1;
};

// Gain reference frequency (cycles per sample) of a response for request edges
// given as fractions of half the sampling frequency.
double ReferenceFrequency(std::int32_t response, double edge1n, double edge2n);

} // namespace tarvo
