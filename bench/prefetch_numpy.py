#!/usr/bin/env python3
"""The work of four prefetch passes done with NumPy over the same 125,970 combinations, for the
side-by-side comparison with `kvbench --benchmark_filter='BM_Prefetch/(NUMS|DIFA|SUMS|EVNV)$'`.
Run both on one core: taskset -c 1 python3 bench/prefetch_numpy.py (needs python3-numpy)."""
import itertools
import statistics
import time

import numpy as np

combs = np.array(list(itertools.combinations(range(1, 21), 8)), dtype=np.uint8)
assert combs.shape == (125970, 8)
weights = (1 << np.arange(8, dtype=np.uint16)).astype(np.uint16)

passes = {
    # How many combinations hold each number.
    "NUMS": lambda: np.bincount(combs.ravel(), minlength=21),
    # Every difference between neighbours.
    "DIFA": lambda: np.bincount(np.diff(combs, axis=1).ravel(), minlength=20),
    # The sum of the 8 numbers.
    "SUMS": lambda: np.bincount(combs.sum(axis=1, dtype=np.uint16), minlength=200),
    # Even and odd by position: a mask of 8 bits.
    "EVNV": lambda: np.bincount((((combs & 1) == 0) * weights).sum(axis=1, dtype=np.int64), minlength=256),
}

for code, run in passes.items():
    times = []
    for _ in range(200):
        start = time.process_time_ns()
        run()
        times.append(time.process_time_ns() - start)
    print(f"numpy/{code}: median {statistics.median(times) / 1e6:.3f} ms CPU")
