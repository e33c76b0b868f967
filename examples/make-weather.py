#!/usr/bin/env python3
"""Writes the example weather file: a year of hourly clear-sky weather for Auckland.

    python3 examples/make-weather.py [FILE]    (default: auckland-2023.csv beside this script)

Not measured data. Each row stands for the middle of an hour of New Zealand standard
time (UTC+12) in 2023 and holds:

  time         the time stamp, ISO 8601 with the zone offset (text)
  flag         'clear' on every row (text)
  ghi          global horizontal irradiance, W/m2, by the clear-sky formula of Haurwitz:
               GHI = 1098 cos(z) exp(-0.057 / cos(z)) for an apparent zenith angle z,
               0 when the sun is below the horizon (B. Haurwitz, "Insolation in relation
               to cloudiness and cloud density", Journal of Meteorology 2, 154-166, 1945,
               and "Insolation in relation to cloud type", Journal of Meteorology 3,
               123-124, 1946)
  temperature  air temperature, degrees C: a yearly wave of 4 K about 15 C, warmest in
               early February, and a daily wave of 3.5 K, warmest at 15:00

The sun's position comes from the low-accuracy solar coordinates of J. Meeus,
Astronomical Algorithms, 2nd ed., 1998, chapter 25 (about 0.01 degree), with his
sidereal time (equation 12.4) and the refraction formula of Saemundsson (chapter 16).
The output depends on nothing but this script: a test regenerates it and compares.
"""

import math
import os
import sys
from datetime import datetime, timedelta

LATITUDE = -36.85       # degrees north
LONGITUDE_EAST = 174.76  # degrees east
UTC_OFFSET = 12          # hours: New Zealand standard time
YEAR = 2023


def julian_date(moment_ut):
    """Julian date of a naive datetime in universal time (Meeus chapter 7)."""
    y, m = moment_ut.year, moment_ut.month
    d = moment_ut.day + (moment_ut.hour + moment_ut.minute / 60.0) / 24.0
    if m <= 2:
        y, m = y - 1, m + 12
    a = y // 100
    b = 2 - a + a // 4
    return math.floor(365.25 * (y + 4716)) + math.floor(30.6001 * (m + 1)) + d + b - 1524.5


def apparent_elevation(jd):
    """Sun elevation in degrees above the horizon, refraction included."""
    t = (jd - 2451545.0) / 36525.0
    l0 = (280.46646 + 36000.76983 * t + 0.0003032 * t * t) % 360.0
    m = math.radians(357.52911 + 35999.05029 * t - 0.0001537 * t * t)
    c = ((1.914602 - 0.004817 * t - 0.000014 * t * t) * math.sin(m)
         + (0.019993 - 0.000101 * t) * math.sin(2 * m) + 0.000289 * math.sin(3 * m))
    omega = math.radians(125.04 - 1934.136 * t)
    lam = math.radians(l0 + c - 0.00569 - 0.00478 * math.sin(omega))
    eps0 = 23.0 + 26.0 / 60 + 21.448 / 3600 - (46.8150 * t + 0.00059 * t * t - 0.001813 * t ** 3) / 3600
    eps = math.radians(eps0 + 0.00256 * math.cos(omega))
    alpha = math.degrees(math.atan2(math.cos(eps) * math.sin(lam), math.cos(lam)))
    delta = math.asin(math.sin(eps) * math.sin(lam))
    gmst = (280.46061837 + 360.98564736629 * (jd - 2451545.0) + 0.000387933 * t * t - t ** 3 / 38710000.0)
    hour_angle = math.radians(gmst + LONGITUDE_EAST - alpha)
    phi = math.radians(LATITUDE)
    e = math.degrees(math.asin(math.sin(phi) * math.sin(delta)
                               + math.cos(phi) * math.cos(delta) * math.cos(hour_angle)))
    if e > -1.0:
        e += 1.02 / math.tan(math.radians(e + 10.3 / (e + 5.11))) / 60.0
    return e


def haurwitz(elevation):
    cos_z = math.sin(math.radians(elevation))
    return 1098.0 * cos_z * math.exp(-0.057 / cos_z) if cos_z > 0.0 else 0.0


def temperature(moment, day_of_year):
    hour = moment.hour + moment.minute / 60.0
    return (15.0 + 4.0 * math.cos(2 * math.pi * (day_of_year - 35) / 365.0)
            + 3.5 * math.cos(2 * math.pi * (hour - 15.0) / 24.0))


def rows():
    start = datetime(YEAR, 1, 1, 0, 30)
    for k in range(365 * 24):
        local = start + timedelta(hours=k)
        jd = julian_date(local - timedelta(hours=UTC_OFFSET))
        ghi = haurwitz(apparent_elevation(jd))
        air = temperature(local, local.timetuple().tm_yday)
        stamp = local.strftime("%Y-%m-%dT%H:%M") + "+%02d:00" % UTC_OFFSET
        yield "%s,clear,%.1f,%.1f" % (stamp, ghi, air)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "auckland-2023.csv")
    with open(path, "w", newline="\n") as out:
        out.write("time,flag,ghi,temperature\n")
        for row in rows():
            out.write(row + "\n")


if __name__ == "__main__":
    main()
