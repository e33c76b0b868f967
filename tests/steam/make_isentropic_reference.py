#!/usr/bin/python3
"""Writes isentropic_reference.inc: IAPWS-IF97 values for the isentropic-change tests.

Steam expanded isentropically from superheated states into the wet region (enthalpy
and quality at the lower pressure), and the pressure of saturated vapour of a given
entropy. English units as the routines take them: psia, °F, Btu/lbm, Btu/(lbm·°R).

Run with Debian's python3-iapws and python3-scipy:
    /usr/bin/python3 tests/steam/make_isentropic_reference.py > tests/steam/isentropic_reference.inc
"""
import sys

from iapws import IAPWS97
from scipy.optimize import brentq

PA_PER_PSI = 6894.757293168361
KJ_PER_BTU_LBM = 2.326
KJ_PER_BTU_LBM_R = 4.1868


def mpa(psia):
    return psia * PA_PER_PSI * 1e-6


def kelvin(fahrenheit):
    return (fahrenheit - 32.0) / 1.8 + 273.15


# (p1 psia, T1 °F, p2 psia): turbine-like expansions ending wet.
EXPANSIONS = [
    (1000.0, 1000.0, 1.0), (1000.0, 1000.0, 5.0), (1000.0, 800.0, 14.7), (600.0, 700.0, 2.0),
    (2400.0, 1000.0, 3.0), (200.0, 500.0, 14.7), (1500.0, 900.0, 100.0), (100.0, 400.0, 1.0),
]
ENTROPIES = [1.1, 1.2, 1.3, 1.4, 1.5, 1.6, 1.7, 1.8, 1.9, 2.0, 2.1]


def main():
    import iapws
    out = sys.stdout
    out.write("// iapws %s\n" % iapws.__version__)
    out.write("// Made by make_isentropic_reference.py; do not edit.\n")
    out.write("// {p1 psia, T1 °F, p2 psia, h2 Btu/lbm, x2}\n")
    out.write("const Expansion kExpansions[] = {\n")
    for p1, t1, p2 in EXPANSIONS:
        s1 = IAPWS97(P=mpa(p1), T=kelvin(t1)).s
        end = IAPWS97(P=mpa(p2), s=s1)
        out.write("    {%r, %r, %r, %r, %r},\n" % (p1, t1, p2, end.h / KJ_PER_BTU_LBM, end.x))
    out.write("};\n\n// {s Btu/(lbm·°R), p psia} of saturated vapour\n")
    out.write("const SaturatedVapour kSaturatedVapour[] = {\n")
    for s in ENTROPIES:
        target = s * KJ_PER_BTU_LBM_R
        t = brentq(lambda t_k: IAPWS97(T=t_k, x=1).s - target, 273.16, 647.0, xtol=1e-12)
        out.write("    {%r, %r},\n" % (s, IAPWS97(T=t, x=1).P * 1e6 / PA_PER_PSI))
    out.write("};\n")


main()
