"""What a newcomer does first, run by `tools/run.sh --then`: in the prefix and
on the display that the run script set up, the program receives the five
points of the simulated instrument on COM1 and sends them to the one on COM2.

The run script passes WINEPREFIX, DISPLAY, RUVO_RUN_PROGRAM, RUVO_RUN_LANG,
RUVO_RUN_POINTS and RUVO_RUN_COM2_OUT. Exit status 0 when both transfers went
through, 1 with the reason otherwise.

Standard library only.
"""

import os
import shutil
import sys
import tempfile

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import e2e_run  # noqa: E402
from e2e_instrument import list_row  # noqa: E402

# The harness looks for the programs beside the one the script built.
os.environ['RUVO_E2E_BIN_DIR'] = os.path.dirname(os.environ['RUVO_RUN_PROGRAM'])
import harness  # noqa: E402

TRANSFER_TIMEOUT = 30.0


class ScriptRun(e2e_run.Run):
    """The run script's prefix and display, seen as a test run."""

    def __init__(self, logs_dir):
        super().__init__(logs_dir, {'wine': True, 'display': os.environ['DISPLAY'], 'ready': True})
        self.prefix = os.environ['WINEPREFIX']


def read_points(path):
    """(name, mark, n, e, z) of a "name,mark,n,e,z" file; '#' lines skipped."""
    points = []
    with open(path) as f:
        for line in f:
            line = line.strip()
            if line and not line.startswith('#'):
                name, mark, n, e, z = line.split(',')
                points.append((name, mark, float(n), float(e), float(z)))
    return points


def expect_end_box(app, text):
    box = app.wait_box(timeout=TRANSFER_TIMEOUT, caption='Message')
    if box.message != text:
        raise AssertionError('the transfer ended with %r, not %r' % (box.message, text))
    box.press()
    box.wait_gone()


def check(session, program, lang, points, com2_out):
    app = session.launch(program, lang)
    app.click(harness.ID_RECV)
    try:
        expect_end_box(app, 'receive finished')
    except harness.WaitTimeout:
        raise AssertionError('no end of the receive on COM1 within %.0f s; the title reads %r: COM1 does not '
                             'lead to the simulated instrument' % (TRANSFER_TIMEOUT, app.caption))
    rows = app.rows()
    expected = [list_row(program, p) for p in points]
    if rows != expected:
        raise AssertionError('received rows %r, expected %r' % (rows, expected))

    app.set_port_text('COM2')
    app.click(harness.ID_SEND)
    expect_end_box(app, 'send over')
    harness.wait_until(lambda: os.path.exists(com2_out) and len(read_points(com2_out)) >= len(points), 10,
                       'the COM2 instrument to write what it took')
    taken = read_points(com2_out)
    if taken != points:
        raise AssertionError('COM2 took %r, expected %r' % (taken, points))
    app.close()
    if app.wait_exit() != 0:
        raise AssertionError('%s did not exit with 0' % program)


def main():
    program = os.path.splitext(os.path.basename(os.environ['RUVO_RUN_PROGRAM']))[0]
    lang = os.environ.get('RUVO_RUN_LANG', 'en')
    if lang != 'en':
        sys.exit('the check reads the English texts; run it with --lang en')
    points = read_points(os.environ['RUVO_RUN_POINTS'])
    com2_out = os.environ.get('RUVO_RUN_COM2_OUT')
    if not com2_out:
        sys.exit('the check needs the simulated instruments (no --port)')
    logs = tempfile.mkdtemp(prefix='ruvo-run-check-')
    session = harness.Session(ScriptRun(logs))
    try:
        check(session, program, lang, points, com2_out)
    except AssertionError as failure:
        print('%s: %s (logs in %s)' % (program, failure, logs), file=sys.stderr)
        return 1
    finally:
        session.close()
    shutil.rmtree(logs, ignore_errors=True)  # kept only when the check failed
    print('%s: received %d points on COM1 and sent them to COM2' % (program, len(points)))
    return 0


if __name__ == '__main__':
    sys.exit(main())
