#!/usr/bin/env python3
"""Start-up cost of Klimora's window against a bare window of the same size.

Runs startup_probe alternately with and without Form1, each run from process
start to the event loop idle, and prints the medians of wall time, processor
time and peak resident memory. Fails when the window costs more than 1.3
times the bare one in time or 1.2 times in memory.

    startup.py PROBE [LAUNCHER...]     (startup.py startup_probe.exe wine)
"""
import os
import statistics
import sys
import time

RUNS = 31
TIME_LIMIT = 1.3
MEMORY_LIMIT = 1.2


def run_once(command, variant):
    start = time.perf_counter()
    pid = os.spawnvp(os.P_NOWAIT, command[0], [*command, variant])
    _, status, usage = os.wait4(pid, 0)
    wall = time.perf_counter() - start
    if status != 0:
        sys.exit(f'{command} {variant} failed with status {status}')
    return wall, usage.ru_utime + usage.ru_stime, usage.ru_maxrss / 1024


def main():
    command = [*sys.argv[2:], sys.argv[1]]
    samples = {'form1': [], 'bare': []}
    run_once(command, 'form1')  # warm the file cache for both
    # Interleaved, so that both see the same load on the machine.
    for _ in range(RUNS):
        for variant, runs in samples.items():
            runs.append(run_once(command, variant))
    medians = {variant: [statistics.median(column) for column in zip(*runs)]
               for variant, runs in samples.items()}
    for variant, (wall, cpu, mib) in medians.items():
        print(f'{variant:6} wall {wall * 1000:6.1f} ms  processor {cpu * 1000:6.1f} ms  '
              f'peak memory {mib:5.1f} MiB  (medians of {RUNS})')
    wall, cpu, memory = (f / b for f, b in zip(medians['form1'], medians['bare']))
    print(f'ratio  wall {wall:.2f}  processor {cpu:.2f} (limit {TIME_LIMIT})  '
          f'memory {memory:.2f} (limit {MEMORY_LIMIT})')
    if wall > TIME_LIMIT or memory > MEMORY_LIMIT:
        sys.exit('start-up costs more than allowed')


if __name__ == '__main__':
    main()
