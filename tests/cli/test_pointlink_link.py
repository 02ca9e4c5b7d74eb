"""pointlink receive and send against the project's instrument simulator on
a pty (tools/stationsim): both instruments, byte for byte on the line, a
line dropped half-way, Ctrl-C half-way, a busy port, a missing device, and
the sends that must be refused before the port is opened.

    test_pointlink_link.py PROGRAM

The simulator comes from RUVO_E2E_STATIONSIM (set by CTest), as for the
end-to-end tests; the bytes the PC must put on the line come from the wire
layouts written there (tests/e2e/e2e_instrument.py). Standard library only.
"""

import fcntl
import json
import os
import select
import shutil
import signal
import stat
import subprocess
import sys
import tempfile
import termios
import threading
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..', 'e2e'))
import e2e_instrument  # noqa: E402
from e2e_instrument import Instrument, korvel_frame, korvel_reply, tassin_frame  # noqa: E402

PROGRAM = None
HANDSHAKE = b'\x01S\r'
# Points both instruments carry exactly: short names and marks, three
# decimals, magnitudes within seven integer digits.
POINTS = [
    ('P1', 'TREE', 1001.5, -249.875, -12.501),
    ('Q22', '', 0.0, -0.001, 9999.999),
    ('AB', 'M', -1234567.891, 7654321.0, 0.5),
]


def topcom(points):
    return ''.join('%s,%r,%r,%r,%s\r\n' % (name, e, n, z, mark) for name, mark, n, e, z in points).encode()


def read_topcom(data):
    points = []
    for line in data.decode('latin-1').split('\r\n'):
        if line:
            name, e, n, z, mark = line.split(',')
            points.append((name, mark, float(n), float(e), float(z)))
    return points


class LinkTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix='pointlink-link-')
        self.addCleanup(shutil.rmtree, self.dir, True)

    def path(self, name):
        return os.path.join(self.dir, name)

    def instrument(self, model, direction, **args):
        sim = Instrument(model, direction, **args)
        self.addCleanup(sim.remove)
        return sim

    def run_program(self, *args, timeout=60):
        done = subprocess.run([PROGRAM] + list(args), cwd=self.dir, stdin=subprocess.DEVNULL,
                              capture_output=True, timeout=timeout)
        return done.returncode, done.stdout, done.stderr.decode('utf-8', 'replace')

    def start_program(self, *args):
        process = subprocess.Popen([PROGRAM] + list(args), cwd=self.dir, stdin=subprocess.DEVNULL,
                                   stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
        self.addCleanup(lambda: process.poll() is None and process.kill())
        return process

    def wait_for_message(self, process, text, timeout=30):
        """Reads the program's standard error until text appears; all of it."""
        seen, deadline = b'', time.monotonic() + timeout
        while text.encode() not in seen:
            left = deadline - time.monotonic()
            self.assertGreater(left, 0, 'no %r in %r' % (text, seen))
            if select.select([process.stderr], [], [], left)[0]:
                chunk = os.read(process.stderr.fileno(), 4096)
                self.assertTrue(chunk, 'the program ended: %r' % seen)
                seen += chunk
        return seen.decode()

    def hold_device(self, path):
        """An fd of our own on the device, so that its settings outlive the
        program's open and close (the simulator starts afresh once the last
        one is closed)."""
        fd = os.open(path, os.O_RDWR | os.O_NOCTTY | os.O_NONBLOCK)
        self.addCleanup(os.close, fd)
        return fd

    def write(self, name, data):
        with open(self.path(name), 'wb') as f:
            f.write(data)

    def read(self, name):
        with open(self.path(name), 'rb') as f:
            return f.read()


class ReceiveTests(LinkTest):
    def test_every_point_arrives_and_the_replies_go_out_byte_for_byte(self):
        for model in ('korvel', 'tassin'):
            sim = self.instrument(model, 'to-pc', points=POINTS)
            code, _, messages = self.run_program('receive', '--instrument', model, '--port', sim.link,
                                                 '-o', 'out.pts', '--to', 'topcom')
            self.assertEqual(code, 0, messages)
            self.assertEqual(sim.wait(), 0, sim.log())
            self.assertEqual(read_topcom(self.read('out.pts')), POINTS, model)
            if model == 'korvel':
                frames = [korvel_frame(p, i + 1, len(POINTS)) for i, p in enumerate(POINTS)]
                self.assertEqual(sim.dump_units(), [HANDSHAKE] + [korvel_reply(f) for f in frames])
            else:
                self.assertEqual(sim.dump_units(), [])  # a Tassin receive answers nothing
            self.assertIn('received point 3', messages)
            self.assertIn('received 3 points into out.pts', messages)

    def test_standard_output_gets_each_point_in_the_chosen_format(self):
        sim = self.instrument('tassin', 'to-pc', points=POINTS)
        code, out, messages = self.run_program('receive', '--instrument', 'tassin', '--port', sim.link,
                                               '-o', '-', '--to', 'csv')
        self.assertEqual(code, 0, messages)
        self.assertEqual(out.splitlines()[0], b'name,mark,N,E,Z')
        self.assertEqual(len(out.splitlines()), 1 + len(POINTS))

    def test_a_utf8_output_converts_from_the_encoding_named(self):
        # The instrument sends the UTF-8 bytes of a Chinese name and mark, which are no GBK text.
        points = [('\u70b91', '\u6811', 1.0, 2.0, 3.0)]
        for encoding, code in (('utf-8', 0), ('gbk', 1)):
            sim = self.instrument('tassin', 'to-pc', points=points)
            code_, out, messages = self.run_program('receive', '--instrument', 'tassin', '--port', sim.link,
                                                    '-o', '-', '--to', 'geojson', '--encoding', encoding)
            self.assertEqual(code_, code, messages)
            if code == 0:
                feature = json.loads(out.decode('utf-8'))['features'][0]
                self.assertEqual(feature['properties'], {'name': '\u70b91', 'mark': '\u6811'})
            else:
                self.assertIn('its texts are not gbk text', messages)
                self.assertIn('--encoding', messages)
            sim.wait()

    def test_standard_output_by_its_name_and_a_fifo_are_written_into(self):
        sim = self.instrument('korvel', 'to-pc', points=POINTS)
        code, out, messages = self.run_program('receive', '--instrument', 'korvel', '--port', sim.link,
                                               '-o', '/dev/stdout', '--to', 'topcom')
        self.assertEqual(code, 0, messages)
        self.assertEqual(read_topcom(out), POINTS)
        self.assertIn('received 3 points into /dev/stdout', messages)

        os.mkfifo(self.path('fifo'))
        got = []
        reader = threading.Thread(target=lambda: got.append(open(self.path('fifo'), 'rb').read()), daemon=True)
        reader.start()
        sim = self.instrument('tassin', 'to-pc', points=POINTS)
        code, _, messages = self.run_program('receive', '--instrument', 'tassin', '--port', sim.link,
                                             '-o', 'fifo', '--to', 'topcom')
        reader.join(30)
        self.assertEqual(code, 0, messages)
        self.assertEqual([read_topcom(data) for data in got], [POINTS])
        self.assertEqual(os.listdir(self.dir), ['fifo'])
        self.assertTrue(stat.S_ISFIFO(os.stat(self.path('fifo')).st_mode))

    def test_a_line_dropped_half_way_keeps_the_points_that_came(self):
        # A Korvel point is answered before the next comes, so both points
        # before the drop are in; a Tassin frame still on its way when the
        # line goes may be lost with it, but none before it.
        for model, kept in (('korvel', (2,)), ('tassin', (1, 2))):
            sim = self.instrument(model, 'to-pc', points=5, fault='close-after=2', extra_args=['--baud-pace'])
            self.write('out.csv', b'old')
            code, _, messages = self.run_program('receive', '--instrument', model, '--port', sim.link,
                                                 '-o', 'out.csv', '--to', 'csv')
            self.assertEqual(code, 1, messages)
            points = len(self.read('out.csv').splitlines()) - 1
            self.assertIn(points, kept, model)
            self.assertIn('the device is gone (hung up)', messages)
            self.assertIn('out.csv: holds the %d point%s received before the transfer ended'
                          % (points, '' if points == 1 else 's'), messages)
            self.assertEqual(sorted(os.listdir(self.dir)), ['out.csv'])

    def test_ctrl_c_half_way_stops_at_once_and_keeps_the_points(self):
        sim = self.instrument('korvel', 'to-pc', points=40, extra_args=['--baud-pace'])

        device = self.hold_device(sim.pty)
        before = termios.tcgetattr(device)
        before[3] |= termios.ICANON | termios.ECHO
        before[4] = before[5] = termios.B9600
        termios.tcsetattr(device, termios.TCSANOW, before)
        before = termios.tcgetattr(device)
        process = self.start_program('receive', '--instrument', 'korvel', '--port', sim.link,
                                     '-o', 'out.geojson', '--to', 'geojson')
        self.wait_for_message(process, 'received point 3 of 40')
        stopped = time.monotonic()
        process.send_signal(signal.SIGINT)
        self.assertEqual(process.wait(10), -signal.SIGINT)  # ends by the signal, as shells expect
        self.assertLess(time.monotonic() - stopped, 2.0)
        messages = process.stderr.read().decode()
        self.assertIn('pointlink: stopped', messages)
        import json
        features = json.loads(self.read('out.geojson'))['features']
        self.assertGreaterEqual(len(features), 3)
        self.assertLess(len(features), 40)
        self.assertIn('holds the %d points received' % len(features), messages)
        self.assertNotIn(process.pid, e2e_instrument.pty_holders(sim.pty))
        self.assertEqual(termios.tcgetattr(device), before)  # the device's own settings are back

    def test_a_busy_port_and_a_missing_device_leave_the_target_alone(self):
        sim = self.instrument('korvel', 'to-pc', points=2)
        holder = os.open(sim.pty, os.O_RDWR | os.O_NOCTTY | os.O_NONBLOCK)
        self.addCleanup(os.close, holder)
        fcntl.flock(holder, fcntl.LOCK_EX | fcntl.LOCK_NB)
        self.write('out.csv', b'old')
        code, _, messages = self.run_program('receive', '--instrument', 'korvel', '--port', sim.pty,
                                             '-o', 'out.csv', '--to', 'csv', timeout=10)
        self.assertEqual(code, 1)
        self.assertIn('%s: cannot open: the port is in use by another program' % sim.pty, messages)
        self.assertEqual(self.read('out.csv'), b'old')

        code, _, messages = self.run_program('receive', '--instrument', 'tassin', '--port', '/dev/no-such-port',
                                             '-o', 'out.csv', '--to', 'csv', timeout=10)
        self.assertEqual(code, 1)
        self.assertIn('/dev/no-such-port: cannot open: No such file or directory', messages)
        self.assertEqual(self.read('out.csv'), b'old')
        self.assertEqual(sorted(os.listdir(self.dir)), ['out.csv'])

    def test_a_wrong_handshake_is_a_failure_with_nothing_written(self):
        sim = self.instrument('korvel', 'to-pc', points=2, fault='wrong-handshake')
        code, _, messages = self.run_program('receive', '--instrument', 'korvel', '--port', sim.link,
                                             '-o', 'out.csv', '--to', 'csv')
        self.assertEqual(code, 1)
        self.assertIn('frame head error', messages)
        self.assertEqual(os.listdir(self.dir), [])


class SendTests(LinkTest):
    def test_every_point_goes_out_byte_for_byte(self):
        self.write('in.pts', topcom(POINTS))
        for model in ('korvel', 'tassin'):
            sim = self.instrument(model, 'from-pc')
            code, _, messages = self.run_program('send', '--instrument', model, '--port', sim.link,
                                                 'in.pts', '--from', 'topcom')
            self.assertEqual(code, 0, messages)
            self.assertEqual(sim.wait(), 0, sim.log())
            if model == 'korvel':
                frames = [korvel_frame(p, i + 1, len(POINTS)) for i, p in enumerate(POINTS)]
                self.assertEqual(sim.dump_units(), [HANDSHAKE] + frames)
                self.assertEqual(sim.received(), POINTS)
            else:
                self.assertEqual(sim.dump_units(), [tassin_frame(p, len(POINTS)) for p in POINTS])
                self.assertEqual([p[1] for p in sim.received()], ['TRE', '', 'M'])  # three mark characters
            self.assertIn('sent 3 points', messages)

    def test_what_cannot_travel_is_refused_before_the_port_is_opened(self):
        many = ''.join('P%d,1,2,3\r\n' % i for i in range(10000)).encode()
        cases = [
            ('korvel', many, 'in.pts: 10000 points are more than one Korvel send carries (at most 9999)'),
            ('korvel', b'A,1,2,3\r\nBIG,1,100000000,3\r\n',
             'in.pts:2: point "BIG" cannot travel to the Korvel instrument without changing it'),
            ('tassin', b'A,1,2,3\r\nBIG,1,2,1e13\r\n',
             'in.pts:2: point "BIG" cannot travel to the Tassin instrument without changing it'),
        ]
        for model, data, message in cases:
            self.write('in.pts', data)
            code, _, messages = self.run_program('send', '--instrument', model, '--port', '/dev/no-such-port',
                                                 'in.pts', '--from', 'topcom')
            self.assertEqual(code, 1)
            self.assertIn(message, messages)
            self.assertNotIn('no-such-port', messages)  # the port was never opened

    def test_a_line_dropped_or_ctrl_c_half_way_ends_the_send(self):
        self.write('in.pts', ''.join('P%d,1,2,3\r\n' % i for i in range(10)).encode())
        sim = self.instrument('korvel', 'from-pc', fault='close-after=2')
        code, _, messages = self.run_program('send', '--instrument', 'korvel', '--port', sim.link,
                                             'in.pts', '--from', 'topcom')
        self.assertEqual(code, 1)
        self.assertIn('the device is gone', messages)
        self.assertRegex(messages, r'sent [0-9] of 10 points before the transfer ended')

        sim = self.instrument('tassin', 'from-pc')
        process = self.start_program('send', '--instrument', 'tassin', '--port', sim.link, 'in.pts',
                                     '--from', 'topcom')
        self.wait_for_message(process, 'sending point 3 of 10')
        process.send_signal(signal.SIGINT)
        self.assertEqual(process.wait(10), -signal.SIGINT)
        self.assertRegex(process.stderr.read().decode(), r'sent [23] of 10 points before the transfer ended')
        self.assertLess(len(sim.received()), 10)


def main():
    global PROGRAM
    PROGRAM = os.path.abspath(sys.argv[1])
    result = unittest.TextTestRunner(verbosity=2).run(unittest.TestLoader().loadTestsFromModule(sys.modules[__name__]))
    sys.exit(0 if result.wasSuccessful() else 1)


if __name__ == '__main__':
    main()
