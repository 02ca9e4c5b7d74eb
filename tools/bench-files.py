"""Import and Export of a large point file, measured under Wine.

For each program: starts it, imports a file of N points (TopCom format by
default) through the real Open dialog, exports the list through the Save
dialog, and prints
  - import: seconds from pressing OK in the Open dialog until the program's
    window has handled a message posted right after the OK (the import runs
    inside the command, so that message waits until every row is in the list);
  - export: the same, from OK in the Save dialog until the file is complete
    and in place;
  - peak memory: the peak resident size (VmHWM) of the program's Wine
    process at the end, and the same just before the import (program and
    Open dialog alone);
  - round trip: what one such posted message costs on an idle window; it is
    part of both times.
Rows, selection, view and the written file are checked afterwards, so a
fast but wrong run does not count.

Run through tools/bench-files.sh, which builds the programs first.
"""

import argparse
import os
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
GOAL_IMPORT, GOAL_EXPORT, GOAL_MEMORY = 1.0, 0.3, 64  # seconds, seconds, MB


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


def bench(program, number, count, folder):
    """Runs one program through one import and one export; returns its figures."""
    source = os.path.join(folder, 'points' + FORMATS[number][0])
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
        rows = app.row_count()
        selected, _ = app.selection()
        if rows != count or selected != [count - 1] or not app.row_visible(count - 1):
            raise harness.HarnessError('import gave %d rows, selection %s, view %s'
                                       % (rows, selected, app.view()))
        last = app.rows(count - 1, 1)[0]
        if last[0] != 'P%d' % (count - 1):
            raise harness.HarnessError('last row holds %s' % last)

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
    return seconds_in, seconds_out, before_kb / 1024.0, peak_kb / 1024.0, round_trip


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n')[0])
    parser.add_argument('--points', type=int, default=100000)
    parser.add_argument('--format', type=int, choices=sorted(FORMATS), default=2,
                        help='file type: 1 Ruvo, 2 TopCom (default)')
    parser.add_argument('--runs', type=int, default=1)
    parser.add_argument('programs', nargs='*', default=list(harness.PROGRAMS))
    args = parser.parse_args()
    harness.current_run()  # the Wine prefix and display, before any timing
    folder = tempfile.mkdtemp(prefix='ruvo-bench-files-')
    try:
        print('%d points, file type %d; goals: import <= %.1f s, export <= %.1f s, peak memory < %d MB'
              % (args.points, args.format, GOAL_IMPORT, GOAL_EXPORT, GOAL_MEMORY))
        print('%-10s %9s %9s %12s %14s %11s' % ('program', 'import', 'export', 'peak memory',
                                                'before import', 'round trip'))
        for _ in range(args.runs):
            for program in args.programs:
                seconds_in, seconds_out, before_mb, peak_mb, round_trip = bench(program, args.format, args.points,
                                                                                folder)
                missed = [name for name, missed in (('import', seconds_in > GOAL_IMPORT),
                                                    ('export', seconds_out > GOAL_EXPORT),
                                                    ('memory', peak_mb >= GOAL_MEMORY)) if missed]
                print('%-10s %7.3f s %7.3f s %9.1f MB %11.1f MB %9.4f s   %s'
                      % (program, seconds_in, seconds_out, peak_mb, before_mb, round_trip,
                         'goals met' if not missed else 'missed: ' + ', '.join(missed)))
                sys.stdout.flush()
    finally:
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == '__main__':
    main()
