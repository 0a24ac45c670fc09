#include "design/design_action.h"

#include "design/iir_filter.h"

#include <algorithm>
#include <cmath>

namespace tarvo {

namespace {

DesignOutcome Refuse(std::string message) {
    return {DesignOutcome::Status::kRefused, std::move(message), {}};
}

double MaxRadius(const korin::mvect& roots) {
    double radius = 0.0;
    for (std::size_t i = 0; i < roots.size(); ++i)
        radius = std::max(radius, korin::Abs(roots[i]));
    return radius;
}

} // namespace

double LinearGain(const IirDesignSpec& spec) {
    double g = spec.gainDb;
    if (spec.adjustForRipple != 0 && spec.family != kButterworth) g += spec.rippleDb / 2.0;
    return g >= -300.0 ? std::pow(10.0, g / 20.0) : 0.0;
}

DesignOutcome RunDesign(CIirFilter& filter, const IirDesignSpec& form, double minDb) {
    if (form.order < 1) return Refuse("Order must be greater than zero.");
    if (form.order > kMaxOrder) {
        return Refuse("Order must not be greater than " + std::to_string(kMaxOrder) + ".");
    }
    if (!(minDb < form.gainDb)) {
        return Refuse("Gain must be greater than the project's minimum dB value.");
    }
    const double fsValue = filter.fs.GetValue();
    const double half = fsValue / 2.0;
    if (!(form.edge1 > 0.0) || !(form.edge2 > 0.0) || !(form.rippleDb > 0.0) ||
        !(form.attenDb > 0.0)) {
        return Refuse("All parameters must be greater than zero.");
    }
    if (!(form.edge1 < half)) {
        return Refuse(
            "The first band edge frequency must be less than half the sampling frequency.");
    }
    double lo = form.edge1;
    double hi = fsValue * 0.25;
    const bool band = form.response == kBandpass || form.response == kBandstop;
    if (band && form.centerWidth == 0) {
        hi = form.edge2;
    } else if (band) {
        const double center = form.edge1;
        const double width = form.edge2;
        if (!(width < half)) {
            return Refuse("The frequency width must be greater\nthan zero and less than Fs/2.");
        }
        const BandEdges edges = EdgesFromCenterWidth(center, width);
        lo = edges.lo;
        if (!(lo > 0.0)) {
            return Refuse("The center frequency minus half the width must\nbe greater than zero "
                          "and less than Fs/2.");
        }
        hi = edges.hi;
        if (!(hi < half)) {
            return Refuse("The center frequency plus half the\nwidth must be less than Fs/2.");
        }
    }
    if (!(lo > 0.0 && lo < half) || !(hi > 0.0 && hi < half)) {
        return Refuse("All frequencies must be greater than zero and less than Fs/2.");
    }
    // A band of no width has nothing to pass or stop; the engine would only fail.
    if (band && lo == hi) return Refuse("The two band edges must not be equal.");

    // Design on a copy: a failed design leaves the project's filter as it was.
    CIirFilter work = filter;
    work.spec = form;
    IirDesignRequest request;
    request.family = form.family;
    request.response = form.response;
    request.order = form.order;
    request.edge1n = lo * 2.0 / fsValue;
    request.edge2n = hi * 2.0 / fsValue;
    request.rippleDb = form.rippleDb;
    request.stopband = -form.attenDb;
    // Design, the form's gain, and the rebuild from the roots.
    if (!work.DesignWithGain(request, LinearGain(form))) {
        return {DesignOutcome::Status::kFailed,
                "The filter cannot be designed with these parameters.\nTry a lower order or a "
                "wider band.",
                {}};
    }
    work.ClearPick();
    work.useSos = form.useBiquads == 1;
    filter = std::move(work);
    DesignOutcome outcome;
    if (filter.spec.dataType != kDouble && MaxRadius(filter.qp) >= 1.0) {
        outcome.warning = kUnstableQuantizedWarning;
    }
    return outcome;
}

} // namespace tarvo
