#include "korin/base/mv_t.h"

#include "korin/base/kassert.h"
#include "korin/base/mround.h"

#include <cmath>

namespace korin {

namespace {

void QuantizeElement(mcplx& v, std::int32_t fracBits) {
    v = mcplx(QuantizeValue(v.real(), fracBits), QuantizeValue(v.imag(), fracBits));
}

void RoundElementToFloat(mcplx& v) {
    v = mcplx(RoundToFloatValue(v.real()), RoundToFloatValue(v.imag()));
}

} // namespace

template <class T> void mv_T<T>::Quantize(std::int32_t fracBits) {
    for (T& v : *this)
        QuantizeElement(v, fracBits);
}

template <class T> void mv_T<T>::RoundToFloat() {
    for (T& v : *this)
        RoundElementToFloat(v);
}

template <class T> void mv_T<T>::Append(const mv_T& u) {
    if (&u == this) {
        // Inserting a vector's own range would read from moved storage.
        const std::size_t n = this->size();
        this->reserve(2 * n);
        for (std::size_t i = 0; i < n; ++i)
            this->push_back((*this)[i]);
        return;
    }
    this->insert(this->end(), u.begin(), u.end());
}

template <class T> void mv_T<T>::Sub(const mv_T& u, std::int32_t first, std::int32_t last) {
    const auto n = static_cast<std::int64_t>(u.size());
    if (!KORIN_ASSERT(first >= 0 && first <= last && last < n)) return;
    mv_T result;
    result.assign(u.begin() + first, u.begin() + last + 1);
    result.column = u.column;
    *this = std::move(result);
}

template <class T> void mv_T<T>::Select(const mv_T& u, std::span<const std::int32_t> indices) {
    mv_T result;
    result.column = column;
    for (const std::int32_t i : indices) {
        if (i < 0) break;
        result.push_back(u.at(static_cast<std::size_t>(i)));
    }
    static_cast<base_type&>(*this) = std::move(static_cast<base_type&>(result));
}

template <class T> void mv_T<T>::AssignReal(std::span<const double> re) {
    this->clear();
    this->reserve(re.size());
    for (const double x : re)
        this->push_back(T(x, 0.0));
}

template <class T>
void mv_T<T>::AssignReIm(std::span<const double> re, std::span<const double> im) {
    if (!KORIN_ASSERT(re.size() == im.size())) return;
    this->clear();
    this->reserve(re.size());
    for (std::size_t i = 0; i < re.size(); ++i)
        this->push_back(T(re[i], im[i]));
}

template <class T> void mv_T<T>::Scale(const T& c) {
    for (T& v : *this)
        v *= c;
}

template <class T> void mv_T<T>::MulElems(const mv_T& u) {
    if (!KORIN_ASSERT(u.size() == this->size())) return;
    for (std::size_t i = 0; i < this->size(); ++i)
        (*this)[i] *= u[i];
}

template <class T> void mv_T<T>::DivElems(const mv_T& u) {
    if (!KORIN_ASSERT(u.size() == this->size())) return;
    for (std::size_t i = 0; i < this->size(); ++i)
        (*this)[i] /= u[i];
}

template <class T> void mv_T<T>::Diff() {
    if (this->empty()) return;
    for (std::size_t i = 0; i + 1 < this->size(); ++i)
        (*this)[i] = (*this)[i + 1] - (*this)[i];
    this->pop_back();
}

template <class T> void mv_T<T>::Derivative(const mv_T& x) {
    if (!KORIN_ASSERT(x.size() == this->size())) return;
    mv_T dx(x);
    dx.Diff();
    Diff();
    DivElems(dx);
}

template <class T> void mv_T<T>::Exp() {
    for (T& v : *this)
        v = korin::Exp(v);
}

template <class T> void mv_T<T>::Abs() {
    for (T& v : *this)
        v = T(korin::Abs(v), 0.0);
}

template <class T> void mv_T<T>::Arg() {
    for (T& v : *this)
        v = T(korin::Arg(v), 0.0);
}

template <class T> void mv_T<T>::Real() {
    for (T& v : *this)
        v.imag(0.0);
}

template <class T> void mv_T<T>::Imag() {
    for (T& v : *this)
        v.real(0.0);
}

template <class T> bool mv_T<T>::IsReal() const {
    for (const T& v : *this) {
        if (v.imag() != 0.0) return false;
    }
    return true;
}

template <class T> void mv_T<T>::DropSmallImag(double tol) {
    for (T& v : *this) {
        if (std::fabs(v.real()) * tol > std::fabs(v.imag())) v.imag(0.0);
    }
}

template <class T> void mv_T<T>::Linspace(std::int32_t n, const T& start, const T& end) {
    if (!KORIN_ASSERT(n >= 0)) return;
    this->clear();
    if (n == 0) return;
    this->reserve(static_cast<std::size_t>(n));
    const T step = n > 1 ? (end - start) / T(static_cast<double>(n - 1)) : T();
    T x = start;
    for (std::int32_t i = 0; i < n; ++i) {
        this->push_back(x);
        x += step;
    }
}

template <class T>
std::int32_t mv_T<T>::NearestWithin(const T& point, std::int32_t skip, double radius) const {
    std::int32_t best = -1;
    double bestDistance = 0.0;
    for (std::size_t i = 0; i < this->size(); ++i) {
        if (static_cast<std::int32_t>(i) == skip) continue;
        const double d = korin::Abs((*this)[i] - point);
        if (d <= radius && (best < 0 || d < bestDistance)) {
            best = static_cast<std::int32_t>(i);
            bestDistance = d;
        }
    }
    return best;
}

bool ComplexLess(const mcplx& x, const mcplx& y) {
    if (x.imag() == 0.0 && y.imag() == 0.0) return x.real() < y.real();
    const double nx = Norm(x);
    const double ny = Norm(y);
    if (nx != ny) return nx < ny;
    return korin::Arg(x) < korin::Arg(y);
}

template class mv_T<mcplx>;

} // namespace korin
