"""The redraw of the plot window, measured under Wine.

For each program and each size (100,000 and 1,000,000 points by default):
starts it, imports a file of N points scattered over a survey area of a
few kilometres (TopCom format) through the real Open dialog, opens the plot
from the list's menu and has it repaint its whole client area, several
times in each of three views:
  - fitted: every point in the window, far more points than pixels, so the
    marks are drawn from the grid of occupied pixels;
  - zoomed in: ten notches of the wheel in, a few hundred points in view,
    drawn one by one with their names;
  - zoomed out: all points in the middle of the window, small.
Prints per view the median and the longest repaint as the driver sees it
(from the request until the window has painted: the figure the goal is
about) and the window's own drawing time. Goals: 30 ms for 100,000 points,
200 ms for 1,000,000. The marks are checked on the screen, so a fast but
empty picture does not count.

Run through tools/bench-plot.sh, which builds the programs first.
"""

import argparse
import os
import shutil
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(HERE), 'tests', 'e2e'))
sys.dont_write_bytecode = True

import harness  # noqa: E402

GOALS = {100000: 0.030, 1000000: 0.200}  # points -> seconds per redraw
LIMIT = 600.0  # longest wait for the import, seconds
TOPCOM = 2
MARK = 0x1A1A1A
SELECTED = 0xD00000


def make_file(path, count):
    """count points in a few clusters and a thin scatter over 3 x 2 km,
    from a fixed seed: name,E,N,Z,mark lines."""
    state = 12345

    def unit():
        nonlocal state
        state = (state * 1103515245 + 12345) % 2147483648
        return state / 2147483648.0

    with open(path, 'w', newline='\r\n') as f:
        for i in range(count):
            if i % 4 == 0:
                e, n = 500000 + unit() * 3000, 3000000 + unit() * 2000
            else:
                cluster = i % 7
                e = 500400 + cluster * 350 + (unit() - 0.5) * 120
                n = 3000300 + (cluster % 3) * 600 + (unit() - 0.5) * 90
            f.write('P%d,%.3f,%.3f,%.3f,M\n' % (i, e, n, unit() * 50))


def repaints(plot, times):
    """Seconds of each whole repaint, as the driver sees it, and the
    window's own drawing times."""
    outside, inside = [], []
    for _ in range(times):
        outside.append(plot.repaint())
        inside.append(plot.paint_time())
    return outside, inside


def check_marks(plot, rows, selected):
    """Some rows' marks show on the screen where the window says. The
    selected point's name is written on white over whatever lies under it,
    so marks near the selected point (selected: the list's selected rows)
    are not looked at."""
    drawn = 0
    near = plot.where(selected[0]) if selected else None
    for row in rows:
        at = plot.where(row)
        if at is None or (near and abs(at[0] - near[0]) <= 90 and abs(at[1] - near[1]) <= 30):
            continue
        plot.wait_pixel(at[0], at[1], [MARK, SELECTED])
        drawn += 1
    if not drawn:
        raise harness.HarnessError('no mark of the rows %s is drawn' % list(rows))


def bench(program, count, source, times):
    session = harness.Session()
    figures = {}
    try:
        app = session.launch(program)
        app.import_file(source, TOPCOM, rows=count, timeout=LIMIT)
        plot = app.open_plot()
        width, height = plot.client_size()
        plot.front()
        check_marks(plot, range(0, count, count // 20), app.selection().selected)
        figures['fitted'] = repaints(plot, times)
        for _ in range(10):
            plot.mouse(width * 2 // 5, height * 2 // 5, wheel=120)
        app.sync()
        figures['zoomed in'] = repaints(plot, times)
        plot.key(harness.VK_HOME)
        for _ in range(4):
            plot.mouse(width // 2, height // 2, wheel=-120)
        app.sync()
        figures['zoomed out'] = repaints(plot, times)
        check_marks(plot, range(0, count, count // 20), app.selection().selected)
        app.click(harness.ID_CLOSE)
        app.wait_exit()
    finally:
        session.close()
    return figures


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    parser.add_argument('--points', type=int, nargs='+', default=sorted(GOALS))
    parser.add_argument('--repaints', type=int, default=7)
    parser.add_argument('programs', nargs='*', default=['korvellink'])
    args = parser.parse_args()
    harness.current_run()
    folder = tempfile.mkdtemp(prefix='ruvo-bench-plot-')
    verdicts = []
    try:
        for points in args.points:
            goal = GOALS.get(points)
            source = os.path.join(folder, 'points%d.pts' % points)
            make_file(source, points)
            print('%d points; goal: a redraw in at most %s' % (points, '-' if goal is None else '%.0f ms' % (goal * 1000)))
            print('  %-10s %-11s %12s %12s %14s' % ('program', 'view', 'median', 'longest', 'window draws'))
            for program in args.programs:
                for view, (outside, inside) in bench(program, points, source, args.repaints).items():
                    median = sorted(outside)[len(outside) // 2]
                    drawn = sorted(inside)[len(inside) // 2]
                    print('  %-10s %-11s %9.1f ms %9.1f ms %11.1f ms' % (program, view, median * 1000,
                                                                        max(outside) * 1000, drawn * 1000))
                    if goal is not None:
                        verdicts.append(('%s, %d points, %s: median %.1f ms' % (program, points, view, median * 1000),
                                         median <= goal))
                sys.stdout.flush()
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    print()
    for what, met in verdicts:
        print('%-8s %s' % ('met' if met else 'MISSED', what))


if __name__ == '__main__':
    main()
