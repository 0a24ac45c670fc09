#include "plot/axis_scale.h"

#include "korin/io/mnumfmt.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <tuple>
#include <utility>

namespace tarvo {

namespace {

// Smallest positive value a log axis reaches, so that every decade stays a
// normal double and 10^e stays exact enough for the label texts.
constexpr double kMinLogValue = 1.0 / kMaxAxisMagnitude;
// Relative slack of the step counts: floating noise must neither drop the last
// label nor add one.
constexpr double kCountSlack = 1e-9;

// The axis dialog's texts; each follows the dialog's title.
constexpr const char* kRangeMessage = ": Axis Maximum must be greater than Axis Minimum.";
constexpr const char* kLabelSpacingMessage =
    ": Specified Label Spacing will result in too many labels.\nTen labels will be used.";
constexpr const char* kTicSpacingMessage =
    ": Specified Tic Spacing will result in too many tics.\nFive tics per label will be used.";

double ClampMagnitude(double v) {
    return std::clamp(v, -kMaxAxisMagnitude, kMaxAxisMagnitude);
}

// 10^e for an integer exponent, divided rather than multiplied below 1 so that
// 0.1, 0.01, ... are the doubles nearest to the decimal values.
double PowerOfTen(int e) {
    return e >= 0 ? std::pow(10.0, e) : 1.0 / std::pow(10.0, -e);
}

// d * 10^e, rounded once (2.5e-3 is the double nearest to 0.0025).
double ScaledByPowerOfTen(double d, int e) {
    return e >= 0 ? d * std::pow(10.0, e) : d / std::pow(10.0, -e);
}

// The ends a log axis is drawn with: both positive and within the engine's range.
std::pair<double, double> SanitiseLogEnds(double first, double last) {
    if (!(last > 0.0)) last = 1.0;
    if (!(first > 0.0)) first = last / 1000.0;
    return {std::clamp(first, kMinLogValue, kMaxAxisMagnitude),
            std::clamp(last, kMinLogValue, kMaxAxisMagnitude)};
}

// Decade exponent of a positive value, robust to log10 rounding at exact powers.
int DecadeExponent(double v) {
    return static_cast<int>(std::floor(std::log10(v) + kCountSlack));
}

NiceScale LogNiceScale(double min, double max) {
    NiceScale s;
    const double m = max > 0.0 ? std::max(max, kMinLogValue) : 1.0;
    s.last = DecadeFloor(m);
    if (1.001 * s.last < m) s.last *= 10.0;
    if (min > 0.0) {
        s.first = DecadeFloor(std::max(min, kMinLogValue));
        if (s.first >= s.last / 10.0) s.first = s.last / 10.0; // at least one decade
    } else {
        s.first = s.last * 0.001; // three decades
    }
    s.labelStep = 1.0;
    s.ticStep = 0.1;
    return s;
}

// The round step for a range split into n parts: 1, 2, 2.5, 4, 5 or 10 times a
// power of ten.
double NiceStep(double range, int n) {
    const double raw = range / n;
    const int k = static_cast<int>(std::floor(std::log10(raw)));
    const double c = raw / PowerOfTen(k);
    double d = 10.0;
    if (c <= 1.00001) {
        d = 1.0;
    } else if (c <= 2.0) {
        d = 2.0;
    } else if (c <= 2.5) {
        d = 2.5;
    } else if (c <= 4.0) {
        d = 4.0;
    } else if (c <= 5.0) {
        d = 5.0;
    }
    return ScaledByPowerOfTen(d, k);
}

struct LinearFit {
    double first = 0.0;
    double step = 0.0;
    int steps = 0;
    double Last() const { return first + steps * step; }
};

LinearFit FitLinear(double min, double max, int n) {
    LinearFit fit;
    fit.step = NiceStep(max - min, n);
    fit.steps = n;
    if (min != 0.0) {
        double index = std::trunc(min / fit.step + 0.001);
        if (min < index * fit.step) index -= 1.0;
        fit.first = index * fit.step;
    }
    return fit;
}

bool Covers(const LinearFit& fit, double min, double max) {
    return fit.first <= min + 0.01 * fit.step && fit.Last() >= max - 0.01 * fit.step;
}

NiceScale LinearNiceScale(double min, double max) {
    LinearFit fit = FitLinear(min, max, 10);
    // Nine steps always span the range: a ten-step fit fails only with a step below
    // 10/9 of a tenth of the range, so nine take the next round step, >= 1.25 times.
    if (!Covers(fit, min, max)) fit = FitLinear(min, max, 9);
    // Drop empty steps at the top; the slack keeps rounding in first + n * step
    // from leaving one (-29.9..-29.5 would end at -29.45).
    while (fit.steps > 1 &&
           max <= fit.first + (fit.steps - 1) * fit.step + kCountSlack * fit.step) {
        --fit.steps;
    }
    return {fit.first, fit.Last(), fit.step, fit.step};
}

// Removes a minus sign from a text that reads zero ("-0.00" from -0.0004).
void DropNegativeZeroSign(std::string& text) {
    if (text.empty() || text.front() != '-') return;
    if (text.find_first_not_of("0.", 1) == std::string::npos) text.erase(0, 1);
}

// Characters a label can lose at its end: trailing zeros of its fractional part
// and then the decimal point. An integer text loses nothing.
std::size_t StrippableTail(std::string_view text) {
    const std::size_t point = text.find('.');
    if (point == std::string_view::npos) return 0;
    std::size_t end = text.size();
    while (end > point + 1 && text[end - 1] == '0')
        --end;
    if (end == point + 1) --end;
    return text.size() - end;
}

void StripCommonZeros(std::vector<AxisLabel>& labels) {
    if (labels.empty()) return;
    std::size_t cut = std::string::npos;
    for (const AxisLabel& label : labels)
        cut = std::min(cut, StrippableTail(label.text));
    for (AxisLabel& label : labels)
        label.text.resize(label.text.size() - cut);
}

// "1.0E+3": the mantissa and decade of the value itself, so that any step and
// any first value read true.
std::string LogLabelText(double v) {
    int e = DecadeExponent(v);
    double mantissa = std::round(v / PowerOfTen(e) * 10.0) / 10.0;
    if (mantissa >= 10.0) {
        mantissa /= 10.0;
        ++e;
    }
    korin::mnumformat format;
    format.precision = 1;
    format.conversion = 'f';
    return korin::FormatNumber(mantissa, format) + "E" + (e < 0 ? "-" : "+") +
           korin::FormatInteger(std::abs(e));
}

// Whether labels step * 10^digits apart stay distinct at `digits` decimals.
bool StepFitsDigits(double step, int digits) {
    const double units = step * std::pow(10.0, digits);
    return units >= 1.0 - 1e-6 && std::abs(units - std::round(units)) <= 1e-6 * units;
}

LabelSet LogLabels(double labelStep, int power, double first, double last) {
    LabelSet set;
    set.power = (power >= -3 && power <= -1) ? 0 : power;
    set.labelStep = labelStep;
    std::tie(first, last) = SanitiseLogEnds(first, last);
    if (last < first) return set;
    const double firstDecade = std::log10(first);
    const double decades = std::log10(last) - firstDecade;
    double steps = std::floor(decades / labelStep + kCountSlack);
    if (!(steps <= kMaxLabelSteps)) {
        set.tooManyLabels = true;
        set.labelStep = std::max(1.0, std::ceil(decades / 10.0 - kCountSlack));
        steps = std::floor(decades / set.labelStep + kCountSlack);
    }
    const int n = static_cast<int>(std::max(steps, 0.0));
    for (int i = 0; i <= n; ++i) {
        const double v = std::pow(10.0, firstDecade + i * set.labelStep);
        set.labels.push_back({LogLabelText(v), v});
    }
    return set;
}

LabelSet LinearLabels(int digits, double labelStep, int power, double first, double last,
                      double scale) {
    LabelSet set;
    set.power = power;
    set.labelStep = labelStep;
    first = ClampMagnitude(first);
    last = ClampMagnitude(last);
    double steps = std::floor((last - first) / labelStep + kCountSlack);
    if (!(steps <= kMaxLabelSteps)) {
        set.tooManyLabels = true;
        set.labelStep = (last - first) / 10.0;
        steps = last > first ? 10.0 : 0.0;
    }
    const double step = set.labelStep;
    // A power of -3..-1 reads better as plain decimals, but only while the
    // decimals still tell the labels apart.
    if (power >= -3 && power <= -1 && StepFitsDigits(step * std::abs(scale), digits)) {
        set.power = 0;
    }
    const double factor =
        set.power > 0 ? scale / std::pow(10.0, set.power) : scale * std::pow(10.0, -set.power);
    korin::mnumformat format;
    format.precision = digits;
    format.conversion = 'f';
    // Each label from its index: repeated addition loses the last label to
    // rounding and never advances once the step is below the spacing of doubles.
    const int n = static_cast<int>(std::max(steps, 0.0));
    for (int i = 0; i <= n; ++i) {
        double v = first + i * step;
        if (std::abs(v) < 0.001 * step) v = 0.0;
        std::string text = korin::FormatNumber(v * factor, format);
        DropNegativeZeroSign(text);
        set.labels.push_back({std::move(text), v});
    }
    StripCommonZeros(set.labels);
    return set;
}

void LogTics(double first, double last, double step, std::vector<double>& out) {
    std::tie(first, last) = SanitiseLogEnds(first, last);
    const int firstDecade = DecadeExponent(first * 1.0001);
    const int lastDecade = DecadeExponent(last * 1.0001);
    if (lastDecade < firstDecade) return;
    // Lines start at the decade of first; those below a first inside its decade
    // would fall off the axis.
    auto add = [&](double v) {
        if (v * 1.0001 >= first) out.push_back(v);
    };
    // Lines in each decade: 1 + 10 * step * j times the decade, below the next.
    const double perDecade = step < 1.0 ? std::ceil((10.0 / 1.0001 - 1.0) / (10.0 * step)) : 1.0;
    if (step < 1.0 && perDecade * (lastDecade - firstDecade) + 1.0 > kMaxAxisLines) {
        step = 1.0; // too dense to draw: one line per decade rather than a part of the axis
    }
    if (step >= 1.0) {
        const int every = static_cast<int>(std::min(std::floor(step + 0.001), 1000.0));
        for (int e = firstDecade; e <= lastDecade && out.size() < kMaxAxisLines; e += every)
            add(PowerOfTen(e));
        return;
    }
    for (int e = firstDecade; e < lastDecade; ++e) {
        const double decade = PowerOfTen(e);
        for (int j = 0; out.size() < kMaxAxisLines; ++j) {
            const double multiple = 1.0 + 10.0 * step * j;
            if (multiple * 1.0001 >= 10.0) break;
            add(decade * multiple);
        }
    }
    if (out.size() < kMaxAxisLines) add(PowerOfTen(lastDecade));
}

} // namespace

std::string PlotNoticeText(PlotNotice notice) {
    switch (notice) {
    case PlotNotice::kLogOffForPolar:
        return "Log mode will be turned off for Polar Plot.";
    case PlotNotice::kTooManyLabels:
        return "Label increment results in too many labels.\nTen labels will be made.";
    case PlotNotice::kTooManyTics:
        return "Tic increment will result in too many tics.\nTwo tics per label will be made.";
    }
    return {};
}

fw::Icon PlotNoticeIcon(PlotNotice notice) {
    return notice == PlotNotice::kLogOffForPolar ? fw::Icon::Information : fw::Icon::Warning;
}

double DecadeFloor(double v) {
    if (!(v > 0.0) || !std::isfinite(v)) return 1.0;
    const int e = static_cast<int>(std::floor(std::log10(v)));
    double p = std::pow(10.0, e);
    // log10 may round across a power of ten; step back into [p, 10p).
    if (p > v) {
        p = std::pow(10.0, e - 1);
    } else if (p * 10.0 <= v) {
        p = std::pow(10.0, e + 1);
    }
    return p;
}

NiceScale ComputeNiceScale(double min, double max, bool log) {
    if (!std::isfinite(min)) min = max;
    if (!std::isfinite(max)) max = min;
    if (!std::isfinite(min)) min = max = 0.0;
    min = ClampMagnitude(min);
    max = ClampMagnitude(max);
    if (max < min) std::swap(min, max);

    if (std::abs(max) < 1e-100 && std::abs(min) < 1e-100) {
        min = -0.5;
        max = 0.5;
    } else if ((max - min) / std::max(std::abs(max), std::abs(min)) < 1e-6) {
        // Too narrow to divide: widen to zero.
        if (max > 0.0) {
            min = 0.0;
        } else {
            max = 0.0;
        }
    }
    return log ? LogNiceScale(min, max) : LinearNiceScale(min, max);
}

int EngineeringExponent(double x) {
    if (x == 0.0 || !std::isfinite(x)) return 0;
    const double c = std::trunc(std::log10(std::min(std::abs(x), kMaxAxisMagnitude) * 1.00001));
    return 3 * static_cast<int>(std::floor(c / 3.0));
}

void AxisSettings::SetDataRange(double a, double b) {
    if (!std::isfinite(a)) a = b;
    if (!std::isfinite(b)) b = a;
    if (!std::isfinite(a)) a = b = 0.0;
    a = ClampMagnitude(a);
    b = ClampMagnitude(b);
    if (b < a) std::swap(a, b);
    if (a == b) {
        if (b > 0.0) {
            a = 0.0;
            b = 2.0 * b;
        } else {
            a = 2.0 * a;
            b = 0.0;
        }
    }
    // A typed range stays until the data leaves the range adopted last.
    if (m_bAutoscale || b < m_dMin || a > m_dMax) {
        m_dMin = a;
        m_dMax = b;
        Rescale();
    }
}

void AxisSettings::Rescale() {
    const NiceScale s = ComputeNiceScale(m_dMin, m_dMax, m_bLog);
    m_dFirst = s.first;
    m_dLast = s.last;
    m_dTicStep = s.ticStep;
    m_dLabelStep = s.labelStep;
    if (!m_bManualPower) m_nPower = EngineeringExponent(m_bLog ? m_dFirst : m_dLabelStep);
}

AxisView ApplyAxis(const AxisSettings& record) {
    AxisView view;
    view.first = record.m_dFirst;
    view.last = record.m_dLast;
    view.labelStep = record.m_dLabelStep;
    view.ticStep = record.m_dTicStep;
    view.digits = record.m_nDigits;
    view.grid = record.m_nGrid;
    view.log = record.m_bLog;
    view.power = record.m_bLog ? 0 : record.m_nPower;
    if (view.log) std::tie(view.first, view.last) = SanitiseLogEnds(view.first, view.last);
    return view;
}

LabelSet MakeLabels(int digits, double labelStep, int power, bool log, double first, double last,
                    double scale) {
    if (!(labelStep > 0.0) || !std::isfinite(labelStep) || !std::isfinite(first) ||
        !std::isfinite(last) || !std::isfinite(scale) || last < first) {
        return {{}, labelStep, power, false};
    }
    if (log) return LogLabels(labelStep, power, first, last);
    return LinearLabels(std::clamp(digits, 0, 9), labelStep, power, first, last, scale);
}

std::vector<double> TicPositions(bool log, double first, double last, double step) {
    std::vector<double> out;
    if (!(step > 0.0) || !std::isfinite(step) || !std::isfinite(first) || !std::isfinite(last)) {
        return out;
    }
    if (log) {
        LogTics(first, last, step, out);
        return out;
    }
    first = ClampMagnitude(first);
    last = ClampMagnitude(last);
    if (last < first) return out;
    const double steps = std::floor((last - first) / step + kCountSlack);
    const int n = static_cast<int>(std::min(steps, kMaxAxisLines - 1.0));
    out.reserve(static_cast<std::size_t>(n) + 1);
    for (int i = 0; i <= n; ++i)
        out.push_back(first + i * step);
    return out;
}

GridLines GridSpacing(bool log, double labelStep, double ticStep, int grid) {
    GridLines lines;
    if (grid == 1) {
        lines.spacing = ticStep;
        // A spacing that is not positive counts as too dense as well.
        if (!log && !(labelStep / ticStep <= 10.001 && ticStep > 0.0)) {
            lines.tooManyTics = true;
            lines.spacing = labelStep / 2.0;
        }
    } else if (grid == 2) {
        lines.spacing = labelStep;
    }
    lines.draw = lines.spacing > 0.0 && std::isfinite(lines.spacing);
    return lines;
}

AxisDialogCheck CheckAxisDialog(const std::string& title, const AxisSettings& edited) {
    AxisDialogCheck check;
    check.record = edited;
    AxisSettings& r = check.record;
    if (!std::isfinite(r.m_dFirst) || !std::isfinite(r.m_dLast) || !std::isfinite(r.m_dLabelStep) ||
        !std::isfinite(r.m_dTicStep) || ClampMagnitude(r.m_dLast) <= ClampMagnitude(r.m_dFirst)) {
        check.refusal = title + kRangeMessage;
        return check;
    }
    r.m_dFirst = ClampMagnitude(r.m_dFirst);
    r.m_dLast = ClampMagnitude(r.m_dLast);
    // An option outside the four draws no grid; keep it as None.
    if (r.m_nGrid < 0 || r.m_nGrid > 3) r.m_nGrid = 0;
    if (r.m_bLog) {
        // Finer than a hundredth of a decade draws nothing useful.
        r.m_dLabelStep = std::max(r.m_dLabelStep, 0.01);
        r.m_dTicStep = std::max(r.m_dTicStep, 0.01);
    } else {
        const double range = r.m_dLast - r.m_dFirst;
        // The same limit as when drawing, so that the correction is made once, here.
        if (!(r.m_dLabelStep > 0.0 && range / r.m_dLabelStep <= kMaxLabelSteps)) {
            check.messages.push_back(title + kLabelSpacingMessage);
            r.m_dLabelStep = range / 10.0;
        }
        if (!(r.m_dTicStep > 0.0 && range / r.m_dTicStep <= kMaxLabelSteps)) {
            check.messages.push_back(title + kTicSpacingMessage);
            r.m_dTicStep = r.m_dLabelStep / 5.0;
        }
    }
    if (!r.m_bManualPower) r.m_nPower = EngineeringExponent(r.m_bLog ? r.m_dFirst : r.m_dLabelStep);
    return check;
}

} // namespace tarvo
