#pragma once
// What the command-line tool prints of a designed filter.

#include <cstdint>
#include <iosfwd>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>

namespace tarvo {
class CIirFilter;
}

namespace tarvo::cli {

// Every result of a design: specification, sampling frequency, zeros, poles, gain,
// numerator, denominator, sections with their gain, quantized roots, reference
// frequency and magnitude. Roots are [re, im] pairs; coefficient vectors are
// plain numbers when real, [re, im] pairs otherwise.
nlohmann::json FilterToJson(const CIirFilter& filter);

// A readable summary of the same.
void WriteFilterText(const CIirFilter& filter, std::ostream& out);

// Curve names: magnitude, phase, unwrapped-phase, group-delay, phase-delay,
// impulse, step. Returns the plot type, or nothing for an unknown name.
std::optional<std::int32_t> CurveType(const std::string& name);
// The list of names, for help texts.
std::string CurveNames();

// One curve as two tab-separated columns: frequency (0 to Fs/2, `points`
// values) or time (`points` samples), then the value.
void WriteCurve(const CIirFilter& filter, std::int32_t plotType, std::int32_t points,
                std::ostream& out);

} // namespace tarvo::cli
