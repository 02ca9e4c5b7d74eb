"""Import and Export of a large point file, measured under Wine.

For each program and each size (100,000 and 1,000,000 points by default):
starts it, imports a file of N points (TopCom format by default) through
the real Open dialog, scrolls the list to its middle row, exports the list
through the Save dialog, and prints
  - import: seconds from pressing OK in the Open dialog until the program's
    window has handled a message posted right after the OK (the import runs
    inside the command, so that message waits until every row is in the list);
  - export: the same, from OK in the Save dialog until the file is complete
    and in place;
  - peak memory: the peak resident size (VmHWM) of the program's Wine
    process at the end, and the same just before the import (program and
    Open dialog alone); confirming the Open dialog costs Wine about 2 MB of
    peak even for an empty file;
  - page: seconds to repaint the whole list (the list asks for the texts
    of every cell it shows) once it has been scrolled from the top to the
    middle row, and scroll: the seconds of that scroll, as the driver sees
    them; the medians of five;
  - round trip: what one such posted message costs on an idle window; it is
    part of both times.
Rows (their count, and the cells of the first, middle, last and a sample of
other rows), selection, view and the written file are checked, so a fast
but wrong run does not count.

Run through tools/bench-files.sh, which builds the programs first.
"""

import argparse
import os
import random
import shutil
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(HERE), 'tests', 'e2e'))
sys.dont_write_bytecode = True

import harness  # noqa: E402

FORMATS = {  # file type number -> (extension, line maker)
    1: ('.ruvo', lambda i: 'P%-6d%-7s0%011.3f0%011.3f0%011.3f' % (i % 1000000, 'M%d' % (i % 1000), 1000 + i * 0.001,
                                                                    2000 + i * 0.002, i % 100 * 0.5)),
    2: ('.pts', lambda i: 'P%d,%.4f,%.4f,%.4f,M%d' % (i, 2000 + i * 0.002, 1000 + i * 0.001, i % 100 * 0.5, i % 1000)),
}
LIMIT = 600.0  # longest wait for one command, seconds
# points -> goals: import seconds, export seconds, peak memory MB, page seconds
GOALS = {
    100000: (0.2, 0.1, 40, None),
    1000000: (1.5, 1.0, 128, 0.020),
}
SAMPLE = 200  # rows besides first, middle and last whose cells are checked


def topcom_cells(program, i):
    """The cells the list shows for TopCom line i, in column order."""
    n, e, z = '%.3f' % (1000 + i * 0.001), '%.3f' % (2000 + i * 0.002), '%.3f' % (i % 100 * 0.5)
    numbers = [e, n, z] if program == 'korvellink' else [n, e, z]
    return ['P%d' % i, 'M%d' % (i % 1000)] + numbers


def page_at_middle(app, count, tries=5):
    """Median seconds to scroll from the top to the middle row, and to
    repaint the list there."""
    middle = count // 2
    scrolls, paints = [], []
    for _ in range(tries):
        app.paint(0)
        scroll, paint, top = app.paint(middle)
        if not top <= middle < top + max(app.view().per_page, 1):
            raise harness.HarnessError('the middle row is not in view: top %d, view %s' % (top, app.view()))
        scrolls.append(scroll)
        paints.append(paint)
    return sorted(scrolls)[tries // 2], sorted(paints)[tries // 2]


def check_rows(app, program, number, count):
    """Every row is there; the first, middle, last and a sample of the
    others show their points."""
    rows = app.row_count()
    if rows != count:
        raise harness.HarnessError('import gave %d rows of %d' % (rows, count))
    picks = sorted({0, count // 2, count - 1} | set(random.Random(count).sample(range(count), min(SAMPLE, count))))
    for row in picks:
        shown = app.rows(row, 1)[0]
        if number == 2:
            if shown != topcom_cells(program, row):
                raise harness.HarnessError('row %d shows %s' % (row, shown))
        elif shown[0] != 'P%d' % (row % 1000000):
            raise harness.HarnessError('row %d shows %s' % (row, shown))


def make_file(path, number, count):
    line = FORMATS[number][1]
    with open(path, 'wb') as f:
        f.write(''.join(line(i) + '\r\n' for i in range(count)).encode('ascii'))


def unix_pid(session, program):
    """The Unix process of a program started in the session."""
    needle = ('RUVO_E2E_SESSION=%s' % session.marker).encode()
    for entry in os.listdir('/proc'):
        if not entry.isdigit():
            continue
        try:
            with open('/proc/%s/cmdline' % entry, 'rb') as f:
                cmdline = f.read()
            with open('/proc/%s/environ' % entry, 'rb') as f:
                environ = f.read().split(b'\0')
        except OSError:
            continue
        if needle in environ and (program + '.exe').encode() in cmdline.lower():
            return int(entry)
    raise harness.HarnessError('no Unix process for %s' % program)


def memory_kb(pid, field):
    with open('/proc/%d/status' % pid) as f:
        for line in f:
            if line.startswith(field + ':'):
                return int(line.split()[1])
    raise harness.HarnessError('%s missing for process %d' % (field, pid))


def confirm_timed(app, dialog, path, number):
    """Fills the dialog, presses OK and returns the seconds until the window
    has handled the command."""
    dialog.set_name(path)
    dialog.choose_type(number)
    started = time.monotonic()
    dialog.ok()
    app.sync(timeout=LIMIT)
    return time.monotonic() - started


def idle_round_trip(app, times=20):
    started = time.monotonic()
    for _ in range(times):
        app.sync()
    return (time.monotonic() - started) / times


def bench(program, number, count, folder, source):
    """Runs one program through one import and one export; returns its figures."""
    if not os.path.exists(source):
        make_file(source, number, count)
    session = harness.Session()
    try:
        app = session.launch(program)
        pid = unix_pid(session, program)
        round_trip = idle_round_trip(app)

        app.click(harness.ID_IMPORT)
        dialog = app.wait_file_dialog()
        before_kb = memory_kb(pid, 'VmHWM')  # the program with its Open dialog up
        seconds_in = confirm_timed(app, dialog, source, number)
        selected, _ = app.selection()
        if selected != [count - 1] or not app.row_visible(count - 1):
            raise harness.HarnessError('after the import: selection %s, view %s' % (selected, app.view()))
        check_rows(app, program, number, count)

        scroll_seconds, page_seconds = page_at_middle(app, count)

        target = os.path.join(folder, program + '-out')
        app.click(harness.ID_EXPORT)
        seconds_out = confirm_timed(app, app.wait_file_dialog(), target, number)
        with open(source, 'rb') as f:
            expected = f.read()
        with open(target + FORMATS[number][0], 'rb') as f:
            written = f.read()
        if number == 2 and written != expected:
            raise harness.HarnessError('the exported file differs from the imported one')
        if written.count(b'\r\n') != count:
            raise harness.HarnessError('the exported file has %d lines' % written.count(b'\r\n'))
        peak_kb = memory_kb(pid, 'VmHWM')
        app.click(harness.ID_CLOSE)
        app.wait_exit()
    finally:
        session.close()
    return seconds_in, seconds_out, before_kb / 1024.0, peak_kb / 1024.0, page_seconds, scroll_seconds, round_trip


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    parser.add_argument('--points', type=int, nargs='+', default=sorted(GOALS))
    parser.add_argument('--format', type=int, choices=sorted(FORMATS), default=2,
                        help='file type: 1 Ruvo, 2 TopCom (default)')
    parser.add_argument('--runs', type=int, default=1)
    parser.add_argument('programs', nargs='*', default=list(harness.PROGRAMS))
    args = parser.parse_args()
    harness.current_run()  # the Wine prefix and display, before any timing
    folder = tempfile.mkdtemp(prefix='ruvo-bench-files-')
    try:
        for points in args.points:
            goals = GOALS.get(points, (None, None, None, None))
            print('%d points, file type %d; goals: import <= %s s, export <= %s s, peak memory <= %s MB, '
                  'page <= %s s' % ((points, args.format) + tuple('-' if g is None else g for g in goals)))
            print('%-10s %9s %9s %12s %14s %9s %9s %11s' % ('program', 'import', 'export', 'peak memory',
                                                             'before import', 'page', 'scroll', 'round trip'))
            source = os.path.join(folder, 'points%d%s' % (points, FORMATS[args.format][0]))
            for _ in range(args.runs):
                for program in args.programs:
                    figures = bench(program, args.format, points, folder, source)
                    seconds_in, seconds_out, before_mb, peak_mb, page, scroll, round_trip = figures
                    measured = (seconds_in, seconds_out, peak_mb, page)
                    missed = [name for name, value, goal in zip(('import', 'export', 'memory', 'page'), measured,
                                                                goals) if goal is not None and value > goal]
                    print('%-10s %7.3f s %7.3f s %9.1f MB %11.1f MB %7.4f s %7.4f s %9.4f s   %s'
                          % (program, seconds_in, seconds_out, peak_mb, before_mb, page, scroll, round_trip,
                             'goals met' if not missed else 'missed: ' + ', '.join(missed)))
                    sys.stdout.flush()
    finally:
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == '__main__':
    main()
