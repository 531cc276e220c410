#!/usr/bin/python3
# SPDX-FileCopyrightText: 2026 The Buffon's Needle developers
# SPDX-License-Identifier: MIT
"""Works out again, in exact rational arithmetic, the error bound polynomial_sine.h proves for
its coefficients as written there, and fails unless the bound the counters rely on covers it."""

import re
import sys
from fractions import Fraction
from math import comb, factorial


def constant(text, name):
    return re.search(name + r"\s*=\s*([^;]+);", text).group(1)


def main(header):
    text = open(header, encoding="utf-8").read()
    domain = Fraction(constant(text, "kSineDomain"))
    stated = Fraction(constant(text, "kSineError"))
    body = re.search(r"kSineCoefficients\{([^}]*)\}", text).group(1)
    coefficients = [Fraction(float.fromhex(c)) for c in body.replace(",", " ").split()]

    # Taylor's polynomial of degree 41 less the stored one, odd powers only, in x = X t.
    difference = {j: Fraction((-1) ** (j // 2), factorial(j)) for j in range(1, 42, 2)}
    for k, c in enumerate(coefficients):
        difference[2 * k + 1] -= c
    # t^j = 2^(1-j) sum of C(j, i) T_(j-2i)(t), the middle term halved for even j.
    chebyshev = {}
    for j, d in difference.items():
        for i in range(j // 2 + 1):
            weight = Fraction(comb(j, i), 2 ** (j - 1)) / (2 if 2 * i == j else 1)
            chebyshev[j - 2 * i] = chebyshev.get(j - 2 * i, 0) + d * domain**j * weight
    polynomial = sum(abs(a) for a in chebyshev.values()) + domain**43 / factorial(43)

    u = Fraction(1, 2**53)
    rounding = sum(abs(c) * domain ** (2 * k + 1) * (2 * k + 2) * u / (1 - (2 * k + 2) * u)
                   for k, c in enumerate(coefficients))

    bound = polynomial + rounding
    print(f"polynomial {float(polynomial):.6g}, rounding {float(rounding):.3g}, "
          f"bound {float(bound):.6g}, stated {float(stated):.6g}")
    return 0 if bound <= stated else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
