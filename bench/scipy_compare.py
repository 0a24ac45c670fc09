#!/usr/bin/python3
"""Times TarvoIIR's benchmarks against their SciPy equivalents in one run.

Runs each Google Benchmark program (built under build/bench by default) for the
listed benchmarks, times the SciPy equivalent on the same machine right after,
and prints both medians and the ratio SciPy / TarvoIIR. Both sides are timed in
process CPU time, so that other load on a shared machine counts for neither.

  /usr/bin/python3 bench/scipy_compare.py [--build-dir build] [--repetitions 9]

To add a comparison, append a Comparison to COMPARISONS: the benchmark program,
the benchmark's name, a SciPy callable doing the same work, and the goal ratio.
"""

import argparse
import json
import os
import statistics
import subprocess
import sys
import time
import timeit
from dataclasses import dataclass
from typing import Callable

import numpy as np
import scipy.signal as sig


@dataclass
class Comparison:
    label: str
    program: str  # file name under <build-dir>/bench
    benchmark: str  # Google Benchmark name
    scipy: Callable[[], object]
    goal: float  # required SciPy / TarvoIIR ratio


def twenty_sections():
    """The 20 sections of bench/freqz_bench.cpp: pole pairs at radii 0.90..0.995,
    zero pairs on the unit circle, gain 1e-3."""
    k = np.arange(20)
    radius = 0.9 + 0.095 * k / 19
    pole = 0.25 * np.pi + 0.01 * k
    zero = 0.1 * np.pi + 0.04 * k
    p = np.concatenate([radius * np.exp(1j * pole), radius * np.exp(-1j * pole)])
    z = np.concatenate([np.exp(1j * zero), np.exp(-1j * zero)])
    return sig.zpk2sos(z, p, 1e-3)


SOS20 = twenty_sections()

# The elliptic bandpass of bench/design_bench.cpp: order 10, 1 dB ripple, 80 dB
# attenuation, band 0.4 to 0.6 of the Nyquist frequency.
ELLIP_BA = sig.ellip(10, 1, 80, [0.4, 0.6], btype="bandpass")

COMPARISONS = [
    Comparison(
        "Design, elliptic bandpass N = 10 (ellip, sos)",
        "design_bench",
        "BM_DesignEllipticBandpass10",
        lambda: sig.ellip(10, 1, 80, [0.4, 0.6], btype="bandpass", output="sos"),
        100.0,
    ),
    Comparison(
        "Design, Butterworth lowpass N = 8 (butter, sos)",
        "design_bench",
        "BM_DesignButterworthLowpass8",
        lambda: sig.butter(8, 0.4, output="sos"),
        100.0,
    ),
    Comparison(
        "Group delay curve, 8192 points (group_delay)",
        "design_bench",
        "BM_GroupDelayCurve8192",
        lambda: sig.group_delay(ELLIP_BA, w=8192),
        5.0,
    ),
    Comparison(
        "ResponseAt, 20 sections, 8192 points (sosfreqz)",
        "freqz_bench",
        "BM_ResponseAt20Sections8192",
        lambda: sig.sosfreqz(SOS20, worN=8192),
        10.0,
    ),
]


def cpp_median_seconds(program, benchmark, repetitions):
    out = subprocess.run(
        [
            program,
            f"--benchmark_filter=^{benchmark}$",
            f"--benchmark_repetitions={repetitions}",
            "--benchmark_report_aggregates_only=true",
            "--benchmark_format=json",
        ],
        check=True,
        capture_output=True,
        text=True,
    ).stdout
    for b in json.loads(out)["benchmarks"]:
        if b.get("aggregate_name") == "median":
            scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}[b["time_unit"]]
            return b["cpu_time"] * scale
    sys.exit(f"{program}: no median for {benchmark}")


def python_median_seconds(fn, repetitions):
    timer = timeit.Timer(fn, timer=time.process_time)
    fn()  # warm up
    once = min(timer.repeat(number=1, repeat=3))
    number = max(1, int(0.2 / max(once, 1e-6)))
    return statistics.median(timer.repeat(number=number, repeat=repetitions)) / number


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--build-dir", default=os.path.join(root, "build"))
    parser.add_argument("--repetitions", type=int, default=9)
    args = parser.parse_args()

    failed = False
    print(f"{'comparison':52} {'TarvoIIR':>12} {'SciPy':>12} {'ratio':>8} {'goal':>6}")
    for c in COMPARISONS:
        program = os.path.join(args.build_dir, "bench", c.program)
        if not os.access(program, os.X_OK):
            sys.exit(f"{program} not found: build the target {c.program} first")
        ours = cpp_median_seconds(program, c.benchmark, args.repetitions)
        theirs = python_median_seconds(c.scipy, args.repetitions)
        ratio = theirs / ours
        met = ratio >= c.goal
        failed |= not met
        print(
            f"{c.label:52} {ours * 1e3:9.3f} ms {theirs * 1e3:9.3f} ms {ratio:7.1f}x "
            f"{c.goal:5.0f}x{'' if met else '  (goal missed)'}"
        )
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
