#!/usr/bin/env python3
"""Reference figures of the design report (tests/design/design_report_test.cpp).

The report is measured on the coefficients the filter uses. This generator runs
the program's own design (tarvoiir-cli design --json, given by --cli) for each
specification below, takes its sections and section gain, and measures them
with SciPy on its own:

  * the magnitude from scipy.signal.sosfreqz on a dense grid (GRID points per
    band), the passband maximum and minimum and the largest stopband magnitude
    refined by scipy.optimize.minimize_scalar around every high local extremum;
  * the half-power frequencies (10 log10 2 dB below the passband maximum) as
    the sign changes of a grid over 0..Fs/2, refined by scipy.optimize.brentq;
  * the group delay as the sum over the sections of scipy.signal.group_delay,
    its passband peak refined like the magnitude;
  * the largest pole radius from numpy.roots of every section denominator;
  * the largest coefficient change: the double-precision design (run again
    with --data-type double) rounded here to single precision or to
    2^-fracBits (halves away from zero); the rounded rows must equal the
    program's, else the generator stops;
  * the elliptic stopband edges from the degree equation
    n K'(k1) / K(k1) = K'(k) / K(k), solved for the selectivity k with brentq
    and scipy.special.ellipk, then mapped through the bilinear transformation
    (band shapes: through the band substitution). For double-precision designs
    the attenuation measured beyond them must equal the specified one within
    EDGE_CHECK_DB, else the generator stops.

Needs numpy and scipy (Debian python3-scipy).
Run:     python3 tools/gen_report_fixtures.py --cli build/<dir>/src/cli/tarvoiir-cli
Output:  tests/fixtures/design_report.txt, whitespace-separated tokens:

  design NAME FAMILY RESPONSE ORDER EDGE1 EDGE2 CENTERWIDTH RIPPLE ATTEN DATATYPE
         FRACBITS FS UNIT STOP1 STOP2
                      the form's values (family 0 Butterworth, 1 Chebyshev,
                      2 elliptic; response 0 lowpass .. 3 bandstop; data type
                      0 double, 1 single, 2 fixed point; UNIT 0 Hz, 1 kHz);
                      STOP1 STOP2 given stopband edges, 0 0 when none
  rows R  b0 b1 b2 a0 a1 a2 (R times)   the program's sections
  gain G                                their common gain
  edges K f_1 .. f_K                    half-power frequencies (unit of FS)
  maxdb X                               passband maximum, dB
  ripple X                              passband maximum minus minimum, dB
  stop K s_1 .. s_K                     stopband edges used (given or elliptic)
  atten X | atten none                  passband maximum minus stopband maximum
  delay T F                             peak passband group delay (time unit
                                        of FS) and its frequency
  radius X                              largest pole radius
  change X                              largest coefficient change
  end
"""

import argparse
import json
import math
import os
import subprocess

import numpy as np
import scipy
from scipy import optimize, signal, special

GRID = 65537
CANDIDATES = 24
EDGE_CHECK_DB = 1e-5
HALF_POWER_DB = 10.0 * math.log10(2.0)

FAMILIES = ["butterworth", "chebyshev", "elliptic"]
RESPONSES = ["lowpass", "highpass", "bandpass", "bandstop"]
DATA_TYPES = ["double", "single", "fixed"]
UNITS = ["Hz", "kHz"]

# name: family, response, order, edge1, edge2, centerWidth, ripple, atten,
# dataType, fracBits, fs, unit, stop1, stop2.
DESIGNS = [
    ("butter_lp4", (0, 0, 4, 0.2, 0.3, 0, 1.0, 80.0, 0, 30, 1.0, 0, 0.0, 0.0)),
    ("butter_hp5_stop", (0, 1, 5, 0.15, 0.3, 0, 1.0, 80.0, 0, 30, 1.0, 0, 0.08, 0.0)),
    ("butter_bp3_stop", (0, 2, 3, 0.1, 0.2, 0, 1.0, 80.0, 0, 30, 1.0, 0, 0.05, 0.3)),
    ("butter_bs4_stop", (0, 3, 4, 0.15, 0.3, 0, 1.0, 80.0, 0, 30, 1.0, 0, 0.2, 0.25)),
    ("butter_lp12", (0, 0, 12, 0.1, 0.3, 0, 1.0, 80.0, 0, 30, 1.0, 0, 0.0, 0.0)),
    ("cheby_lp6_stop", (1, 0, 6, 0.25, 0.3, 0, 0.5, 80.0, 0, 30, 1.0, 0, 0.3, 0.0)),
    ("cheby_hp3", (1, 1, 3, 0.3, 0.4, 0, 1.0, 80.0, 0, 30, 1.0, 0, 0.0, 0.0)),
    ("cheby_bp4_stop", (1, 2, 4, 0.2, 0.3, 0, 0.1, 80.0, 0, 30, 1.0, 0, 0.15, 0.35)),
    ("cheby_bs3", (1, 3, 3, 0.1, 0.35, 0, 2.0, 80.0, 0, 30, 1.0, 0, 0.0, 0.0)),
    ("cheby_lp9", (1, 0, 9, 0.4, 0.3, 0, 2.0, 80.0, 0, 30, 1.0, 0, 0.0, 0.0)),
    ("cheby_bp3_centre", (1, 2, 3, 0.2, 0.1, 1, 1.0, 80.0, 0, 30, 1.0, 0, 0.0, 0.0)),
    ("ellip_lp5", (2, 0, 5, 0.2, 0.3, 0, 0.5, 60.0, 0, 30, 1.0, 0, 0.0, 0.0)),
    ("ellip_hp4", (2, 1, 4, 0.3, 0.4, 0, 1.0, 50.0, 0, 30, 1.0, 0, 0.0, 0.0)),
    ("ellip_bp3", (2, 2, 3, 0.1, 0.15, 0, 0.5, 40.0, 0, 30, 1.0, 0, 0.0, 0.0)),
    ("ellip_bs4", (2, 3, 4, 0.2, 0.3, 0, 0.2, 70.0, 0, 30, 1.0, 0, 0.0, 0.0)),
    ("ellip_lp8", (2, 0, 8, 0.05, 0.3, 0, 0.1, 80.0, 0, 30, 1.0, 0, 0.0, 0.0)),
    ("ellip_lp4_khz", (2, 0, 4, 1.2, 2.0, 0, 1.0, 50.0, 0, 30, 8.0, 1, 0.0, 0.0)),
    ("ellip_bs4_given", (2, 3, 4, 0.2, 0.3, 0, 0.2, 70.0, 0, 30, 1.0, 0, 0.23, 0.27)),
    ("butter_lp4_single", (0, 0, 4, 0.2, 0.3, 0, 1.0, 80.0, 1, 30, 1.0, 0, 0.0, 0.0)),
    ("butter_hp6_single", (0, 1, 6, 0.05, 0.3, 0, 1.0, 80.0, 1, 30, 1.0, 0, 0.02, 0.0)),
    ("cheby_bp4_single", (1, 2, 4, 0.2, 0.3, 0, 0.1, 80.0, 1, 30, 1.0, 0, 0.0, 0.0)),
    ("ellip_lp7_single", (2, 0, 7, 0.1, 0.3, 0, 0.5, 70.0, 1, 30, 1.0, 0, 0.0, 0.0)),
    ("ellip_bs4_single", (2, 3, 4, 0.2, 0.3, 0, 0.2, 70.0, 1, 30, 1.0, 0, 0.0, 0.0)),
    ("butter_lp4_fixed12", (0, 0, 4, 0.2, 0.3, 0, 1.0, 80.0, 2, 12, 1.0, 0, 0.3, 0.0)),
    ("butter_bs2_fixed10", (0, 3, 2, 0.1, 0.2, 0, 1.0, 80.0, 2, 10, 1.0, 0, 0.0, 0.0)),
    ("cheby_lp6_fixed16", (1, 0, 6, 0.25, 0.3, 0, 0.5, 80.0, 2, 16, 1.0, 0, 0.3, 0.0)),
    ("cheby_hp5_fixed20", (1, 1, 5, 0.3, 0.4, 0, 0.5, 80.0, 2, 20, 1.0, 0, 0.0, 0.0)),
    ("ellip_lp5_fixed14", (2, 0, 5, 0.2, 0.3, 0, 0.5, 60.0, 2, 14, 1.0, 0, 0.0, 0.0)),
    ("ellip_bp3_fixed16", (2, 2, 3, 0.1, 0.15, 0, 0.5, 40.0, 2, 16, 1.0, 0, 0.0, 0.0)),
    ("ellip_hp6_fixed24", (2, 1, 6, 0.3, 0.4, 0, 0.5, 70.0, 2, 24, 1.0, 0, 0.0, 0.0)),
    ("butter_bp4_khz_stop", (0, 2, 4, 1.0, 3.0, 0, 1.0, 80.0, 0, 30, 48.0, 1, 0.5, 5.0)),
]


def cli_args(form, data_type):
    (family, response, order, e1, e2, cw, ripple, atten, _dt, frac, fs, unit, s1, s2) = form
    args = ["design", "--json", "--family", FAMILIES[family], "--response", RESPONSES[response],
            "--order", str(order), "--ripple", repr(ripple), "--atten", repr(atten),
            "--data-type", DATA_TYPES[data_type], "--frac-bits", str(frac), "--fs", repr(fs),
            "--unit", UNITS[unit]]
    if cw:
        args += ["--center", repr(e1), "--width", repr(e2)]
    else:
        args += ["--edge1", repr(e1), "--edge2", repr(e2)]
    return args


def run_design(cli, form, data_type):
    out = subprocess.run([cli] + cli_args(form, data_type), check=True, capture_output=True,
                         text=True).stdout
    j = json.loads(out)
    rows = np.array(j["sections"], dtype=float)
    return rows, float(j["sectionGain"])


def round_rows(rows, data_type, frac):
    if data_type == 1:
        return rows.astype(np.float32).astype(float)
    c = 2.0 ** frac
    v = rows * c
    return np.trunc(v + np.where(v >= 0, 0.5, -0.5)) / c


class Sections:
    def __init__(self, rows, gain):
        self.sos = rows.copy()
        self.sos[0, :3] *= gain  # the gain into the first numerator

    def db(self, f):
        """dB at frequencies in cycles per sample (array)."""
        _, h = signal.sosfreqz(self.sos, worN=2 * np.pi * np.atleast_1d(f))
        return 20 * np.log10(np.abs(h) + 1e-20)

    def delay(self, f):
        """Group delay in samples (array)."""
        w = 2 * np.pi * np.atleast_1d(f)
        total = np.zeros_like(w)
        for row in self.sos:
            _, gd = signal.group_delay((row[:3], row[3:]), w=w)
            total += gd
        return total


def maximize(fn, lo, hi):
    """The largest value of fn on [lo, hi] (fn vectorised): the grid's highest
    local maxima refined by bounded scalar minimisation."""
    f = np.linspace(lo, hi, GRID)
    v = fn(f)
    assert np.all(np.isfinite(v))
    left = np.concatenate(([True], v[1:] >= v[:-1]))
    right = np.concatenate((v[:-1] >= v[1:], [True]))
    peaks = np.nonzero(left & right)[0]
    peaks = peaks[np.argsort(-v[peaks])][:CANDIDATES]
    best_f, best_v = f[peaks[0]], v[peaks[0]]
    for i in peaks:
        a, b = f[max(i - 1, 0)], f[min(i + 1, GRID - 1)]
        res = optimize.minimize_scalar(lambda x: -fn(x)[0], bounds=(a, b), method="bounded",
                                       options={"xatol": 1e-14})
        for x, y in ((res.x, -res.fun), (a, fn(a)[0]), (b, fn(b)[0])):
            if y > best_v:
                best_f, best_v = x, y
    return best_f, best_v


def passbands(response, lo, hi):
    return {0: [(0.0, lo)], 1: [(lo, 0.5)], 2: [(lo, hi)], 3: [(0.0, lo), (hi, 0.5)]}[response]


def stopbands(response, s1, s2):
    return {0: [(s1, 0.5)], 1: [(0.0, s1)], 2: [(0.0, s1), (s2, 0.5)], 3: [(s1, s2)]}[response]


def half_power(sec, level, bands):
    f = np.linspace(0.0, 0.5, GRID)
    for lo, hi in bands:
        w = hi - lo
        f = np.concatenate((f, np.linspace(max(0.0, lo - w), min(0.5, hi + w), GRID)))
    f = np.unique(f)
    g = sec.db(f) - level
    out = []
    for i in np.nonzero(np.sign(g[:-1]) * np.sign(g[1:]) < 0)[0]:
        out.append(optimize.brentq(lambda x: sec.db(x)[0] - level, f[i], f[i + 1], xtol=1e-17,
                                   rtol=4 * np.finfo(float).eps))
    return out


def elliptic_edges(response, order, ripple, atten, lo, hi):
    """Stopband edges (cycles per sample) of the elliptic design, from the
    degree equation."""
    m1 = (10 ** (ripple / 10) - 1) / (10 ** (atten / 10) - 1)
    target = special.ellipkm1(m1) / (order * special.ellipk(m1))  # K'(k1) / (n K(k1))

    def ratio(k):
        m = k * k
        return special.ellipkm1(m) / special.ellipk(m) - target

    k = optimize.brentq(ratio, 1e-12, 1 - 1e-16, xtol=1e-300, rtol=4 * np.finfo(float).eps)
    if response in (0, 1):
        w = math.tan(math.pi * lo)
        return [math.atan(w / k if response == 0 else w * k) / math.pi]
    theta = math.pi * (hi - lo)
    w = math.tan(theta)
    gamma = math.cos(math.pi * (hi + lo)) / math.cos(theta)
    # The band substitution's frequency (gamma - cos x) / (W sin x) equals
    # +-1/k (bandpass) or +-k (bandstop) at the stop edges.
    lam = 1 / k if response == 2 else k
    edges = []
    for sign in (1, -1):
        edges.append(optimize.brentq(
            lambda f: (gamma - math.cos(2 * math.pi * f)) - sign * lam * w *
            math.sin(2 * math.pi * f), 1e-12, 0.5 - 1e-12, xtol=1e-17,
            rtol=4 * np.finfo(float).eps))
    return sorted(edges)


def reference(name, form, rows, gain, exact_rows):
    (family, response, order, e1, e2, cw, ripple, atten, data_type, frac, fs, unit, s1, s2) = form
    if response in (2, 3):
        lo, hi = (e1 - e2 / 2, e1 + e2 / 2) if cw else (min(e1, e2), max(e1, e2))
    else:
        lo = hi = e1
    lo, hi = lo / fs, hi / fs
    sec = Sections(rows, gain)
    pb = passbands(response, lo, hi)
    top = max(maximize(sec.db, a, b)[1] for a, b in pb)
    bottom = -max(maximize(lambda x: -sec.db(x), a, b)[1] for a, b in pb)
    edges = half_power(sec, top - HALF_POWER_DB, pb)

    stop = []
    if s1 > 0:
        stop = [s1 / fs] + ([s2 / fs] if response in (2, 3) else [])
    elif family == 2:
        stop = elliptic_edges(response, order, ripple, atten, lo, hi)
    att = None
    if stop:
        sb = stopbands(response, stop[0], stop[-1])
        att = top - max(maximize(sec.db, a, b)[1] for a, b in sb)
        if family == 2 and s1 == 0 and data_type == 0 and abs(att - atten) > EDGE_CHECK_DB:
            raise SystemExit(f"{name}: attenuation {att} beyond the derived edge, not {atten}")

    peaks = [maximize(sec.delay, a, b) for a, b in pb]
    peak_f, peak_t = max(peaks, key=lambda p: p[1])
    radius = max(np.max(np.abs(np.roots(r[3:]))) for r in rows)
    change = 0.0
    if data_type != 0:
        rounded = round_rows(exact_rows, data_type, frac)
        if not np.array_equal(rounded, rows):
            raise SystemExit(f"{name}: the program's rounded rows differ from the rounding here")
        change = float(np.max(np.abs(rows - exact_rows)))

    lines = [" ".join(["design", name] + [repr(x) for x in form]),
             f"rows {len(rows)}"]
    lines += ["  " + " ".join(repr(float(c)) for c in r) for r in rows]
    lines.append(f"gain {gain!r}")
    lines.append(" ".join(["edges", str(len(edges))] + [repr(float(f * fs)) for f in edges]))
    lines.append(f"maxdb {float(top)!r}")
    lines.append(f"ripple {float(top - bottom)!r}")
    lines.append(" ".join(["stop", str(len(stop))] + [repr(float(s * fs)) for s in stop]))
    lines.append("atten none" if att is None else f"atten {float(att)!r}")
    lines.append(f"delay {float(peak_t / fs)!r} {float(peak_f * fs)!r}")
    lines.append(f"radius {float(radius)!r}")
    lines.append(f"change {change!r}")
    lines.append("end")
    print(f"{name}: ripple {top - bottom:.6f} dB, atten {att}, radius {radius:.9f}, "
          f"change {change:.3g}")
    return lines


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--cli", required=True, help="the built tarvoiir-cli")
    args = parser.parse_args()
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    lines = [f"# Generated by tools/gen_report_fixtures.py with numpy {np.__version__}, "
             f"scipy {scipy.__version__}. Do not edit."]
    for name, form in DESIGNS:
        rows, gain = run_design(args.cli, form, form[8])
        exact_rows, _ = run_design(args.cli, form, 0)
        lines += reference(name, form, rows, gain, exact_rows)
    path = os.path.join(root, "tests", "fixtures", "design_report.txt")
    with open(path, "w", encoding="ascii") as out:
        out.write("\n".join(lines) + "\n")
    print(f"wrote {path}")


if __name__ == "__main__":
    main()
