#include "design/design_report.h"

#include "design/ellf_math.h"
#include "design/iir_filter.h"
#include "design/response_curves.h"
#include "korin/io/mnumfmt.h"
#include "korin/poly/mpoly.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <utility>

namespace tarvo {

using korin::mcplx;
using korin::mvect;

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kNyquist = 0.5; // cycles per sample
constexpr double kInf = std::numeric_limits<double>::infinity();
// Grid points per interval: enough to put a sample on every ripple of a high
// order, where each extremum is then refined.
constexpr std::int32_t kMinGrid = 4096;
constexpr std::int32_t kMaxGrid = 1 << 17;
constexpr std::int32_t kGridPerPole = 32;
// The highest local maxima of a grid that are refined; equiripple bands have
// many of equal height, and any of them gives the extremum.
constexpr std::size_t kMaxCandidates = 48;
// Refinement stops at this bracket width (cycles per sample).
constexpr double kFrequencyTolerance = 1e-15;

double HalfPowerDb() {
    return 10.0 * std::log10(2.0);
}

// A frequency range in cycles per sample.
struct Interval {
    double lo = 0.0;
    double hi = 0.0;
};

struct Extremum {
    double f = 0.0;
    double value = -kInf;
};

// The form's band edges in cycles per sample: the cutoff twice for lowpass and
// highpass, the lower and upper edge for band shapes.
Interval FormEdges(const IirDesignSpec& spec, double fsValue) {
    if (spec.response != kBandpass && spec.response != kBandstop) {
        return {spec.edge1 / fsValue, spec.edge1 / fsValue};
    }
    BandEdges e{spec.edge1, spec.edge2};
    if (spec.centerWidth != 0) e = EdgesFromCenterWidth(spec.edge1, spec.edge2);
    return {std::min(e.lo, e.hi) / fsValue, std::max(e.lo, e.hi) / fsValue};
}

bool Usable(const Interval& i) {
    return std::isfinite(i.lo) && std::isfinite(i.hi) && i.lo >= 0.0 && i.hi <= kNyquist &&
           i.lo < i.hi;
}

std::vector<Interval> Keep(std::initializer_list<Interval> list) {
    std::vector<Interval> out;
    for (const Interval& i : list) {
        if (Usable(i)) out.push_back(i);
    }
    return out;
}

std::vector<Interval> Passbands(std::int32_t response, const Interval& e) {
    switch (response) {
    case kHighpass:
        return Keep({{e.lo, kNyquist}});
    case kBandpass:
        return Keep({{e.lo, e.hi}});
    case kBandstop:
        return Keep({{0.0, e.lo}, {e.hi, kNyquist}});
    default:
        return Keep({{0.0, e.lo}});
    }
}

// s1 and s2 in cycles per sample.
std::vector<Interval> Stopbands(std::int32_t response, double s1, double s2) {
    switch (response) {
    case kHighpass:
        return Keep({{0.0, s1}});
    case kBandpass:
        return Keep({{0.0, s1}, {s2, kNyquist}});
    case kBandstop:
        return Keep({{s1, s2}});
    default:
        return Keep({{s1, kNyquist}});
    }
}

// The response as the report measures it: magnitude in dB and group delay (in
// the time unit paired with the frequency unit) of the coefficients the
// filter's responses use, at frequencies in cycles per sample.
class Measure {
public:
    explicit Measure(const CIirFilter& filter) : filter_(filter), fsValue_(filter.fs.GetValue()) {}

    double DbAt(double f) const { return 20.0 * std::log10(filter_.MagnitudeAt(f)); }

    double DelayAt(double f) const {
        mvect freq;
        mvect values;
        ComputeResponse(filter_, f * fsValue_, f * fsValue_, 1, kPlotGroupDelay, freq, values);
        return values.empty() ? std::nan("") : values[0].real();
    }

    // dB at the given frequencies.
    std::vector<double> Db(const std::vector<double>& f) const {
        mvect s;
        s.reserve(f.size());
        for (const double x : f)
            s.push_back(mcplx(0.0, 2.0 * kPi * x));
        const mvect h = filter_.ResponseAt(s);
        std::vector<double> db(f.size(), std::nan(""));
        for (std::size_t i = 0; i < h.size() && i < db.size(); ++i)
            db[i] = 20.0 * std::log10(korin::Abs(h[i]) + 1e-20);
        return db;
    }

    // Group delay on n points from i.lo to i.hi; f receives the points.
    std::vector<double> Delay(const Interval& i, std::int32_t n, std::vector<double>& f) const {
        mvect freq;
        mvect values;
        ComputeResponse(filter_, i.lo * fsValue_, i.hi * fsValue_, n, kPlotGroupDelay, freq,
                        values);
        f.clear();
        std::vector<double> out;
        for (std::size_t k = 0; k < freq.size() && k < values.size(); ++k) {
            f.push_back(freq[k].real() / fsValue_);
            out.push_back(values[k].real());
        }
        return out;
    }

private:
    const CIirFilter& filter_;
    double fsValue_;
};

std::vector<double> Grid(const Interval& i, std::int32_t n) {
    std::vector<double> f(static_cast<std::size_t>(n));
    for (std::int32_t k = 0; k < n; ++k)
        f[static_cast<std::size_t>(k)] = i.lo + (i.hi - i.lo) * k / (n - 1);
    f.back() = i.hi;
    return f;
}

// Golden-section search for the largest value of fn in [a, b], keeping the
// best value seen (the bracket ends included).
template <class Fn> Extremum RefineMax(const Fn& fn, double a, double b, Extremum best) {
    const auto keep = [&best](double f, double v) {
        if (v > best.value) best = {f, v};
    };
    const double ratio = (std::sqrt(5.0) - 1.0) / 2.0;
    double x1 = b - ratio * (b - a);
    double x2 = a + ratio * (b - a);
    double f1 = fn(x1);
    double f2 = fn(x2);
    keep(x1, f1);
    keep(x2, f2);
    for (int step = 0; step < 200 && b - a > kFrequencyTolerance; ++step) {
        if (f1 >= f2) {
            b = x2;
            x2 = x1;
            f2 = f1;
            x1 = b - ratio * (b - a);
            f1 = fn(x1);
            keep(x1, f1);
        } else {
            a = x1;
            x1 = x2;
            f1 = f2;
            x2 = a + ratio * (b - a);
            f2 = fn(x2);
            keep(x2, f2);
        }
    }
    return best;
}

// The largest value of fn (sampled as v at the points f) refined around the
// grid's highest local maxima; no value when a sample is not finite.
template <class Fn>
std::optional<Extremum> Maximize(const Fn& fn, const std::vector<double>& f,
                                 const std::vector<double>& v) {
    const std::size_t n = v.size();
    if (n < 2 || f.size() != n) return std::nullopt;
    if (!std::all_of(v.begin(), v.end(), [](double x) { return std::isfinite(x); })) {
        return std::nullopt;
    }
    std::vector<std::size_t> peaks;
    for (std::size_t i = 0; i < n; ++i) {
        const bool left = i == 0 || v[i] >= v[i - 1];
        const bool right = i + 1 == n || v[i] >= v[i + 1];
        if (left && right) peaks.push_back(i);
    }
    std::sort(peaks.begin(), peaks.end(),
              [&v](std::size_t a, std::size_t b) { return v[a] > v[b]; });
    if (peaks.size() > kMaxCandidates) peaks.resize(kMaxCandidates);
    Extremum best;
    for (const std::size_t i : peaks) {
        if (v[i] > best.value) best = {f[i], v[i]};
        const double a = f[i == 0 ? 0 : i - 1];
        const double b = f[i + 1 == n ? i : i + 1];
        best = RefineMax(fn, a, b, best);
    }
    if (!std::isfinite(best.value)) return std::nullopt;
    return best;
}

// The largest (sign 1) or smallest (sign -1) dB over the intervals.
std::optional<Extremum> DbExtremum(const Measure& m, const std::vector<Interval>& bands,
                                   std::int32_t n, double sign) {
    if (bands.empty()) return std::nullopt;
    Extremum best;
    for (const Interval& band : bands) {
        const std::vector<double> f = Grid(band, n);
        std::vector<double> v = m.Db(f);
        for (double& x : v)
            x *= sign;
        const auto found = Maximize([&m, sign](double x) { return sign * m.DbAt(x); }, f, v);
        if (!found) return std::nullopt;
        if (found->value > best.value) best = *found;
    }
    best.value *= sign;
    return best;
}

std::optional<Extremum> PeakDelay(const Measure& m, const std::vector<Interval>& bands,
                                  std::int32_t n) {
    if (bands.empty()) return std::nullopt;
    Extremum best;
    for (const Interval& band : bands) {
        std::vector<double> f;
        const std::vector<double> v = m.Delay(band, n, f);
        const auto found = Maximize([&m](double x) { return m.DelayAt(x); }, f, v);
        if (!found) return std::nullopt;
        if (found->value > best.value) best = *found;
    }
    return best;
}

// Where g(f) = dB(f) - level changes sign between a and b (ga = g(a)), by bisection
// to the last bit.
double Crossing(const Measure& m, double level, double a, double b, double ga) {
    for (int step = 0; step < 200; ++step) {
        const double mid = 0.5 * (a + b);
        if (!(mid > a && mid < b)) break;
        const double g = m.DbAt(mid) - level;
        if (g == 0.0) return mid;
        if ((g < 0.0) == (ga < 0.0)) {
            a = mid;
            ga = g;
        } else {
            b = mid;
        }
    }
    return 0.5 * (a + b);
}

// Every crossing of level from 0 to Nyquist. The grid is denser around the
// passbands, whose edges may be closer together than the plain grid's spacing.
std::vector<double> Crossings(const Measure& m, double level,
                              const std::vector<Interval>& passbands, std::int32_t n) {
    std::vector<double> f = Grid({0.0, kNyquist}, n);
    for (const Interval& p : passbands) {
        const double w = p.hi - p.lo;
        const std::vector<double> near =
            Grid({std::max(0.0, p.lo - w), std::min(kNyquist, p.hi + w)}, n);
        f.insert(f.end(), near.begin(), near.end());
    }
    std::sort(f.begin(), f.end());
    f.erase(std::unique(f.begin(), f.end()), f.end());
    const std::vector<double> v = m.Db(f);
    std::vector<double> out;
    for (std::size_t i = 0; i < f.size(); ++i) {
        const double g = v[i] - level;
        if (!std::isfinite(g)) continue;
        if (g == 0.0) {
            if (out.empty() || out.back() != f[i]) out.push_back(f[i]);
            continue;
        }
        if (i + 1 == f.size()) break;
        const double next = v[i + 1] - level;
        if (std::isfinite(next) && next != 0.0 && (g < 0.0) != (next < 0.0)) {
            out.push_back(Crossing(m, level, f[i], f[i + 1], g));
        }
    }
    return out;
}

// Largest modulus of the roots of c0 z^2 + c1 z + c2; infinite when c0 is 0
// (a pole at infinity: the section is not causal).
double QuadraticRootRadius(double c0, double c1, double c2) {
    if (c0 == 0.0) return kInf;
    const double disc = c1 * c1 - 4.0 * c0 * c2;
    // A complex pair has |z|^2 = c2 / c0 exactly, so a pair on the circle gives 1.
    if (disc < 0.0) return std::sqrt(c2 / c0);
    const double q = -0.5 * (c1 + std::copysign(std::sqrt(disc), c1));
    if (q == 0.0) return 0.0;
    return std::max(std::abs(q / c0), std::abs(c2 / q));
}

bool UsesSections(const CIirFilter& filter) {
    return filter.useSos && !filter.sos.Empty();
}

// No value when there is no pole; NaN when they cannot be computed.
std::optional<double> MaxPoleRadius(const CIirFilter& filter) {
    double radius = 0.0;
    if (UsesSections(filter)) {
        for (std::size_t i = 0; i < filter.sos.Rows(); ++i) {
            const mvect& row = filter.sos[i];
            if (row.size() < 6) return std::nan("");
            const double r = QuadraticRootRadius(row[3].real(), row[4].real(), row[5].real());
            if (std::isnan(r)) return r;
            radius = std::max(radius, r);
        }
        return radius;
    }
    const mvect& a = filter.a;
    if (a.size() < 2) return std::nullopt;
    if (a[0] == mcplx()) return kInf;
    mvect monic = a;
    monic.Scale(mcplx(1.0) / a[0]);
    monic[0] = mcplx(1.0);
    mvect roots;
    korin::Roots(monic, roots);
    if (roots.empty() && a.size() > 3) return std::nan("");
    for (const mcplx& r : roots) {
        const double m = korin::Abs(r);
        if (std::isnan(m)) return m;
        radius = std::max(radius, m);
    }
    return radius;
}

double LargestDifference(const mvect& x, const mvect& y) {
    double d = 0.0;
    for (std::size_t i = 0; i < x.size(); ++i)
        d = std::max(d, korin::Abs(x[i] - y[i]));
    return d;
}

std::optional<double> MaxCoefficientChange(const CIirFilter& filter) {
    if (filter.spec.dataType != kSingle && filter.spec.dataType != kFixedPoint) return 0.0;
    // The unrounded coefficients are not kept; the roots rebuild them.
    CIirFilter exact = filter;
    exact.spec.dataType = kDouble;
    exact.RebuildFromRoots();
    double change = 0.0;
    if (UsesSections(filter)) {
        if (exact.sos.Rows() != filter.sos.Rows()) return std::nullopt;
        for (std::size_t i = 0; i < filter.sos.Rows(); ++i) {
            if (exact.sos[i].size() != filter.sos[i].size()) return std::nullopt;
            change = std::max(change, LargestDifference(filter.sos[i], exact.sos[i]));
        }
    } else {
        if (exact.a.size() != filter.a.size() || exact.b.size() != filter.b.size()) {
            return std::nullopt;
        }
        change =
            std::max(LargestDifference(filter.a, exact.a), LargestDifference(filter.b, exact.b));
    }
    return change;
}

std::string Fixed(double x, int decimals) {
    korin::mnumformat format;
    format.precision = decimals;
    format.conversion = 'f';
    return korin::FormatNumber(x, format);
}

std::string General(double x, int digits) {
    korin::mnumformat format;
    format.precision = digits;
    format.conversion = 'g';
    return korin::FormatNumber(x, format);
}

std::string Frequency(double f, const DesignReport& r) {
    return General(f, 9) + " " + r.frequencyUnit;
}

std::string Db(double x) {
    return Fixed(x, 4) + " dB";
}

} // namespace

std::string CheckReportBands(const IirDesignSpec& spec, double fsValue, const ReportBands& bands) {
    if (!bands.known) return {};
    const double half = fsValue / 2.0;
    const bool band = spec.response == kBandpass || spec.response == kBandstop;
    const auto inside = [half](double x) { return x > 0.0 && x < half; };
    if (!inside(bands.stop1) || (band && !inside(bands.stop2))) {
        if (band && bands.stop2 == 0.0)
            return "Bandpass and bandstop filters need two stopband edges.";
        return "Stopband edges must be greater than zero and less than Fs/2.";
    }
    if (!band && bands.stop2 != 0.0) return "Lowpass and highpass filters have one stopband edge.";
    const Interval e = FormEdges(spec, 1.0);
    switch (spec.response) {
    case kHighpass:
        if (!(bands.stop1 < e.lo)) {
            return "The stopband edge must lie between zero and the cutoff frequency.";
        }
        break;
    case kBandpass:
        if (!(bands.stop1 < e.lo && e.hi < bands.stop2)) {
            return "The stopband edges must lie below the lower and above the upper band edge.";
        }
        break;
    case kBandstop:
        if (!(e.lo < bands.stop1 && bands.stop1 < bands.stop2 && bands.stop2 < e.hi)) {
            return "The stopband edges must lie between the two band edges, the lower one first.";
        }
        break;
    default:
        if (!(e.lo < bands.stop1)) {
            return "The stopband edge must lie between the cutoff frequency and Fs/2.";
        }
        break;
    }
    return {};
}

std::optional<ReportBands> EllipticStopEdges(const IirDesignSpec& spec, double fsValue) {
    if (spec.family != kElliptic || spec.order < 1 || !(fsValue > 0.0)) return std::nullopt;
    // The degree equation: the selectivity k (passband over stopband edge of the
    // analog prototype) has the nome exp(-pi K'(k1) / (n K(k1))), k1 being the
    // discrimination eps / sqrt(A - 1).
    const double eps2 = std::pow(10.0, spec.rippleDb / 10.0) - 1.0;
    const double m1 = eps2 / (std::pow(10.0, spec.attenDb / 10.0) - 1.0);
    if (!(m1 > 0.0 && m1 < 1.0)) return std::nullopt;
    const double n = static_cast<double>(spec.order);
    const double q = std::exp(-kPi * ellpk(m1) / (n * ellpk(1.0 - m1)));
    const std::optional<double> k = ModulusFromNome(q);
    if (!k || !(*k > 0.0 && *k < 1.0)) return std::nullopt;

    const Interval e = FormEdges(spec, fsValue);
    ReportBands out;
    out.known = true;
    if (spec.response == kLowpass || spec.response == kHighpass) {
        // The bilinear map: prototype frequency tan(pi f) / tan(pi cutoff).
        const double w = std::tan(kPi * e.lo);
        const double s = std::atan(spec.response == kLowpass ? w / *k : w * *k) / kPi;
        const bool beyond = spec.response == kLowpass ? s > e.lo : s < e.lo;
        if (!std::isfinite(s) || !beyond) return std::nullopt;
        out.stop1 = s * fsValue;
        return out;
    }
    // The band substitution maps w to (gamma - cos w) / (W sin w), +-1 at the
    // band edges; the stop edges are where it reaches +-1/k (bandpass) or +-k
    // (bandstop): the two roots c of (1 + a) c^2 - 2 gamma c + gamma^2 - a = 0.
    const double theta = kPi * (e.hi - e.lo);
    const double w = std::tan(theta);
    const double gamma = std::cos(kPi * (e.hi + e.lo)) / std::cos(theta);
    const double ratio = spec.response == kBandpass ? w / *k : w * *k;
    const double a = ratio * ratio;
    const double root = std::sqrt(a * (1.0 - gamma * gamma) + a * a);
    const double cLower = (gamma + root) / (1.0 + a);
    const double cUpper = (gamma - root) / (1.0 + a);
    if (!(std::abs(cLower) <= 1.0 && std::abs(cUpper) <= 1.0)) return std::nullopt;
    const double s1 = std::acos(cLower) / (2.0 * kPi);
    const double s2 = std::acos(cUpper) / (2.0 * kPi);
    const bool fits =
        spec.response == kBandpass ? s1 < e.lo && s2 > e.hi : e.lo < s1 && s1 < s2 && s2 < e.hi;
    if (!fits) return std::nullopt;
    out.stop1 = s1 * fsValue;
    out.stop2 = s2 * fsValue;
    return out;
}

DesignReport MakeDesignReport(const CIirFilter& filter, const ReportBands& bands) {
    DesignReport r;
    r.frequencyUnit = filter.fs.GetFreqUnitName();
    r.timeUnit = filter.fs.GetTimeUnitName();
    const double fsValue = filter.fs.GetValue();
    if (filter.IsEmpty() || !(fsValue > 0.0) || !std::isfinite(fsValue)) return r;
    r.designed = true;

    r.maxPoleRadius = MaxPoleRadius(filter);
    r.unstable = r.maxPoleRadius && !(*r.maxPoleRadius < 1.0);
    r.maxCoefficientChange = MaxCoefficientChange(filter);

    const std::size_t poles = std::max(2 * filter.sos.Rows(), filter.a.size());
    const auto n = static_cast<std::int32_t>(
        std::clamp<std::size_t>(kGridPerPole * poles, kMinGrid, kMaxGrid));
    const Measure m(filter);
    const std::vector<Interval> passbands =
        Passbands(filter.spec.response, FormEdges(filter.spec, fsValue));

    const std::optional<Extremum> top = DbExtremum(m, passbands, n, 1.0);
    const std::optional<Extremum> bottom = DbExtremum(m, passbands, n, -1.0);
    if (top) {
        r.passbandMaxDb = top->value;
        for (const double f : Crossings(m, top->value - HalfPowerDb(), passbands, n))
            r.edges3dB.push_back(f * fsValue);
    }
    if (top && bottom) r.passbandRippleDb = top->value - bottom->value;

    std::optional<ReportBands> stop;
    if (bands.known) {
        stop = bands;
        r.stopEdgeSource = StopEdgeSource::kGiven;
    } else if ((stop = EllipticStopEdges(filter.spec, fsValue))) {
        r.stopEdgeSource = StopEdgeSource::kDesign;
    }
    if (stop) {
        r.stopEdge1 = stop->stop1;
        const bool band = filter.spec.response == kBandpass || filter.spec.response == kBandstop;
        if (band) r.stopEdge2 = stop->stop2;
        const std::optional<Extremum> leak = DbExtremum(
            m, Stopbands(filter.spec.response, stop->stop1 / fsValue, stop->stop2 / fsValue), n,
            1.0);
        if (top && leak) r.attenuationDb = top->value - leak->value;
    }

    if (const std::optional<Extremum> peak = PeakDelay(m, passbands, n)) {
        r.peakGroupDelay = peak->value;
        r.peakGroupDelayFrequency = peak->f * fsValue;
    }
    return r;
}

std::string DesignReportTitle(const CIirFilter& filter) {
    return std::string(filter.FamilyName()) + " " +
           std::string(ResponseText(filter.spec.response)) + ", order " +
           std::to_string(filter.spec.order) + ", Fs = " + filter.fs.Format() + ", " +
           std::string(DataTypeText(filter.spec.dataType));
}

std::vector<std::string> DesignReportLines(const DesignReport& r) {
    if (!r.designed) return {"No filter has been designed."};
    std::vector<std::string> lines;
    const std::string none = "not measurable";

    std::string edges;
    for (const double f : r.edges3dB)
        edges += (edges.empty() ? "" : ", ") + Frequency(f, r);
    lines.push_back("-3 dB frequencies: " + (edges.empty() ? std::string("none") : edges));
    lines.push_back("Passband ripple: " + (r.passbandRippleDb ? Db(*r.passbandRippleDb) : none));
    lines.push_back("Passband maximum: " + (r.passbandMaxDb ? Db(*r.passbandMaxDb) : none));

    if (r.stopEdge1) {
        const char* source =
            r.stopEdgeSource == StopEdgeSource::kDesign ? " (of the elliptic design)" : " (given)";
        std::string text = r.stopEdge2 ? "Stopband edges: " + Frequency(*r.stopEdge1, r) + ", " +
                                             Frequency(*r.stopEdge2, r)
                                       : "Stopband edge: " + Frequency(*r.stopEdge1, r);
        lines.push_back(text + source);
        lines.push_back("Stopband attenuation: " + (r.attenuationDb ? Db(*r.attenuationDb) : none));
    } else {
        lines.push_back("Stopband attenuation: no stopband edge known");
    }

    if (r.peakGroupDelay && r.peakGroupDelayFrequency) {
        lines.push_back("Peak group delay in the passband: " + General(*r.peakGroupDelay, 9) + " " +
                        r.timeUnit + " at " + Frequency(*r.peakGroupDelayFrequency, r));
    } else {
        lines.push_back("Peak group delay in the passband: " + none);
    }

    std::string radius = "Largest pole radius: ";
    if (!r.maxPoleRadius) {
        radius += "no poles";
    } else if (std::isnan(*r.maxPoleRadius)) {
        radius += "not computable";
    } else {
        radius += Fixed(*r.maxPoleRadius, 9);
    }
    if (r.unstable) radius += " - unstable: a pole lies on or outside the unit circle";
    lines.push_back(radius);

    lines.push_back(
        "Largest coefficient change by quantization: " +
        (r.maxCoefficientChange ? General(*r.maxCoefficientChange, 3) : std::string("not known")));
    return lines;
}

std::string DesignReportStatus(const DesignReport& r) {
    if (!r.designed) return {};
    std::string text = "Passband ripple " + (r.passbandRippleDb ? Db(*r.passbandRippleDb)
                                                                : std::string("not measurable"));
    if (r.attenuationDb) text += ", stopband attenuation " + Db(*r.attenuationDb);
    if (r.unstable) text += "; unstable";
    return text;
}

} // namespace tarvo
