"""Figures of the transfers under Wine, against the simulated instruments.

Run through tools/bench-link.sh, which builds what this needs and sets the
paths (RUVO_E2E_BIN_DIR, RUVO_E2E_DRIVER, RUVO_E2E_STATIONSIM). Prints:

  1. CPU time of the program, and of the wineserver, while a receive waits
     for an instrument that stays silent (goal: at most 1 % of one core),
     next to the same figures while the program sits idle.
  2. Korvel reply latency: the time from the end of each frame the
     instrument sends to the first byte of the PC's reply, as the simulator
     measures it (goal: median 5 ms, 95th percentile 20 ms); then the same
     with the plot window open, drawing each received point, alone and over
     --plot-points points imported first.
  3. Time of a send of 1 and of N points: the time each further frame adds
     against the 200 ms pause per frame that the protocol requires (no other
     wait should add noticeably; 20 ms, a tenth, counts as noticeable).

Usage: python3 tools/bench-link.py [--wait-seconds S] [--points N] [--latency-frames N] [--plot-points N]

A real 1200-baud line takes half a second for a frame, so the paced latency
figure is the one the goal is about. The full-speed run sends each frame the
moment the reply to the previous one arrives, so the window falls behind in
adding rows; the replies must not wait for it.
"""

import argparse
import os
import re
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(HERE), 'tests', 'e2e'))
sys.dont_write_bytecode = True

import e2e_run  # noqa: E402
import harness  # noqa: E402
from e2e_instrument import Instrument  # noqa: E402
from harness import ID_RECV, ID_SEND  # noqa: E402

TICKS = os.sysconf('SC_CLK_TCK')
PORT = 3
MODEL = {'korvellink': 'korvel', 'tassinlink': 'tassin'}
LATENCY = re.compile(r'reply latency over (\d+) frames: median ([\d.]+) ms, p95 ([\d.]+) ms, max ([\d.]+) ms')


def cpu_seconds(pid):
    """User plus system CPU time of a process so far."""
    with open('/proc/%d/stat' % pid) as f:
        fields = f.read().rsplit(') ', 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / TICKS


def unix_pid(session, program):
    for pid in e2e_run.processes_with_env('RUVO_E2E_SESSION', session.marker):
        try:
            with open('/proc/%d/comm' % pid) as f:
                if f.read().strip() == program + '.exe':
                    return pid
        except OSError:
            pass
    raise SystemExit('no process of %s found' % program)


def wineserver_pid(run):
    for pid in e2e_run.processes_with_env(e2e_run.RUN_MARKER, run.dir):
        try:
            with open('/proc/%d/comm' % pid) as f:
                if f.read().strip().startswith('wineserver'):
                    return pid
        except OSError:
            pass
    raise SystemExit('no wineserver of the run found')


def cpu_share(pids, seconds):
    """CPU shares (percent of one core) of the processes over `seconds`."""
    before = [cpu_seconds(p) for p in pids]
    started = time.monotonic()
    time.sleep(seconds)
    wall = time.monotonic() - started
    return [100.0 * (cpu_seconds(p) - b) / wall for p, b in zip(pids, before)]


def press_ok(app, caption):
    box = app.wait_box(caption=caption, timeout=30)
    box.press()
    box.wait_gone()


def waiting_cpu(session, program, seconds):
    app = session.launch(program)
    pids = [unix_pid(session, program), wineserver_pid(session.run)]
    time.sleep(1)
    idle = cpu_share(pids, seconds / 2)
    inst = Instrument(MODEL[program], 'to-pc', start_delay_ms=3600 * 1000)
    try:
        session.map_com_port(PORT, inst.link)
        app.set_port_text('COM%d' % PORT)
        app.click(ID_RECV)
        app.wait_caption('Wait SyncData')
        harness.wait_until(lambda: 'the PC opened the port' in inst.log(), 10, 'the port to open')
        time.sleep(1)
        waiting = cpu_share(pids, seconds)
        app.click(ID_RECV)  # Cancel
        press_ok(app, 'Warning')
    finally:
        inst.remove()
        session.close()
    print('%s, %.0f s each:' % (program, seconds))
    print('  idle:                          program %5.2f %% of a core, wineserver %5.2f %%' % tuple(idle))
    print('  Recv, instrument silent:       program %5.2f %% of a core, wineserver %5.2f %%' % tuple(waiting))
    return waiting


def import_points(session, app, count):
    """count points of a survey area, through the Open dialog (TopCom)."""
    path = os.path.join(session.run.dir, 'bench-plot-%d.pts' % count)
    with open(path, 'w', newline='\r\n') as f:
        for i in range(count):
            f.write('Q%d,%.3f,%.3f,1.000,M\n' % (i, 500000 + (i * 7919 % 3000), 3000000 + (i * 104729 % 2000)))
    app.import_file(path, rows=count, timeout=300)


def reply_latency(session, points, paced, plot_over=None):
    """The simulator's latency figures of a receive; with plot_over (a count
    of points imported first, maybe 0), the plot window is open."""
    app = session.launch('korvellink')
    if plot_over:
        import_points(session, app, plot_over)
    if plot_over is not None:
        app.open_plot()
    extra = ['--stats'] + (['--baud-pace'] if paced else [])
    inst = Instrument('korvel', 'to-pc', points=points, start_delay_ms=100, extra_args=extra)
    try:
        session.map_com_port(PORT, inst.link)
        app.set_port_text('COM%d' % PORT)
        app.click(ID_RECV)
        press_ok(app, 'Message')
        inst.wait(30)
        log = inst.log()
    finally:
        inst.remove()
        session.close()
    found = LATENCY.search(log)
    if not found:
        raise SystemExit('no latency figures from the simulator:\n' + log)
    frames, median, p95, worst = found.groups()
    what = '%d frames %s' % (points, 'paced at 1200 baud' if paced else 'at full pty speed')
    if plot_over is not None:
        what += ', plot open' + (' over %d points' % plot_over if plot_over else '')
    print('  %-58s median %6.2f ms, p95 %6.2f ms, max %6.2f ms (%s frames)'
          % (what + ':', float(median), float(p95), float(worst), frames))
    return float(median), float(p95)


def send_time(session, program, points):
    app = session.launch(program)
    path = os.path.join(session.run.dir, 'bench-%s.pts' % program)
    with open(path, 'w', newline='\r\n') as f:
        for i in range(1, points + 1):
            f.write('B%d,%.3f,%.3f,%.3f,M\n' % (i, 200.0 + i, 100.0 + i, i * 0.25))
    app.import_file(path, rows=points, timeout=30)
    inst = Instrument(MODEL[program], 'from-pc', start_delay_ms=0)
    try:
        session.map_com_port(PORT, inst.link)
        app.set_port_text('COM%d' % PORT)
        started = time.monotonic()
        app.click(ID_SEND)
        box = app.wait_box(caption='Message', timeout=points * 2 + 30)
        total = time.monotonic() - started
        box.press()
        box.wait_gone()
        inst.wait(30)
        got = len(inst.received())
    finally:
        inst.remove()
        session.close()
    print('  %-12s %2d point(s) sent in %.3f s' % (program + ':', points, total)
          + ('' if got == points else '; the instrument got only %d points' % got))
    return total


def main():
    parser = argparse.ArgumentParser(description=__doc__.split('\n\n')[0])
    parser.add_argument('--wait-seconds', type=float, default=10.0)
    parser.add_argument('--points', type=int, default=20)
    parser.add_argument('--latency-frames', type=int, default=40)
    parser.add_argument('--plot-points', type=int, default=100000)
    args = parser.parse_args()
    harness.current_run()
    verdicts = []
    print('CPU while waiting for the instrument (goal: program at most 1 % of one core)')
    for program in ('korvellink', 'tassinlink'):
        share = waiting_cpu(harness.Session(), program, args.wait_seconds)[0]
        verdicts.append(('%s waiting CPU %.2f %%' % (program, share), share <= 1.0))
    print()
    print('Korvel reply latency after each received frame (goal: median 5 ms, p95 20 ms)')
    median, p95 = reply_latency(harness.Session(), args.latency_frames, paced=True)
    verdicts.append(('paced reply latency median %.2f ms, p95 %.2f ms' % (median, p95), median <= 5 and p95 <= 20))
    reply_latency(harness.Session(), 200, paced=False)
    for plot_over in (0, args.plot_points):
        median, p95 = reply_latency(harness.Session(), args.latency_frames, paced=True, plot_over=plot_over)
        verdicts.append(('paced reply latency, plot open over %d points: median %.2f ms, p95 %.2f ms'
                         % (plot_over, median, p95), median <= 5 and p95 <= 20))
    reply_latency(harness.Session(), 200, paced=False, plot_over=args.plot_points)
    print()
    print('Send of 1 and of %d points (the protocol pauses 200 ms before every frame)' % args.points)
    for program in ('korvellink', 'tassinlink'):
        one = send_time(harness.Session(), program, 1)
        many = send_time(harness.Session(), program, args.points)
        frame = 1000 * (many - one) / (args.points - 1)
        print('  %-12s %.1f ms per further frame: %.1f ms beyond its pause; the rest, %.0f ms, is opening the port, '
              'the handshake and the end box' % ('', frame, frame - 200, 1000 * one - frame))
        verdicts.append(('%s send: %.1f ms per frame beyond the pause' % (program, frame - 200), frame - 200 <= 20))
    print()
    for what, met in verdicts:
        print('%-8s %s' % ('met' if met else 'MISSED', what))


if __name__ == '__main__':
    main()
