#!/usr/bin/env python3
"""Writes the synthetic hourly weather year of the solar hot-water example.

No measured year is at hand, so this makes a plausible one for the site of
sun-year.vireo (Golden, Colorado: 39.742 N, 105.179 W, Mountain Standard Time), 2023:
the sun's position by Spencer's series, a day-to-day clearness that changes between
clear, broken and overcast weather, the diffuse fraction by the Erbs correlation,
irradiance on a plane tilted 45 degrees to the south by the isotropic sky (with ground
reflection, albedo 0.2), an ambient temperature of annual, daily and random parts, a
mains temperature that lags the season, the collector pump of the example's field (on
above 200 W/m2 on the plane) and a hot-water draw of about 200 litres a day.

Pure Python with a fixed seed: the same file on every run.

    python3 make-solar-dhw-weather.py > solar-dhw-weather.csv
"""
import math
import random
import sys

LATITUDE = 39.742   # degrees north
LONGITUDE = 105.179  # degrees west
MERIDIAN = 105.0     # of Mountain Standard Time
TILT = 45.0          # degrees, facing south
ALBEDO = 0.2
SOLAR_CONSTANT = 1367.0
PUMP_THRESHOLD = 200.0  # W/m2 on the plane
PUMP_FLOW = 0.05        # kg/s: two 2 m2 collectors in series, about 45 l/(h m2)
# Litres drawn in the hour that starts at the given hour; 1 kg per litre.
DRAW = {6: 15, 7: 40, 8: 25, 12: 15, 13: 10, 17: 15, 18: 25, 19: 30, 20: 15, 21: 10}
DAYS_IN_MONTH = [31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31]

# Clear, broken, overcast: mean daily clearness, its spread, and the chance of each
# weather on the day after a day of each weather (rows), sunnier in summer and autumn.
WEATHER = [(0.72, 0.03), (0.52, 0.08), (0.28, 0.07)]
CHANGE = [[0.70, 0.22, 0.08], [0.45, 0.35, 0.20], [0.35, 0.35, 0.30]]


def sun(day, hour):
    """cos of the zenith angle, of the incidence on the plane, and the extraterrestrial
    irradiance normal to the beam, at the middle of the hour of standard time."""
    b = 2.0 * math.pi * (day - 1) / 365.0
    declination = (0.006918 - 0.399912 * math.cos(b) + 0.070257 * math.sin(b)
                   - 0.006758 * math.cos(2 * b) + 0.000907 * math.sin(2 * b)
                   - 0.002697 * math.cos(3 * b) + 0.00148 * math.sin(3 * b))
    equation_of_time = 229.18 * (0.000075 + 0.001868 * math.cos(b) - 0.032077 * math.sin(b)
                                 - 0.014615 * math.cos(2 * b) - 0.040849 * math.sin(2 * b))
    solar_time = hour + 0.5 + (4.0 * (MERIDIAN - LONGITUDE) + equation_of_time) / 60.0
    omega = math.radians(15.0 * (solar_time - 12.0))
    phi = math.radians(LATITUDE)
    beta = math.radians(TILT)
    cos_zenith = (math.cos(phi) * math.cos(declination) * math.cos(omega)
                  + math.sin(phi) * math.sin(declination))
    cos_incidence = (math.sin(declination) * math.sin(phi - beta)
                     + math.cos(declination) * math.cos(phi - beta) * math.cos(omega))
    normal = SOLAR_CONSTANT * (1.000110 + 0.034221 * math.cos(b) + 0.001280 * math.sin(b)
                               + 0.000719 * math.cos(2 * b) + 0.000077 * math.sin(2 * b))
    return cos_zenith, cos_incidence, normal


def diffuse_fraction(kt):
    """Erbs, Klein and Duffie (1982)."""
    if kt <= 0.22:
        return 1.0 - 0.09 * kt
    if kt <= 0.80:
        return 0.9511 - 0.1604 * kt + 4.388 * kt**2 - 16.638 * kt**3 + 12.336 * kt**4
    return 0.165


def main(out):
    rng = random.Random(17)
    out.write("# Synthetic weather, not measured: made by make-solar-dhw-weather.py (seed 17) for\n"
              "# Golden, Colorado (39.742 N, 105.179 W, Mountain Standard Time), 2023, one row per hour.\n"
              "# seconds: end of the hour since the start of the year; hour: its start (standard time);\n"
              "# ghi, dhi: global and diffuse horizontal (W/m2); t_ambient, t_mains (degC);\n"
              "# g_plane = gb_plane + gd_plane: beam and diffuse on a plane tilted 45 degrees south,\n"
              "# isotropic sky with ground reflection (W/m2); pump_flow: collector loop, on above\n"
              "# 200 W/m2 on the plane; draw_flow: hot water drawn (kg/s).\n")
    out.write("seconds,month,day,hour,ghi,dhi,t_ambient,t_mains,g_plane,gb_plane,gd_plane,pump_flow,draw_flow\n")
    weather = 0
    anomaly = 0.0
    day = 0
    for month, days in enumerate(DAYS_IN_MONTH, start=1):
        for day_of_month in range(1, days + 1):
            day += 1
            season = math.cos(2.0 * math.pi * (day - 20) / 365.0)  # 1 in the depth of winter
            chances = list(CHANGE[weather])
            if season < 0:  # summer and autumn: clear days hold on longer
                chances[0] += 0.1 * -season
            weather = rng.choices(range(3), weights=chances)[0]
            mean, spread = WEATHER[weather]
            clearness = min(max(rng.gauss(mean, spread), 0.08), 0.78)
            anomaly = 0.7 * anomaly + rng.gauss(0.0, 2.5)
            daily_mean = 10.5 - 11.5 * season + anomaly
            swing = 3.0 + 7.0 * clearness
            mains = 12.0 - 5.0 * math.cos(2.0 * math.pi * (day - 50) / 365.0)
            use = min(max(rng.gauss(1.0, 0.1), 0.7), 1.3)
            for hour in range(24):
                cos_zenith, cos_incidence, normal = sun(day, hour)
                ghi = dhi = beam_normal = 0.0
                if cos_zenith > 0.0:
                    kt = min(max(clearness + rng.gauss(0.0, 0.05), 0.03), 0.8)
                    ghi = kt * normal * cos_zenith
                    dhi = diffuse_fraction(kt) * ghi
                    if cos_zenith > 0.087:  # above 5 degrees
                        beam_normal = (ghi - dhi) / cos_zenith
                    else:
                        dhi = ghi
                cos_tilt = math.cos(math.radians(TILT))
                gb = beam_normal * max(cos_incidence, 0.0)
                gd = dhi * (1.0 + cos_tilt) / 2.0 + ALBEDO * ghi * (1.0 - cos_tilt) / 2.0
                ambient = (daily_mean + swing * math.cos(2.0 * math.pi * (hour + 0.5 - 15.0) / 24.0)
                           + rng.gauss(0.0, 0.3))
                pump = PUMP_FLOW if gb + gd > PUMP_THRESHOLD else 0.0
                draw = DRAW.get(hour, 0) * use / 3600.0
                seconds = 3600 * ((day - 1) * 24 + hour + 1)
                out.write(f"{seconds},{month},{day_of_month},{hour},{ghi:.1f},{dhi:.1f},{ambient:.2f},"
                          f"{mains:.2f},{gb + gd:.1f},{gb:.1f},{gd:.1f},{pump:.3f},{draw:.6f}\n")


if __name__ == "__main__":
    main(sys.stdout)
