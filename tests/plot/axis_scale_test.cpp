#include "plot/axis_scale.h"

#include <cfloat>
#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace tarvo {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

std::vector<std::string> Texts(const LabelSet& set) {
    std::vector<std::string> texts;
    for (const AxisLabel& label : set.labels)
        texts.push_back(label.text);
    return texts;
}

std::string Joined(const LabelSet& set) {
    std::string joined;
    for (const AxisLabel& label : set.labels)
        joined += (joined.empty() ? "" : " ") + label.text;
    return joined;
}

// Close in units of the step, which is what a pixel position cares about.
void ExpectScale(const NiceScale& s, double first, double last, double step) {
    EXPECT_NEAR(s.first, first, 1e-9 * step);
    EXPECT_NEAR(s.last, last, 1e-9 * step);
    EXPECT_NEAR(s.labelStep, step, 1e-12 * step);
}

TEST(AxisScale, NiceScaleTable) {
    struct Row {
        double min, max;
        double first, last, step;
    };
    const Row rows[] = {
        {0, 1, 0, 1, 0.1},
        {0, 7.3, 0, 8, 1},            // 10 x 0.1, trimmed from 10
        {-0.3, 0.45, -0.3, 0.5, 0.1}, // first stepped down past -0.2, trimmed from 0.7
        {0, 10, 0, 10, 1},            // 5..5 widened
        {-4, 0, -4, 0, 0.4},          // -2..-2 widened
        {0, 0, -0.5, 0.5, 0.1},
        {1e-9, 1.0000000001e-9, 0, 1e-9, 1e-10}, // too narrow: widened to 0
        {-2, -1.4, -2, -1.4, 0.1},
        {-2, -1.8, -2, -1.8, 0.02},
        {-29.9, -29.5, -29.9, -29.5, 0.05}, // rounding must not leave an empty top step
        {2, 3, 2, 3, 0.1},
        {-1e300, 1e300, -1e300, 1e300, 2e299},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.min << ".." << r.max);
        const NiceScale s = ComputeNiceScale(r.min, r.max, false);
        ExpectScale(s, r.first, r.last, r.step);
        EXPECT_EQ(s.ticStep, s.labelStep);
    }
}

TEST(AxisScale, LogNiceScaleTable) {
    struct Row {
        double min, max;
        double first, last;
    };
    const Row rows[] = {
        {3, 2500, 1, 10000}, // 1000 * 1.001 < 2500
        {0, 50, 0.1, 100},   // three decades below a last of 100
        {5, 8, 1, 10},       // at least one decade
        {-5, -1, 0.001, 1},  // nothing positive: last 1
        {1, 1000.5, 1, 1000},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.min << ".." << r.max);
        const NiceScale s = ComputeNiceScale(r.min, r.max, true);
        EXPECT_DOUBLE_EQ(s.first, r.first);
        EXPECT_DOUBLE_EQ(s.last, r.last);
        EXPECT_EQ(s.labelStep, 1.0);
        EXPECT_EQ(s.ticStep, 0.1);
    }
}

TEST(AxisScale, DecadeFloorStaysInsideTheDecade) {
    EXPECT_EQ(DecadeFloor(1000), 1000.0);
    EXPECT_EQ(DecadeFloor(999.9999999999999), 100.0);
    EXPECT_EQ(DecadeFloor(0.05), 0.01);
    EXPECT_EQ(DecadeFloor(7), 1.0);
}

TEST(AxisScale, EngineeringExponentTable) {
    const std::pair<double, int> rows[] = {{2000, 3},   {500, 0},     {0.2, 0},      {0.02, -3},
                                           {0.002, -3}, {0.0003, -3}, {0.00003, -6}, {0, 0},
                                           {-2000, 3},  {1e6, 6},     {999, 0},      {kNaN, 0}};
    for (const auto& [x, power] : rows)
        EXPECT_EQ(EngineeringExponent(x), power) << x;
}

TEST(AxisScale, SetDataRangeWidensSingleValues) {
    struct Row {
        double a, b;
        double min, max, first, last, step;
    };
    const Row rows[] = {
        {5, 5, 0, 10, 0, 10, 1},
        {-2, -2, -4, 0, -4, 0, 0.4},
        {0, 0, 0, 0, -0.5, 0.5, 0.1},
        {kNaN, 3, 0, 6, 0, 6, 1}, // a dropped end leaves one value
        {kNaN, kInf, 0, 0, -0.5, 0.5, 0.1},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.a << ", " << r.b);
        AxisSettings axis;
        axis.SetDataRange(r.a, r.b);
        EXPECT_EQ(axis.m_dMin, r.min);
        EXPECT_EQ(axis.m_dMax, r.max);
        ExpectScale({axis.m_dFirst, axis.m_dLast, axis.m_dTicStep, axis.m_dLabelStep}, r.first,
                    r.last, r.step);
        EXPECT_EQ(axis.m_nPower, EngineeringExponent(r.step));
    }
}

TEST(AxisScale, TypedRangeStaysUntilDataLeavesTheAdoptedRange) {
    AxisSettings axis;
    axis.SetDataRange(0, 1);
    axis.m_bAutoscale = false;
    axis.m_dFirst = 0;
    axis.m_dLast = 10;
    axis.m_dLabelStep = axis.m_dTicStep = 2;
    const AxisSettings typed = axis;

    axis.SetDataRange(0.5, 0.8);
    EXPECT_EQ(axis, typed);
    axis.SetDataRange(0.9, 3); // overlaps 0..1
    EXPECT_EQ(axis, typed);

    axis.SetDataRange(2, 3);
    EXPECT_EQ(axis.m_dMin, 2);
    EXPECT_EQ(axis.m_dMax, 3);
    ExpectScale({axis.m_dFirst, axis.m_dLast, axis.m_dTicStep, axis.m_dLabelStep}, 2, 3, 0.1);
    EXPECT_FALSE(axis.m_bAutoscale);
}

TEST(AxisScale, RescaleKeepsAManualPowerAndUsesFirstOnLogAxes) {
    AxisSettings axis;
    axis.m_bManualPower = true;
    axis.m_nPower = 6;
    axis.SetDataRange(0, 7300);
    EXPECT_EQ(axis.m_nPower, 6);
    axis.m_bManualPower = false;
    axis.m_bLog = true;
    axis.SetDataRange(0.002, 0.05);
    EXPECT_DOUBLE_EQ(axis.m_dFirst, 0.001);
    EXPECT_EQ(axis.m_nPower, -3);
    EXPECT_EQ(ApplyAxis(axis).power, 0);
}

TEST(AxisScale, ApplyAxisCopiesAndSanitisesLogEnds) {
    AxisSettings axis;
    axis.m_dFirst = -5;
    axis.m_dLast = 20;
    axis.m_dLabelStep = 5;
    axis.m_dTicStep = 1;
    axis.m_nPower = 3;
    axis.m_nDigits = 4;
    axis.m_nGrid = 2;
    EXPECT_EQ(ApplyAxis(axis), (AxisView{-5, 20, 5, 1, 3, 4, 2, false}));
    axis.m_bLog = true;
    EXPECT_EQ(ApplyAxis(axis), (AxisView{0.02, 20, 5, 1, 0, 4, 2, true}));
    axis.m_dLast = -1;
    const AxisView view = ApplyAxis(axis);
    EXPECT_EQ(view.last, 1.0);
    EXPECT_EQ(view.first, 0.001);
}

struct LabelRow {
    const char* name;
    int digits;
    double step;
    int power;
    bool log;
    double first, last, scale;
    const char* texts; // joined by spaces
    int powerLeft;
};

TEST(AxisScale, LabelTable) {
    const LabelRow rows[] = {
        {"power 3 scales and strips", 3, 2000, 3, false, 0, 10000, 1, "0 2 4 6 8 10", 3},
        {"power -3 folds where the digits suffice", 3, 0.002, -3, false, 0, 0.01, 1,
         "0.000 0.002 0.004 0.006 0.008 0.010", 0},
        {"power -3 kept where folding would repeat labels", 3, 0.0001, -3, false, 0, 0.0009, 1,
         "0.0 0.1 0.2 0.3 0.4 0.5 0.6 0.7 0.8 0.9", -3},
        {"power -3 kept for a quarter step", 3, 0.0025, -3, false, 0, 0.01, 1,
         "0.0 2.5 5.0 7.5 10.0", -3},
        {"strip to one common decimal", 2, 0.5, 0, false, 0.5, 1.5, 1, "0.5 1.0 1.5", 0},
        {"strip the point", 2, 5, 0, false, 0, 10, 1, "0 5 10", 0},
        {"no decimals: integer zeros stay", 0, 10, 0, false, 10, 50, 1, "10 20 30 40 50", 0},
        {"scale from a unit name", 3, 1000, 0, false, 0, 3000, 1e-3, "0 1 2 3", 0},
        {"no minus on a zero text", 3, 0.1, 0, false, -0.0004, 0.2, 1, "0.0 0.1 0.2", 0},
        {"the last label of -2..-1.8", 3, 0.02, -3, false, -2, -1.8, 1,
         "-2.00 -1.98 -1.96 -1.94 -1.92 -1.90 -1.88 -1.86 -1.84 -1.82 -1.80", 0},
        {"log decades", 3, 1, 0, true, 1, 10000, 1, "1.0E+0 1.0E+1 1.0E+2 1.0E+3 1.0E+4", 0},
        {"log two decades per label", 3, 2, 0, true, 1, 10000, 1, "1.0E+0 1.0E+2 1.0E+4", 0},
        {"log from a typed first", 3, 1, 0, true, 0.002, 20, 1,
         "2.0E-3 2.0E-2 2.0E-1 2.0E+0 2.0E+1", 0},
        {"log half decades", 3, 0.5, 0, true, 1, 10, 1, "1.0E+0 3.2E+0 1.0E+1", 0},
        {"log end at zero", 3, 1, 0, true, 0, 100, 1, "1.0E-1 1.0E+0 1.0E+1 1.0E+2", 0},
        {"none past the end", 1, 0.1, 0, false, 0, 0.99995, 1,
         "0.0 0.1 0.2 0.3 0.4 0.5 0.6 0.7 0.8 0.9", 0},
        {"log mantissa rounding up", 3, 1, 0, true, 9.96, 996, 1, "1.0E+1 1.0E+2 1.0E+3", 0},
        {"step beyond the range", 3, 5, 0, false, 0, 2, 1, "0", 0},
        {"no step", 3, 0, 0, false, 0, 2, 1, "", 0},
        {"reversed ends", 3, 1, 0, false, 2, 0, 1, "", 0},
    };
    for (const LabelRow& r : rows) {
        SCOPED_TRACE(r.name);
        const LabelSet set = MakeLabels(r.digits, r.step, r.power, r.log, r.first, r.last, r.scale);
        EXPECT_EQ(Joined(set), r.texts);
        EXPECT_EQ(set.power, r.powerLeft);
        EXPECT_FALSE(set.tooManyLabels);
        EXPECT_EQ(set.labelStep, r.step);
    }
}

TEST(AxisScale, LabelWalkReachesZeroExactly) {
    const std::vector<std::string> texts = {"-0.3", "-0.2", "-0.1", "0.0", "0.1",
                                            "0.2",  "0.3",  "0.4",  "0.5"};
    const NiceScale s = ComputeNiceScale(-0.3, 0.45, false);
    // From the autoscaled axis and from a typed -0.3 (-0.3 + 3 * 0.1 is 5.6e-17).
    for (const double first : {s.first, -0.3}) {
        const LabelSet set = MakeLabels(3, 0.1, 0, false, first, s.last, 1);
        EXPECT_EQ(Texts(set), texts);
        ASSERT_EQ(set.labels.size(), 9u);
        EXPECT_EQ(set.labels[3].position, 0.0);
        EXPECT_FALSE(std::signbit(set.labels[3].position));
    }
}

TEST(AxisScale, TooManyLabelsAreCorrectedToTen) {
    LabelSet set = MakeLabels(3, 1, 0, false, 0, 100, 1);
    EXPECT_FALSE(set.tooManyLabels);
    EXPECT_EQ(set.labels.size(), 101u);

    set = MakeLabels(3, 1, 0, false, 0, 101, 1);
    EXPECT_TRUE(set.tooManyLabels);
    EXPECT_DOUBLE_EQ(set.labelStep, 10.1);
    EXPECT_EQ(set.labels.size(), 11u);
    EXPECT_EQ(set.labels.back().text, "101.0");

    // 300 decades: thirty per label, not a difference of values as the step.
    set = MakeLabels(3, 1, 0, true, 1e-300, 1, 1);
    EXPECT_TRUE(set.tooManyLabels);
    EXPECT_EQ(set.labelStep, 30.0);
    ASSERT_EQ(set.labels.size(), 11u);
    EXPECT_EQ(set.labels.front().text, "1.0E-300");
    EXPECT_EQ(set.labels[1].text, "1.0E-270");
    EXPECT_EQ(set.labels.back().text, "1.0E+0");
}

TEST(AxisScale, TicPositionTable) {
    std::vector<double> logTics;
    for (double decade : {1.0, 10.0, 100.0})
        for (int m = 1; m <= 9; ++m)
            logTics.push_back(m * decade);
    logTics.push_back(1000);
    struct Row {
        const char* name;
        bool log;
        double first, last, step;
        std::vector<double> values;
    };
    const Row rows[] = {
        {"log tenths", true, 1, 1000, 0.1, logTics},
        {"log decades", true, 1, 1000, 1, {1, 10, 100, 1000}},
        {"log two decades", true, 1, 10000, 2, {1, 100, 10000}},
        {"log thirds", true, 1, 100, 0.3, {1, 4, 7, 10, 40, 70, 100}},
        {"log inside decades", true, 3, 30, 0.1, {3, 4, 5, 6, 7, 8, 9, 10}}, // last's decade ends
        {"linear", false, -0.5, 0.5, 0.25, {-0.5, -0.25, 0, 0.25, 0.5}},
        {"linear short of the end", false, 0, 1, 0.4, {0, 0.4, 0.8}},
        {"zero step", false, 0, 1, 0, {}},
        {"negative step", true, 1, 100, -1, {}},
        {"NaN step", false, 0, 1, kNaN, {}},
        {"infinite step", false, 0, 1, kInf, {}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const std::vector<double> got = TicPositions(r.log, r.first, r.last, r.step);
        ASSERT_EQ(got.size(), r.values.size());
        for (std::size_t i = 0; i < got.size(); ++i)
            EXPECT_NEAR(got[i], r.values[i], 1e-12 * std::max(1.0, std::abs(r.values[i])));
    }
    EXPECT_EQ(TicPositions(true, 1, 1000, 0.1).size(), 28u);
    // Tenths over 200 decades would stop a fifth of the way: one line per decade instead.
    const std::vector<double> wide = TicPositions(true, 1e-100, 1e100, 0.1);
    ASSERT_EQ(wide.size(), 201u);
    EXPECT_DOUBLE_EQ(wide[1], 1e-99);
    EXPECT_DOUBLE_EQ(wide.back(), 1e100);
}

TEST(AxisScale, GridSpacingTable) {
    struct Row {
        bool log;
        double label, tic;
        int grid;
        GridLines expected;
    };
    const Row rows[] = {
        {false, 1, 0.2, 1, {true, 0.2, false}},
        {false, 1, 0.1, 1, {true, 0.1, false}}, // exactly ten per label
        {false, 1, 0.05, 1, {true, 0.5, true}}, // twenty: two per label
        {false, 1, 0, 1, {true, 0.5, true}},    // no tic spacing at all
        {false, 1, -0.2, 1, {true, 0.5, true}},
        {true, 1, 0.01, 1, {true, 0.01, false}}, // no ratio rule on log axes
        {false, 1, 0.05, 2, {true, 1, false}},
        {false, 1, 0.2, 0, {false, 0, false}},
        {false, 1, 0.2, 3, {false, 0, false}}, // On Zero: the zero line only
        {true, 0, 0.1, 2, {false, 0, false}},
    };
    for (const Row& r : rows) {
        const GridLines got = GridSpacing(r.log, r.label, r.tic, r.grid);
        SCOPED_TRACE(testing::Message() << r.label << "/" << r.tic << " option " << r.grid);
        EXPECT_EQ(got.draw, r.expected.draw);
        EXPECT_EQ(got.tooManyTics, r.expected.tooManyTics);
        if (r.expected.draw) {
            EXPECT_DOUBLE_EQ(got.spacing, r.expected.spacing);
        }
    }
}

AxisSettings Typed(double first, double last, double label, double tic, bool log = false) {
    AxisSettings axis;
    axis.m_bAutoscale = false;
    axis.m_dFirst = first;
    axis.m_dLast = last;
    axis.m_dLabelStep = label;
    axis.m_dTicStep = tic;
    axis.m_bLog = log;
    return axis;
}

// clang-format off
const std::string kLabelMessage =
    "X-Axis: Specified Label Spacing will result in too many labels.\nTen labels will be used.";
const std::string kTicMessage =
    "X-Axis: Specified Tic Spacing will result in too many tics.\nFive tics per label will be used.";
// clang-format on

TEST(AxisScale, AxisDialogCorrections) {
    struct Row {
        const char* name;
        AxisSettings edited;
        std::vector<std::string> messages;
        double label, tic;
        int power;
    };
    const Row rows[] = {
        {"both too many", Typed(0, 1000, 1, 1), {kLabelMessage, kTicMessage}, 100, 20, 0},
        {"accepted as typed", Typed(0, 1000, 10, 10), {}, 10, 10, 0},
        {"one limit with drawing", Typed(0, 101, 1, 101), {kLabelMessage}, 10.1, 101, 0},
        {"zero spacings", Typed(0, 1, 0, 0), {kLabelMessage, kTicMessage}, 0.1, 0.02, 0},
        {"negative tic spacing", Typed(0, 5, 1, -1), {kTicMessage}, 1, 0.2, 0},
        {"power from the spacing", Typed(0, 10000, 2000, 500), {}, 2000, 500, 3},
        {"log spacings at least a hundredth", Typed(1, 1e6, 0, 0.001, true), {}, 0.01, 0.01, 0},
        {"log power from first", Typed(0.002, 10, 1, 0.1, true), {}, 1, 0.1, -3},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const AxisDialogCheck check = CheckAxisDialog("X-Axis", r.edited);
        EXPECT_FALSE(check.refusal);
        EXPECT_EQ(check.messages, r.messages);
        EXPECT_DOUBLE_EQ(check.record.m_dLabelStep, r.label);
        EXPECT_DOUBLE_EQ(check.record.m_dTicStep, r.tic);
        EXPECT_EQ(check.record.m_nPower, r.power);
        EXPECT_EQ(check.record.m_dFirst, r.edited.m_dFirst);
        EXPECT_EQ(check.record.m_dLast, r.edited.m_dLast);
    }
}

TEST(AxisScale, AxisDialogRefusalsAndKeptFields) {
    for (const AxisSettings& bad :
         {Typed(1, 1, 0.1, 0.1), Typed(2, 1, 0.1, 0.1), Typed(kNaN, 1, 0.1, 0.1),
          Typed(0, kInf, 0.1, 0.1), Typed(0, 1, kNaN, 0.1), Typed(1e301, 1e302, 1e300, 1e300)}) {
        const AxisDialogCheck check = CheckAxisDialog("Y-Axis", bad);
        ASSERT_TRUE(check.refusal);
        EXPECT_EQ(*check.refusal, "Y-Axis: Axis Maximum must be greater than Axis Minimum.");
        EXPECT_TRUE(check.messages.empty());
    }

    AxisSettings edited = Typed(0, 1, 0.5, 0.1);
    edited.m_bManualPower = true;
    edited.m_nPower = -6;
    edited.m_nDigits = 5;
    edited.m_nGrid = 3;
    edited.m_dMin = -7;
    AxisDialogCheck check = CheckAxisDialog("X-Axis", edited);
    EXPECT_EQ(check.record, edited);
    edited.m_nGrid = 9;
    check = CheckAxisDialog("X-Axis", edited);
    EXPECT_EQ(check.record.m_nGrid, 0);
}

TEST(AxisScale, NoticeTextsAndIcons) {
    EXPECT_EQ(PlotNoticeText(PlotNotice::kLogOffForPolar),
              "Log mode will be turned off for Polar Plot.");
    EXPECT_EQ(PlotNoticeText(PlotNotice::kTooManyLabels),
              "Label increment results in too many labels.\nTen labels will be made.");
    EXPECT_EQ(PlotNoticeText(PlotNotice::kTooManyTics),
              "Tic increment will result in too many tics.\nTwo tics per label will be made.");
    EXPECT_EQ(PlotNoticeIcon(PlotNotice::kLogOffForPolar), fw::Icon::Information);
    EXPECT_EQ(PlotNoticeIcon(PlotNotice::kTooManyLabels), fw::Icon::Warning);
    EXPECT_EQ(PlotNoticeIcon(PlotNotice::kTooManyTics), fw::Icon::Warning);
}

// Every axis the engine lays out, from data or from typed values, ends and stays bounded.
void ExpectBoundedAxis(const AxisView& view) {
    EXPECT_TRUE(std::isfinite(view.first) && std::isfinite(view.last));
    EXPECT_LT(view.first, view.last);
    const LabelSet set =
        MakeLabels(view.digits, view.labelStep, view.power, view.log, view.first, view.last, 1);
    EXPECT_LE(set.labels.size(), std::size_t(kMaxLabelSteps) + 1);
    for (const AxisLabel& label : set.labels)
        EXPECT_TRUE(std::isfinite(label.position)) << label.text;
    EXPECT_LE(TicPositions(view.log, view.first, view.last, view.ticStep).size(),
              std::size_t(kMaxAxisLines));
    const GridLines grid = GridSpacing(view.log, set.labelStep, view.ticStep, 1);
    EXPECT_LE(TicPositions(view.log, view.first, view.last, grid.spacing).size(),
              std::size_t(kMaxAxisLines));
}

TEST(AxisScale, EdgeInputsTerminateFinite) {
    const std::pair<double, double> data[] = {
        {kNaN, kNaN},       {kNaN, 1},       {-kInf, kInf},        {0, kInf},         {0, DBL_MAX},
        {1e308, 1e308},     {-1e308, 1e308}, {-DBL_MAX, -DBL_MAX}, {1e-300, 1},       {-5, -1},
        {4.9e-324, 1e-323}, {1e-320, 1},     {1e17, 1e17 + 496},   {-1e-101, 1e-101},
    };
    for (bool log : {false, true}) {
        for (const auto& [a, b] : data) {
            SCOPED_TRACE(testing::Message() << a << ".." << b << (log ? " log" : ""));
            const NiceScale s = ComputeNiceScale(a, b, log);
            EXPECT_TRUE(std::isfinite(s.labelStep) && s.labelStep > 0);
            EXPECT_TRUE(std::isfinite(s.ticStep) && s.ticStep > 0);
            if (!log) {
                EXPECT_LE((s.last - s.first) / s.labelStep, 10 + 1e-9);
            }
            AxisSettings axis;
            axis.m_bLog = log;
            axis.SetDataRange(a, b);
            ExpectBoundedAxis(ApplyAxis(axis));
        }
    }
    // Typed ranges and spacings that the dialog lets through, or the record holds anyway.
    const AxisView typed[] = {
        {1e17, 1e17 + 496, 5, 5, 0, 3, 1, false}, // steps below the spacing of doubles
        {0, 1, 1e-9, 1e-9, 0, 3, 1, false},
        {0, 1, 0, 0, 0, 3, 1, false},
        {0, 1, -1, -0.5, 0, 3, 1, false},
        {1e-300, 1, 0.01, 0.01, 0, 3, 1, true},
        {1e-300, 1e300, 1e-9, 1e-9, 0, 3, 1, true},
        {0.001, 1, 0, -1, 0, 3, 1, true},
        {-1e300, 1e300, 1e-300, 1e-300, 0, 9, 1, false},
    };
    for (const AxisView& view : typed) {
        SCOPED_TRACE(testing::Message() << view.first << ".." << view.last << " by "
                                        << view.labelStep << (view.log ? " log" : ""));
        ExpectBoundedAxis(view);
    }
    const LabelSet huge = MakeLabels(3, 5, 0, false, 1e17, 1e17 + 496, 1);
    EXPECT_EQ(huge.labels.size(), 100u);
    EXPECT_FALSE(huge.tooManyLabels);
}

// Autoscaled axes over many magnitudes: every label present once, the last on
// the axis end, all texts different, and the data inside the axis.
TEST(AxisScale, AutoscaledLabelSweep) {
    std::mt19937_64 random(20240611);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    int tooMany = 0;
    for (int i = 0; i < 20000; ++i) {
        const bool log = i % 4 == 3;
        const double magnitude = std::pow(10.0, -30 + 60 * unit(random));
        double a = 0;
        double b = 0;
        if (log) {
            a = i % 8 == 7 ? -magnitude * unit(random) : magnitude;
            b = magnitude * std::pow(10.0, 12 * unit(random));
        } else {
            const double width = magnitude * std::pow(10.0, -6.5 * unit(random));
            a = i % 5 == 0 ? 0.0 : magnitude * (2 * unit(random) - 1);
            b = a + width * unit(random);
        }
        AxisSettings axis;
        axis.m_bLog = log;
        axis.SetDataRange(a, b);
        const AxisView view = ApplyAxis(axis);
        const LabelSet set =
            MakeLabels(view.digits, view.labelStep, view.power, view.log, view.first, view.last, 1);
        const double step = set.labelStep;
        const double span =
            log ? std::log10(view.last) - std::log10(view.first) : view.last - view.first;
        const double end = log ? std::log10(set.labels.back().position) - std::log10(view.last)
                               : set.labels.back().position - view.last;
        const std::vector<std::string> texts = Texts(set);
        const std::set<std::string> distinct(texts.begin(), texts.end());
        tooMany += set.tooManyLabels;
        // No empty step at the top: data too narrow to divide below zero ends at 0.
        const bool narrow = axis.m_dMax - axis.m_dMin < 1e-6 * std::abs(axis.m_dMin);
        const double top = narrow && axis.m_dMax <= 0 ? 0.0 : axis.m_dMax;
        const bool ok =
            set.labels.size() == static_cast<std::size_t>(std::lround(span / step) + 1) &&
            std::abs(end) <= 1e-9 * step && distinct.size() == set.labels.size() &&
            (log ? (axis.m_dMin <= 0 || view.first <= axis.m_dMin * 1.0001) &&
                       view.last * 1.001 >= axis.m_dMax * (1 - 1e-12)
                 : view.first <= axis.m_dMin + 0.01 * step &&
                       view.last >= axis.m_dMax - 0.01 * step &&
                       top > view.last - step + 1e-9 * step && set.labels.size() <= 11);
        ASSERT_TRUE(ok) << "data " << a << ".." << b << (log ? " log" : "") << ": axis "
                        << view.first << ".." << view.last << " step " << step << ", "
                        << set.labels.size() << " labels " << testing::PrintToString(texts);
    }
    EXPECT_EQ(tooMany, 0);
}

} // namespace
} // namespace tarvo
