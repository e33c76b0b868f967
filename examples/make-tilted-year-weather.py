#!/usr/bin/env python3
"""Writes tilted-year-weather.csv: a synthetic year (2023) of hourly global and diffuse
irradiance on the horizontal for Golden, Colorado, for the example tilted-year.vireo.

Nothing here is measured. The sky is a clear-sky formula (Haurwitz 1945) dimmed by a
cloud cover that follows a fixed-seed autocorrelated random series (Kasten and Czeplak
1980), and the diffuse part is the Erbs, Klein and Duffie (1982) split of the global
irradiance by its clearness index. Each row stands for the middle of an hour of local
standard time (7 hours west of Greenwich).

    python3 examples/make-tilted-year-weather.py > examples/tilted-year-weather.csv
"""
import math
import random

LATITUDE, LONGITUDE_WEST, ZONE_WEST = 39.742, 105.179, 7
YEAR = 2023
SEED = 20230101
DAYS = [31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31]


def day_terms(n):
    """Spencer (1971): declination (radians), equation of time (minutes), eccentricity."""
    g = 2 * math.pi * (n - 1) / 365
    declination = (0.006918 - 0.399912 * math.cos(g) + 0.070257 * math.sin(g) - 0.006758 * math.cos(2 * g)
                   + 0.000907 * math.sin(2 * g) - 0.002697 * math.cos(3 * g) + 0.00148 * math.sin(3 * g))
    eot = 229.18 * (0.000075 + 0.001868 * math.cos(g) - 0.032077 * math.sin(g) - 0.014615 * math.cos(2 * g)
                    - 0.04089 * math.sin(2 * g))
    e0 = 1.000110 + 0.034221 * math.cos(g) + 0.00128 * math.sin(g) + 0.000719 * math.cos(2 * g) + 0.000077 * math.sin(2 * g)
    return declination, eot, e0


def cos_zenith(n, hour):
    declination, eot, _ = day_terms(n)
    solar_time = hour + (eot + 4 * (15 * ZONE_WEST - LONGITUDE_WEST)) / 60
    omega = math.radians(15 * (solar_time - 12))
    phi = math.radians(LATITUDE)
    return math.sin(phi) * math.sin(declination) + math.cos(phi) * math.cos(declination) * math.cos(omega)


def erbs(kt):
    if kt <= 0.22:
        return 1 - 0.09 * kt
    if kt <= 0.8:
        return 0.9511 - 0.1604 * kt + 4.388 * kt ** 2 - 16.638 * kt ** 3 + 12.336 * kt ** 4
    return 0.165


def main():
    rng = random.Random(SEED)
    print("# Synthetic hourly weather for Golden, Colorado (39.742 N, 105.179 W; 7 hours west of")
    print("# Greenwich), 2023: not measured. Made by make-tilted-year-weather.py from a clear-sky")
    print("# formula, a fixed-seed cloud-cover series and the Erbs split of global into diffuse.")
    print("# hour: the middle of an hour of local standard time; G, Dh: global and diffuse")
    print("# irradiance on the horizontal, W/m2.")
    print("year,month,day,hour,G,Dh")
    latent = 0.0
    n = 0
    for month in range(1, 13):
        for day in range(1, DAYS[month - 1] + 1):
            n += 1
            for h in range(24):
                hour = h + 0.5
                # Cloud cover from a latent series with a memory of about ten hours.
                latent = 0.9 * latent + math.sqrt(1 - 0.9 ** 2) * rng.gauss(0, 1)
                cover = 0.5 * (1 + math.erf(latent / math.sqrt(2)))
                mu = cos_zenith(n, hour)
                g = dh = 0.0
                if mu > 0.01:
                    clear = 1098 * mu * math.exp(-0.057 / mu)
                    g = clear * (1 - 0.75 * cover ** 3.4)
                    kt = min(1.0, g / (1367 * day_terms(n)[2] * mu))
                    dh = g * erbs(kt)
                print(f"{YEAR},{month},{day},{hour},{g:.1f},{dh:.1f}")


if __name__ == "__main__":
    main()
