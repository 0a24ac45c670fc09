#pragma once
// The design form's fields as command-line options.

#include "design/iir_spec.h"

#include <CLI/CLI.hpp>
#include <cstdint>
#include <string>

namespace tarvo::cli {

struct DesignOptions {
    IirDesignSpec spec;    // the form's fourteen values, initialised as in a new project
    double fsValue = 1.0;  // sampling frequency in its unit
    std::int32_t unit = 0; // 0 Hz, 1 kHz, 2 MHz, 3 GHz
    double minDb = -130.0;
    CLI::Option* center = nullptr;
    CLI::Option* width = nullptr;

    // The form's values after parsing: --center or --width select centre and width.
    IirDesignSpec Form() const;
};

// Adds --family, --response, --order, --fs, --unit, --edge1, --edge2, --center,
// --width, --ripple, --atten, --gain, --adjust-for-ripple, --data-type, --int-bits,
// --frac-bits, --biquads/--no-biquads and --min-db to a command.
void AddDesignOptions(CLI::App& command, DesignOptions& options);

} // namespace tarvo::cli
