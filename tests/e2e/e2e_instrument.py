"""Simulated instruments for the end-to-end transfer tests.

Instrument runs stationsim (tools/stationsim) on a pseudo-terminal: it plays a
Korvel or Tassin total station that sends points to the PC (to-pc) or takes
the points the PC sends (from-pc), optionally with a fault. The test maps a
COM port of the prefix to instrument.link and drives the program; afterwards
it reads what the PC put on the line (dump_units, one entry per unit the
instrument read) and the points the instrument took (received).

The simulator comes from RUVO_E2E_STATIONSIM (set by CTest from the CMake
variable RUVO_STATIONSIM), else from the native build tree.

Also here: the bytes that the programs must put on the line for a list of
points, written from the wire layouts, so that a test can compare them with
the dump byte for byte.

Standard library only.
"""

import os
import select
import shutil
import signal
import subprocess
import tempfile
import time

from e2e_driver import HarnessError

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE_DIR = os.path.dirname(os.path.dirname(HERE))
START_TIMEOUT = 10.0
# The simulator gives up on its own after this long, so none outlives a test.
SIM_DEADLINE_MS = 240000


def stationsim_path():
    path = os.environ.get('RUVO_E2E_STATIONSIM') or os.path.join(
        SOURCE_DIR, 'build', 'native', 'tools', 'stationsim', 'stationsim')
    if not os.access(path, os.X_OK):
        raise HarnessError('the instrument simulator %s is missing: build the native tree first '
                           '(or configure the win32 tree with -DRUVO_STATIONSIM=<path>)' % path)
    return path


class Instrument:
    """One stationsim process; stop() (or the test's cleanup) ends it."""

    def __init__(self, model, direction, points=None, fault=None, start_delay_ms=None, loop=False,
                 extra_args=()):
        self.dir = tempfile.mkdtemp(prefix='ruvo-instrument-')
        self.link = os.path.join(self.dir, 'line')
        self.dump_file = os.path.join(self.dir, 'dump.txt')
        self.out_file = os.path.join(self.dir, 'received.txt')
        self.log_file = os.path.join(self.dir, 'stationsim.log')
        args = [stationsim_path(), '--model', model, '--direction', direction, '--link', self.link,
                '--dump', self.dump_file, '--timeout', str(SIM_DEADLINE_MS)]
        if direction == 'from-pc':
            args += ['--out', self.out_file]
        if isinstance(points, int):
            args += ['--points', str(points)]
        elif points is not None:
            points_file = os.path.join(self.dir, 'points.txt')
            with open(points_file, 'w') as f:
                for p in points:
                    f.write('%s,%s,%r,%r,%r\n' % tuple(p))
            args += ['--points-file', points_file]
        if fault:
            args += ['--fault', fault]
        if start_delay_ms is not None:
            args += ['--start-delay', str(start_delay_ms)]
        if loop:
            args.append('--loop')
        args += list(extra_args)
        with open(self.log_file, 'wb') as log:
            self.process = subprocess.Popen(args, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=log,
                                            start_new_session=True)
        self.pty = self._first_line()
        # The link is published right after the pty's name is printed.
        deadline = time.monotonic() + START_TIMEOUT
        while not os.path.lexists(self.link):
            if time.monotonic() > deadline or self.process.poll() is not None:
                self.stop()
                raise HarnessError('stationsim published no link: %s' % self.log())
            time.sleep(0.01)

    def _first_line(self):
        fd = self.process.stdout.fileno()
        data = b''
        deadline = time.monotonic() + START_TIMEOUT
        while not data.endswith(b'\n'):
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([fd], [], [], left)[0]:
                self.stop()
                raise HarnessError('stationsim did not start: %s' % self.log())
            chunk = os.read(fd, 256)
            if not chunk:
                self.stop()
                raise HarnessError('stationsim ended at start: %s' % self.log())
            data += chunk
        return data.decode().strip()

    def log(self):
        try:
            with open(self.log_file, errors='replace') as f:
                return f.read().strip()
        except OSError:
            return ''

    def dump_units(self):
        """What the PC sent, one bytes object per unit the instrument read."""
        try:
            with open(self.dump_file) as f:
                return [bytes.fromhex(line) for line in f.read().splitlines() if line.strip()]
        except FileNotFoundError:
            return []

    def received(self):
        """The points the instrument took: (name, mark, n, e, z) tuples."""
        points = []
        try:
            with open(self.out_file) as f:
                for line in f.read().splitlines():
                    name, mark, n, e, z = line.split(',')
                    points.append((name, mark, float(n), float(e), float(z)))
        except FileNotFoundError:
            pass
        return points

    def wait(self, timeout=15.0):
        """Waits for the simulator to end; returns its exit code."""
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise HarnessError('stationsim did not end within %.0f s: %s' % (timeout, self.log()))

    def running(self):
        return self.process.poll() is None

    def stop(self):
        if self.process.poll() is None:
            try:
                os.killpg(self.process.pid, signal.SIGTERM)
                self.process.wait(5)
            except (ProcessLookupError, subprocess.TimeoutExpired):
                try:
                    os.killpg(self.process.pid, signal.SIGKILL)
                except ProcessLookupError:
                    pass
                self.process.wait(5)
        self.process.stdout.close()

    def remove(self):
        self.stop()
        shutil.rmtree(self.dir, ignore_errors=True)


# -- what the programs put on the line ----------------------------------------

def c_round3(value):
    """The text of "%.3f" (C rounding of the exact binary value)."""
    return '%.3f' % value


def korvel_number(value):
    """A 12-character number field of the point text."""
    return ('-' if value < 0 else '0') + c_round3(abs(value)).rjust(11, '0')


def korvel_point_text(name, mark, n, e, z):
    return (name[:7].ljust(7) + mark[:7].ljust(7) + korvel_number(n) + korvel_number(e)
            + korvel_number(z)).encode('latin-1')


def korvel_frame(point, seq, total):
    """The 60-byte data frame of a Korvel send."""
    return b'\x02' + b'%04d%04d' % (seq, total) + korvel_point_text(*point) + b'\r'


def korvel_reply(frame):
    """The PC's 10-byte reply to a received frame."""
    return frame[:9] + b'\r'


def _zero_padded(text, width):
    data = text[:width].encode('latin-1')
    return data + b'\0' * (width - len(data))


def tassin_frame(point, total):
    """The 57-byte data frame of a Tassin send."""
    name, mark, n, e, z = point
    return (b'\xa0\x37' + (b'%4d' % total)[:4] + _zero_padded(name.rstrip(' '), 7)
            + _zero_padded(mark[:3], 4) + b''.join(_zero_padded(c_round3(v), 13) for v in (n, e, z)) + b'\0')


def list_row(program, point):
    """The cells of a list row for a point, in column creation order."""
    name, mark, n, e, z = point
    first, second = (e, n) if program == 'korvellink' else (n, e)
    return [name, mark, c_round3(first), c_round3(second), c_round3(z)]


def pty_holders(path):
    """Pids of the processes that hold the device path open (a closed port
    has none)."""
    pids = []
    for entry in os.listdir('/proc'):
        if not entry.isdigit():
            continue
        fd_dir = '/proc/%s/fd' % entry
        try:
            for fd in os.listdir(fd_dir):
                if os.readlink(os.path.join(fd_dir, fd)) == path:
                    pids.append(int(entry))
                    break
        except OSError:
            pass
    return pids
