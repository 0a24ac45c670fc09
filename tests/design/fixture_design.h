#pragma once
// The designs of the reference fixtures: the generators measured the sections
// these forms designed, so a design that no longer gives them needs new fixtures.

#include "design/design_action.h"
#include "design/iir_filter.h"

#include <cstddef>
#include <gtest/gtest.h>
#include <istream>
#include <vector>

namespace tarvo::test {

inline constexpr double kFixtureCoefficientTol = 1e-13;

// count rows of six coefficients, as the generators write them.
inline std::vector<std::vector<double>> ReadSectionRows(std::istream& in, std::size_t count) {
    std::vector<std::vector<double>> rows(count, std::vector<double>(6));
    for (auto& row : rows)
        for (double& c : row)
            in >> c;
    return rows;
}

// Designs form at fsValue (in unit) into filter and checks that its sections
// are the fixture's rows. Call through ASSERT_NO_FATAL_FAILURE.
inline void DesignAsFixture(const IirDesignSpec& form, double fsValue, int unit,
                            const std::vector<std::vector<double>>& rows, CIirFilter& filter) {
    filter.fs = CFs(fsValue);
    filter.fs.SetUnit(unit);
    ASSERT_TRUE(RunDesign(filter, form, -130.0).Designed());
    ASSERT_EQ(filter.sos.Rows(), rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t k = 0; k < 6; ++k)
            ASSERT_NEAR(filter.sos[r][k].real(), rows[r][k], kFixtureCoefficientTol) << r;
    }
}

} // namespace tarvo::test
