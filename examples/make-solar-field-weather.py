#!/usr/bin/env python3
"""Writes solar-field-weather.csv, the weather that solar-field.vireo reads: three clear
days at Daggett, California (34.87 N, 116.78 W, 588 m, Pacific Standard Time), in steps of
a quarter of an hour from 20 June 2023, 00:00.

Columns: time since the start (s), direct normal irradiance (W/m2), ambient temperature
(degC).

Direct normal irradiance of a clear sky: Meinel and Meinel (Applied Solar Energy, 1976)
with Laue's altitude term (1970), DNI = G_on ((1 - 0.14 h) 0.7^(AM^0.678) + 0.14 h), h the
site's altitude in km, AM the relative air mass of Kasten and Young (Applied Optics 28,
1989), and G_on the extraterrestrial normal irradiance 1367 (1 + 0.033 cos(360 n / 365))
W/m2 (Duffie and Beckman, Solar Engineering of Thermal Processes, eq. 1.4.1a). The sun's
position from Spencer's declination and equation of time (Duffie and Beckman, eqs. 1.6.1b
and 1.5.3). The ambient temperature is a plain daily sine between 24 degC at 03:00 and
40 degC at 15:00.

Run it from anywhere; it writes the file beside itself (or to standard output with -).
"""
import math
import os
import sys

LATITUDE = 34.87
LONGITUDE_WEST = 116.78
STANDARD_MERIDIAN_WEST = 120.0
ALTITUDE_KM = 0.588
FIRST_DAY_OF_YEAR = 171  # 20 June 2023
DAYS = 3
STEP_S = 900


def sun_zenith(day_of_year, clock_hours):
    b = math.radians((day_of_year - 1) * 360.0 / 365.0)
    declination = (0.006918 - 0.399912 * math.cos(b) + 0.070257 * math.sin(b)
                   - 0.006758 * math.cos(2 * b) + 0.000907 * math.sin(2 * b)
                   - 0.002697 * math.cos(3 * b) + 0.00148 * math.sin(3 * b))
    equation_of_time = 229.2 * (0.000075 + 0.001868 * math.cos(b) - 0.032077 * math.sin(b)
                                - 0.014615 * math.cos(2 * b) - 0.04089 * math.sin(2 * b))
    solar_hours = clock_hours + (4 * (STANDARD_MERIDIAN_WEST - LONGITUDE_WEST) + equation_of_time) / 60.0
    hour_angle = math.radians(15.0 * (solar_hours - 12.0))
    phi = math.radians(LATITUDE)
    cos_zenith = (math.cos(phi) * math.cos(declination) * math.cos(hour_angle)
                  + math.sin(phi) * math.sin(declination))
    return math.degrees(math.acos(max(-1.0, min(1.0, cos_zenith))))


def direct_normal(day_of_year, zenith):
    if zenith >= 90.0:
        return 0.0
    air_mass = 1.0 / (math.cos(math.radians(zenith)) + 0.50572 * (96.07995 - zenith) ** -1.6364)
    extraterrestrial = 1367.0 * (1 + 0.033 * math.cos(math.radians(360.0 * day_of_year / 365.0)))
    return extraterrestrial * ((1 - 0.14 * ALTITUDE_KM) * 0.7 ** (air_mass ** 0.678) + 0.14 * ALTITUDE_KM)


def ambient(clock_hours):
    return 32.0 + 8.0 * math.sin(2 * math.pi * (clock_hours - 9.0) / 24.0)


def rows():
    yield "time_s,dni_w_m2,ambient_c"
    steps_per_day = 86400 // STEP_S
    for step in range(DAYS * steps_per_day):
        day = FIRST_DAY_OF_YEAR + step // steps_per_day
        hours = (step % steps_per_day) * STEP_S / 3600.0
        dni = direct_normal(day, sun_zenith(day, hours))
        yield f"{step * STEP_S},{dni:.1f},{ambient(hours):.2f}"


def main():
    text = "\n".join(rows()) + "\n"
    if sys.argv[1:] == ["-"]:
        sys.stdout.write(text)
        return
    # Beside this script unless another path is given (the reproducibility test's).
    here = os.path.join(os.path.dirname(os.path.abspath(__file__)), "solar-field-weather.csv")
    path = sys.argv[1] if len(sys.argv) > 1 else here
    with open(path, "w", encoding="ascii") as f:
        f.write(text)


if __name__ == "__main__":
    main()
