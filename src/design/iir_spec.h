#pragma once
// The design form's values and the request the form hands to the filter.

#include <cstdint>
#include <string_view>

namespace tarvo {

enum IirFamily : std::int32_t { kButterworth = 0, kChebyshev = 1, kElliptic = 2 };
enum IirResponse : std::int32_t { kLowpass = 0, kHighpass = 1, kBandpass = 2, kBandstop = 3 };
enum IirDataType : std::int32_t { kDouble = 0, kSingle = 1, kFixedPoint = 2 };

struct IirDesignSpec {
    std::int32_t order = 4;
    std::int32_t family = kButterworth;
    std::int32_t response = kLowpass;
    std::int32_t dataType = kDouble;
    std::int32_t intBits = 2;   // shown and stored only
    std::int32_t fracBits = 30; // quantization step 2^-fracBits
    double edge1 = 0.2;         // cutoff, lower edge, or centre (centerWidth)
    double edge2 = 0.3;         // upper edge, or width (centerWidth)
    double rippleDb = 1.0;
    double attenDb = 80.0;
    double gainDb = 0.0;
    std::int32_t centerWidth = 0;
    std::int32_t adjustForRipple = 0;
    std::int32_t useBiquads = 1;

    friend bool operator==(const IirDesignSpec&, const IirDesignSpec&) = default;
};

// Edges are fractions of half the sampling frequency (2 * edge / Fs).
struct IirDesignRequest {
    std::int32_t family = 0;
    std::int32_t response = 0;
    std::int32_t order = 0;
    double edge1n = 0.0;
    double edge2n = 0.0; // unused for lowpass and highpass
    double rippleDb = 0.0;
    double stopband = 0.0; // the negated stopband attenuation in dB
};

// A band as its two edges.
struct BandEdges {
    double lo = 0.0;
    double hi = 0.0;
};
// The edges of the band of that centre and width: centre - width/2, centre + width/2.
BandEdges EdgesFromCenterWidth(double center, double width);
// The centre and width (as lo and hi) of the band between two edges given in
// any order: ((a + b) / 2, |b - a|).
BandEdges CenterWidthFromEdges(double a, double b);

// Display names of the enumerations; an out-of-range value gives "".
std::string_view FamilyText(std::int32_t family);
std::string_view ResponseText(std::int32_t response);
std::string_view DataTypeText(std::int32_t dataType);

} // namespace tarvo
