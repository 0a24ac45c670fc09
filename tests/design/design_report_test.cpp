// The design report of complete designs against a dense SciPy measurement of
// the same sections (tools/gen_report_fixtures.py), and its handling of
// unstable, broken and empty filters.

#include "design/design_action.h"
#include "design/design_report.h"
#include "design/iir_filter.h"
#include "design/response_curves.h"
#include "fixture_design.h"
#include "support/fixtures.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <iostream>
#include <limits>
#include <locale>
#include <numbers>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace tarvo {
namespace {

constexpr double kDbTol = 1e-6;
constexpr double kFrequencyTol = 1e-6; // relative
constexpr double kDelayTol = 1e-6;     // relative

struct Reference {
    std::string name;
    IirDesignSpec form;
    double fsValue = 1.0;
    int unit = 0;
    ReportBands bands;
    std::vector<std::vector<double>> rows;
    double gain = 0.0;
    std::vector<double> edges;
    double maxDb = 0.0;
    double ripple = 0.0;
    std::vector<double> stop;
    std::optional<double> atten;
    double delay = 0.0;
    double radius = 0.0;
    double change = 0.0;
};

std::vector<double> Count(std::istream& in) {
    std::size_t n = 0;
    in >> n;
    std::vector<double> v(n);
    for (double& x : v)
        in >> x;
    return v;
}

// Tokens as tools/gen_report_fixtures.py writes them.
std::vector<Reference> Load() {
    std::istringstream in(test::ReadFixture("design_report.txt"));
    in.imbue(std::locale::classic());
    std::string word;
    std::getline(in, word); // the comment line
    std::vector<Reference> out;
    while (in >> word && word == "design") {
        Reference d;
        IirDesignSpec& f = d.form;
        in >> d.name >> f.family >> f.response >> f.order >> f.edge1 >> f.edge2 >> f.centerWidth >>
            f.rippleDb >> f.attenDb >> f.dataType >> f.fracBits >> d.fsValue >> d.unit >>
            d.bands.stop1 >> d.bands.stop2;
        d.bands.known = d.bands.stop1 > 0.0;
        std::size_t rows = 0;
        in >> word >> rows;
        d.rows = test::ReadSectionRows(in, rows);
        in >> word >> d.gain >> word;
        d.edges = Count(in);
        in >> word >> d.maxDb >> word >> d.ripple >> word;
        d.stop = Count(in);
        in >> word >> word;
        if (word != "none") d.atten = std::stod(word);
        in >> word >> d.delay >> word >> word >> d.radius >> word >> d.change >> word;
        EXPECT_EQ(word, "end") << d.name;
        out.push_back(d);
    }
    EXPECT_FALSE(in.fail() && !in.eof());
    return out;
}

double Relative(double got, double want) {
    return std::abs(got - want) / std::max(std::abs(want), 1e-300);
}

TEST(DesignReport, DesignsMatchADenseMeasurementOfTheSameSections) {
    const std::vector<Reference> designs = Load();
    ASSERT_GE(designs.size(), 30u);
    double worstDb = 0.0;
    double worstFrequency = 0.0;
    double worstDelay = 0.0;
    for (const Reference& d : designs) {
        SCOPED_TRACE(d.name);
        CIirFilter filter;
        ASSERT_NO_FATAL_FAILURE(test::DesignAsFixture(d.form, d.fsValue, d.unit, d.rows, filter));
        ASSERT_NEAR(filter.sos.gain, d.gain, test::kFixtureCoefficientTol * d.gain);

        const DesignReport report = MakeDesignReport(filter, d.bands);
        ASSERT_TRUE(report.designed);
        ASSERT_EQ(report.edges3dB.size(), d.edges.size());
        for (std::size_t i = 0; i < d.edges.size(); ++i) {
            EXPECT_LE(Relative(report.edges3dB[i], d.edges[i]), kFrequencyTol) << i;
            worstFrequency = std::max(worstFrequency, Relative(report.edges3dB[i], d.edges[i]));
        }
        ASSERT_TRUE(report.passbandMaxDb && report.passbandRippleDb);
        const double dbErrors[] = {*report.passbandMaxDb - d.maxDb,
                                   *report.passbandRippleDb - d.ripple,
                                   report.attenuationDb.value_or(0.0) - d.atten.value_or(0.0)};
        for (const double e : dbErrors) {
            EXPECT_LE(std::abs(e), kDbTol);
            worstDb = std::max(worstDb, std::abs(e));
        }
        EXPECT_EQ(report.attenuationDb.has_value(), d.atten.has_value());

        std::vector<double> stop;
        if (report.stopEdge1) stop.push_back(*report.stopEdge1);
        if (report.stopEdge2) stop.push_back(*report.stopEdge2);
        ASSERT_EQ(stop.size(), d.stop.size());
        for (std::size_t i = 0; i < stop.size(); ++i) {
            EXPECT_LE(Relative(stop[i], d.stop[i]), kFrequencyTol) << i;
            worstFrequency = std::max(worstFrequency, Relative(stop[i], d.stop[i]));
        }
        const StopEdgeSource source = d.bands.known    ? StopEdgeSource::kGiven
                                      : d.stop.empty() ? StopEdgeSource::kNone
                                                       : StopEdgeSource::kDesign;
        EXPECT_EQ(report.stopEdgeSource, source);

        ASSERT_TRUE(report.peakGroupDelay && report.peakGroupDelayFrequency);
        EXPECT_LE(Relative(*report.peakGroupDelay, d.delay), kDelayTol);
        worstDelay = std::max(worstDelay, Relative(*report.peakGroupDelay, d.delay));
        // Two band edges may carry peaks equal to rounding, so the place is not
        // compared; the curve must reach the peak there, in the unit of Fs.
        korin::mvect f;
        korin::mvect at;
        ComputeResponse(filter, *report.peakGroupDelayFrequency, *report.peakGroupDelayFrequency, 1,
                        kPlotGroupDelay, f, at);
        ASSERT_EQ(at.size(), 1u);
        EXPECT_LE(Relative(at[0].real(), d.delay), kDelayTol);

        ASSERT_TRUE(report.maxPoleRadius && report.maxCoefficientChange);
        EXPECT_NEAR(*report.maxPoleRadius, d.radius, 1e-12);
        EXPECT_FALSE(report.unstable);
        EXPECT_NEAR(*report.maxCoefficientChange, d.change, 1e-12 * d.change);
        EXPECT_EQ(d.change == 0.0, d.form.dataType == kDouble);
    }
    std::cout << "design report against SciPy: worst " << worstDb << " dB, " << worstFrequency
              << " relative in frequency, " << worstDelay << " relative in group delay\n";
}

// One filter of hand-made sections (b0 b1 b2 a0 a1 a2 each).
CIirFilter Sections(const std::vector<std::vector<double>>& rows) {
    CIirFilter f;
    f.fs = CFs(1.0);
    f.spec.response = kLowpass;
    f.spec.edge1 = 0.1;
    for (const auto& row : rows) {
        korin::mvect& r = f.sos.AddRow();
        for (const double c : row)
            r.push_back(korin::mcplx(c));
    }
    return f;
}

TEST(DesignReport, PoleRadiusAndStabilityOfHandMadeSections) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // Poles at 2 rad, beyond the passband (0 to 0.1 of Fs).
    const double c = std::cos(2.0);
    struct Row {
        const char* name;
        std::vector<std::vector<double>> rows;
        double radius; // NaN: not computable
        bool unstable;
        bool response; // the passband figures can be measured
    } const rows[] = {
        {"stable pair", {{1, 2, 1, 1, -2 * 0.9 * c, 0.81}}, 0.9, false, true},
        {"pair outside", {{1, 2, 1, 1, -2 * 1.05 * c, 1.05 * 1.05}}, 1.05, true, true},
        {"pair on the circle", {{1, 0, 0, 1, -2 * c, 1}}, 1.0, true, true},
        {"real poles", {{1, 0, 0, 1, -1.7, 0.72}}, 0.9, false, true},
        {"first order", {{1, 1, 0, 1, -0.5, 0}, {1, 2, 1, 1, 0, 0.25}}, 0.5, false, true},
        {"not causal", {{1, 0, 0, 0, 1, 0.5}}, std::numeric_limits<double>::infinity(), true, true},
        {"not finite", {{1, 2, 1, 1, nan, 0.5}}, nan, true, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const DesignReport r = MakeDesignReport(Sections(row.rows));
        ASSERT_TRUE(r.designed);
        ASSERT_TRUE(r.maxPoleRadius);
        if (std::isnan(row.radius)) {
            EXPECT_TRUE(std::isnan(*r.maxPoleRadius));
        } else if (std::isinf(row.radius)) {
            EXPECT_EQ(*r.maxPoleRadius, row.radius);
        } else {
            EXPECT_NEAR(*r.maxPoleRadius, row.radius, 1e-14);
        }
        EXPECT_EQ(r.unstable, row.unstable);
        EXPECT_EQ(r.passbandRippleDb.has_value(), row.response);
        const std::vector<std::string> lines = DesignReportLines(r);
        const bool saysUnstable = std::any_of(lines.begin(), lines.end(), [](const std::string& s) {
            return s.find("unstable") != std::string::npos;
        });
        EXPECT_EQ(saysUnstable, row.unstable);
        EXPECT_EQ(DesignReportStatus(r).find("unstable") != std::string::npos, row.unstable);
    }
}

TEST(DesignReport, DirectFormPolesComeFromTheDenominator) {
    CIirFilter f = Sections({});
    f.useSos = false;
    // (z - 0.95)(z - 0.5)(z + 0.3), and a numerator that passes low frequencies.
    f.a = {1.0, -1.15, 0.04, 0.1425};
    f.b = {0.1, 0.1, 0.1, 0.1};
    const DesignReport r = MakeDesignReport(f);
    ASSERT_TRUE(r.maxPoleRadius);
    EXPECT_NEAR(*r.maxPoleRadius, 0.95, 1e-12);
    EXPECT_FALSE(r.unstable);
}

TEST(DesignReport, AnEmptyFilterHasNothingToMeasure) {
    CIirFilter f;
    f.fs = CFs(1.0);
    const DesignReport r = MakeDesignReport(f, {0.3, 0.0, true});
    EXPECT_FALSE(r.designed);
    EXPECT_FALSE(r.passbandRippleDb || r.attenuationDb || r.maxPoleRadius || r.peakGroupDelay);
    EXPECT_EQ(DesignReportLines(r), std::vector<std::string>{"No filter has been designed."});
    EXPECT_EQ(DesignReportStatus(r), "");
}

// The report and the Design button's warning tell of the same instability.
TEST(DesignReport, QuantizedDesignsAgreeWithTheDesignWarning) {
    struct Row {
        std::int32_t dataType;
        std::int32_t fracBits;
        bool unstable;
    } const rows[] = {{kDouble, 30, false},
                      {kSingle, 30, false},
                      {kFixedPoint, 24, false},
                      {kFixedPoint, 5, true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.fracBits);
        IirDesignSpec form;
        form.family = kElliptic;
        form.order = 8;
        form.edge1 = 0.05;
        form.rippleDb = 0.1;
        form.attenDb = 80.0;
        form.dataType = row.dataType;
        form.fracBits = row.fracBits;
        CIirFilter filter;
        filter.fs = CFs(1.0);
        const DesignOutcome outcome = RunDesign(filter, form, -130.0);
        ASSERT_TRUE(outcome.Designed());
        const DesignReport r = MakeDesignReport(filter);
        EXPECT_EQ(r.unstable, row.unstable);
        EXPECT_EQ(outcome.warning.empty(), !row.unstable);
        // A rounding to 2^-f moves no coefficient by more than half a step.
        ASSERT_TRUE(r.maxCoefficientChange);
        if (row.dataType == kFixedPoint) {
            EXPECT_LE(*r.maxCoefficientChange, std::ldexp(0.5, -row.fracBits));
            EXPECT_GT(*r.maxCoefficientChange, 0.0);
        }
    }
}

TEST(DesignReport, StopbandEdgesMustFitTheResponse) {
    const char* const ok = "";
    struct Row {
        std::int32_t response;
        double stop1;
        double stop2;
        const char* message;
    } const rows[] = {
        {kLowpass, 0.3, 0.0, ok},
        {kLowpass, 0.2, 0.0, "The stopband edge must lie between the cutoff frequency and Fs/2."},
        {kLowpass, 0.5, 0.0, "Stopband edges must be greater than zero and less than Fs/2."},
        {kLowpass, 0.3, 0.4, "Lowpass and highpass filters have one stopband edge."},
        {kHighpass, 0.1, 0.0, ok},
        {kHighpass, 0.25, 0.0, "The stopband edge must lie between zero and the cutoff frequency."},
        {kBandpass, 0.1, 0.4, ok},
        {kBandpass, 0.1, 0.0, "Bandpass and bandstop filters need two stopband edges."},
        {kBandpass, 0.25, 0.4,
         "The stopband edges must lie below the lower and above the upper band edge."},
        {kBandstop, 0.22, 0.28, ok},
        {kBandstop, 0.28, 0.22,
         "The stopband edges must lie between the two band edges, the lower one first."},
        {kBandstop, 0.1, 0.28,
         "The stopband edges must lie between the two band edges, the lower one first."},
    };
    for (const Row& row : rows) {
        IirDesignSpec spec;
        spec.response = row.response;
        spec.edge1 = 0.2;
        spec.edge2 = 0.3;
        EXPECT_EQ(CheckReportBands(spec, 1.0, {row.stop1, row.stop2, true}), row.message)
            << row.response << " " << row.stop1 << " " << row.stop2;
        EXPECT_EQ(CheckReportBands(spec, 1.0, {row.stop1, row.stop2, false}), "");
    }
}

TEST(DesignReport, EllipticEdgesOnlyWhereTheDesignHasThem) {
    IirDesignSpec spec;
    spec.family = kElliptic;
    spec.rippleDb = 1.0;
    spec.attenDb = 60.0;
    EXPECT_TRUE(EllipticStopEdges(spec, 1.0));
    spec.family = kChebyshev;
    EXPECT_FALSE(EllipticStopEdges(spec, 1.0));
    spec.family = kElliptic;
    spec.attenDb = 0.5; // not above the ripple
    EXPECT_FALSE(EllipticStopEdges(spec, 1.0));
}

} // namespace
} // namespace tarvo
