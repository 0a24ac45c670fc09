#!/usr/bin/env python3
"""Exact group delay of designed filters (tests/design/group_delay_test.cpp).

The group-delay curve is computed from the sections the filter uses. This
generator takes those sections as the program's own design prints them (the
rows below, "%.17g", from RunDesign with the same form values; the test checks
that the design still gives them) and evaluates, in 80-digit arithmetic, the
derivative of the unwrapped phase with mpmath.diff:

    tau(w) = -d/dw arg H(e^{jw}),  H = product over rows of B(e^{jw}) / A(e^{jw})

at POINTS frequencies f_i = i / (POINTS - 1) * Fs / 2 (exact in binary, as the
plots build their grid by repeated addition of the step). The phase is taken
relative to the evaluation point, arg(H(w) / H(x)), which is the unwrapped
phase up to a constant and has no branch cut near x.

Where a row's numerator vanishes at the point itself (a zero on the unit circle
at 0 or at the Nyquist frequency) the delay is not defined; the fixture holds
its limit there, the derivative evaluated LIMIT_OFFSET away (the delay of a real
filter is even about 0 and pi, so the offset changes it by O(offset^2)), and
lists the point so that the test can tell it apart.

Every value is checked against the closed form
Re(sum k c_k x^k / sum c_k x^k) (x = e^{-jw}, numerator minus denominator per
row) in the same precision; the generator stops when they disagree by more than
CHECK_TOL relative.

Needs only mpmath (no SciPy: the sections are the program's, not SciPy's).
Run:     python3 tools/gen_group_delay_fixtures.py
Output:  tests/fixtures/group_delay.txt, whitespace-separated tokens:

  points N
  design NAME FAMILY RESPONSE ORDER EDGE1 EDGE2 RIPPLE ATTEN FS UNIT
                             the design form's values (edges in the unit of FS;
                             UNIT 0 Hz, 1 kHz, ...), family 0 Butterworth,
                             1 Chebyshev, 2 elliptic; response 0 lowpass,
                             1 highpass, 2 bandpass
  rows R  b0 b1 b2 a0 a1 a2 (R times)
  gd t_0 ... t_{N-1}         group delay in samples at f_i
  limit M i_1 ... i_M        points where a numerator vanishes (t_i is the limit)
  end
"""

import os

import mpmath as mp

POINTS = 257
DPS = 80
LIMIT_OFFSET = mp.mpf("1e-15")
STEP = mp.mpf("1e-35")  # mpmath.diff's step, well inside LIMIT_OFFSET
CHECK_TOL = mp.mpf("1e-15")

# name, (family, response, order, edge1, edge2, ripple, atten, fs, unit), rows.
DESIGNS = [
    ("butterworth_lp4", (0, 0, 4, 0.1, 0.3, 1.0, 80.0, 1.0, 0), [
        [1, 2, 1, 1, -1.0485995763626117, 0.29614035756166962],
        [1, 2, 1, 1, -1.3209134308194264, 0.63273879288527668],
    ]),
    ("elliptic_lp4", (2, 0, 4, 0.1, 0.3, 1.0, 60.0, 1.0, 0), [
        [1, 1.2073350306199804, 1, 1, -1.5400830672709427, 0.64220533368270039],
        [1, -0.29959229688661876, 1, 1, -1.5076450864421591, 0.85992928851741235],
    ]),
    ("chebyshev_hp5", (1, 1, 5, 0.3, 0.4, 0.5, 80.0, 1.0, 0), [
        [1, -1, 0, 1, 0.58322965163370677, 0],
        [1, -2, 1, 1, 0.89214549994227532, 0.49221250003774064],
        [1, -2, 1, 1, 0.53028546871840399, 0.80965556850615639],
    ]),
    ("elliptic_bp3", (2, 2, 3, 1.2, 2.0, 0.5, 50.0, 8.0, 1), [
        [1, 0, -1, 1, -0.53776467387617322, 0.65506948366311712],
        [1, 1.4137479632755487, 0.99999999999999978, 1, 0.018348322569947062, 0.8215649257060943],
        [1, -1.8292734543801512, 0.99999999999999989, 1, -1.1018703617043277, 0.85394191286906074],
    ]),
]


def poly(c, x):
    """c0 + c1 x + c2 x^2 with x = e^{-jw}: the row's quadratic over z^2."""
    return c[0] + c[1] * x + c[2] * x * x


def response(rows, w):
    x = mp.expj(-w)
    h = mp.mpc(1)
    for r in rows:
        h *= poly(r[:3], x) / poly(r[3:], x)
    return h


def vanishes(rows, w):
    x = mp.expj(-w)
    return any(abs(poly(r[:3], x)) < mp.mpf(10) ** (-DPS + 10) for r in rows)


def delay_by_diff(rows, x):
    ref = response(rows, x)
    return -mp.diff(lambda w: mp.arg(response(rows, w) / ref), x, h=STEP)


def delay_closed_form(rows, w):
    x = mp.expj(-w)

    def part(c):
        return mp.re((c[1] * x + 2 * c[2] * x * x) / poly(c, x))

    return sum(part(r[:3]) - part(r[3:]) for r in rows)


def design_block(name, form, rows):
    rows = [[mp.mpf(float(c)) for c in r] for r in rows]
    gd, limits, worst = [], [], mp.mpf(0)
    for i in range(POINTS):
        # w = 2 pi f / Fs with f = i / (N - 1) * Fs / 2.
        w = mp.pi * i / (POINTS - 1)
        at = w
        if vanishes(rows, w):
            limits.append(i)
            at = w + LIMIT_OFFSET if i == 0 else w - LIMIT_OFFSET
        t = delay_by_diff(rows, at)
        closed = delay_closed_form(rows, at)
        dev = abs(t - closed) / max(1, abs(closed))
        worst = max(worst, dev)
        if dev > CHECK_TOL:
            raise SystemExit(f"{name} point {i}: diff {t} against closed form {closed}")
        gd.append(t)
    family, response_type, order, e1, e2, ripple, atten, fs, unit = form
    lines = [
        f"design {name} {family} {response_type} {order} {e1!r} {e2!r} {ripple!r} {atten!r} "
        f"{fs!r} {unit}",
        f"rows {len(rows)}",
    ]
    lines += ["  " + " ".join(repr(float(c)) for c in r) for r in rows]
    lines.append("gd " + " ".join(mp.nstr(t, 17, strip_zeros=False) for t in gd))
    lines.append(" ".join(["limit", str(len(limits))] + [str(i) for i in limits]))
    lines.append("end")
    print(f"{name}: peak {mp.nstr(max(gd), 8)} samples, {len(limits)} limit points, "
          f"diff vs closed form {mp.nstr(worst, 3)}")
    return lines


def main():
    mp.mp.dps = DPS
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    lines = [
        f"# Generated by tools/gen_group_delay_fixtures.py with mpmath {mp.__version__}. "
        "Do not edit.",
        f"points {POINTS}",
    ]
    for name, form, rows in DESIGNS:
        lines += design_block(name, form, rows)
    path = os.path.join(root, "tests", "fixtures", "group_delay.txt")
    with open(path, "w", encoding="ascii") as out:
        out.write("\n".join(lines) + "\n")
    print(f"wrote {path}")


if __name__ == "__main__":
    main()
