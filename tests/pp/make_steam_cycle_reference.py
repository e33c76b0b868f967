#!/usr/bin/python3
"""Writes steam_cycle_reference.inc: IAPWS-IF97 values for the steam-cycle balance tests.

The saturation line and the enthalpy of water and steam every 2 K at the water pressures
of the heat-exchanger tests and the trough-plant example, the isentropic enthalpy drop
of the turbine tests' expansions, and seeded sweeps of steam-generator states (oil
heating water at one of those pressures) with the water's inlet enthalpy and of water
heating water with both inlet enthalpies. SI units: Pa, degC, kg/s, J/kg.

Run with Debian's python3-iapws:
    /usr/bin/python3 tests/pp/make_steam_cycle_reference.py > tests/pp/steam_cycle_reference.inc
"""
import random
import sys

from iapws import IAPWS97

PRESSURES = [1e6, 2e6, 3e6, 4e6, 5e6, 6e6, 7e6, 8e6, 9e6, 1e7]
LOWEST, HIGHEST, STEP = 20, 400, 2

# (p1 Pa, T1 degC, p2 Pa): a stage of the example (4 MPa to 0.2 MPa), one ending wet and
# one dry at 10 MPa, and a long expansion to a condenser's pressure.
EXPANSIONS = [(4e6, 340.0, 2e5), (4e6, 380.0, 2e5), (1e7, 500.0, 1e6), (1e7, 371.0, 1e6), (1e7, 500.0, 1e4),
              (2e6, 300.0, 1e5)]

# Steam-generator states: oil of 250 to 400 degC at 0.3 to 2 kg/s heating water of a
# tenth to a hundredth and a half of that flow, compressed at 1 to 10 MPa from 20 degC
# to 5 K below its saturation temperature; the water leaves sub-cooled, wet or
# superheated depending on the heat the oil has for it.
STATES, SEED = 150, 52

# Water heating water: side 1 compressed liquid that stays liquid, or steam from 2 K above
# its saturation temperature to 400 degC that condenses as it gives its heat, at 0.1 to 2
# kg/s; side 2 liquid from 20 degC to 5 K below the colder of its saturation temperature
# and side 1's inlet, at a fiftieth to the whole of side 1's flow. Either side may leave
# wet; side 2 may leave superheated.
WATER_STATES, WATER_SEED = 120, 53


def generator_states():
    draw = random.Random(SEED)
    states = []
    for _ in range(STATES):
        p = draw.choice(PRESSURES)
        ts = IAPWS97(P=p * 1e-6, x=0).T - 273.15
        oil = round(draw.uniform(250.0, 400.0), 2)
        oil_flow = round(draw.uniform(0.3, 2.0), 3)
        water_flow = round(oil_flow * draw.uniform(0.01, 0.15), 5)
        water = round(draw.uniform(20.0, ts - 5.0), 2)
        states.append((oil, oil_flow, water, water_flow, p, IAPWS97(P=p * 1e-6, T=water + 273.15).h * 1e3))
    return states


def water_states():
    draw = random.Random(WATER_SEED)
    states = []
    while len(states) < WATER_STATES:
        p1, p2 = draw.choice(PRESSURES), draw.choice(PRESSURES)
        ts1 = IAPWS97(P=p1 * 1e-6, x=0).T - 273.15
        ts2 = IAPWS97(P=p2 * 1e-6, x=0).T - 273.15
        if draw.random() < 0.5:
            hot = round(draw.uniform(ts1 + 10.0, 400.0), 2)
        else:
            hot = round(draw.uniform(60.0, ts1 - 2.0), 2)
        top = min(ts1, ts2, hot) - 40.0
        if top < 30.0:
            continue
        cold = round(draw.uniform(20.0, top), 2)
        flow = round(draw.uniform(0.1, 2.0), 3)
        cold_flow = round(flow * draw.uniform(1.0, 4.0), 5)
        states.append((hot, flow, p1, cold, cold_flow, p2, IAPWS97(P=p1 * 1e-6, T=hot + 273.15).h * 1e3,
                       IAPWS97(P=p2 * 1e-6, T=cold + 273.15).h * 1e3))
    return states


def main():
    import iapws
    out = sys.stdout
    out.write("// iapws %s\n" % iapws.__version__)
    out.write("// Made by make_steam_cycle_reference.py; do not edit.\n")
    out.write("constexpr double kLowest = %r, kStep = %r;\n" % (float(LOWEST), float(STEP)))
    out.write("// {p Pa, saturation temperature degC, hf J/kg, hg J/kg, h J/kg at kLowest + k kStep degC}\n")
    out.write("const Isobar kIsobars[] = {\n")
    for p in PRESSURES:
        liquid, vapour = IAPWS97(P=p * 1e-6, x=0), IAPWS97(P=p * 1e-6, x=1)
        out.write("    {%r, %r, %r, %r, {\n" % (p, liquid.T - 273.15, liquid.h * 1e3, vapour.h * 1e3))
        values = [IAPWS97(P=p * 1e-6, T=t + 273.15).h * 1e3 for t in range(LOWEST, HIGHEST + 1, STEP)]
        for k in range(0, len(values), 6):
            out.write("        %s,\n" % ", ".join(repr(v) for v in values[k:k + 6]))
        out.write("    }},\n")
    out.write("};\n\n// {p1 Pa, T1 degC, p2 Pa, isentropic drop J/kg, quality at its end}\n")
    out.write("const Expansion kExpansions[] = {\n")
    for p1, t1, p2 in EXPANSIONS:
        start = IAPWS97(P=p1 * 1e-6, T=t1 + 273.15)
        end = IAPWS97(P=p2 * 1e-6, s=start.s)
        out.write("    {%r, %r, %r, %r, %r},\n" % (p1, t1, p2, (start.h - end.h) * 1e3, end.x))
    out.write("};\n\n// {oil degC, oil kg/s, water degC, water kg/s, water p Pa, water inlet h J/kg}\n")
    out.write("const GeneratorState kGeneratorStates[] = {\n")
    for state in generator_states():
        out.write("    {%r, %r, %r, %r, %r, %r},\n" % state)
    out.write("};\n\n// {side 1 degC, kg/s, Pa, side 2 degC, kg/s, Pa, side 1 inlet h J/kg, side 2 inlet h J/kg}\n")
    out.write("const WaterPair kWaterPairs[] = {\n")
    for state in water_states():
        out.write("    {%r, %r, %r, %r, %r, %r, %r, %r},\n" % state)
    out.write("};\n")


if __name__ == "__main__":
    main()
