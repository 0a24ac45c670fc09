#pragma once
// The filter's section of the project stream: numerator, denominator, zeros,
// poles, gain, the second-order sections with their gain, the sampling
// frequency and the design specification. Quantized roots, the pick and the
// gain reference are not stored.

#include <cstdint>

namespace fw {
class Archive;
}

namespace tarvo {

class CIirFilter;
struct IirDesignSpec;

// Loading replaces the stored members and refuses (fw::ArchiveError) counts the
// remaining bytes cannot hold and section rows that do not hold six coefficients.
void SerializeFilter(fw::Archive& ar, CIirFilter& filter, std::uint16_t fileVersion);

// Six i32 (order, family, response, data type, integer and fraction bits), five
// f64 (edges, ripple, attenuation, gain), three i32 flags.
void SerializeSpec(fw::Archive& ar, IirDesignSpec& spec);

} // namespace tarvo
