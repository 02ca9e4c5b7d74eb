"""Transfers that do not end normally, in both programs: Cancel while the
instrument is silent or half-way through, a wrong handshake, a port that
does not exist or that another program holds, and a line that vanishes.
Each ends with the right boxes in the right order, in Idle with the port
closed and the points already received kept, and the same port then serves
a complete transfer."""

import sys

sys.dont_write_bytecode = True

import harness  # noqa: E402
from e2e_instrument import pty_holders  # noqa: E402
from e2e_transfers import TransferTestCase  # noqa: E402
from harness import ID_RECV, ID_SEND, PROGRAMS  # noqa: E402

PORTS = {'korvellink': 11, 'tassinlink': 12}
POINTS = 5
SEND_LIST = [('S%d' % i, 'M', 100.0 + i, 200.0 - i, i * 0.5) for i in range(1, POINTS + 1)]
# An instrument that never starts the exchange: it waits this long after the
# PC opened the port.
NEVER_MS = 600000
FRAME_HEAD_ERROR = ('Error', 'Frame Head error')
# The failure report of a wrong opening: RUVO_FAIL's wParam, ProtocolFault::WrongOpening
# (link/WorkerHost.h).
PROTOCOL_FAULT_WRONG_OPENING = 1
ACCESS_DENIED = 'Access denied.'
FILE_NOT_FOUND = 'File not found.'


def progress_title(program, direction, done):
    """The title while the instrument is silent after `done` frames."""
    if direction == 'from-pc':
        return 'Sending Tag %04d,Total %04d' % (done, POINTS)
    if program == 'korvellink':
        return 'Crurent Proc No. %04d, Total %04d Points' % (done, POINTS)
    return 'processing  tag No.%d' % done


class TransferErrors(TransferTestCase):
    def recover(self, app, direction):
        """A complete transfer on the same port after a failed one."""
        inst = self.instrument(app.program, direction, points=2)
        self.connect(app, PORTS[app.program], inst)
        rows = app.row_count()
        self.start(app, direction)
        self.finish(app, direction)
        self.assertEqual(inst.wait(), 0, inst.log())
        if direction == 'to-pc':
            self.assertEqual(app.row_count(), rows + 2)
        else:
            self.assertEqual(len(inst.received()), POINTS)

    def expect_cancelled(self, app, inst=None):
        """The warning alone, then Idle with the port closed."""
        self.expect_cancel_warning(app)
        self.expect_idle(app)
        if inst is not None:
            self.assertEqual(pty_holders(inst.pty), [], 'the port is still open')

    def cancel_while_waiting(self, app, direction):
        inst = self.instrument(app.program, direction, start_delay_ms=NEVER_MS)
        self.connect(app, PORTS[app.program], inst)
        self.start(app, direction)
        app.wait_caption('Wait SyncData')
        harness.wait_until(lambda: 'the PC opened the port' in inst.log(), 5, 'the port to open')
        self.expect_busy(app, direction)
        self.assertNotEqual(pty_holders(inst.pty), [], 'the open port is not seen')
        self.start(app, direction)  # the same button, now "Cancel"
        self.expect_cancelled(app, inst)
        self.assertEqual(inst.dump_units(), [])

    def wait_silence_after_two(self, app, inst, direction, rows):
        """Waits until two frames have gone across and the instrument is
        silent (fault silent-after=2)."""
        app.wait_caption(progress_title(app.program, direction, 2))
        if direction == 'to-pc':
            app.wait_rows(rows + 2)
        else:  # two frames and, from a Korvel PC, the handshake's echo
            units = 2 + (app.program == 'korvellink')
            harness.wait_until(lambda: len(inst.dump_units()) == units, 5, 'two frames on the line')

    def cancel_half_way(self, app, direction):
        rows = app.row_count()
        inst = self.instrument(app.program, direction, points=POINTS, fault='silent-after=2')
        self.connect(app, PORTS[app.program], inst)
        self.start(app, direction)
        self.wait_silence_after_two(app, inst, direction, rows)
        self.start(app, direction)
        self.expect_cancelled(app)
        # The instrument saw the PC hang up and nothing more from it.
        self.assertEqual(inst.wait(), 0, inst.log())
        if direction == 'to-pc':
            self.assertEqual(app.row_count(), rows + 2)
        else:
            self.assertEqual([p[0] for p in inst.received()], ['S1', 'S2'])

    def wrong_handshake(self, app, direction):
        inst = self.instrument(app.program, direction, fault='wrong-handshake')
        self.connect(app, PORTS[app.program], inst)
        self.start(app, direction)
        self.expect_box(app, *FRAME_HEAD_ERROR, icon=False)
        self.expect_cancelled(app)
        self.assertEqual(inst.wait(), 0, inst.log())
        self.assertEqual(inst.dump_units(), [], 'the PC answered a wrong handshake')

    def open_fails(self, app, direction, port_text, system_text):
        self.start(app, direction)
        box = app.wait_box()
        self.assertEqual(app.caption, 'Ready for open Comm port')
        self.assertEqual(box.info().caption, 'Error')
        self.expect_box(app, 'Error', system_text)
        self.expect_cancelled(app)
        self.assertEqual(app.port_text(), port_text)

    def no_such_port(self, app, direction):
        app.set_port_text('COM99')
        self.open_fails(app, direction, 'COM99', FILE_NOT_FOUND)

    def port_held(self, app, direction):
        number = PORTS[app.program]
        self.unmap(number)
        app.set_port_text('COM%d' % number)
        self.open_fails(app, direction, 'COM%d' % number, ACCESS_DENIED)

    def line_vanishes(self, app, direction):
        rows = app.row_count()
        inst = self.instrument(app.program, direction, points=POINTS, fault='close-after=2')
        self.connect(app, PORTS[app.program], inst)
        self.start(app, direction)
        # The platform's text for the failing port call, whatever it is.
        box = app.wait_box(timeout=15)
        info = box.info()
        self.assertEqual(info.caption, 'Error')
        self.assertNotEqual(info.text.strip(), '')
        self.expect_box(app, 'Error', info.text)
        self.expect_cancelled(app)
        if direction == 'to-pc':
            # Frames still in flight when the line went may be lost with it.
            self.assertIn(app.row_count() - rows, (0, 1, 2))
        return info.text

    def run_cases(self, direction, cases):
        for program in PROGRAMS:
            app = self.launch(program)
            if direction == 'from-pc':
                self.import_topcom(app, SEND_LIST)
            for case in cases:
                if case == self.wrong_handshake and program == 'tassinlink' and direction == 'to-pc':
                    continue  # a Tassin receive has no handshake
                with self.subTest(program=program, case=case.__name__):
                    case(app, direction)
                    self.recover(app, direction)

    def test_receive_failures(self):
        self.run_cases('to-pc', [self.cancel_while_waiting, self.cancel_half_way, self.wrong_handshake,
                                 self.no_such_port, self.port_held, self.line_vanishes])

    def test_send_failures(self):
        self.run_cases('from-pc', [self.cancel_while_waiting, self.cancel_half_way, self.wrong_handshake,
                                   self.no_such_port, self.port_held, self.line_vanishes])

    # -- while a transfer ends, nothing else starts --------------------------
    def press_all_during(self, app, caption, text, icon=True):
        """With the next box up (caption, text), presses Cancel, Recv and
        Send, which the window must ignore; then closes the box. Returns
        after the box is gone."""
        box = app.wait_box()
        info = box.info()
        self.assertEqual((info.caption, info.text, info.has_icon), (caption, text, icon))
        for command in (ID_RECV, ID_SEND, ID_RECV, ID_SEND):
            app.click(command)
        app.sync()
        self.assertEqual(app.other_windows(), [box.hwnd], 'a command under the box showed another')
        box.press()
        box.wait_gone()

    def test_nothing_starts_while_a_failure_is_shown(self):
        for program in PROGRAMS:
            with self.subTest(program=program):
                app = self.launch(program)
                self.import_topcom(app, SEND_LIST)
                # The instrument's wrong opening, reported in a box the
                # window owns; then a port that cannot be opened, reported
                # in a box without an owner, so that the window stays usable.
                inst = self.instrument(program, 'from-pc', fault='wrong-handshake')
                self.connect(app, PORTS[program], inst)
                self.start(app, 'from-pc')
                self.press_all_during(app, *FRAME_HEAD_ERROR, icon=False)
                self.expect_cancelled(app)
                self.recover(app, 'from-pc')

                app.set_port_text('COM99')
                self.start(app, 'to-pc')
                self.press_all_during(app, 'Error', FILE_NOT_FOUND)
                self.expect_cancelled(app)
                self.recover(app, 'to-pc')

    def test_reports_that_reach_the_cancel_warning_change_nothing(self):
        app = self.launch('korvellink')
        inst = self.instrument('korvellink', 'to-pc', start_delay_ms=NEVER_MS)
        self.connect(app, PORTS['korvellink'], inst)
        self.start(app, 'to-pc')
        harness.wait_until(lambda: 'the PC opened the port' in inst.log(), 5, 'the port to open')
        self.start(app, 'to-pc')  # Cancel
        box = app.wait_box(caption='Warning')
        # A late failure report and a late end report, as a worker stopped
        # just after sending them would leave them.
        app.post(app.register_message(harness.IDS['MESSAGE_NAME_FAIL']), PROTOCOL_FAULT_WRONG_OPENING, 0)
        app.post(app.register_message(harness.IDS['MESSAGE_NAME_HEAD']))
        app.click(ID_RECV)
        app.sync()
        self.assertEqual(app.other_windows(), [box.hwnd])
        box.press()
        box.wait_gone()
        self.expect_idle(app)
        self.recover(app, 'to-pc')

    def test_cancel_under_the_end_box_changes_nothing(self):
        for program in PROGRAMS:
            with self.subTest(program=program):
                app = self.launch(program)
                self.import_topcom(app, SEND_LIST[:2])
                inst = self.instrument(program, 'from-pc')
                self.connect(app, PORTS[program], inst)
                self.start(app, 'from-pc')
                self.press_all_during(app, 'Message', 'send over')
                self.expect_idle(app)
                self.assertEqual(inst.wait(), 0, inst.log())
                self.assertEqual(len(inst.received()), 2)

    def test_closing_the_window_mid_transfer_ends_the_program(self):
        for program in PROGRAMS:
            for direction in ('to-pc', 'from-pc'):
                with self.subTest(program=program, direction=direction):
                    app = self.launch(program)
                    if direction == 'from-pc':
                        self.import_topcom(app, SEND_LIST)
                    inst = self.instrument(program, direction, points=POINTS, fault='silent-after=2')
                    self.connect(app, PORTS[program], inst)
                    self.start(app, direction)
                    self.wait_silence_after_two(app, inst, direction, 0)
                    app.close()
                    self.assertEqual(app.wait_exit(), 0)
                    self.assertEqual(pty_holders(inst.pty), [], 'the port outlived the program')
                    self.assertEqual(inst.wait(), 0, inst.log())


if __name__ == '__main__':
    harness.main()
