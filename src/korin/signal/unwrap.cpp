#include "korin/signal/unwrap.h"

#include <numbers>

namespace korin {

void Unwrap(mvect& values) {
    constexpr double pi = std::numbers::pi;
    double correction = 0.0;
    double previous = values.empty() ? 0.0 : values[0].real();
    for (std::size_t i = 1; i < values.size(); ++i) {
        const double current = values[i].real();
        const double d = current - previous;
        if (d > pi) {
            correction -= 2.0 * pi;
        } else if (d < -pi) {
            correction += 2.0 * pi;
        }
        previous = current;
        values[i].real(current + correction);
    }
}

} // namespace korin
