#!/usr/bin/python3
"""Reference data for the prototype design engine (tests/design/ellf_*_test.cpp).

Writes tests/fixtures/ellf/{butterworth,chebyshev,elliptic}.txt and math.txt.

Every design is computed twice, independently:
  * in mpmath at 40 significant digits, from the closed-form analog prototypes
    (elliptic through Jacobian elliptic functions of complex argument and the
    nome of the degree equation), prewarped band edges, the analog frequency
    transformations and the bilinear transformation, with the gain carried
    through every transformation from the prototype's DC gain;
  * in SciPy (butter/cheby1/ellip with output='zpk', fs=2).
The fixtures hold the mpmath roots and gain (rounded to double) and the
response at the passband reference point computed from them; the generator
stops when the two designs disagree, so the data describe exactly SciPy's
filters, without SciPy's rounding errors.

math.txt holds mpmath values of the elliptic integrals and functions and of the
modulus belonging to a nome.

Usage: /usr/bin/python3 tools/gen_ellf_fixtures.py  (Debian python3-scipy, python3-mpmath)
"""

import os
import sys

import mpmath as mp
import numpy as np
from scipy import signal

mp.mp.dps = 40

OUT_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "fixtures", "ellf")

LOWPASS, BANDPASS, HIGHPASS, BANDSTOP = 1, 2, 3, 4
BUTTERWORTH, CHEBYSHEV, ELLIPTIC = 1, 2, 3
BTYPE = {LOWPASS: "lowpass", BANDPASS: "bandpass", HIGHPASS: "highpass", BANDSTOP: "bandstop"}

ORDERS = range(1, 21)
# Edges as fractions of the Nyquist frequency (the engine runs at fs = 2):
# typical, near 0 (narrow for lowpass), near the Nyquist frequency.
SINGLE_EDGES = [0.5, 0.2, 0.03, 0.97]
# typical, narrow, near 0, near the Nyquist frequency.
BAND_EDGES = [(0.2, 0.5), (0.45, 0.46), (0.02, 0.08), (0.9, 0.98)]
CHEBYSHEV_RIPPLES = [0.1, 1.0, 3.0]
ELLIPTIC_SPECS = [(0.1, 40.0), (1.0, 60.0), (0.5, 80.0)]

# Largest allowed distance between an mpmath root and its SciPy counterpart
# (relative to max(1, |root|)), and between the gains (relative).
SCIPY_ROOT_TOL = 1e-10
SCIPY_GAIN_TOL = 1e-10


def mpf(x):
    """The exact value of a double."""
    return mp.mpf(float(x))


# ---------------------------------------------------------------- prototypes
# Analog lowpass prototypes with the passband edge at 1 rad/s:
# (zeros, poles, gain, dc) with H(s) = gain prod(s - z) / prod(s - p) and
# dc = H(0), the response at the passband reference.

def butterworth_proto(n):
    poles = [mp.expj(mp.pi * (2 * i + n - 1) / (2 * n)) for i in range(1, n + 1)]
    return [], poles, mp.mpf(1), mp.mpf(1)


def chebyshev_proto(n, rp):
    eps = mp.sqrt(mp.power(10, mpf(rp) / 10) - 1)
    mu = mp.asinh(1 / eps) / n
    poles = []
    for i in range(1, n + 1):
        theta = (2 * i - 1) * mp.pi / (2 * n)
        poles.append(mp.mpc(-mp.sinh(mu) * mp.sin(theta), mp.cosh(mu) * mp.cos(theta)))
    # Leading coefficient of the Chebyshev polynomial T_n is 2^(n-1).
    gain = 1 / (mp.power(2, n - 1) * eps)
    dc = mp.mpf(1) if n % 2 else 1 / mp.sqrt(1 + eps**2)
    return [], poles, gain, dc


def elliptic_proto(n, rp, rs):
    eps = mp.sqrt(mp.power(10, mpf(rp) / 10) - 1)
    k1 = eps / mp.sqrt(mp.power(10, mpf(rs) / 10) - 1)
    m1 = k1**2
    big_k1 = mp.ellipk(m1)
    # Degree equation n K'(k)/K(k)... solved through the nome: q(k) = q(k1)^(1/n).
    q = mp.exp(-mp.pi * mp.ellipk(1 - m1) / (n * big_k1))
    k = mp.kfrom(q=q)
    m = k**2
    big_k = mp.ellipk(m)
    # Imaginary shift of the poles: sn^-1(j/eps, k1) / (n K1), as a real number.
    v0 = mp.ellipf(mp.atan(1 / eps), 1 - m1) / (n * big_k1)
    zeros, poles = [], []
    for i in range(1, n // 2 + 1):
        ui = mp.mpf(2 * i - 1) / n
        z = mp.mpc(0, 1) / (k * mp.ellipfun("cd", ui * big_k, m=m))
        p = mp.mpc(0, 1) * mp.ellipfun("cd", (ui - mp.mpc(0, 1) * v0) * big_k, m=m)
        zeros += [z, mp.conj(z)]
        poles += [p, mp.conj(p)]
    if n % 2:
        p0 = mp.mpc(0, 1) * mp.ellipfun("sn", mp.mpc(0, 1) * v0 * big_k, m=m)
        poles.append(mp.mpc(mp.re(p0), 0))
    dc = mp.mpf(1) if n % 2 else 1 / mp.sqrt(1 + eps**2)
    gain = dc * mp.fprod(-p for p in poles) / mp.fprod(-z for z in zeros)
    return zeros, poles, mp.re(gain), dc


# ---------------------------------------------------------- transformations

def quad_roots(b, c):
    """Both roots of s^2 + b s + c."""
    d = mp.sqrt(b * b - 4 * c)
    return [(-b + d) / 2, (-b - d) / 2]


def to_digital(proto, shape, f1, f2):
    """Prewarp (bilinear constant 1: s = (z - 1)/(z + 1), fs = 2), transform the
    analog prototype, then map to the z-plane. Returns (zeros, poles, gain, zref)."""
    zeros, poles, gain, _ = proto
    extra = len(poles) - len(zeros)
    w1 = mp.tan(mp.pi * mpf(f1) / 2)
    w2 = mp.tan(mp.pi * mpf(f2) / 2)
    if shape == LOWPASS:
        zs = [w2 * z for z in zeros]
        ps = [w2 * p for p in poles]
        gain = gain * w2**extra
        zref = mp.mpf(1)
    elif shape == HIGHPASS:
        zs = [w2 / z for z in zeros] + [mp.mpc(0)] * extra
        ps = [w2 / p for p in poles]
        gain = gain * mp.re(mp.fprod(-z for z in zeros) / mp.fprod(-p for p in poles))
        zref = mp.mpf(-1)
    else:
        w0sq = w1 * w2
        bw = w2 - w1
        if shape == BANDPASS:
            zs = [r for z in zeros for r in quad_roots(-z * bw, w0sq)] + [mp.mpc(0)] * extra
            ps = [r for p in poles for r in quad_roots(-p * bw, w0sq)]
            gain = gain * bw**extra
            zref = mp.expj(2 * mp.atan(mp.sqrt(w0sq)))
        else:
            zs = [r for z in zeros for r in quad_roots(-bw / z, w0sq)]
            zs += [mp.mpc(0, s) * mp.sqrt(w0sq) for _ in range(extra) for s in (1, -1)]
            ps = [r for p in poles for r in quad_roots(-bw / p, w0sq)]
            gain = gain * mp.re(mp.fprod(-z for z in zeros) / mp.fprod(-p for p in poles))
            zref = mp.mpf(1)
    # Bilinear: each factor (s - a) becomes (1 - a)(z - (1 + a)/(1 - a)) / (z + 1).
    zd = [(1 + z) / (1 - z) for z in zs] + [mp.mpf(-1)] * (len(ps) - len(zs))
    pd = [(1 + p) / (1 - p) for p in ps]
    gain = gain * mp.re(mp.fprod(1 - z for z in zs) / mp.fprod(1 - p for p in ps))
    return zd, pd, gain, zref


def response(zeros, poles, gain, z):
    return gain * mp.fprod(z - q for q in zeros) / mp.fprod(z - p for p in poles)


# ------------------------------------------------------------------ checks

def match_distance(ref, other):
    """Largest distance after matching other to ref as multisets (greedy on sorted pairs)."""
    ref = [complex(r) for r in ref]
    other = list(other)
    if len(ref) != len(other):
        return float("inf")
    pairs = sorted((abs(r - o) / max(1.0, abs(r)), i, j)
                   for i, r in enumerate(ref) for j, o in enumerate(other))
    used_i, used_j, worst = set(), set(), 0.0
    for d, i, j in pairs:
        if i in used_i or j in used_j:
            continue
        used_i.add(i)
        used_j.add(j)
        worst = max(worst, d)
    return worst


def scipy_design(kind, shape, n, f1, f2, rp, rs):
    wn = f2 if shape in (LOWPASS, HIGHPASS) else [f1, f2]
    args = dict(btype=BTYPE[shape], output="zpk", fs=2)
    if kind == BUTTERWORTH:
        return signal.butter(n, wn, **args)
    if kind == CHEBYSHEV:
        return signal.cheby1(n, rp, wn, **args)
    return signal.ellip(n, rp, rs, wn, **args)


def fmt(x):
    return repr(float(x))


def design_block(kind, shape, n, f1, f2, rp, rs, stats):
    if kind == BUTTERWORTH:
        proto = butterworth_proto(n)
    elif kind == CHEBYSHEV:
        proto = chebyshev_proto(n, rp)
    else:
        proto = elliptic_proto(n, rp, rs)
    zeros, poles, gain, zref = to_digital(proto, shape, f1, f2)
    href = response(zeros, poles, gain, zref)
    dc = proto[3]
    # The gain was carried from the prototype; the reference response must come out as its DC gain.
    assert abs(href - dc) < mp.mpf(10) ** -30, (kind, shape, n, f1, f2, href, dc)
    assert all(abs(p) < 1 for p in poles), (kind, shape, n, f1, f2)

    sz, sp, sk = scipy_design(kind, shape, n, f1, f2, rp, rs)
    droots = max(match_distance(zeros, sz), match_distance(poles, sp))
    dgain = abs(float(gain) - sk) / abs(float(gain))
    key = (kind, rp, rs)
    stats[key] = (max(stats.get(key, (0, 0))[0], droots), max(stats.get(key, (0, 0))[1], dgain))
    if droots > SCIPY_ROOT_TOL or dgain > SCIPY_GAIN_TOL:
        sys.exit(f"SciPy disagrees: kind {kind} shape {shape} n {n} edges {f1} {f2} "
                 f"R {rp} A {rs}: roots {droots:.3g}, gain {dgain:.3g}")

    s = -rs if kind == ELLIPTIC else 0.0
    lines = [f"design {shape} {kind} {n} {fmt(f1)} {fmt(f2)} {fmt(rp)} {fmt(s)}",
             f"gain {fmt(gain)}",
             f"href {fmt(mp.re(href))} {fmt(mp.im(href))}"]
    lines += [f"p {fmt(mp.re(p))} {fmt(mp.im(p))}" for p in poles]
    lines += [f"z {fmt(mp.re(z))} {fmt(mp.im(z))}" for z in zeros]
    lines.append("end")
    return lines


def family_file(name, kind, specs):
    stats = {}
    out = [f"# {name} designs: mpmath ({mp.mp.dps} digits) roots and gain, checked against SciPy.",
           "# Generated by tools/gen_ellf_fixtures.py; do not edit.",
           "# design <shape> <kind> <order> <f1> <f2> <ripple dB> <stop spec>  (fs = 2)",
           "# gain <k>; href <re> <im> (response at the reference point); p/z <re> <im>; end"]
    for rp, rs in specs:
        for shape in (LOWPASS, HIGHPASS, BANDPASS, BANDSTOP):
            edges = [(0.0, f) for f in SINGLE_EDGES] if shape in (LOWPASS, HIGHPASS) else BAND_EDGES
            for f1, f2 in edges:
                for n in ORDERS:
                    out += design_block(kind, shape, n, f1, f2, rp, rs, stats)
    path = os.path.join(OUT_DIR, f"{name}.txt")
    with open(path, "w", encoding="ascii") as f:
        f.write("\n".join(out) + "\n")
    for (k, rp, rs), (dr, dg) in sorted(stats.items()):
        print(f"{name} R={rp} A={rs}: SciPy root deviation {dr:.2g}, gain deviation {dg:.2g}")


# -------------------------------------------------------------- math values

def math_file():
    out = ["# Elliptic integrals and functions from mpmath; generated by tools/gen_ellf_fixtures.py.",
           "# ellpk <x> <K(1 - x)>",
           "# ellik <phi> <m> <F(phi | m)>",
           "# ellpj <u> <m> <sn> <cn> <dn> <amplitude>",
           "# nome <q> <k>"]
    for x in [1.0, 0.9, 0.5, 0.1, 1e-3, 1e-6, 1e-9, 1e-12, 1e-15, 2.0**-53, 1e-17, 1e-100, 1e-300]:
        with mp.workdps(400):  # 1 - x must keep every digit of a tiny x
            out.append(f"ellpk {fmt(x)} {fmt(mp.ellipk(1 - mpf(x)))}")
    for phi, m in [(0.5, 0.3), (1.2, 0.9), (1.0, 1e-6), (3.0, 0.5), (-2.0, 0.7), (10.0, 0.5),
                   (-7.5, 0.2), (1.5, 0.999999), (1.56, 0.99), (1.5707, 0.5), (1.1, 1 - 1e-12),
                   (0.7, 1.0), (-1.3, 1.0), (0.25, 0.999), (2.0, 1e-12), (1.0, 0.0)]:
        out.append(f"ellik {fmt(phi)} {fmt(m)} {fmt(mp.ellipf(mpf(phi), mpf(m)))}")
    for u, m in [(0.5, 0.3), (1.0, 0.5), (mp.ellipk(0.5), 0.5), (2.5, 0.9), (-1.7, 0.6),
                 (7.0, 0.5), (0.3, 1e-10), (2.0, 5e-10), (0.8, 0.99999999995), (-1.2, 0.9999999999),
                 (3.0, 0.999999), (5.0, 1 - 1e-9), (0.1, 0.999), (0.0, 0.5), (4.0, 0.1),
                 (mp.ellipk(0.9), 0.9), (2 * mp.ellipk(0.3), 0.3),
                 # just below the quarter period, where dn = cn / cos(phi - b) loses digits
                 ((1 - mpf(1e-7)) * mp.ellipk(0.99), 0.99),
                 ((1 - mpf(1e-9)) * mp.ellipk(0.999999), 0.999999),
                 ((1 - mpf(1e-6)) * mp.ellipk(1 - 1e-8), 1 - 1e-8)]:
        u = float(u)
        mu, mm = mpf(u), mpf(m)
        sn, cn, dn = (mp.ellipfun(f, mu, m=mm) for f in ("sn", "cn", "dn"))
        # The amplitude am(u) is continuous and near pi u / 2K; sn and cn fix it modulo 2 pi.
        base = mp.atan2(sn, cn)
        amp = base + 2 * mp.pi * mp.nint((mp.pi * mu / (2 * mp.ellipk(mm)) - base) / (2 * mp.pi))
        out.append(f"ellpj {fmt(u)} {fmt(m)} {fmt(sn)} {fmt(cn)} {fmt(dn)} {fmt(amp)}")
    for q in [0.0, 1e-300, 1e-10, 0.01, 0.1, 0.3, 0.5, 0.9, 0.99]:
        out.append(f"nome {fmt(q)} {fmt(mp.kfrom(q=mpf(q)))}")
    with open(os.path.join(OUT_DIR, "math.txt"), "w", encoding="ascii") as f:
        f.write("\n".join(out) + "\n")


def main():
    os.makedirs(OUT_DIR, exist_ok=True)
    np.seterr(all="ignore")
    math_file()
    family_file("butterworth", BUTTERWORTH, [(0.0, 0.0)])
    family_file("chebyshev", CHEBYSHEV, [(rp, 0.0) for rp in CHEBYSHEV_RIPPLES])
    family_file("elliptic", ELLIPTIC, ELLIPTIC_SPECS)


if __name__ == "__main__":
    main()
