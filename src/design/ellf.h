#pragma once
// The prototype design engine: Butterworth, Chebyshev (type I) and elliptic
// lowpass, highpass, bandpass and bandstop filters of any order. It places the
// analog prototype's roots in the s-plane, maps them to the z-plane by the
// bilinear transformation with prewarped edges (band shapes through the
// quadratic lowpass-to-bandpass substitution), completes the zeros at z = -1
// and z = +1, expands both polynomials and scales the numerator so that the
// passband maximum is 1 (0 dB).

#include "korin/base/mcplx.h"

#include <span>
#include <vector>

namespace tarvo {

class ellf {
public:
    // Shapes.
    static constexpr int kLowpass = 1;
    static constexpr int kBandpass = 2;
    static constexpr int kHighpass = 3;
    static constexpr int kBandstop = 4;
    // Kinds.
    static constexpr int kButterworth = 1;
    static constexpr int kChebyshev = 2;
    static constexpr int kElliptic = 3;
    // Orders above this are refused, to bound the work (it grows with the
    // square of the order); long before it most designs already fail in double
    // precision (the gain underflows, the coefficients overflow).
    static constexpr int kMaxOrder = 1000;

    ellf();
    ellf(const ellf&) = default;
    ellf(ellf&&) = default;
    ellf& operator=(const ellf&) = default;
    ellf& operator=(ellf&&) = default;
    virtual ~ellf();

    // Designs a filter of order n (1..kMaxOrder) at the sampling frequency fs
    // with the band edges f1 <= f2 (swapped when given the other way; lowpass
    // and highpass take f1 = 0 and the cutoff f2), passband ripple r dB
    // (Chebyshev, elliptic) and, for the elliptic kind, s > 0 a stopband edge
    // frequency or s <= 0 minus the stopband attenuation in dB. Edges are not
    // range-checked; impossible ones end in one of the failures below.
    // Returns false, with no results, for arguments out of range, an elliptic
    // stopband edge on the wrong side of the band, any helper that had to fall
    // back or did not converge, any non-finite value, a gain that is not a normal
    // double, a z-plane pole on or outside the unit circle (|p| >= 1 - 4 eps:
    // nearer than that, rounding cannot tell it from one on the circle), or a
    // response at a passband edge more than 0.001 dB from the specified -R dB
    // (-3.01 dB for Butterworth), the sign that rounding has lost the design.
    bool Run(int shape, int kind, int n, double fs, double f1, double f2, double r, double s);

    // Whether Run expands the roots into Den() and Num() (the default). A caller
    // that rebuilds its polynomials from the roots anyway turns it off; Den()
    // and Num() are then empty and only the roots and gain are checked.
    void SetExpandPolynomials(bool expand) { expandPolynomials = expand; }

    // Results of the last successful Run (M = 0 and empty spans otherwise).
    // M, the z-plane order: n for lowpass and highpass, 2n for band shapes.
    int ZOrder() const { return zOrder; }
    // Poles and zeros, i in 0..M-1, in the engine's order; conjugates follow
    // their partners. An index out of range is a contract violation (result 0).
    korin::mcplx Pole(int i) const;
    korin::mcplx Zero(int i) const;
    // M + 1 coefficients, highest power of z first: the monic pole polynomial and
    // the zero polynomial times the gain.
    std::span<const double> Den() const;
    std::span<const double> Num() const;
    // H(z) = Gain() * prod(z - zero) / prod(z - pole).
    double Gain() const { return gain; }

private:
    void ClearResults();
    bool RippleConstants();
    bool BandGeometry();
    bool EllipticConstants();
    bool SplaneRoots();
    void MapReciprocal(int first, int count);
    bool ZplaneRoots();
    bool AppendZ(const korin::mcplx& z);
    bool CompleteZeros();
    void Expand();
    bool ReferenceGain();
    bool ResultsUsable() const;
    bool PassbandEdgesHold() const;

    int capacity = 50;
    int shape = kLowpass;
    int kind = kButterworth;
    double rippleDb = 0.5;
    double stopSpec = -40.0;
    double sampleRate = 10000.0;
    double edgeLo = 1500.0;
    double edgeHi = 2000.0;
    bool expandPolynomials = true;
    std::vector<double> den;
    std::vector<double> num;
    std::vector<double> work;
    std::vector<double> sRoots;       // s-plane poles then zeros, (re, im) pairs
    std::vector<korin::mcplx> zRoots; // z-plane poles 0..M-1, then zeros M..2M-1

    double wr = 0.0;     // selectivity (elliptic)
    double omegaB = 0.0; // band substitution constant (Chebyshev)
    double wc = 0.0;     // prototype scale: W for Butterworth and Chebyshev, 1 for elliptic
    double nOrder = 8.0; // n as a double
    double W = 0.0;      // tan of the prewarped (half) bandwidth
    double gamma = 0.0;  // cos(centre) / cos(half width), the band substitution's shift
    double scale = 1.0;  // 1 / (response at the reference point)
    double u = 0.0;      // imaginary shift of the elliptic poles
    double k = 0.0;      // elliptic modulus
    double m = 0.0;      // k^2
    double Kk = 0.0;     // K(m)
    double eps = 0.0;    // ripple factor
    double rho = 0.0;    // eps^2 (Chebyshev)
    double phi = 0.0;    // 10^(R/20), then the Chebyshev pole-radius factor
    double fNyq = 0.0;   // fs / 2
    double gain = 0.0;

    int lastIndex = -1;
    int zOrder = 0;
    int order = 8;
    int numPoles = 0;
    int numZeros = 0;
};

} // namespace tarvo
