#include "plot/plot_text.h"

#include "fw/field_exchange.h"
#include "korin/io/mnumfmt.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace tarvo {

namespace {

// The columns one line is made of, in order: x and curve 0 [and curve 1], or in
// polar mode curve 0 and curve 1. Rows run to the shortest of them, so a curve
// shorter than x is never read beyond its end.
struct LineColumns {
    std::array<const CDataColumn*, 3> columns{};
    std::size_t count = 0; // 0 when there is nothing to write
    std::size_t rows = 0;
};

LineColumns SelectColumns(const PlotTextSource& source) {
    LineColumns line;
    if (source.curves == nullptr) return line;
    const CDataSet& curves = *source.curves;
    if (source.polar) {
        if (curves.GetCount() < 2) return line;
        line.columns = {&curves.GetAt(0), &curves.GetAt(1), nullptr};
        line.count = 2;
    } else {
        if (source.x == nullptr || curves.GetCount() == 0) return line;
        line.columns = {source.x, &curves.GetAt(0), nullptr};
        line.count = 2;
        if (curves.GetCount() >= 2) {
            line.columns[2] = &curves.GetAt(1);
            line.count = 3;
        }
    }
    line.rows = line.columns[0]->GetSize();
    for (std::size_t k = 1; k < line.count; ++k)
        line.rows = std::min(line.rows, line.columns[k]->GetSize());
    return line;
}

// A point a log axis cannot show is left out. NaN compares false and stays: the
// user should see that the data went bad.
bool IsShown(const PlotTextSource& source, const LineColumns& line, std::size_t row) {
    if (source.xLog && (*line.columns[0])[row] <= 0.0) return false;
    for (std::size_t k = 1; k < line.count; ++k) {
        if (source.yLog && (*line.columns[k])[row] <= 0.0) return false;
    }
    return true;
}

template <typename Format>
void AppendLines(std::string& out, const PlotTextSource& source, std::string_view separator,
                 Format format) {
    const LineColumns line = SelectColumns(source);
    for (std::size_t row = 0; row < line.rows; ++row) {
        if (!IsShown(source, line, row)) continue;
        for (std::size_t k = 0; k < line.count; ++k) {
            if (k > 0) out += separator;
            out += format((*line.columns[k])[row]);
        }
        out += "\r\n";
    }
}

} // namespace

std::string CopyDataText(const PlotTextSource& source) {
    korin::mnumformat fixed;
    fixed.width = 12;
    fixed.precision = 9;
    fixed.conversion = 'f';
    std::string text;
    AppendLines(text, source, "\t", [&fixed](double v) { return korin::FormatNumber(v, fixed); });
    return text;
}

std::string WriteDataText(const PlotTextSource& source, const PlotTitles* titles) {
    std::string text;
    if (titles != nullptr) {
        for (const std::string* title : {&titles->main, &titles->y, &titles->x}) {
            text += *title;
            text += "\r\n";
        }
    }
    // Shortest round-trip digits: zoomed-in x values that differ only in the
    // seventh digit must stay apart in the file.
    AppendLines(text, source, "   ", [](double v) { return fw::FormatShortest(v); });
    return text;
}

} // namespace tarvo
