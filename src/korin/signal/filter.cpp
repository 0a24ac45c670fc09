#include "korin/signal/filter.h"

#include "korin/base/kassert.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace korin {

namespace {

constexpr std::size_t kDefaultLength = 1024;

// n samples (0 means the default length) of a unit impulse or a unit step; false
// and no samples for a negative n.
bool TestSignal(std::int32_t n, bool step, mvect& x) {
    x.clear();
    if (!KORIN_ASSERT(n >= 0)) return false;
    const std::size_t count = n == 0 ? kDefaultLength : static_cast<std::size_t>(n);
    x.assign(count, step ? mcplx(1.0) : mcplx());
    x[0] = mcplx(1.0);
    return true;
}

// The output vector with its own orientation kept.
void Deliver(mvect&& result, mvect& y) {
    const bool column = y.column;
    y = std::move(result);
    y.column = column;
}

// Impulse or step response through the rows, times the section gain.
void ResponseSos(std::int32_t n, bool step, const msos& sos, mvect& y) {
    mvect x;
    if (!TestSignal(n, step, x)) {
        y.clear();
        return;
    }
    mvect z;
    SosFilter(sos, x, z, y);
    for (mcplx& v : y)
        v *= sos.gain;
}

} // namespace

void FilterState(const mvect& b, const mvect& a, mvect& state, const mvect& x, mvect& y) {
    // The output is collected apart and stored last, so x and y being one vector
    // still filters correctly after the report.
    KORIN_ASSERT(&x != &y);
    if (!KORIN_ASSERT(b.size())) {
        y.assign(x.size(), mcplx());
        return;
    }
    const mvect* num = &b;
    const mvect* den = &a;
    mvect padded;
    if (!KORIN_ASSERT(b.size() == a.size())) {
        padded = b.size() < a.size() ? b : a;
        padded.resize(std::max(b.size(), a.size()));
        (b.size() < a.size() ? num : den) = &padded;
    }
    const std::size_t n = num->size();
    if (state.empty() || !KORIN_ASSERT(state.size() == n - 1)) state.assign(n - 1, mcplx());

    const mcplx* bc = num->data();
    const mcplx* ac = den->data();
    mcplx* s = state.data();
    mvect out;
    out.reserve(x.size());
    for (const mcplx& xn : x) {
        if (n == 1) {
            // A constant: no delays to update.
            out.push_back(bc[0] * xn);
            continue;
        }
        const mcplx yn = bc[0] * xn + s[0];
        for (std::size_t k = 0; k + 2 < n; ++k)
            s[k] = bc[k + 1] * xn + s[k + 1] - ac[k + 1] * yn;
        s[n - 2] = bc[n - 1] * xn - ac[n - 1] * yn;
        out.push_back(yn);
    }
    Deliver(std::move(out), y);
}

void FilterZero(const mvect& b, const mvect& a, const mvect& x, mvect& y) {
    mvect state;
    FilterState(b, a, state, x, y);
}

void SosFilter(const msos& sos, const mvect& x, mvect& z, mvect& y) {
    const std::size_t z_size = 2 * sos.Rows();
    if (z.empty() || !KORIN_ASSERT(z.size() == z_size)) z.assign(z_size, mcplx());

    mvect signal(x);
    mvect next;
    for (std::size_t i = 0; i < sos.Rows(); ++i) {
        if (!KORIN_ASSERT(sos[i].size() == 6)) continue;
        const mvect& row = sos[i];
        const mvect b{row[0], row[1], row[2]};
        const mvect a{row[3], row[4], row[5]};
        mvect rowState{z[2 * i], z[2 * i + 1]};
        FilterState(b, a, rowState, signal, next);
        z[2 * i] = rowState[0];
        z[2 * i + 1] = rowState[1];
        std::swap(signal, next);
    }
    Deliver(std::move(signal), y);
}

void ImpulseBA(std::int32_t n, const mvect& b, const mvect& a, mvect& y) {
    mvect x;
    if (!TestSignal(n, false, x)) {
        y.clear();
        return;
    }
    FilterZero(b, a, x, y);
}

void StepBA(std::int32_t n, const mvect& b, const mvect& a, mvect& y) {
    mvect x;
    if (!TestSignal(n, true, x)) {
        y.clear();
        return;
    }
    FilterZero(b, a, x, y);
}

void ImpulseSos(std::int32_t n, const msos& sos, mvect& y) {
    ResponseSos(n, false, sos, y);
}

void StepSos(std::int32_t n, const msos& sos, mvect& y) {
    ResponseSos(n, true, sos, y);
}

} // namespace korin
