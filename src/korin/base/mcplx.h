#pragma once
// The complex double of the numeric library: real part then imaginary part.
// Division scales by the larger component of the divisor and gives NaN parts for
// a zero or non-finite divisor; the modulus neither overflows nor underflows.

#include <cmath>
#include <complex>

namespace korin {

using mreal = double;

class mcplx {
public:
    constexpr mcplx() = default;
    // NOLINTNEXTLINE(google-explicit-constructor): a real is a complex with zero imaginary part
    constexpr mcplx(double re, double im = 0.0) : re_(re), im_(im) {}
    // NOLINTNEXTLINE(google-explicit-constructor)
    constexpr mcplx(const std::complex<double>& c) : re_(c.real()), im_(c.imag()) {}

    constexpr double real() const { return re_; }
    constexpr double imag() const { return im_; }
    constexpr void real(double re) { re_ = re; }
    constexpr void imag(double im) { im_ = im; }
    std::complex<double> std() const { return {re_, im_}; }

    constexpr mcplx& operator+=(const mcplx& o) {
        re_ += o.re_;
        im_ += o.im_;
        return *this;
    }
    constexpr mcplx& operator-=(const mcplx& o) {
        re_ -= o.re_;
        im_ -= o.im_;
        return *this;
    }
    constexpr mcplx& operator*=(const mcplx& o) {
        const double re = re_ * o.re_ - im_ * o.im_;
        im_ = re_ * o.im_ + im_ * o.re_;
        re_ = re;
        return *this;
    }
    constexpr mcplx& operator*=(double s) {
        re_ *= s;
        im_ *= s;
        return *this;
    }
    mcplx& operator/=(const mcplx& o);
    mcplx& operator/=(double s) { return *this /= mcplx(s); }

    friend constexpr mcplx operator+(mcplx a, const mcplx& b) { return a += b; }
    friend constexpr mcplx operator-(mcplx a, const mcplx& b) { return a -= b; }
    friend constexpr mcplx operator*(mcplx a, const mcplx& b) { return a *= b; }
    friend constexpr mcplx operator*(mcplx a, double s) { return a *= s; }
    friend constexpr mcplx operator*(double s, mcplx a) { return a *= s; }
    friend mcplx operator/(mcplx a, const mcplx& b) { return a /= b; }
    friend constexpr mcplx operator-(const mcplx& a) { return {-a.re_, -a.im_}; }
    friend constexpr bool operator==(const mcplx& a, const mcplx& b) {
        return a.re_ == b.re_ && a.im_ == b.im_;
    }

private:
    double re_ = 0.0;
    double im_ = 0.0;
};

// Modulus with power-of-two scaling: within 2 ulp for every finite input;
// +inf for an infinite part, NaN for a NaN part (an infinite part wins).
double Abs(const mcplx& z);
// Squared modulus, computed directly (may overflow).
constexpr double Norm(const mcplx& z) {
    return z.real() * z.real() + z.imag() * z.imag();
}
// Argument in (-pi, pi].
double Arg(const mcplx& z);
constexpr mcplx Conj(const mcplx& z) {
    return {z.real(), -z.imag()};
}
// e^re * (cos im, sin im).
mcplx Exp(const mcplx& z);
// (ln|z|, arg z); the log of 0 has real part -inf.
mcplx Log(const mcplx& z);
// Principal square root (non-negative real part).
mcplx Sqrt(const mcplx& z);

} // namespace korin
