#pragma once
// Response curves as comma-separated values for spreadsheets and scripts: a
// header naming every column with its unit, then one row per point.

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace tarvo {
class CIirFilter;
class CFs;
} // namespace tarvo

namespace tarvo::cli {

// The curves of one table, all over frequency or all over time.
struct CsvTable {
    std::vector<std::int32_t> curves; // plot types
    bool time = false;
};

// A curve name of `response --type` (see CurveType), or "all-frequency"
// (magnitude, phase, unwrapped phase, group and phase delay) or "all-time"
// (impulse and step); nothing for an unknown name.
std::optional<CsvTable> CsvTableFor(const std::string& name);

// The header line without its end, e.g. "frequency (kHz),magnitude (dB)".
std::string CsvHeader(const CsvTable& table, const CFs& fs);

// The header, then `points` rows: frequencies from 0 to Fs/2, or the first
// `points` samples. Numbers are the shortest text that reads back to the same
// double, locale-free; lines end in LF.
void WriteCsv(const CIirFilter& filter, const CsvTable& table, std::int32_t points,
              std::ostream& out);

} // namespace tarvo::cli
