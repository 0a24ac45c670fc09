#!/usr/bin/python3
"""Reference responses of complete designs (tests/design/design_reference_test.cpp).

For Butterworth, Chebyshev type I (two ripples) and elliptic (two ripple and
attenuation pairs) designs of every response type, orders 1 to 20 and two edge
sets each, SciPy designs the filter as second-order sections (fs = 2, so edges
are fractions of the Nyquist frequency, as the test's sampling frequency 2
makes them) and the fixtures hold:

  * 20 log10 |H| of SciPy's own sections (sosfreqz) on a grid of GRID_POINTS
    frequencies f_i = i / (GRID_POINTS - 1) of the Nyquist frequency, evaluated
    at omega_i = f_i * pi exactly as the doubles the test uses;
  * the mean group delay over each grid interval, in samples (the test
    integrates the program's exact group delay over the interval to compare).
    It is the closed form -(phase increment)/(interval), the phase
    increment summed factor by factor over the roots of SciPy's sections (exact
    but for the roots' rounding), checked against SciPy's group_delay summed over
    the sections and integrated by composite Gauss-Legendre quadrature (the
    generator stops when they disagree by more than GD_CHECK_TOL);
  * the angles (as fractions of the Nyquist frequency) of the zeros on the unit
    circle, where the phase jumps by pi and the group delay is not defined;
  * the impulse and step responses of SAMPLES samples (sosfilt);
  * SciPy's gain k;
  * how far SciPy's 20 log10 |H| lies from the exact filter's (designed and
    evaluated in mpmath, tools/gen_ellf_fixtures.py), so that a test can tell
    which side of a discrepancy is the accurate one.

Run with Debian's python3-scipy:  /usr/bin/python3 tools/gen_design_fixtures.py
Output: tests/fixtures/design/<family>.txt, whitespace-separated tokens:

  grid N L                       N frequencies, L time samples (for every design)
  design FAMILY RESPONSE ORDER EDGE1 EDGE2 RIPPLE ATTEN
                                 family 0 Butterworth, 1 Chebyshev, 2 elliptic;
                                 response 0 lowpass, 1 highpass, 2 bandpass,
                                 3 bandstop; edges as fractions of Nyquist
                                 (EDGE2 is 0 for lowpass and highpass)
  k GAIN
  uz M f...                      unit-circle zeros, angle / pi in [0, 1], distinct
  db v_0 ... v_{N-1}             20 log10 |H(e^{j omega_i})|  (-inf for H = 0)
  dbx d_0 ... d_{N-1}            exact 20 log10 |H| minus v_i where v_i > -120 dB
                                 (3 digits; 0 below 1e-12 dB and elsewhere)
  gd t_0 ... t_{N-2}             mean group delay over [omega_i, omega_{i+1}], samples
  impulse y_0 ... y_{L-1}
  step y_0 ... y_{L-1}
  end
"""

import math
import os
import sys
import warnings

import mpmath as mp
import numpy as np
import scipy
from scipy import signal

# The 40-digit designs of the prototype engine's fixtures: the exact filters that
# SciPy and the program both approximate.
import gen_ellf_fixtures as exact

GRID_POINTS = 129  # interval 1/128 of Nyquist: exact in binary, as the plots' grid
SAMPLES = 32
GL_NODES = 12
GL_PIECES = 8  # sub-intervals per grid interval for the quadrature, at first
GL_MAX_PIECES = 8**4
GL_SETTLED = 1e-9  # relative change at which the refinement stops
# Quadrature against closed form, relative to max(1, |mean|). SciPy's group_delay
# loses accuracy right at the peak of a pole near the unit circle (3e-7 relative
# at 1 - |p| = 1e-5, against a 40-digit evaluation), which is why the fixtures
# hold the closed form; the interval means differ by up to 1.5e-8 there and by
# less than 1e-9 elsewhere.
GD_CHECK_TOL = 1e-7
UNIT_CIRCLE_TOL = 1e-9
DB_FLOOR = -120.0  # the test compares dB values above this

FAMILIES = [
    # file name, family code, ripple dB, attenuation dB
    ("butter", 0, 1.0, 80.0),
    ("cheby1_r0.5", 1, 0.5, 80.0),
    ("cheby1_r3", 1, 3.0, 80.0),
    ("ellip_r0.1_a40", 2, 0.1, 40.0),
    ("ellip_r1_a80", 2, 1.0, 80.0),
]
BTYPES = ["lowpass", "highpass", "bandpass", "bandstop"]
# Two edge sets per response: a typical one and a narrow or extreme one.
EDGES = {
    0: [(0.3, 0.0), (0.05, 0.0)],
    1: [(0.45, 0.0), (0.9, 0.0)],
    2: [(0.2, 0.5), (0.1, 0.16)],
    3: [(0.3, 0.6), (0.72, 0.8)],
}
ORDERS = range(1, 21)


def grid():
    # Repeated addition of an exact step, as the plots build their grid.
    f, x = [], 0.0
    step = 1.0 / (GRID_POINTS - 1)
    for _ in range(GRID_POINTS):
        f.append(x)
        x += step
    return np.array(f)


def scipy_design(family, btype, order, e1, e2, rp, rs, output):
    wn = e1 if btype < 2 else [e1, e2]
    kind = BTYPES[btype]
    if family == 0:
        return signal.butter(order, wn, kind, output=output)
    if family == 1:
        return signal.cheby1(order, rp, wn, kind, output=output)
    return signal.ellip(order, rp, rs, wn, kind, output=output)


def section_group_delay(sos, w):
    total = np.zeros_like(w)
    for row in sos:
        _, gd = signal.group_delay((row[:3], row[3:]), w=w)
        total += gd
    return total


def quadrature_means(sos, lo, hi, pieces):
    """Mean of the summed section group delay over each interval [lo, hi]:
    composite Gauss-Legendre quadrature over `pieces` equal parts."""
    x, wts = np.polynomial.legendre.leggauss(GL_NODES)
    part = np.arange(pieces)
    # Nodes of every piece of every interval, as one vector.
    a = lo[:, None] + (hi - lo)[:, None] * part[None, :] / pieces
    h = ((hi - lo) / pieces)[:, None]
    nodes = a[:, :, None] + h[:, :, None] * (x[None, None, :] + 1) / 2
    vals = section_group_delay(sos, nodes.ravel()).reshape(nodes.shape)
    # Mean = sum over pieces of (h/2) sum w f, divided by the interval.
    integral = (vals * wts[None, None, :]).sum(axis=2).sum(axis=1) * h[:, 0] / 2
    return integral / (hi - lo)


def phase_increment(roots, wa, wb):
    """Continuous increment of sum arg(e^{jw} - r) from wa to wb (per interval)."""
    inc = np.zeros_like(wa)
    for r in roots:
        if abs(r) <= 1.0:
            # arg(e^{jw} - r) = w + arg(1 - r e^{-jw}), the latter inside (-pi/2, pi/2).
            ua, ub = 1 - r * np.exp(-1j * wa), 1 - r * np.exp(-1j * wb)
            inc += (wb - wa) + np.angle(ub * np.conj(ua))
        else:
            # arg(e^{jw} - r) = arg(-r) + arg(1 - e^{jw}/r), the latter inside (-pi/2, pi/2).
            ua, ub = 1 - np.exp(1j * wa) / r, 1 - np.exp(1j * wb) / r
            inc += np.angle(ub * np.conj(ua))
    return inc


def quadratic_roots(c0, c1, c2, first_order):
    """Roots of c0 x^2 + c1 x + c2 (of c0 x + c1 for a first-order row)."""
    if first_order:
        return [complex(-c1 / c0)]
    disc = c1 * c1 - 4 * c0 * c2
    if disc < 0:
        re, im = -c1 / (2 * c0), math.sqrt(-disc) / (2 * c0)
        return [complex(re, im), complex(re, -im)]
    q = -(c1 + math.copysign(math.sqrt(disc), c1)) / 2
    return [complex(q / c0), complex(c2 / q if q != 0 else 0.0)]


def section_roots(sos):
    zeros, poles = [], []
    for b0, b1, b2, a0, a1, a2 in sos:
        first = b2 == 0 and a2 == 0
        zeros += quadratic_roots(b0, b1, b2, first)
        poles += quadratic_roots(a0, a1, a2, first)
    return np.array(zeros), np.array(poles)


def closed_form_means(z, p, omega):
    wa, wb = omega[:-1], omega[1:]
    dphi = phase_increment(z, wa, wb) - phase_increment(p, wa, wb)
    return -dphi / (wb - wa)


def unit_circle_zeros(z):
    fs = set()
    for r in z:
        if abs(abs(r) - 1.0) < UNIT_CIRCLE_TOL:
            fs.add(abs(float(np.angle(r))) / math.pi)
    return sorted(fs)


def exact_db(family, btype, order, e1, e2, rp, rs, omega):
    if family == 0:
        proto = exact.butterworth_proto(order)
    elif family == 1:
        proto = exact.chebyshev_proto(order, rp)
    else:
        proto = exact.elliptic_proto(order, rp, rs)
    shape = [exact.LOWPASS, exact.HIGHPASS, exact.BANDPASS, exact.BANDSTOP][btype]
    f1, f2 = (0.0, e1) if btype < 2 else (e1, e2)
    zeros, poles, gain, _ = exact.to_digital(proto, shape, f1, f2)
    out = []
    with mp.workdps(30):
        for w in omega:
            h = abs(exact.response(zeros, poles, gain, mp.expj(mp.mpf(float(w)))))
            out.append(float(20 * mp.log10(h)) if h > 0 else -math.inf)
    return np.array(out)


def deviation(d):
    return "0" if abs(d) < 1e-12 else "%.3g" % d


def number(x):
    return repr(float(x))


def fixed(x):
    """12 decimals: dB values and time responses, whose tolerances are absolute."""
    return "%.12f" % x


def short(x):
    """12 significant digits: group delays, whose tolerance is relative."""
    return "%.12g" % x


def design_block(family, btype, order, e1, e2, rp, rs, f, omega, stats):
    sos = scipy_design(family, btype, order, e1, e2, rp, rs, "sos")
    z, p, k = scipy_design(family, btype, order, e1, e2, rp, rs, "zpk")
    if len(z) != len(p) or len(p) != (2 * order if btype >= 2 else order):
        sys.exit(f"unexpected root count: {family} {btype} {order}")
    _, h = signal.sosfreqz(sos, worN=omega)
    with np.errstate(divide="ignore"):
        db = 20 * np.log10(np.abs(h))

    dbx = exact_db(family, btype, order, e1, e2, rp, rs, omega) - db
    dbx[~(db > DB_FLOOR)] = 0.0
    if np.max(np.abs(dbx)) > stats.get("dbx", 0.0):
        stats["dbx"] = float(np.max(np.abs(dbx)))

    uz = unit_circle_zeros(z)
    closed = closed_form_means(*section_roots(sos), omega)
    # Intervals touching a unit-circle zero hold a phase jump: the two means differ there.
    away = np.ones(len(closed), dtype=bool)
    for u in uz:
        away &= ~((f[:-1] <= u + 1e-9) & (f[1:] >= u - 1e-9))
    lo, hi = omega[:-1], omega[1:]
    means = quadrature_means(sos, lo, hi, GL_PIECES)
    # Peaks of poles near the unit circle need finer pieces: refine until the
    # quadrature settles.
    pieces = GL_PIECES
    redo = np.ones(len(means), dtype=bool)
    while pieces < GL_MAX_PIECES and redo.any():
        pieces *= 8
        finer = quadrature_means(sos, lo[redo], hi[redo], pieces)
        change = np.abs(finer - means[redo]) / np.maximum(1.0, np.abs(finer))
        means[redo] = finer
        redo[redo] = change > GL_SETTLED
    dev = np.abs(means - closed) / np.maximum(1.0, np.abs(closed))
    worst = float(np.max(dev[away])) if away.any() else 0.0
    if worst > stats.get("gd", (0.0,))[0]:
        i = int(np.argmax(np.where(away, dev, 0)))
        stats["gd"] = (worst, f"{BTYPES[btype]} N={order} edges {e1} {e2} interval {i}: "
                              f"{means[i]:.17g} vs {closed[i]:.17g}")
    if worst > GD_CHECK_TOL:
        sys.exit(f"group delay quadrature disagrees with the closed form: {stats['gd'][1]}")

    x = np.zeros(SAMPLES)
    x[0] = 1.0
    impulse = signal.sosfilt(sos, x)
    step = signal.sosfilt(sos, np.ones(SAMPLES))

    lines = [
        f"design {family} {btype} {order} {number(e1)} {number(e2)} {number(rp)} {number(rs)}",
        f"k {number(k)}",
        f"uz {len(uz)} " + " ".join(number(u) for u in uz),
        "db " + " ".join(fixed(v) for v in db),
        "dbx " + " ".join(deviation(v) for v in dbx),
        "gd " + " ".join(short(v) for v in closed),
        "impulse " + " ".join(fixed(v) for v in impulse),
        "step " + " ".join(fixed(v) for v in step),
        "end",
    ]
    return lines


def main():
    warnings.simplefilter("ignore")  # group_delay warns near zeros on the unit circle
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    out_dir = os.path.join(root, "tests", "fixtures", "design")
    os.makedirs(out_dir, exist_ok=True)
    f = grid()
    omega = f * math.pi
    for name, family, rp, rs in FAMILIES:
        stats = {}
        lines = [
            f"# Generated by tools/gen_design_fixtures.py with SciPy {scipy.__version__}, "
            f"NumPy {np.__version__}. Do not edit.",
            f"grid {GRID_POINTS} {SAMPLES}",
        ]
        count = 0
        for btype in range(4):
            for e1, e2 in EDGES[btype]:
                for order in ORDERS:
                    lines += design_block(family, btype, order, e1, e2, rp, rs, f, omega, stats)
                    count += 1
        path = os.path.join(out_dir, f"{name}.txt")
        with open(path, "w", encoding="ascii") as out:
            out.write("\n".join(lines) + "\n")
        print(f"{name}: {count} designs, {os.path.getsize(path)} bytes; sosfreqz vs exact "
              f"{stats['dbx']:.2g} dB; group delay quadrature vs closed form "
              f"{stats['gd'][0]:.2g} ({stats['gd'][1]})")


if __name__ == "__main__":
    main()
