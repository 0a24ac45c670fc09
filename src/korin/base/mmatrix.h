#pragma once
// mmatrix: a matrix of owned complex row vectors; msos: second-order sections,
// rows of b0 b1 b2 a0 a1 a2 with a common section gain.

#include "korin/base/mv_t.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace korin {

class mmatrix {
public:
    mmatrix() = default;
    mmatrix(const mmatrix& other);
    mmatrix(mmatrix&&) noexcept = default;
    mmatrix& operator=(const mmatrix& other);
    mmatrix& operator=(mmatrix&&) noexcept = default;
    virtual ~mmatrix();

    // Applies mvect::Quantize to every row, in order.
    virtual void Quantize(std::int32_t fracBits);
    // Applies mvect::RoundToFloat to every row, in order.
    virtual void RoundToFloat();

    std::size_t Rows() const { return rows_.size(); }
    bool Empty() const { return rows_.empty(); }
    // Checked access (std::out_of_range past the last row).
    mvect& operator[](std::size_t i) { return *rows_.at(i); }
    const mvect& operator[](std::size_t i) const { return *rows_.at(i); }
    // Appends a new empty row (column flag set) and returns it.
    mvect& AddRow();
    // Deletes every row, from the last to the first.
    void Clear();
    // True when every row is real.
    bool IsReal() const;

private:
    std::vector<std::unique_ptr<mvect>> rows_;
};

// Quantize and RoundToFloat round the six coefficients of every row, which is
// rounding each row's numerator and denominator quadratic on its own; the
// section gain is never rounded.
class msos : public mmatrix {
public:
    double gain = 1.0;
};

} // namespace korin
