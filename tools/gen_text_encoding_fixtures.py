#!/usr/bin/env python3
"""Reference data for the text conversions of stored strings, from Python's own
codecs: the Windows-1252 table and the validity of random UTF-8-like byte
strings under a strict decoder.

Writes tests/fixtures/fw/cp1252.txt and tests/fixtures/fw/utf8_validity.txt."""

import os
import random

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "tests", "fixtures", "fw")


def cp1252_table():
    lines = ["# byte, then the UTF-8 bytes of its Windows-1252 character (or 'undefined')"]
    for b in range(256):
        try:
            text = bytes([b]).decode("cp1252")
            lines.append("%02X %s" % (b, text.encode("utf-8").hex().upper()))
        except UnicodeDecodeError:
            lines.append("%02X undefined" % b)
    return lines


def utf8_cases(rng):
    lead = [0x00, 0x41, 0x7F, 0x80, 0xBF, 0xC0, 0xC1, 0xC2, 0xDF, 0xE0, 0xE1, 0xED, 0xEE,
            0xEF, 0xF0, 0xF1, 0xF4, 0xF5, 0xF8, 0xFF]
    cont = [0x80, 0x8F, 0x90, 0x9F, 0xA0, 0xBF, 0xC0, 0x41]
    lines = ["# hex bytes, then 1 when strict UTF-8 accepts them, else 0"]
    seen = set()
    while len(lines) < 2001:
        n = rng.randint(1, 6)
        data = bytearray()
        while len(data) < n:
            data.append(rng.choice(lead))
            for _ in range(rng.randint(0, 3)):
                data.append(rng.choice(cont))
        data = bytes(data)
        if data in seen:
            continue
        seen.add(data)
        try:
            data.decode("utf-8", errors="strict")
            ok = 1
        except UnicodeDecodeError:
            ok = 0
        lines.append("%s %d" % (data.hex().upper(), ok))
    return lines


def main():
    os.makedirs(OUT, exist_ok=True)
    with open(os.path.join(OUT, "cp1252.txt"), "w") as f:
        f.write("\n".join(cp1252_table()) + "\n")
    with open(os.path.join(OUT, "utf8_validity.txt"), "w") as f:
        f.write("\n".join(utf8_cases(random.Random(1252))) + "\n")


if __name__ == "__main__":
    main()
