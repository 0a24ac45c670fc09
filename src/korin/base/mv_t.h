#pragma once
// mv_T: a growable vector with an orientation flag (true: column, the default;
// false: row). No computation depends on the flag; copies and sub-vectors keep it.
// mvect, the complex vector, is the one instantiation the program uses.

#include "korin/base/mcplx.h"

#include <cstdint>
#include <initializer_list>
#include <span>
#include <vector>

namespace korin {

template <class T> class mv_T : public std::vector<T> {
public:
    using base_type = std::vector<T>;

    mv_T() = default;
    explicit mv_T(const T& v0) : base_type{v0} {}
    mv_T(const T& v0, const T& v1) : base_type{v0, v1} {}
    mv_T(std::initializer_list<T> values) : base_type(values) {}
    mv_T(const mv_T&) = default;
    mv_T(mv_T&&) noexcept = default;
    mv_T& operator=(const mv_T&) = default;
    mv_T& operator=(mv_T&&) noexcept = default;
    virtual ~mv_T() = default;

    // Rounds both parts of every element to a multiple of 2^-fracBits.
    virtual void Quantize(std::int32_t fracBits);
    // Rounds both parts of every element to the nearest single-precision value.
    virtual void RoundToFloat();

    // True: column vector; false: row vector.
    bool column = true;

    void Assign(const mv_T& u) { *this = u; }
    void Append(const mv_T& u);
    // this = u[first..last], both inclusive, with u's flag. Out-of-range bounds are
    // a contract violation; the vector is then left unchanged.
    void Sub(const mv_T& u, std::int32_t first, std::int32_t last);
    // this = u[i0], u[i1], ... for the indices up to the first negative entry
    // (or the end of the list). Indices are checked (std::out_of_range).
    void Select(const mv_T& u, std::span<const std::int32_t> indices);
    void Fill(std::size_t n, const T& value) { this->assign(n, value); }
    void AssignReal(std::span<const double> re);
    // re and im must have equal sizes; otherwise a contract violation, unchanged.
    void AssignReIm(std::span<const double> re, std::span<const double> im);
    void Scale(const T& c);
    // Element-wise product and quotient; unequal sizes leave the vector unchanged.
    void MulElems(const mv_T& u);
    void DivElems(const mv_T& u);
    // v[i] = v[i+1] - v[i]; one element fewer (an empty vector stays empty).
    void Diff();
    // Difference quotient Diff(v) / Diff(x); requires equal sizes.
    void Derivative(const mv_T& x);
    void Exp();
    void Abs();
    void Arg();
    void Real();
    void Imag();
    // Every imaginary part exactly 0 (true when empty).
    bool IsReal() const;
    // Clears the imaginary part of each element with |re|*tol > |im|.
    void DropSmallImag(double tol);
    // n values from start in equal steps (end - start)/(n - 1), accumulated.
    // A negative n is a contract violation and leaves the vector unchanged.
    void Linspace(std::int32_t n, const T& start, const T& end);
    // Index of the element nearest to point within radius, other than skip
    // (-1 skips nothing); the lower index wins ties; -1 when none.
    std::int32_t NearestWithin(const T& point, std::int32_t skip, double radius) const;
};

using mvect = mv_T<mcplx>;

// Display order of complex values: real values by value; otherwise by squared
// modulus, then by argument.
bool ComplexLess(const mcplx& x, const mcplx& y);

extern template class mv_T<mcplx>;

} // namespace korin
