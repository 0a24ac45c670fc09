#include "cli/filter_output.h"

#include "design/iir_filter.h"
#include "design/response_curves.h"
#include "korin/io/mnumfmt.h"

#include <array>
#include <ostream>
#include <utility>

namespace tarvo::cli {

using korin::mcplx;
using korin::mvect;
using nlohmann::json;

namespace {

json Pair(const mcplx& v) {
    return json::array({v.real(), v.imag()});
}

json Roots(const mvect& v) {
    json out = json::array();
    for (const mcplx& x : v)
        out.push_back(Pair(x));
    return out;
}

json Coefficients(const mvect& v) {
    json out = json::array();
    const bool real = v.IsReal();
    for (const mcplx& x : v)
        out.push_back(real ? json(x.real()) : Pair(x));
    return out;
}

// "%.17g" without the locale's decimal point: it reads back to the same double.
std::string Number(double x) {
    korin::mnumformat format;
    format.precision = 17;
    format.conversion = 'g';
    return korin::FormatNumber(x, format);
}

std::string Complex(const mcplx& v) {
    if (v.imag() == 0.0) return Number(v.real());
    return Number(v.real()) + (v.imag() < 0 ? " - " : " + ") + Number(std::abs(v.imag())) + "j";
}

const std::array<std::pair<const char*, std::int32_t>, 7> kCurves{{
    {"magnitude", kPlotMagnitude},
    {"phase", kPlotPhase},
    {"unwrapped-phase", kPlotUnwrappedPhase},
    {"group-delay", kPlotGroupDelay},
    {"phase-delay", kPlotPhaseDelay},
    {"impulse", kPlotImpulse},
    {"step", kPlotStep},
}};

} // namespace

json FilterToJson(const CIirFilter& f) {
    json j;
    j["family"] = std::string(FamilyText(f.spec.family));
    j["response"] = std::string(ResponseText(f.spec.response));
    j["order"] = f.spec.order;
    j["dataType"] = std::string(DataTypeText(f.spec.dataType));
    j["fs"] = {{"value", f.fs.GetValue()}, {"unit", f.fs.GetFreqUnitName()}, {"hz", f.fs.GetHz()}};
    j["zeros"] = Roots(f.z);
    j["poles"] = Roots(f.p);
    j["gain"] = f.k;
    j["numerator"] = Coefficients(f.b);
    j["denominator"] = Coefficients(f.a);
    json sections = json::array();
    for (std::size_t i = 0; i < f.sos.Rows(); ++i)
        sections.push_back(Coefficients(f.sos[i]));
    j["sections"] = sections;
    j["sectionGain"] = f.sos.gain;
    j["quantizedZeros"] = Roots(f.qz);
    j["quantizedPoles"] = Roots(f.qp);
    j["referenceFrequency"] = f.normFreq;
    j["referenceMagnitude"] = f.normMag;
    j["useBiquads"] = f.useSos;
    return j;
}

void WriteFilterText(const CIirFilter& f, std::ostream& out) {
    out << f.FamilyName() << " " << ResponseText(f.spec.response) << ", order " << f.spec.order
        << ", Fs = " << f.fs.Format() << ", " << DataTypeText(f.spec.dataType) << "\n";
    out << "Gain: " << Number(f.k) << "\n";
    const auto list = [&out](const char* title, const mvect& v) {
        out << title << " (" << v.size() << "):\n";
        for (const mcplx& x : v)
            out << "  " << Complex(x) << "\n";
    };
    list("Zeros", f.z);
    list("Poles", f.p);
    list("Numerator", f.b);
    list("Denominator", f.a);
    out << "Sections (b0 b1 b2 a0 a1 a2), gain " << Number(f.sos.gain) << ":\n";
    for (std::size_t i = 0; i < f.sos.Rows(); ++i) {
        out << " ";
        for (const mcplx& x : f.sos[i])
            out << " " << Complex(x);
        out << "\n";
    }
    if (!f.qz.empty() || !f.qp.empty()) {
        list("Quantized zeros", f.qz);
        list("Quantized poles", f.qp);
    }
}

std::optional<std::int32_t> CurveType(const std::string& name) {
    for (const auto& [text, type] : kCurves) {
        if (name == text) return type;
    }
    return std::nullopt;
}

std::string CurveNames() {
    std::string names;
    for (const auto& [text, type] : kCurves) {
        if (!names.empty()) names += "|";
        names += text;
    }
    return names;
}

void WriteCurve(const CIirFilter& filter, std::int32_t plotType, std::int32_t points,
                std::ostream& out) {
    if (plotType == kPlotImpulse || plotType == kPlotStep) {
        const TimeResponse r = ComputeTimeResponse(filter, points);
        const mvect& y = plotType == kPlotImpulse ? r.impulse : r.step;
        for (std::size_t i = 0; i < y.size(); ++i) {
            out << Number(r.time[i]) << "\t" << Number(y[i].real()) << "\n";
        }
        return;
    }
    mvect f;
    mvect v;
    ComputeResponse(filter, 0.0, filter.fs.GetValue() / 2.0, points, plotType, f, v);
    for (std::size_t i = 0; i < v.size(); ++i) {
        out << Number(f[i].real()) << "\t" << Number(v[i].real()) << "\n";
    }
}

} // namespace tarvo::cli
