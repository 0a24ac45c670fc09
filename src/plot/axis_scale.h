#pragma once
// The scale engine of a plot axis: which range is shown, where labels, tics
// and grid lines go and what the labels read, and what the axis dialog's OK
// does with typed values. It takes finite numbers, always terminates (every
// loop is counted and capped) and reports what it had to correct as notices;
// it never shows anything itself.

#include "fw/ui.h"

#include <optional>
#include <string>
#include <vector>

namespace tarvo {

// Corrections the engine made while laying out an axis; the plot shows each
// once, after painting.
enum class PlotNotice { kLogOffForPolar, kTooManyLabels, kTooManyTics };
std::string PlotNoticeText(PlotNotice notice);
fw::Icon PlotNoticeIcon(PlotNotice notice);

// Most label steps an axis shows; more are corrected to ten labels.
inline constexpr int kMaxLabelSteps = 100;
// Most tic or grid lines drawn along one axis.
inline constexpr int kMaxAxisLines = 1000;
// Largest magnitude the engine scales; larger data is clamped to it.
inline constexpr double kMaxAxisMagnitude = 1e300;

struct NiceScale {
    double first = 0.0;
    double last = 0.0;
    double ticStep = 0.0;
    double labelStep = 0.0;
};

// 10^floor(log10 v) for v > 0.
double DecadeFloor(double v);

// A round axis for data min..max. Non-finite ends are dropped (both gone:
// -0.5..0.5) and magnitudes clamped to kMaxAxisMagnitude. Result: finite
// first < last, finite positive steps, at most 11 labels. Log axes step in
// decades (label step 1, tic step 0.1).
NiceScale ComputeNiceScale(double min, double max, bool log);

// The power of ten, a multiple of 3, by which labels of spacing x are divided
// (x = the first label on a log axis): 2000 -> 3, 0.02 -> -3, 0 -> 0.
int EngineeringExponent(double x);

// The persistent settings of one axis, as the axis dialog edits them.
struct AxisSettings {
    double m_dMin = 0.0; // data range adopted last
    double m_dMax = 0.0;
    bool m_bLog = false;
    int m_nGrid = 1; // 0 None, 1 On Tic Marks, 2 On Labels, 3 On Zero
    bool m_bManualPower = false;
    bool m_bAutoscale = true;
    int m_nDigits = 3; // most decimal digits of a label
    double m_dFirst = 0.0;
    double m_dLast = 0.0;
    double m_dTicStep = 0.0;   // decades on a log axis
    double m_dLabelStep = 0.0; // decades on a log axis
    int m_nPower = 0;

    // Adopts a data range: a single value widens to 0..2b (or 2a..0); the range
    // is taken and rescaled while autoscale is on or when the data lies wholly
    // outside the range adopted last. Non-finite ends are dropped.
    void SetDataRange(double a, double b);
    // First, last and spacings from the adopted range, and the power unless manual.
    void Rescale();

    friend bool operator==(const AxisSettings&, const AxisSettings&) = default;
};

// The drawing copy of one axis. A log axis always has power 0 and positive ends.
struct AxisView {
    double first = 0.0;
    double last = 0.0;
    double labelStep = 0.0;
    double ticStep = 0.0;
    int power = 0;
    int digits = 2;
    int grid = 0;
    bool log = false;

    friend bool operator==(const AxisView&, const AxisView&) = default;
};

// Copies a record for drawing; on a log axis a first <= 0 becomes last / 1000
// and a last <= 0 becomes 1, so transform and labels agree.
AxisView ApplyAxis(const AxisSettings& record);

struct AxisLabel {
    std::string text;
    double position = 0.0; // axis value the label stands at
};

struct LabelSet {
    std::vector<AxisLabel> labels;
    double labelStep = 0.0; // the step used: corrected when there were too many
    int power = 0;          // the power left for the title suffix (" * 10^n")
    bool tooManyLabels = false;
};

// The labels of one axis from first to last. Linear: value * scale / 10^power
// with at most `digits` decimals (0..9), common trailing zeros of the fractional
// parts stripped, a label near 0 exactly 0; a power of -3..-1 is folded into 0
// only where the labels stay distinct. Log: "1.0E+3" texts from each label's
// value, labelStep in decades. More than kMaxLabelSteps steps: ten labels
// (log: ceil(decades / 10) decades per label) and tooManyLabels.
LabelSet MakeLabels(int digits, double labelStep, int power, bool log, double first, double last,
                    double scale);

// Values of the tic or grid lines from first to last at step (log: decades,
// below 1 meaning 1..9 times each decade); at most kMaxAxisLines, none for a
// step that is not positive and finite.
std::vector<double> TicPositions(bool log, double first, double last, double step);

struct GridLines {
    bool draw = false;
    double spacing = 0.0;
    bool tooManyTics = false; // a linear tic grid over ten per label: two per label used
};
// Grid lines of an axis for its grid option.
GridLines GridSpacing(bool log, double labelStep, double ticStep, int grid);

// What OK of the axis dialog does with the edited record.
struct AxisDialogCheck {
    // Set when the values cannot be taken; the dialog shows it and stays open.
    std::optional<std::string> refusal;
    // Corrections made, each shown in its own box before the dialog closes.
    std::vector<std::string> messages;
    AxisSettings record; // the record to keep (corrected)
};
// title is the dialog's window title ("X-Axis"): it leads every message.
AxisDialogCheck CheckAxisDialog(const std::string& title, const AxisSettings& edited);

} // namespace tarvo
