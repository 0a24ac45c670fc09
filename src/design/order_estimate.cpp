#include "design/order_estimate.h"

#include "design/design_action.h"
#include "design/ellf_math.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <optional>

namespace tarvo {

namespace {

constexpr double kPi = std::numbers::pi;
// 10 / ln 10: 10^(x/10) = e^(x / kDbScale).
constexpr double kDbScale = 10.0 / std::numbers::ln10;

bool IsBand(std::int32_t response) {
    return response == kBandpass || response == kBandstop;
}

// The bilinear transformation's frequency warping: the analog frequency that a
// digital frequency f (unit of fs) maps to, and back.
double Warp(double f, double fs) {
    return std::tan(kPi * f / fs);
}
double Unwarp(double w, double fs) {
    return fs * std::atan(w) / kPi;
}

bool InsideNyquist(double f, double fs) {
    return std::isfinite(f) && f > 0.0 && f < fs / 2.0;
}

std::optional<std::string> CheckRequest(const OrderRequest& r) {
    if (!(std::isfinite(r.fs) && r.fs > 0.0)) {
        return "The sampling frequency must be a finite number greater than zero.";
    }
    if (r.response < kLowpass || r.response > kBandstop) {
        return "The response must be Lowpass, Highpass, Bandpass or Bandstop.";
    }
    const bool band = IsBand(r.response);
    if (!InsideNyquist(r.pass1, r.fs) || !InsideNyquist(r.stop1, r.fs) ||
        (band && (!InsideNyquist(r.pass2, r.fs) || !InsideNyquist(r.stop2, r.fs)))) {
        return "All band edges must be greater than zero and less than Fs/2.";
    }
    switch (r.response) {
    case kLowpass:
        if (!(r.pass1 < r.stop1)) {
            return "The stopband edge of a lowpass filter must lie above its passband edge.";
        }
        break;
    case kHighpass:
        if (!(r.stop1 < r.pass1)) {
            return "The stopband edge of a highpass filter must lie below its passband edge.";
        }
        break;
    case kBandpass:
        if (!(r.stop1 < r.pass1 && r.pass1 < r.pass2 && r.pass2 < r.stop2)) {
            return "The passband of a bandpass filter must lie inside its stopband edges: "
                   "stop 1 < pass 1 < pass 2 < stop 2.";
        }
        break;
    default:
        if (!(r.pass1 < r.stop1 && r.stop1 < r.stop2 && r.stop2 < r.pass2)) {
            return "The stopband of a bandstop filter must lie inside its passband edges: "
                   "pass 1 < stop 1 < stop 2 < pass 2.";
        }
        break;
    }
    if (!(std::isfinite(r.rippleDb) && r.rippleDb > 0.0)) {
        return "The passband ripple must be a finite number greater than zero.";
    }
    if (!(std::isfinite(r.attenDb) && r.attenDb > 0.0)) {
        return "The stopband attenuation must be a finite number greater than zero.";
    }
    if (!(r.attenDb > r.rippleDb)) {
        return "The stopband attenuation must be greater than the passband ripple.";
    }
    return std::nullopt;
}

// The request's edges after the warping, and the prototype's selectivity: the
// lowest analog-prototype frequency (passband edge at 1) any stopband edge
// maps to. Bandstop passband edges are moved as the estimate moves them.
struct WarpedBands {
    double pass1 = 0.0; // warped
    double pass2 = 0.0;
    double edge1 = 0.0; // the same passband edges in the unit of fs
    double edge2 = 0.0;
    double selectivity = 0.0;
};

// Prototype frequency of a band transformation at w for passband edges p1 < p2:
// |w^2 - p1 p2| / (w (p2 - p1)) for a bandpass, the reciprocal for a bandstop.
double BandFrequency(double w, double p1, double p2) {
    return std::fabs(w * w - p1 * p2) / (w * (p2 - p1));
}

WarpedBands WarpBands(const OrderRequest& r) {
    WarpedBands b;
    b.pass1 = Warp(r.pass1, r.fs);
    b.edge1 = r.pass1;
    const double s1 = Warp(r.stop1, r.fs);
    if (r.response == kLowpass) {
        b.selectivity = s1 / b.pass1;
        return b;
    }
    if (r.response == kHighpass) {
        b.selectivity = b.pass1 / s1;
        return b;
    }
    b.pass2 = Warp(r.pass2, r.fs);
    b.edge2 = r.pass2;
    const double s2 = Warp(r.stop2, r.fs);
    if (r.response == kBandpass) {
        b.selectivity =
            std::min(BandFrequency(s1, b.pass1, b.pass2), BandFrequency(s2, b.pass1, b.pass2));
        return b;
    }
    // A bandstop treats both stopband edges alike when its centre (the geometric
    // mean of its passband edges) is theirs. Moving one passband edge inwards
    // to get there only widens the passband kept, and gives the least order.
    const double centre = s1 * s2;
    if (centre > b.pass1 * b.pass2) {
        b.pass1 = centre / b.pass2;
        b.edge1 = Unwarp(b.pass1, r.fs);
    } else if (centre < b.pass1 * b.pass2) {
        b.pass2 = centre / b.pass1;
        b.edge2 = Unwarp(b.pass2, r.fs);
    }
    b.selectivity = std::min(1.0 / BandFrequency(s1, b.pass1, b.pass2),
                             1.0 / BandFrequency(s2, b.pass1, b.pass2));
    return b;
}

// (10^(A/10) - 1) / (10^(R/10) - 1): the squared ratio of the stopband to the
// passband deviation of the prototype's magnitude.
double DeviationRatio(double rippleDb, double attenDb) {
    return std::expm1(attenDb / kDbScale) / std::expm1(rippleDb / kDbScale);
}

// Orders (not rounded) that meet a deviation ratio d at selectivity s.
double ButterworthOrder(double s, double d) {
    return std::log(d) / (2.0 * std::log(s));
}
double ChebyshevOrder(double s, double d) {
    return std::acosh(std::sqrt(d)) / std::acosh(s);
}
// From the degree equation n = K(k^2) K'(k1^2) / (K'(k^2) K(k1^2)) with k = 1/s
// and k1^2 = 1/d; ellpk(x) is K(1 - x), so K'(m) = ellpk(m).
double EllipticOrder(double s, double d) {
    if (!(d > 1.0)) return 0.0;
    const double m = 1.0 / (s * s);
    const double m1 = 1.0 / d;
    if (!(m1 > 0.0)) return std::numeric_limits<double>::infinity();
    const double complement = (s - 1.0) * (s + 1.0) / (s * s); // 1 - m, without cancellation
    const double complement1 = (d - 1.0) / d;
    return ellpk(complement) * ellpk(m1) / (ellpk(m) * ellpk(complement1));
}

std::string OrderError(std::int32_t family, double needed) {
    const std::string name(FamilyText(family));
    const std::string limit = std::to_string(kMaxOrder);
    if (needed <= 1e15) {
        return "The " + name + " filter needs order " +
               std::to_string(static_cast<long long>(needed)) +
               ", more than the maximum order of " + limit + ".";
    }
    return "The " + name + " filter needs an order beyond any bound; the maximum order is " +
           limit + ".";
}

// The edges of a band transformation with centre^2 = product and width w (warped).
std::array<double, 2> EdgesFromProduct(double product, double width) {
    const double root = std::sqrt(width * width + 4.0 * product);
    return {2.0 * product / (width + root), (width + root) / 2.0};
}

// The form edges of a usable family (unit of fs).
void PlaceEdges(const OrderRequest& r, const WarpedBands& b, FamilyOrder& f) {
    const bool band = IsBand(r.response);
    if (f.family != kButterworth) {
        // The ripple edges on the (bandstop: moved) passband edges.
        f.edge1 = b.edge1;
        f.edge2 = band ? b.edge2 : 0.0;
        return;
    }
    // The prototype frequency at which the loss is the ripple: there the
    // passband edges go, the -3 dB edges at 1.
    const double rho = std::exp(std::log(std::expm1(r.rippleDb / kDbScale)) /
                                (2.0 * static_cast<double>(f.order)));
    switch (r.response) {
    case kLowpass:
        f.edge1 = Unwarp(b.pass1 / rho, r.fs);
        break;
    case kHighpass:
        f.edge1 = Unwarp(b.pass1 * rho, r.fs);
        break;
    case kBandpass: {
        const auto e = EdgesFromProduct(b.pass1 * b.pass2, (b.pass2 - b.pass1) / rho);
        f.edge1 = Unwarp(e[0], r.fs);
        f.edge2 = Unwarp(e[1], r.fs);
        break;
    }
    default: {
        const auto e = EdgesFromProduct(b.pass1 * b.pass2, (b.pass2 - b.pass1) * rho);
        f.edge1 = Unwarp(e[0], r.fs);
        f.edge2 = Unwarp(e[1], r.fs);
        break;
    }
    }
}

} // namespace

OrderEstimate EstimateOrder(const OrderRequest& request) {
    OrderEstimate estimate;
    if (auto refused = CheckRequest(request)) {
        estimate.error = std::move(*refused);
        return estimate;
    }
    const WarpedBands bands = WarpBands(request);
    const double s = bands.selectivity;
    const double d = DeviationRatio(request.rippleDb, request.attenDb);
    for (std::int32_t family = kButterworth; family <= kElliptic; ++family) {
        double needed = std::numeric_limits<double>::infinity();
        // Edges so close that the warping cannot tell them apart need any order.
        if (s > 1.0) {
            needed = family == kButterworth ? ButterworthOrder(s, d)
                     : family == kChebyshev ? ChebyshevOrder(s, d)
                                            : EllipticOrder(s, d);
        }
        if (std::isnan(needed)) needed = std::numeric_limits<double>::infinity();
        needed = std::max(1.0, std::ceil(needed));
        FamilyOrder& f = estimate.families[static_cast<std::size_t>(family)];
        f.family = family;
        if (!(needed <= static_cast<double>(kMaxOrder))) {
            f.order = needed < static_cast<double>(std::numeric_limits<std::int32_t>::max())
                          ? static_cast<std::int32_t>(needed)
                          : std::numeric_limits<std::int32_t>::max();
            f.error = OrderError(family, needed);
            continue;
        }
        f.order = static_cast<std::int32_t>(needed);
        PlaceEdges(request, bands, f);
    }
    return estimate;
}

IirDesignSpec ApplyEstimate(IirDesignSpec form, const OrderRequest& request,
                            const FamilyOrder& chosen) {
    form.family = chosen.family;
    form.response = request.response;
    form.order = chosen.order;
    form.rippleDb = request.rippleDb;
    form.attenDb = request.attenDb;
    if (!IsBand(request.response)) {
        form.edge1 = chosen.edge1;
    } else if (form.centerWidth != 0) {
        const BandEdges cw = CenterWidthFromEdges(chosen.edge1, chosen.edge2);
        form.edge1 = cw.lo;
        form.edge2 = cw.hi;
    } else {
        form.edge1 = chosen.edge1;
        form.edge2 = chosen.edge2;
    }
    return form;
}

} // namespace tarvo
