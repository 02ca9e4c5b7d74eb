"""How long closing the main window takes while a transfer runs, under Wine.

Run through tools/bench-close.sh, which builds what this needs and sets the
paths (RUVO_E2E_BIN_DIR, RUVO_E2E_DRIVER). For each program and each state
of the worker it starts a transfer on a pseudo-terminal that this script
plays itself, closes the window (WM_CLOSE, as the title bar's close button
does) and measures the time until the process has ended (goal: within 1 s):

  waiting   Recv and Send while the line stays silent: the worker polls for
            the instrument's first bytes.
  pause     Send right after the instrument opened the exchange: the worker
            is in its 200 ms pause before the first frame.
  write     Send on a line that takes nothing: the instrument opens the
            exchange and then holds the PC's output with XOFF, so the
            worker's write of the first frame blocks (it would give up only
            after the 5000 ms write time-out).

Usage: python3 tools/bench-close.py [--runs N]
"""

import argparse
import os
import select
import statistics
import sys
import tempfile
import termios
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(HERE), 'tests', 'e2e'))
sys.dont_write_bytecode = True

import harness  # noqa: E402
from harness import ID_RECV, ID_SEND  # noqa: E402

PORT = 4
GOAL_S = 1.0
XOFF = b'\x13'
# What opens a send: the Korvel handshake, the Tassin sync.
OPENING = {'korvellink': b'\x01\x53\x0d', 'tassinlink': b'\xa0\x01\xa5'}
POINTS = 3


class Line:
    """A pseudo-terminal whose master side plays the instrument. The slave
    keeps software flow control on (IXON), so an XOFF from the instrument
    stops the PC's output, as a real instrument's XOFF does."""

    def __init__(self):
        self.master, slave = os.openpty()
        self.path = os.ttyname(slave)
        attrs = termios.tcgetattr(self.master)
        iflag, oflag, cflag, lflag = attrs[0:4]
        iflag = (iflag & ~(termios.ICRNL | termios.INLCR | termios.IGNCR | termios.ISTRIP | termios.IXOFF)) \
            | termios.IXON
        lflag &= ~(termios.ICANON | termios.ECHO | termios.ISIG | termios.IEXTEN)
        oflag &= ~termios.OPOST
        attrs[0:4] = [iflag, oflag, cflag, lflag]
        attrs[6][termios.VMIN] = 1
        attrs[6][termios.VTIME] = 0
        termios.tcsetattr(self.master, termios.TCSANOW, attrs)
        # Closed here, the slave hangs up the master until the PC opens it.
        os.close(slave)

    def wait_open(self, timeout=10.0):
        harness.wait_until(self._peer_open, timeout, 'the PC to open the port', interval=0.01)

    def _peer_open(self):
        poller = select.poll()
        poller.register(self.master, select.POLLIN)
        return not any(events & select.POLLHUP for _, events in poller.poll(0))

    def send(self, data):
        os.write(self.master, data)

    def read_exactly(self, count, timeout=10.0):
        data = b''
        deadline = time.monotonic() + timeout
        while len(data) < count:
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([self.master], [], [], left)[0]:
                raise SystemExit('the PC sent %r, expected %d bytes' % (data, count))
            data += os.read(self.master, count - len(data))
        return data

    def close(self):
        os.close(self.master)


def fill_list(app, run_dir):
    fd, path = tempfile.mkstemp(suffix='.pts', dir=run_dir)
    with os.fdopen(fd, 'w', newline='\r\n') as f:
        for i in range(1, POINTS + 1):
            f.write('C%d,%d.5,%d.25,1,M\n' % (i, 200 + i, 100 + i))
    app.import_file(path, rows=POINTS)
    os.unlink(path)


def close_time(program, state):
    """Seconds from WM_CLOSE to the end of the process, for one run."""
    session = harness.Session()
    line = Line()
    try:
        app = session.launch(program)
        send = state != 'waiting-recv'
        if send:
            fill_list(app, session.run.dir)
        session.map_com_port(PORT, line.path)
        app.set_port_text('COM%d' % PORT)
        app.click(ID_SEND if send else ID_RECV)
        line.wait_open()
        app.wait_caption('Wait SyncData')
        if state.startswith('waiting'):
            time.sleep(0.3)
        else:
            line.send(OPENING[program])
            if program == 'korvellink':
                line.read_exactly(3)  # the echo
            if state == 'write':
                line.send(XOFF)  # taken by the line, not queued for the PC
            app.wait_caption('Sending Tag 0001,Total %04d' % POINTS, timeout=5)
            if state == 'write':
                time.sleep(0.5)  # past the pause: the first frame's write is held
        started = time.monotonic()
        app.close()
        code = app.wait_exit(timeout=30)
        took = time.monotonic() - started
        if code != 0:
            raise SystemExit('%s ended with exit code %d' % (program, code))
        return took
    finally:
        session.close()
        line.close()


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n\n')[0])
    parser.add_argument('--runs', type=int, default=5)
    args = parser.parse_args()
    harness.current_run()
    states = [('waiting-recv', 'Recv, line silent'), ('waiting-send', 'Send, line silent'),
              ('pause', 'Send, in the 200 ms pause'), ('write', 'Send, write held by XOFF')]
    print('Closing the main window during a transfer, %d runs each (goal: the process ends within %.0f s)'
          % (args.runs, GOAL_S))
    verdicts = []
    for program in harness.PROGRAMS:
        for state, label in states:
            times = [close_time(program, state) for _ in range(args.runs)]
            worst = max(times)
            print('  %-11s %-28s median %6.3f s, max %6.3f s'
                  % (program, label + ':', statistics.median(times), worst))
            verdicts.append(('%s, %s: max %.3f s' % (program, label, worst), worst <= GOAL_S))
    print()
    for what, met in verdicts:
        print('%-8s %s' % ('met' if met else 'MISSED', what))


if __name__ == '__main__':
    main()
