"""Times pointlink convert and takes its peak memory (its maximum resident
set, as GNU time reports it: a child of this Python would inherit Python's
own peak), for files of 100,000 and 1,000,000 points.
Convert streams, so the memory should not grow with the number of points;
the goal for speed is 1,000,000 points in at most 0.5 s, and 1.5 s for the
outputs in WGS 84 (the points converted by PROJ; KML grouped by mark), which
take points of a zone-prefixed CGCS2000 grid.

    bench-pointlink.py PROGRAM [--points N ...] [--runs N]

Standard library only.
"""

import argparse
import os
import random
import shutil
import subprocess
import tempfile
import time

GOAL_SECONDS = 0.5
GOAL_POINTS = 1000000
PAIRS = [('topcom', 'ruvo'), ('topcom', 'sv300'), ('ruvo', 'topcom'), ('sv300', 'southkass'),
         ('gzkass', 'csv'), ('southkass', 'geojson'), ('topcom', 'dxf'), ('topcom', 'landxml')]
# In WGS 84, from the zone's points: (from, to, goal in seconds).
ZONE = 'EPSG:4526'
ZONE_PAIRS = [('topcom', 'geojson', 1.5), ('topcom', 'kml', 1.5)]
# The marks' texts are GBK (a Chinese mark among ASCII ones), as every
# convert is told.
MARKS = [b'TREE', b'', b'\xb5\xe7\xcf\xdf\xb8\xcb', b'BM1', b'KERB']
ENCODING = ['--encoding', 'gbk']


def source(path, points, zone=False):
    """A TopCom file of random points within what every format holds, or
    (zone) within CGCS2000's 3-degree zone 38, its eastings with the zone in
    front."""
    rng = random.Random(42)
    east, north = ((38.4e6, 38.6e6), (2.5e6, 5.0e6)) if zone else ((-5e6, 5e6), (-5e6, 5e6))
    with open(path, 'wb') as f:
        lines = []
        for i in range(points):
            lines.append(b'P%d,%.4f,%.4f,%.4f,%s\r\n' % (
                i % 10000000, rng.uniform(*east), rng.uniform(*north), rng.uniform(-500, 5000),
                MARKS[i % len(MARKS)]))
            if len(lines) == 10000:
                f.write(b''.join(lines))
                lines = []
        f.write(b''.join(lines))


def run(program, args):
    """Runs the program to its end; (seconds, CPU seconds, peak resident KiB).
    The time includes the fsync of the output, which the CPU time does not."""
    with tempfile.NamedTemporaryFile('r') as report:
        started = time.perf_counter()
        done = subprocess.run(['/usr/bin/time', '-f', '%U %S %M', '-o', report.name, program] + args,
                              stdout=subprocess.DEVNULL)
        seconds = time.perf_counter() - started
        if done.returncode != 0:
            raise SystemExit('%s %s failed' % (program, ' '.join(args)))
        user, system, peak = report.read().split()[-3:]
        return seconds, float(user) + float(system), int(peak)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument('program')
    parser.add_argument('--points', type=int, nargs='+', default=[100000, 1000000])
    parser.add_argument('--runs', type=int, default=3)
    options = parser.parse_args()
    program = os.path.abspath(options.program)
    work = tempfile.mkdtemp(prefix='pointlink-bench-')
    try:
        print('pointlink convert, best of %d runs (goal: %d points in at most %.1f s, in WGS 84 %.1f s, '
              'memory flat)' % (options.runs, GOAL_POINTS, GOAL_SECONDS, ZONE_PAIRS[0][2]))
        print('%-30s %10s %9s %9s %12s %10s %9s'
              % ('formats', 'points', 'seconds', 'CPU s', 'points/s', 'peak KiB', 'out MB'))
        peaks = {}
        missed = []
        for points in options.points:
            topcom = os.path.join(work, 'in-%d.topcom' % points)
            source(topcom, points)
            inputs = {'topcom': topcom}
            zone = os.path.join(work, 'zone-%d.topcom' % points)
            source(zone, points, zone=True)
            pairs = [(frm, to, []) for frm, to in PAIRS] + [(frm, to, ['--crs', ZONE]) for frm, to, _ in ZONE_PAIRS]
            for frm, to, crs in pairs:
                if frm not in inputs:  # made from the TopCom file, not timed
                    inputs[frm] = os.path.join(work, 'in-%d.%s' % (points, frm))
                    run(program, ['convert', topcom, '--from', 'topcom', '--to', frm, '-o', inputs[frm]] + ENCODING)
                given = zone if crs else inputs[frm]
                goal = dict(((f, t), g) for f, t, g in ZONE_PAIRS)[frm, to] if crs else GOAL_SECONDS
                out = os.path.join(work, 'out')
                best, cpu, peak = None, None, 0
                for _ in range(options.runs):
                    seconds, used, rss = run(program, ['convert', given, '--from', frm, '--to', to, '-o', out]
                                             + ENCODING + crs)
                    best = seconds if best is None else min(best, seconds)
                    cpu = used if cpu is None else min(cpu, used)
                    peak = max(peak, rss)
                name = frm + ' -> ' + to + (' ' + ZONE if crs else '')
                peaks.setdefault(name, []).append(peak)
                if points == GOAL_POINTS and best > goal:
                    missed.append('%s %.3f s (goal %.1f s)' % (name, best, goal))
                print('%-30s %10d %9.3f %9.2f %12.0f %10d %9.1f' % (name, points, best, cpu,
                                                                  points / best, peak, os.path.getsize(out) / 1e6))
            for path in set(inputs.values()) | {zone}:
                os.remove(path)
        if len(options.points) > 1:
            growth = max(p[-1] - p[0] for p in peaks.values())
            print('memory: peak grows by at most %d KiB from %d to %d points'
                  % (growth, options.points[0], options.points[-1]))
        if GOAL_POINTS in options.points:
            print('at %d points: %s' % (GOAL_POINTS, 'every goal met' if not missed else
                                        'NOT MET: ' + '; '.join(missed)))
    finally:
        shutil.rmtree(work, ignore_errors=True)


if __name__ == '__main__':
    main()
