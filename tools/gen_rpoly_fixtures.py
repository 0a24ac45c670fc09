#!/usr/bin/python3
"""Reference roots of real polynomials for the Jenkins-Traub tests.

Writes tests/fixtures/rpoly_roots.txt. Each polynomial is stored with its double
coefficients exactly (hexadecimal floats, highest power first) and the exact roots
of those coefficients, computed by mpmath at high precision, so the reference does
not depend on how the coefficients were rounded. Per root the file gives

    r  <re> <im> <sensitivity> <separation>

sensitivity = sum_k |p_k| |r|^(n-k) / |P'(r)|: to first order, a root of a
polynomial whose coefficients are perturbed by a relative eps moves by at most
eps * sensitivity ("inf" for a multiple root). separation = distance to the nearest
other root. The tests compare a root only where its tolerance is far below its
separation, and check every root against a residual bound.

Usage: /usr/bin/python3 tools/gen_rpoly_fixtures.py  (Debian's numpy, scipy, mpmath)
"""

import os

import mpmath as mp
import numpy as np
import scipy.signal

mp.mp.dps = 80
RNG = np.random.default_rng(20240515)
OUT = os.path.join(os.path.dirname(__file__), "..", "tests", "fixtures", "rpoly_roots.txt")


def from_roots(roots):
    """Real coefficients of prod (z - r), expanded in double like a caller would."""
    c = np.poly(np.asarray(roots, dtype=complex))
    return [float(x) for x in np.real(c)]


def conj_pairs(count, rmin, rmax):
    out = []
    for _ in range(count):
        z = RNG.uniform(rmin, rmax) * np.exp(1j * RNG.uniform(0.05, np.pi - 0.05))
        out += [z, np.conj(z)]
    return out


def exact_roots(coeffs):
    """Roots of the exact double coefficients, with their first-order sensitivity."""
    c = [mp.mpf(x) for x in coeffs]
    while c[-1] == 0:
        c.pop()
    zeros = len(coeffs) - len(c)
    n = len(c) - 1
    roots = list(mp.polyroots(c, maxsteps=4000, extraprec=1200)) if n > 0 else []
    # Polish at full precision: polyroots stops at its own tolerance.
    dc = [c[k] * (n - k) for k in range(n)]
    polished = []
    for r in roots:
        for _ in range(60):
            step = mp.polyval(c, r) / mp.polyval(dc, r)
            r -= step
            if abs(step) <= abs(r) * mp.mpf(10) ** (-70):
                break
        polished.append(mp.mpc(r))
    out = [(mp.mpc(0), mp.mpf(0))] * zeros
    for r in polished:
        scale = mp.polyval([abs(x) for x in c], abs(r))
        out.append((r, scale / abs(mp.polyval(dc, r))))
    return out


def write_case(f, name, coeffs, nominal):
    # A multiple root has no sensitivity (and the rounded coefficients split it
    # into a cluster): only the nominal roots are written, for the count.
    if nominal is None:
        roots = exact_roots(coeffs)
    else:
        roots = [(mp.mpc(r), mp.inf) for r in nominal]
    n = len(coeffs) - 1
    assert len(roots) == n, name
    f.write("poly %s %d\n" % (name, n))
    f.write("c %s\n" % " ".join(float(x).hex() for x in coeffs))
    for i, (r, sens) in enumerate(roots):
        sep = min((abs(r - s) for j, (s, _) in enumerate(roots) if j != i), default=mp.inf)
        if sens == mp.inf:
            sep = mp.mpf(0)
        f.write(
            "r %s %s %s %s\n"
            % (
                repr(float(r.real)),
                repr(float(r.imag)),
                "inf" if sens == mp.inf else "%.6e" % float(sens),
                "inf" if sep == mp.inf else "%.6e" % float(sep),
            )
        )
    f.write("end\n")


def cases():
    # Exactly representable small cases.
    yield "cubic-123", [1.0, -6.0, 11.0, -6.0], None
    yield "cubic-unity", [1.0, 0.0, 0.0, -1.0], None
    # Random real roots.
    for n in (3, 5, 8, 12, 20):
        yield "real-%d" % n, from_roots(RNG.uniform(-2.0, 2.0, n)), None
    # Complex conjugate pairs (one real root for odd degrees).
    for n in (4, 10, 21, 30, 50):
        r = conj_pairs(n // 2, 0.3, 1.5)
        if n % 2:
            r.append(RNG.uniform(-1.5, 1.5))
        yield "pairs-%d" % n, from_roots(r), None
    # Real roots and pairs mixed.
    for n in (7, 16, 25, 40):
        real = n // 3
        r = list(RNG.uniform(-3.0, 3.0, real)) + conj_pairs((n - real) // 2, 0.2, 3.0)
        if len(r) < n:
            r.append(RNG.uniform(-3.0, 3.0))
        yield "mixed-%d" % n, from_roots(r), None
    # Roots of unity and their rotations.
    for n in (5, 17, 50):
        yield "unity-%d" % n, [1.0] + [0.0] * (n - 1) + [-1.0], None
    yield "negunity-50", [1.0] + [0.0] * 49 + [1.0], None
    # Random coefficients: roots near the unit circle.
    for n in (10, 30, 50):
        yield "randcoef-%d" % n, [float(x) for x in RNG.standard_normal(n + 1)], None
    # Clusters: a tight group of simple roots next to ordinary ones.
    yield "cluster-7", from_roots([1.0 + 1e-4 * k for k in range(5)] + [-2.0, 3.0]), None
    yield "cluster-pairs-12", from_roots(
        [0.5 + 0.5j + 1e-3 * k for k in range(3)] + [0.5 - 0.5j - 1e-3 * k for k in range(3)]
        + [1.0 + 2e-3 * k for k in range(3)] + [-0.3, -1.7, 2.2]), None
    # Multiple roots: only the residual is promised.
    for name, roots in (
        ("multiple-real-5", [1.0] * 5),
        ("multiple-mixed-11", [1.0] * 4 + [-2.0] * 3 + [-0.5 + 0.866j, -0.5 - 0.866j] * 2),
        ("multiple-pairs-8", [0.6 + 0.8j, 0.6 - 0.8j] * 4),
    ):
        yield name, from_roots(roots), roots
    # Exact zero coefficients at the end: roots 0.
    base = from_roots(list(RNG.uniform(-2.0, 2.0, 3)) + conj_pairs(2, 0.5, 2.0))
    yield "zeros-end-11", base + [0.0] * 4, None
    yield "zeros-end-3", [1.0, -2.5, 0.0, 0.0], None
    # Wilkinson-like: equally spaced and geometric real roots.
    yield "wilkinson-10", from_roots(range(1, 11)), None
    yield "wilkinson-20", from_roots(range(1, 21)), None
    yield "geometric-20", from_roots([2.0 ** -k for k in range(1, 21)]), None
    # Widely scaled: huge and tiny coefficients, huge and tiny roots, wide spreads.
    mixed = from_roots([0.3, -1.2, 2.5] + conj_pairs(3, 0.4, 2.0))
    yield "times-1e250-9", [x * 1e250 for x in mixed], None
    yield "times-1e-250-9", [x * 1e-250 for x in mixed], None
    yield "roots-1e30-8", from_roots([1e30 * x for x in [0.3, -1.2, 2.5, 0.7]]
                                     + list(1e30 * np.asarray(conj_pairs(2, 0.4, 2.0)))), None
    yield "roots-1e-30-8", from_roots([1e-30 * x for x in [0.3, -1.2, 2.5, 0.7]]
                                      + list(1e-30 * np.asarray(conj_pairs(2, 0.4, 2.0)))), None
    yield "spread-13", from_roots([10.0 ** k for k in range(-6, 7)]), None
    yield "spread-pairs-12", from_roots(
        [10.0 ** k * np.exp(1j * (0.3 + k)) for k in range(-5, 7, 2)]
        + [10.0 ** k * np.exp(-1j * (0.3 + k)) for k in range(-5, 7, 2)]), None
    # Filter denominators: poles crowded near z = 1 and near the unit circle.
    yield "butter-lowpass-8", [float(x) for x in scipy.signal.butter(8, 0.05)[1]], None
    yield "cheby-lowpass-12", [float(x) for x in scipy.signal.cheby1(12, 0.5, 0.1)[1]], None
    yield "ellip-bandpass-20", [float(x) for x in
                                scipy.signal.ellip(10, 0.5, 60, [0.3, 0.4], btype="bandpass")[1]], None
    yield "ellip-numerator-20", [float(x) for x in
                                 scipy.signal.ellip(10, 0.5, 60, [0.3, 0.4], btype="bandpass")[0]], None
    # Chebyshev polynomial T20 (integer coefficients, real roots in (-1, 1)).
    t20 = np.polynomial.chebyshev.cheb2poly([0] * 20 + [1])[::-1]
    yield "chebyshev-t20", [float(x) for x in t20], None


def main():
    with open(OUT, "w") as f:
        f.write("# Reference roots of real polynomials (tools/gen_rpoly_fixtures.py).\n")
        f.write("# poly <name> <degree>; c <coefficients, highest power first, hex>;\n")
        f.write("# r <re> <im> <sensitivity> <separation> per exact root; end.\n")
        for name, coeffs, nominal in cases():
            write_case(f, name, coeffs, nominal)


if __name__ == "__main__":
    main()
