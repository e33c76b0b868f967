#!/usr/bin/env python3
"""Checks what examples/weather-year.vireo wrote against the weather file it read.

    python3 check-weather.py RESULT.csv WEATHER.csv

Every row must carry the clock time of its weather row (the calendar and the file in
step), the irradiance and temperature columns of that row (the column list read the
right columns), and a sun whose elevation gives back the row's clear-sky irradiance by
the formula the file was made with (the site, its far-eastern zone and the clock agree
with the file's own sun position). Exit status 1 with the first faults named.
"""

import math
import sys


def haurwitz(elevation):
    cos_z = math.sin(math.radians(elevation))
    return 1098.0 * cos_z * math.exp(-0.057 / cos_z) if cos_z > 0.0 else 0.0


def main(result_path, weather_path):
    with open(result_path) as f:
        result = [line.rstrip("\n").split(",") for line in f][1:]
    with open(weather_path) as f:
        weather = [line.rstrip("\n").split(",") for line in f][1:]
    faults = []
    if len(result) != len(weather):
        faults.append("%d rows written for %d weather rows" % (len(result), len(weather)))
    for n, (r, w) in enumerate(zip(result, weather), start=2):
        year, month, day, hour, ghi, air, _azimuth, elevation, gon, sine = (float(x) for x in r)
        stamp = "%04d-%02d-%02dT%02d:%02d" % (year, month, day, int(hour), round(60 * (hour - int(hour))))
        if not w[0].startswith(stamp):
            faults.append("row %d: clock %s, weather %s" % (n, stamp, w[0]))
        if ghi != float(w[2]) or air != float(w[3]):
            faults.append("row %d: read %g %g, the file holds %s %s" % (n, ghi, air, w[2], w[3]))
        # One hour off would move the irradiance by hundreds of W/m2; the two sun
        # positions (the library's and the file's) agree to a few hundredths of a degree.
        if elevation > 2.0 and abs(ghi - haurwitz(elevation)) > 2.0 + 0.005 * ghi:
            faults.append("row %d: %g W/m2 at an elevation of %g degrees" % (n, ghi, elevation))
        if elevation < -1.0 and ghi != 0.0:
            faults.append("row %d: %g W/m2 with the sun below the horizon" % (n, ghi))
        if ghi > 0.0 and ghi > gon * sine:
            faults.append("row %d: %g W/m2, more than outside the atmosphere" % (n, ghi))
    for fault in faults[:10]:
        print(fault)
    if faults:
        print("%d faults in %s" % (len(faults), result_path))
        return 1
    print("%s: %d rows agree with %s" % (result_path, len(result), weather_path))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1], sys.argv[2]))
