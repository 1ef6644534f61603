#!/usr/bin/env python3
"""Start-up cost of Klimora's window against a bare window of the same size.

Runs startup_probe alternately with and without Form1, each run from process
start to the event loop idle, and prints the median wall time and peak
resident memory of each. Fails when the window costs more than 1.3 times the
bare one in time or 1.2 times in memory.
"""
import os
import statistics
import sys
import time

RUNS = 21
TIME_LIMIT = 1.3
MEMORY_LIMIT = 1.2


def run_once(probe, variant):
    start = time.perf_counter()
    pid = os.spawnv(os.P_NOWAIT, probe, [probe, variant])
    _, status, usage = os.wait4(pid, 0)
    elapsed = time.perf_counter() - start
    if status != 0:
        sys.exit(f'{probe} {variant} failed with status {status}')
    return elapsed, usage.ru_maxrss


def main():
    probe = sys.argv[1]
    results = {'form1': [], 'bare': []}
    run_once(probe, 'form1')  # warm the file cache for both
    for _ in range(RUNS):
        for variant, samples in results.items():
            samples.append(run_once(probe, variant))
    medians = {variant: (statistics.median(s[0] for s in samples),
                         statistics.median(s[1] for s in samples))
               for variant, samples in results.items()}
    for variant, (seconds, kib) in medians.items():
        print(f'{variant:6} {seconds * 1000:7.1f} ms {kib / 1024:7.1f} MiB (median of {RUNS})')
    time_ratio = medians['form1'][0] / medians['bare'][0]
    memory_ratio = medians['form1'][1] / medians['bare'][1]
    print(f'ratio  time {time_ratio:.2f} (limit {TIME_LIMIT}), '
          f'memory {memory_ratio:.2f} (limit {MEMORY_LIMIT})')
    if time_ratio > TIME_LIMIT or memory_ratio > MEMORY_LIMIT:
        sys.exit('start-up costs more than allowed')


if __name__ == '__main__':
    main()
