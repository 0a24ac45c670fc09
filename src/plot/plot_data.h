#pragma once
// The numbers a plot draws: one x column and the curves that share it. Column
// j of every curve belongs to value j of the x column. The containers hold
// plain doubles and know nothing of axes or pixels; non-finite values may be
// stored (an unstable filter's response overflows) and every reader here
// skips them.

#include "korin/base/mv_t.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tarvo {

// A colour as 0x00BBGGRR.
using PlotColor = std::uint32_t;
constexpr PlotColor MakePlotColor(int r, int g, int b) {
    return static_cast<PlotColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int PlotColorRed(PlotColor c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int PlotColorGreen(PlotColor c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int PlotColorBlue(PlotColor c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

// One curve (or the x values) with its legend name, colour and dotted flag.
// Storage grows geometrically, so a million-sample curve is filled in amortised
// constant time per value.
class CDataColumn {
public:
    // Empties the column for n = 0 (releasing its storage); otherwise resizes it
    // to n values, keeping the existing ones (new ones are 0).
    void SetSize(std::size_t n);
    void Add(double v) { values_.push_back(v); }
    void Reserve(std::size_t n) { values_.reserve(n); }
    std::size_t GetSize() const { return values_.size(); }
    bool IsEmpty() const { return values_.empty(); }
    double operator[](std::size_t i) const { return values_[i]; }
    double& operator[](std::size_t i) { return values_[i]; }
    const std::vector<double>& Values() const { return values_; }

    // Index of the value nearest to x, the lowest index among equals; -1 when
    // the column holds no finite value (or x is not finite); 0 for a column of
    // one finite value.
    std::ptrdiff_t FindNearest(double x) const;

    std::string m_strName;   // legend text; empty keeps the curve out of the legend
    PlotColor m_crColor = 0; // pen and marker fill
    bool m_bDotted = false;  // dotted pen and hollow markers

private:
    std::vector<double> values_;
};

// The curves of one plot; the set owns its columns.
class CDataSet {
public:
    CDataColumn& AddColumn();
    std::size_t GetCount() const { return columns_.size(); }
    CDataColumn& GetAt(std::size_t i) { return *columns_[i]; }
    const CDataColumn& GetAt(std::size_t i) const { return *columns_[i]; }
    void RemoveAll() { columns_.clear(); }
    // The smallest column size; 0 without columns.
    std::size_t GetRowCount() const;
    bool IsEmpty() const { return GetRowCount() == 0; }

private:
    std::vector<std::unique_ptr<CDataColumn>> columns_;
};

// Over the rows both columns have, minimises ((xs[i]-x0)/xSpan)^2 +
// ((ys[i]-y0)/ySpan)^2, writes the index of the minimum to *index and returns
// the minimum; the lowest index wins among equals and the scan stops at the
// first exact hit. A span that is not a positive finite number counts as 1.
// Empty columns: returns 0 and leaves *index alone. No finite distance at all:
// returns -1 and leaves *index alone.
double FindNearestPoint(const CDataColumn& xs, const CDataColumn& ys, std::ptrdiff_t* index,
                        double x0, double xSpan, double y0, double ySpan);

// Widens [min, max] to the finite values of column. While *needInit is set, the
// first finite value sets both ends and clears it; a column without a finite
// value changes nothing. Returns whether the column had a finite value.
bool ScanRange(const CDataColumn& column, double& min, double& max, bool& needInit);
// The same over the real parts of computed values (a response before it is plotted).
bool ScanRange(const korin::mvect& values, double& min, double& max, bool& needInit);

} // namespace tarvo
