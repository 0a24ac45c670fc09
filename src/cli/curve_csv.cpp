#include "cli/curve_csv.h"

#include "cli/filter_output.h"
#include "design/iir_filter.h"
#include "design/response_curves.h"

#include <array>
#include <charconv>
#include <ostream>
#include <string_view>

namespace tarvo::cli {

namespace {

struct CsvColumn {
    std::int32_t type;
    std::string_view name;
    enum class Unit { kNone, kDb, kDegrees, kTime } unit;
};

constexpr std::array<CsvColumn, 7> kColumns{{
    {kPlotMagnitude, "magnitude", CsvColumn::Unit::kDb},
    {kPlotPhase, "phase", CsvColumn::Unit::kDegrees},
    {kPlotUnwrappedPhase, "unwrapped phase", CsvColumn::Unit::kDegrees},
    {kPlotGroupDelay, "group delay", CsvColumn::Unit::kTime},
    {kPlotPhaseDelay, "phase delay", CsvColumn::Unit::kTime},
    {kPlotImpulse, "impulse", CsvColumn::Unit::kNone},
    {kPlotStep, "step", CsvColumn::Unit::kNone},
}};

const CsvColumn* ColumnOf(std::int32_t type) {
    for (const CsvColumn& c : kColumns) {
        if (c.type == type) return &c;
    }
    return nullptr;
}

void WriteNumber(std::ostream& out, double x) {
    std::array<char, 32> text{};
    const auto [end, ec] = std::to_chars(text.data(), text.data() + text.size(), x);
    out.write(text.data(), ec == std::errc{} ? end - text.data() : 0);
}

void WriteRow(std::ostream& out, double x, const std::vector<const korin::mvect*>& columns,
              std::size_t i) {
    WriteNumber(out, x);
    for (const korin::mvect* c : columns) {
        out << ',';
        WriteNumber(out, (*c)[i].real());
    }
    out << '\n';
}

} // namespace

std::optional<CsvTable> CsvTableFor(const std::string& name) {
    if (name == "all-frequency") {
        return CsvTable{
            {kPlotMagnitude, kPlotPhase, kPlotUnwrappedPhase, kPlotGroupDelay, kPlotPhaseDelay},
            false};
    }
    if (name == "all-time") return CsvTable{{kPlotImpulse, kPlotStep}, true};
    const std::optional<std::int32_t> type = CurveType(name);
    if (!type) return std::nullopt;
    return CsvTable{{*type}, *type == kPlotImpulse || *type == kPlotStep};
}

std::string CsvHeader(const CsvTable& table, const CFs& fs) {
    std::string header = table.time ? "time (" + fs.GetTimeUnitName() + ")"
                                    : "frequency (" + fs.GetFreqUnitName() + ")";
    for (const std::int32_t type : table.curves) {
        const CsvColumn* c = ColumnOf(type);
        if (c == nullptr) continue;
        header += ',';
        header += c->name;
        switch (c->unit) {
        case CsvColumn::Unit::kDb:
            header += " (dB)";
            break;
        case CsvColumn::Unit::kDegrees:
            header += " (degrees)";
            break;
        case CsvColumn::Unit::kTime:
            header += " (" + fs.GetTimeUnitName() + ")";
            break;
        case CsvColumn::Unit::kNone:
            break;
        }
    }
    return header;
}

void WriteCsv(const CIirFilter& filter, const CsvTable& table, std::int32_t points,
              std::ostream& out) {
    out << CsvHeader(table, filter.fs) << '\n';
    std::vector<const korin::mvect*> columns;
    if (table.time) {
        const TimeResponse r = ComputeTimeResponse(filter, points);
        for (const std::int32_t type : table.curves) {
            columns.push_back(type == kPlotImpulse ? &r.impulse : &r.step);
        }
        for (std::size_t i = 0; i < r.time.size(); ++i) {
            WriteRow(out, r.time[i], columns, i);
        }
        return;
    }
    // Every curve on the same frequency grid, so the rows line up.
    korin::mvect f;
    std::vector<korin::mvect> values(table.curves.size());
    for (std::size_t c = 0; c < table.curves.size(); ++c) {
        ComputeResponse(filter, 0.0, filter.fs.GetValue() / 2.0, points, table.curves[c], f,
                        values[c]);
        columns.push_back(&values[c]);
    }
    for (std::size_t i = 0; i < f.size(); ++i) {
        WriteRow(out, f[i].real(), columns, i);
    }
}

} // namespace tarvo::cli
