#!/usr/bin/env python3
"""Prints the filterEntry rows of the sample catalogue.

Each filter is a band-pass made of two second-order Butterworth sections
(Q = 1/sqrt(2)), designed with the bilinear transform and pre-warping at the
unit's sampling rate of 100 kHz: section 0 a high-pass at the lower corner,
section 1 a low-pass at the upper corner. Coefficients are those of
H(z) = (b0 + b1 z^-1 + b2 z^-2) / (1 + a1 z^-1 + a2 z^-2); the unit takes the
a coefficients negated, which the selection page does when it writes them.

Usage: designfilters.py FIRST_ID NAME:LOW:HIGH ...
"""
import math
import sys

FS = 100000.0
Q = 1.0 / math.sqrt(2.0)


def section(kind, f0):
    w0 = 2.0 * math.pi * f0 / FS
    alpha = math.sin(w0) / (2.0 * Q)
    cw = math.cos(w0)
    a0 = 1.0 + alpha
    if kind == "hp":
        b = [(1.0 + cw) / 2.0, -(1.0 + cw), (1.0 + cw) / 2.0]
    else:
        b = [(1.0 - cw) / 2.0, 1.0 - cw, (1.0 - cw) / 2.0]
    a = [-2.0 * cw, 1.0 - alpha]
    return [x / a0 for x in b] + [x / a0 for x in a]


def main(argv):
    first = int(argv[1])
    for i, spec in enumerate(argv[2:]):
        name, low, high = spec.split(":")
        low, high = float(low), float(high)
        values = section("hp", low) + section("lp", high)
        coefficients = ", ".join("%.12f" % v for v in values)
        print("INSERT INTO filterEntry VALUES (%d, '%s', %.1f, %.1f, %s);"
              % (first + i, name, low, high, coefficients))


if __name__ == "__main__":
    main(sys.argv)
