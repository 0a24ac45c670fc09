#include "cli/design_options.h"

#include "cli/help_text.h"

#include <map>

namespace tarvo::cli {

void AddDesignOptions(CLI::App& command, DesignOptions& o) {
    const std::map<std::string, std::int32_t> families{
        {"butterworth", kButterworth}, {"chebyshev", kChebyshev}, {"elliptic", kElliptic}};
    const std::map<std::string, std::int32_t> responses{{"lowpass", kLowpass},
                                                        {"highpass", kHighpass},
                                                        {"bandpass", kBandpass},
                                                        {"bandstop", kBandstop}};
    const std::map<std::string, std::int32_t> dataTypes{
        {"double", kDouble}, {"single", kSingle}, {"fixed", kFixedPoint}};
    const std::map<std::string, std::int32_t> units{{"Hz", 0}, {"kHz", 1}, {"MHz", 2}, {"GHz", 3}};

    command.add_option("--family", o.spec.family, "Filter type")
        ->transform(CLI::CheckedTransformer(families, CLI::ignore_case))
        ->default_str("butterworth");
    command.add_option("--response", o.spec.response, "Response")
        ->transform(CLI::CheckedTransformer(responses, CLI::ignore_case))
        ->default_str("lowpass");
    command.add_option("--order", o.spec.order, "Filter order (1 or more)")->capture_default_str();
    command.add_option("--fs", o.fsValue, "Sampling frequency, in --unit")->capture_default_str();
    command.add_option("--unit", o.unit, "Unit of the sampling frequency and of every frequency")
        ->transform(CLI::CheckedTransformer(units, CLI::ignore_case))
        ->default_str("Hz");
    auto* edge1 = command
                      .add_option("--edge1", o.spec.edge1,
                                  "Band edge 1: cutoff (lowpass, highpass) or lower edge")
                      ->capture_default_str();
    auto* edge2 = command.add_option("--edge2", o.spec.edge2, "Band edge 2: upper edge")
                      ->capture_default_str();
    o.center = command.add_option("--center", o.spec.edge1,
                                  "Band centre (bandpass, bandstop); implies centre and width");
    o.width = command.add_option("--width", o.spec.edge2,
                                 "Band width (bandpass, bandstop); implies centre and width");
    o.center->excludes(edge1)->excludes(edge2);
    o.width->excludes(edge1)->excludes(edge2);
    command.add_option("--ripple", o.spec.rippleDb, "Passband ripple, dB (Chebyshev, Elliptic)")
        ->capture_default_str();
    command.add_option("--atten", o.spec.attenDb, "Stopband attenuation, dB (Elliptic)")
        ->capture_default_str();
    command.add_option("--gain", o.spec.gainDb, "Passband gain, dB")->capture_default_str();
    command.add_flag(
        "--adjust-for-ripple", [&o](std::int64_t n) { o.spec.adjustForRipple = n > 0 ? 1 : 0; },
        SwitchHelp("Raise the gain by half the passband ripple (Chebyshev, Elliptic)",
                   o.spec.adjustForRipple != 0));
    command.add_option("--data-type", o.spec.dataType, "Coefficient data type")
        ->transform(CLI::CheckedTransformer(dataTypes, CLI::ignore_case))
        ->default_str("double");
    command.add_option("--int-bits", o.spec.intBits, "Fixed-point integer bits (shown only)")
        ->check(CLI::NonNegativeNumber)
        ->capture_default_str();
    command.add_option("--frac-bits", o.spec.fracBits, "Fixed-point fraction bits")
        ->check(CLI::Range(0, 1023))
        ->capture_default_str();
    command.add_flag(
        "--biquads,!--no-biquads", [&o](std::int64_t n) { o.spec.useBiquads = n > 0 ? 1 : 0; },
        SwitchHelp("Compute responses through the biquad sections, or through the direct form",
                   o.spec.useBiquads != 0));
    command.add_option("--min-db", o.minDb, "The project's minimum dB")->capture_default_str();
}

IirDesignSpec DesignOptions::Form() const {
    IirDesignSpec form = spec;
    if ((center != nullptr && center->count() > 0) || (width != nullptr && width->count() > 0)) {
        form.centerWidth = 1;
    }
    return form;
}

} // namespace tarvo::cli
