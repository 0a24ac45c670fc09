#pragma once
// SciPy reference designs from tests/fixtures/signal/designs.txt (written by
// tools/gen_signal_fixtures.py): zeros, poles and gain, SciPy's own sections and
// their frequency, impulse and step responses.

#include "korin/base/mmatrix.h"

#include <string>
#include <vector>

namespace tarvo::test {

struct DesignFixture {
    std::string name; // family, type, order and parameters, for messages
    std::string family;
    std::string type;
    int order = 0;
    korin::mvect z;
    korin::mvect p;
    double k = 0.0;
    korin::msos sos; // SciPy's sections, gain folded into the first row
    korin::mvect h;  // sosfreqz of sos on the grid
    std::vector<double> impulse;
    std::vector<double> step;
    double rounding = 0.0; // SciPy's largest rounding error in impulse and step
};

struct DesignFixtures {
    std::vector<double> grid; // radians per sample
    std::vector<DesignFixture> designs;
};

// Parsed once; a malformed file fails the running test and yields what was read.
const DesignFixtures& LoadDesignFixtures();

// s = j*w for every grid frequency.
korin::mvect GridPoints(const std::vector<double>& grid);

} // namespace tarvo::test
