#pragma once
// The user's preferences kept between runs: the default layout of a new design
// window, whether plots draw their main titles, and the minimum dB of a new
// project. They live in the settings section "Options".

#include "fw/profile_store.h"

#include <cstdint>

namespace tarvo {

inline constexpr const char* kOptionsSection = "Options";

struct AppOptions {
    // Default pane kinds of the design window: two panes on the left under the
    // form, three on the right from top to bottom.
    std::int32_t m_vsLeft1 = 6;  // Poles and Zeros
    std::int32_t m_vsLeft2 = 0;  // Coefficients
    std::int32_t m_vsRight1 = 1; // Magnitude
    std::int32_t m_vsRight2 = 2; // Unwrapped Phase
    std::int32_t m_vsRight3 = 9; // Impulse and Step
    std::int32_t m_bMinimizeBottomRow = 0;
    std::int32_t m_bEnableMainPlotTitles = 1;
    // Minimum dB given to every new project.
    double m_dMinDb = -130.0;

    // Reads every value; a missing integer keeps its current value, a missing
    // minimum dB reads as -130, one that is not a number as 0.
    void LoadOptions(const fw::ProfileStore& store);
    // Writes all eight values, in the order of the members; the minimum dB as
    // text with three decimals ("-130.000").
    void SaveOptions(fw::ProfileStore& store) const;
};

} // namespace tarvo
