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

// The stream stores a complex value's real part with 0.0625 added, which rounds
// away the low bits of small real parts (a narrow lowpass's numerator of 1e-19
// would read back as rounding noise). When the filter holds such values, the
// exact b, a, z, p and section rows follow the whole project as an extension
// block ("TVPX", u16 version 1, then the vectors without the offset); readers
// that do not know it stop before it, so the file stays what they expect.
void StoreExactFilterValues(fw::Archive& ar, const CIirFilter& filter);
// Reads an extension block at the archive's position, if there is one, and takes
// its values when they are the exact form of what was just loaded; a damaged or
// stale block is ignored.
void LoadExactFilterValues(fw::Archive& ar, CIirFilter& filter);

// Six i32 (order, family, response, data type, integer and fraction bits), five
// f64 (edges, ripple, attenuation, gain), three i32 flags.
void SerializeSpec(fw::Archive& ar, IirDesignSpec& spec);

} // namespace tarvo
