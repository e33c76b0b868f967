#!/usr/bin/python3
# Times pvlib's NREL SPA (spa_python, numpy mode) over a year of minutes at Golden,
# Colorado, from a source snapshot of pvlib-python put on the path (pvlib is no
# dependency of VIREO: it is only timed here). Needs Debian's python3-pandas and
# python3-scipy; run it with Debian's /usr/bin/python3.
#   bench/time_spa.py <pvlib-python source directory> [repeats]
# Prints one line: the median nanoseconds a sample over the repeats, then every repeat's.
import importlib.util
import statistics
import sys
import time
import types

if len(sys.argv) < 2:
    sys.exit("usage: time_spa.py <pvlib-python source directory> [repeats]")
sys.path.insert(0, sys.argv[1])
repeats = int(sys.argv[2]) if len(sys.argv) > 2 else 5

# pvlib's package imports h5py (clear-sky turbidity maps) and requests (its data
# readers), which SPA never uses: empty stand-ins spare installing them.
for name in ("h5py", "requests"):
    if importlib.util.find_spec(name) is None:
        sys.modules[name] = types.ModuleType(name)

import pandas as pd  # noqa: E402
from pvlib import solarposition  # noqa: E402

times = pd.date_range("2023-01-01", periods=525600, freq="1min", tz="Etc/GMT+7")
solarposition.spa_python(times, 39.742, -105.179, how="numpy")  # warm up: the first call is slow
per_sample = []
for _ in range(repeats):
    start = time.perf_counter()
    solarposition.spa_python(times, 39.742, -105.179, how="numpy")
    per_sample.append((time.perf_counter() - start) / len(times) * 1e9)
print("%.1f %s" % (statistics.median(per_sample), " ".join("%.1f" % t for t in per_sample)))
