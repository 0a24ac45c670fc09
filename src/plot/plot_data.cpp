#include "plot/plot_data.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tarvo {

namespace {

// A span that cannot divide (zero, negative, NaN, inf) would turn every distance
// into NaN or 0; measuring in plain units is the sensible fallback.
double UsableSpan(double span) {
    return (std::isfinite(span) && span > 0.0) ? span : 1.0;
}

} // namespace

void CDataColumn::SetSize(std::size_t n) {
    if (n == 0) {
        std::vector<double>().swap(values_);
        return;
    }
    // vector::resize grows the capacity geometrically, so repeated growth stays
    // amortised linear.
    values_.resize(n, 0.0);
}

std::ptrdiff_t CDataColumn::FindNearest(double x) const {
    if (!std::isfinite(x)) return -1;
    std::ptrdiff_t best = -1;
    double bestDistance = 0.0;
    for (std::size_t i = 0; i < values_.size(); ++i) {
        const double v = values_[i];
        if (!std::isfinite(v)) continue;
        // Two finite values may still be infinitely far apart (1e308 and -1e308);
        // the first finite value is therefore taken whatever its distance.
        const double d = std::fabs(v - x);
        if (best < 0 || d < bestDistance) {
            best = static_cast<std::ptrdiff_t>(i);
            bestDistance = d;
        }
    }
    return best;
}

CDataColumn& CDataSet::AddColumn() {
    columns_.push_back(std::make_unique<CDataColumn>());
    return *columns_.back();
}

std::size_t CDataSet::GetRowCount() const {
    if (columns_.empty()) return 0;
    std::size_t rows = std::numeric_limits<std::size_t>::max();
    for (const auto& column : columns_)
        rows = std::min(rows, column->GetSize());
    return rows;
}

double FindNearestPoint(const CDataColumn& xs, const CDataColumn& ys, std::ptrdiff_t* index,
                        double x0, double xSpan, double y0, double ySpan) {
    const std::size_t rows = std::min(xs.GetSize(), ys.GetSize());
    if (rows == 0) return 0.0;
    xSpan = UsableSpan(xSpan);
    ySpan = UsableSpan(ySpan);
    // Starting from +inf and skipping NaN keeps one bad point from winning.
    double best = std::numeric_limits<double>::infinity();
    std::ptrdiff_t bestIndex = -1;
    for (std::size_t i = 0; i < rows; ++i) {
        const double dx = (xs[i] - x0) / xSpan;
        const double dy = (ys[i] - y0) / ySpan;
        const double d = dx * dx + dy * dy;
        if (!std::isfinite(d) || !(d < best)) continue;
        best = d;
        bestIndex = static_cast<std::ptrdiff_t>(i);
        if (d == 0.0) break;
    }
    if (bestIndex < 0) return -1.0;
    *index = bestIndex;
    return best;
}

namespace {

// Widens [min, max] by v when it is finite; returns whether it was.
bool Widen(double v, double& min, double& max, bool& needInit) {
    if (!std::isfinite(v)) return false;
    if (needInit) {
        min = max = v;
        needInit = false;
    } else if (v < min) {
        min = v;
    } else if (v > max) {
        max = v;
    }
    return true;
}

} // namespace

bool ScanRange(const CDataColumn& column, double& min, double& max, bool& needInit) {
    bool found = false;
    for (const double v : column.Values())
        found = Widen(v, min, max, needInit) || found;
    return found;
}

bool ScanRange(const korin::mvect& values, double& min, double& max, bool& needInit) {
    bool found = false;
    for (const korin::mcplx& v : values)
        found = Widen(v.real(), min, max, needInit) || found;
    return found;
}

} // namespace tarvo
