#include "design/iir_filter.h"

#include "design/ellf.h"
#include "korin/base/kassert.h"
#include "korin/poly/mpoly.h"
#include "korin/signal/filter.h"
#include "korin/signal/freqz.h"
#include "korin/signal/zp2sos.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <ostream>
#include <utility>

namespace tarvo {

using korin::mcplx;
using korin::mvect;

namespace {

// s = j*2*pi*f, so that e^s lies on the unit circle at f cycles per sample.
mcplx UnitCirclePoint(double f) {
    return {0.0, 2.0 * std::numbers::pi * f};
}

// A reference magnitude that is not a finite number is left unset (0): edits
// then keep the gain as it is rather than scale by infinity.
double FiniteOrUnset(double magnitude) {
    return std::isfinite(magnitude) ? magnitude : 0.0;
}

} // namespace

CIirFilter::CIirFilter() = default;

double ReferenceFrequency(std::int32_t response, double edge1n, double edge2n) {
    switch (response) {
    case kHighpass:
        return 0.5;
    case kBandpass:
        return (edge1n + edge2n) / 4.0;
    case kBandstop:
        // The passband end farther from the stop band.
        return (edge1n + edge2n) / 4.0 < 0.25 ? 0.5 : 0.0;
    default:
        return 0.0;
    }
}

bool CIirFilter::Design(const IirDesignRequest& r) {
    return RunEngine(r, true);
}

bool CIirFilter::DesignWithGain(const IirDesignRequest& r, double linearGain) {
    if (!RunEngine(r, false)) return false;
    // b is still empty: the gain goes to k and the sections.
    ScaleGain(linearGain);
    // The rebuild from the roots, except that the rows are already those of z and
    // p, rounded to the data type (which ApplyDataType repeats without change).
    sos.gain = k;
    RebuildPolynomials();
    ApplyDataType();
    const auto finite = [](const mcplx& c) {
        return std::isfinite(c.real()) && std::isfinite(c.imag());
    };
    if (!std::all_of(b.begin(), b.end(), finite) || !std::all_of(a.begin(), a.end(), finite)) {
        Clear();
        k = 0.0;
        return false;
    }
    // Edits keep the gain the user asked for, as they do after loading.
    normMag = FiniteOrUnset(SectionMagnitudeAt(normFreq));
    return true;
}

bool CIirFilter::RunEngine(const IirDesignRequest& r, bool withPolynomials) {
    // Family 0..2 is engine kind 1..3.
    std::int32_t kind = ellf::kButterworth;
    if (KORIN_ASSERT(r.family >= kButterworth && r.family <= kElliptic)) kind = r.family + 1;
    std::int32_t shape = ellf::kLowpass;
    double f1 = 0.0;
    double f2 = r.edge1n;
    if (KORIN_ASSERT(r.response >= kLowpass && r.response <= kBandstop)) {
        switch (r.response) {
        case kHighpass:
            shape = ellf::kHighpass;
            break;
        case kBandpass:
            shape = ellf::kBandpass;
            f1 = r.edge1n;
            f2 = r.edge2n;
            break;
        case kBandstop:
            shape = ellf::kBandstop;
            f1 = r.edge1n;
            f2 = r.edge2n;
            break;
        default:
            break;
        }
    }
    const std::int32_t response = shape == ellf::kLowpass ? kLowpass : r.response;

    ellf engine;
    engine.SetExpandPolynomials(withPolynomials);
    const bool ok = engine.Run(shape, kind, r.order, 2.0, f1, f2, r.rippleDb, r.stopband);
    ClearPick();
    b.clear();
    a.clear();
    z.clear();
    p.clear();
    sos.Clear();
    if (ok) {
        b.AssignReal(engine.Num());
        a.AssignReal(engine.Den());
        const int m = engine.ZOrder();
        p.reserve(static_cast<std::size_t>(m));
        z.reserve(static_cast<std::size_t>(m));
        for (int i = 0; i < m; ++i)
            p.push_back(engine.Pole(i));
        for (int i = 0; i < m; ++i)
            z.push_back(engine.Zero(i));
    }
    k = ok ? engine.Gain() : 0.0;

    normFreq = ReferenceFrequency(response, r.edge1n, r.edge2n);

    BuildSections();
    ApplyDataType();
    // Measured through the sections, whatever the previous "Use biquads" choice.
    normMag = FiniteOrUnset(SectionMagnitudeAt(normFreq));
    return ok;
}

void CIirFilter::BuildSections() {
    sos.gain = k;
    sos.Clear();
    if (!z.empty() && z.size() == p.size()) korin::ZpToSos(sos, z, p);
}

void CIirFilter::RebuildPolynomials() {
    b.clear();
    a.clear();
    korin::Poly(z, b);
    b.Scale(mcplx(k));
    korin::Poly(p, a);
}

void CIirFilter::RebuildFromRoots() {
    BuildSections();
    RebuildPolynomials();
    ApplyDataType();
}

void CIirFilter::ApplyDataType() {
    qz.clear();
    qp.clear();
    if (spec.dataType == kSingle) {
        a.RoundToFloat();
        b.RoundToFloat();
        sos.RoundToFloat();
    } else if (spec.dataType == kFixedPoint) {
        a.Quantize(spec.fracBits);
        b.Quantize(spec.fracBits);
        sos.Quantize(spec.fracBits);
    } else {
        return;
    }
    ComputeQuantizedRoots();
}

void CIirFilter::ComputeQuantizedRoots() {
    // Each row holds a numerator and a denominator quadratic; their roots are
    // where the rounded coefficients put the zeros and poles.
    const auto appendRoots = [](const mvect& row, std::size_t first, mvect& out) {
        const mcplx lead = row[first];
        if (lead == mcplx()) return false;
        const double scale = 1.0 / lead.real();
        mvect monic{mcplx(1.0), row[first + 1] * scale, row[first + 2] * scale};
        mvect roots;
        korin::Roots(monic, roots);
        out.Append(roots);
        return true;
    };
    for (std::size_t i = 0; i < sos.Rows(); ++i) {
        const mvect& row = sos[i];
        if (row.size() < 6 || !appendRoots(row, 0, qz) || !appendRoots(row, 3, qp)) {
            qz.clear();
            qp.clear();
            return;
        }
    }
}

void CIirFilter::ScaleGain(double x) {
    b.Scale(mcplx(x));
    k *= x;
    sos.gain *= x;
}

double CIirFilter::MagnitudeAt(double f) const {
    if (UsesSections()) return SectionMagnitudeAt(f);
    mvect h;
    korin::FreqzBA(b, a, mvect(UnitCirclePoint(f)), h);
    return korin::Abs(h.empty() ? mcplx() : h[0]) + 1e-20;
}

double CIirFilter::SectionMagnitudeAt(double f) const {
    if (sos.Empty()) return 1e-20;
    const mcplx z = korin::Exp(UnitCirclePoint(f));
    return korin::Abs(korin::SosResponseAt(sos, z) * sos.gain) + 1e-20;
}

bool CIirFilter::Renormalize() {
    // A pole on the unit circle at the reference frequency makes the magnitude
    // there infinite, a zero there makes it vanish: scaling by either would
    // leave a gain of 0, NaN or 1e19, so the gain stays as it is.
    const double now = MagnitudeAt(normFreq);
    if (!(normMag > 0.0) || !std::isfinite(normMag) || !std::isfinite(now) ||
        !(now >= normMag * 1e-12)) {
        return false;
    }
    ScaleGain(normMag / now);
    return true;
}

void CIirFilter::MeasureReference() {
    BandEdges edges{spec.edge1, spec.edge2};
    if (spec.centerWidth != 0 && (spec.response == kBandpass || spec.response == kBandstop)) {
        edges = EdgesFromCenterWidth(spec.edge1, spec.edge2);
    }
    const double fsValue = fs.GetValue();
    normFreq =
        ReferenceFrequency(spec.response, 2.0 * edges.lo / fsValue, 2.0 * edges.hi / fsValue);
    if (!std::isfinite(normFreq)) normFreq = 0.0;
    normMag = FiniteOrUnset(MagnitudeAt(normFreq));
}

void CIirFilter::ClearPick() {
    pickIndex_ = -1;
    partnerIndex_ = -1;
}

bool CIirFilter::FindNearest(const mcplx& point, double radius) {
    ClearPick();
    const auto search = [&](const mvect& roots) {
        const std::int32_t i = roots.NearestWithin(point, -1, radius);
        if (i < 0) return false;
        pickIndex_ = i;
        partnerIndex_ = roots.NearestWithin(korin::Conj(point), i, radius);
        return true;
    };
    if (search(p)) {
        pickIsPole = 1;
    } else if (search(z)) {
        pickIsPole = 0;
    }
    return pickIndex_ >= 0;
}

const mcplx* CIirFilter::Pick() const {
    const mvect& roots = pickIsPole != 0 ? p : z;
    if (pickIndex_ < 0 || static_cast<std::size_t>(pickIndex_) >= roots.size()) return nullptr;
    return &roots[static_cast<std::size_t>(pickIndex_)];
}

const mcplx* CIirFilter::Partner() const {
    const mvect& roots = pickIsPole != 0 ? p : z;
    if (Pick() == nullptr || partnerIndex_ < 0 ||
        static_cast<std::size_t>(partnerIndex_) >= roots.size()) {
        return nullptr;
    }
    return &roots[static_cast<std::size_t>(partnerIndex_)];
}

mcplx* CIirFilter::Pick() {
    return const_cast<mcplx*>(std::as_const(*this).Pick());
}

mcplx* CIirFilter::Partner() {
    return const_cast<mcplx*>(std::as_const(*this).Partner());
}

mvect CIirFilter::ResponseAt(const mvect& s) const {
    mvect h;
    if (UsesSections()) {
        korin::FreqzSos(sos, s, h);
        h.Scale(mcplx(sos.gain));
    } else {
        korin::FreqzBA(b, a, s, h);
    }
    return h;
}

mvect CIirFilter::ImpulseResponse(std::int32_t n) const {
    mvect y;
    if (UsesSections()) {
        korin::ImpulseSos(n, sos, y);
    } else {
        korin::ImpulseBA(n, b, a, y);
    }
    return y;
}

mvect CIirFilter::StepResponse(std::int32_t n) const {
    mvect y;
    if (UsesSections()) {
        korin::StepSos(n, sos, y);
    } else {
        korin::StepBA(n, b, a, y);
    }
    return y;
}

mvect CIirFilter::Filter(const mvect& x) const {
    mvect y;
    if (UsesSections()) {
        mvect state;
        korin::SosFilter(sos, x, state, y);
        y.Scale(mcplx(k));
    } else {
        korin::FilterZero(b, a, x, y);
    }
    return y;
}

bool CIirFilter::IsEmpty() const {
    return b.empty() && a.empty() && z.empty() && p.empty() && sos.Empty();
}

void CIirFilter::Clear() {
    ClearPick();
    b.clear();
    a.clear();
    z.clear();
    p.clear();
    sos.Clear();
}

void CIirFilter::WriteSummary(const IirDesignSpec& spec, std::ostream& out,
                              const std::string& prefix, const std::string& unitName,
                              double fsValue) {
    const std::string P = prefix.empty() ? std::string() : prefix + " ";
    out << P << "Fs = " << fsValue << " " << unitName << "\n";
    out << P << "Order = " << spec.order << "\n";
    out << P << "Gain = " << spec.gainDb << " dB"
        << "\n";
    out << P << "Filter Type = " << FamilyText(spec.family) << "\n";
    out << P << "Response = " << ResponseText(spec.response) << "\n";
    out << P << "Data Type =" << DataTypeText(spec.dataType) << "\n";
    BandEdges edges{spec.edge1, spec.edge2};
    if (spec.centerWidth != 0) edges = EdgesFromCenterWidth(spec.edge1, spec.edge2);
    const double lower = edges.lo;
    const double upper = edges.hi;
    switch (spec.response) {
    case kBandpass:
        out << P << "Passband lower frequency = " << lower << " " << unitName << "\n";
        out << P << "Passband upper frequency = " << upper << " " << unitName << "\n";
        break;
    case kBandstop:
        out << P << "Stopband lower frequency = " << lower << " " << unitName << "\n";
        out << P << "Stopband upper frequency = " << upper << " " << unitName << "\n";
        break;
    default:
        out << P << "Cutoff frequency = " << spec.edge1 << " " << unitName << "\n";
        break;
    }
    if (spec.family == kChebyshev || spec.family == kElliptic) {
        out << P << "Passband ripple = " << spec.rippleDb << " dB\n";
    }
    if (spec.family == kElliptic) out << P << "Stopband ripple = " << spec.attenDb << " dB\n";
    out << "\n";
}

} // namespace tarvo
