#pragma once
// The plotted numbers as text: the clipboard's Copy Data and the plot data
// file of Write Data. Numbers never depend on the process locale.

#include "plot/plot_data.h"

#include <string>

namespace tarvo {

struct PlotTitles {
    std::string main;
    std::string x;
    std::string y;
    // Write Data offers to write the titles only when all three are set.
    bool AllSet() const { return !main.empty() && !x.empty() && !y.empty(); }
};

// Which points the text holds and how they pair: rows of x with curves 0 and 1,
// or in polar mode curve 1 against curve 0. Points not drawable on a log axis
// (<= 0) are left out.
struct PlotTextSource {
    const CDataColumn* x = nullptr;
    const CDataSet* curves = nullptr;
    bool xLog = false;
    bool yLog = false;
    bool polar = false;
};

// Copy Data: one line per point, "%12.9f" numbers separated by tabs, CR LF ends;
// at most curves 0 and 1.
std::string CopyDataText(const PlotTextSource& source);

// The plot data file: with titles (main, y, x lines first), then x, three
// spaces, y[, three spaces, y2] per point in the shortest text that reads back
// exactly; CR LF ends.
std::string WriteDataText(const PlotTextSource& source, const PlotTitles* titles);

} // namespace tarvo
