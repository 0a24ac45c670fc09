#include "design/estimate_form.h"

#include "fw/field_exchange.h"
#include "korin/io/mnumfmt.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tarvo {

namespace {

bool IsBand(std::int32_t response) {
    return response == kBandpass || response == kBandstop;
}

// Six significant digits: enough to read, the form gets the full values.
std::string Short(double x) {
    korin::mnumformat format;
    format.precision = 6;
    format.conversion = 'g';
    return korin::FormatNumber(x, format);
}

} // namespace

OrderRequest DefaultOrderRequest(const IirDesignSpec& spec, double fs) {
    OrderRequest r;
    r.response = spec.response;
    r.fs = fs;
    r.rippleDb = spec.rippleDb;
    r.attenDb = spec.attenDb;
    BandEdges band{spec.edge1, spec.edge2};
    if (spec.centerWidth != 0 && IsBand(spec.response)) {
        band = EdgesFromCenterWidth(spec.edge1, spec.edge2);
    }
    const double lo = std::min(band.lo, band.hi);
    const double hi = std::max(band.lo, band.hi);
    const double nyquist = fs / 2.0;
    switch (spec.response) {
    case kHighpass:
        r.pass1 = spec.edge1;
        r.stop1 = spec.edge1 * 0.75;
        break;
    case kBandpass: {
        const double gap = (hi - lo) / 4.0;
        r.pass1 = lo;
        r.pass2 = hi;
        r.stop1 = std::max(lo - gap, lo / 2.0);
        r.stop2 = std::min(hi + gap, (hi + nyquist) / 2.0);
        break;
    }
    case kBandstop: {
        const double gap = (hi - lo) / 4.0;
        r.pass1 = lo;
        r.pass2 = hi;
        r.stop1 = lo + gap;
        r.stop2 = hi - gap;
        break;
    }
    default:
        r.pass1 = spec.edge1;
        r.stop1 = std::min(spec.edge1 * 1.25, (spec.edge1 + nyquist) / 2.0);
        break;
    }
    return r;
}

std::string_view EstimateFieldLabel(std::int32_t field) {
    static constexpr std::array<std::string_view, kEstimateFieldCount> kLabels{
        "Passband edge 1", "Passband edge 2", "Stopband edge 1",
        "Stopband edge 2", "Passband ripple", "Stopband attenuation"};
    return field >= 0 && field < kEstimateFieldCount ? kLabels[static_cast<std::size_t>(field)]
                                                     : std::string_view{};
}

bool EstimateFieldEnabled(std::int32_t field, std::int32_t response) {
    if (field == kEstimatePass2 || field == kEstimateStop2) return IsBand(response);
    return field >= 0 && field < kEstimateFieldCount;
}

std::array<std::string, kEstimateFieldCount> EstimateFieldTexts(const OrderRequest& request) {
    return {fw::FormatShortest(request.pass1),    fw::FormatShortest(request.pass2),
            fw::FormatShortest(request.stop1),    fw::FormatShortest(request.stop2),
            fw::FormatShortest(request.rippleDb), fw::FormatShortest(request.attenDb)};
}

EstimateInput ReadEstimateFields(std::int32_t response, double fs,
                                 const std::array<std::string, kEstimateFieldCount>& texts) {
    std::array<double, kEstimateFieldCount> values{};
    for (std::int32_t field = 0; field < kEstimateFieldCount; ++field) {
        if (!EstimateFieldEnabled(field, response)) continue;
        const std::optional<double> value = fw::ParseDouble(texts[static_cast<std::size_t>(field)]);
        if (!value) {
            return {std::nullopt,
                    std::string(EstimateFieldLabel(field)) + ": " + fw::kEnterNumberMessage};
        }
        values[static_cast<std::size_t>(field)] = *value;
    }
    OrderRequest r;
    r.response = response;
    r.fs = fs;
    r.pass1 = values[kEstimatePass1];
    r.pass2 = values[kEstimatePass2];
    r.stop1 = values[kEstimateStop1];
    r.stop2 = values[kEstimateStop2];
    r.rippleDb = values[kEstimateRipple];
    r.attenDb = values[kEstimateAtten];
    return {r, {}};
}

std::string EstimateOrderText(const FamilyOrder& family) {
    return family.Usable() ? std::to_string(family.order) : "-";
}

std::string EstimateEdgesText(const FamilyOrder& family, std::int32_t response,
                              const std::string& unit) {
    if (!family.Usable()) return family.error;
    if (!IsBand(response)) return Short(family.edge1) + " " + unit;
    return Short(family.edge1) + " to " + Short(family.edge2) + " " + unit;
}

EstimatedDesign MakeEstimatedDesign(const IirDesignSpec& form, const OrderRequest& request) {
    EstimatedDesign e;
    e.spec = form;
    e.bands.known = true;
    e.bands.stop1 = request.stop1;
    e.bands.stop2 = IsBand(request.response) ? request.stop2 : 0.0;
    return e;
}

ReportBands ReportBandsFor(const IirDesignSpec& designed,
                           const std::optional<EstimatedDesign>& estimated) {
    if (!estimated) return {};
    const IirDesignSpec& e = estimated->spec;
    const bool same = designed.family == e.family && designed.response == e.response &&
                      designed.order == e.order && designed.edge1 == e.edge1 &&
                      designed.edge2 == e.edge2 && designed.centerWidth == e.centerWidth;
    return same ? estimated->bands : ReportBands{};
}

} // namespace tarvo
