"""korvellink against a simulated Korvel instrument: receives and sends that
run to their end, checked on the screen and byte for byte on the line, and a
send refused before the port opens."""

import sys

sys.dont_write_bytecode = True

import harness  # noqa: E402
from e2e_instrument import korvel_frame, korvel_reply, list_row  # noqa: E402
from e2e_transfers import TransferTestCase, many_points  # noqa: E402
from harness import ID_DELETE  # noqa: E402

# The instrument starts the exchange this long after the port opened, long
# enough for the test to see the window wait for it.
SEE_WAITING_MS = 1000
PROGRAM = 'korvellink'
# COM10 and above open only through the "\\.\COMn" device path.
PORT = 10
HANDSHAKE = b'\x01S\r'
# Points that travel whole: names and marks of up to 7 characters without
# spaces, magnitudes up to 9999999.999.
RECEIVED = [
    ('P1', 'KERB', 1001.5, -249.875, -12.501),
    ('ABCDEFG', 'TREE7CH', -0.001, 9999999.999, 0.0),
    ('', '', -9999999.999, 0.5, 123.456),
    ('9', 'A', 4.0, -3.25, 2.125),
]
# Points for sends, as a TopCom file gives them: long names and marks (cut
# to 7 characters on the line), values rounded to three decimals, an empty
# name and mark, the largest magnitude, a value that rounds to -0.000.
ONE = [('ST1', 'BM', 100.5, 200.25, 3.0)]
SEVERAL = [
    ('LONGNAME9', 'MARKLONGER', -1234.5678, 0.0004, -0.0004),
    ('', '', 9999999.999, -9999999.999, 0.0),
    ('P3', 'TREE', 12.3456, -7.0, 1234567.891),
    ('Q4  ', 'A', 0.125, 0.0625, -5.5),
]


class KorvelReceive(TransferTestCase):
    def test_receive_of_several_points_then_of_none_on_the_same_port(self):
        app = self.launch(PROGRAM)
        inst = self.instrument(PROGRAM, 'to-pc', points=RECEIVED, start_delay_ms=SEE_WAITING_MS)
        self.connect(app, PORT, inst)
        self.start(app, 'to-pc')
        app.wait_caption('Wait SyncData')
        self.expect_busy(app, 'to-pc')
        app.wait_box(caption='Message')
        # The last frame's counters fill the title, the point's number first.
        self.assertEqual(app.caption, 'Crurent Proc No. 0004, Total 0004 Points')
        self.assertEqual(app.rows(), [list_row(PROGRAM, p) for p in RECEIVED])
        self.assertEqual(app.selection().selected, [len(RECEIVED) - 1])
        self.finish(app, 'to-pc')
        self.assertEqual(inst.wait(), 0, inst.log())
        frames = [korvel_frame(p, i + 1, len(RECEIVED)) for i, p in enumerate(RECEIVED)]
        self.assertEqual(inst.dump_units(), [HANDSHAKE] + [korvel_reply(f) for f in frames])

        # Handshake and end message only: nothing is added.
        empty = self.instrument(PROGRAM, 'to-pc', points=0)
        self.connect(app, PORT, empty)
        self.start(app, 'to-pc')
        app.wait_box(caption='Message')
        self.assertEqual(app.caption, 'Wait SyncData')
        self.finish(app, 'to-pc')
        self.assertEqual(empty.wait(), 0, empty.log())
        self.assertEqual(empty.dump_units(), [HANDSHAKE])
        self.assertEqual(app.rows(), [list_row(PROGRAM, p) for p in RECEIVED])

    def test_fast_receive_keeps_every_point_in_order(self):
        # The instrument answers at once and the window falls behind the
        # line: every point still arrives, in order, before the end box.
        points = many_points(300)
        app = self.launch(PROGRAM)
        inst = self.instrument(PROGRAM, 'to-pc', points=points)
        self.connect(app, PORT, inst)
        self.start(app, 'to-pc')
        app.wait_box(caption='Message', timeout=60)
        self.assertEqual(app.caption, 'Crurent Proc No. %04d, Total %04d Points' % (len(points), len(points)))
        self.assertEqual(app.rows(), [list_row(PROGRAM, p) for p in points])
        self.finish(app, 'to-pc')
        self.assertEqual(inst.wait(), 0, inst.log())


class KorvelSend(TransferTestCase):
    def send(self, app, points):
        """Sends the list to a fresh instrument; returns what it read."""
        inst = self.instrument(PROGRAM, 'from-pc', start_delay_ms=SEE_WAITING_MS)
        self.connect(app, PORT, inst)
        rows = app.rows()
        self.start(app, 'from-pc')
        app.wait_caption('Wait SyncData')
        self.expect_busy(app, 'from-pc')
        app.wait_box(caption='Message')
        if points:
            self.assertEqual(app.caption, 'Sending Tag %04d,Total %04d' % (len(points), len(points)))
        self.finish(app, 'from-pc')
        self.assertEqual(inst.wait(), 0, inst.log())
        self.assertEqual(app.rows(), rows, 'a send changed the list')
        self.assertEqual(len(inst.received()), len(points))
        return inst.dump_units()

    def test_send_of_none_one_and_several_points_byte_for_byte(self):
        app = self.launch(PROGRAM)
        # An empty list: the handshake is echoed, no frame follows.
        self.assertEqual(self.send(app, []), [HANDSHAKE])

        self.import_topcom(app, ONE)
        self.assertEqual(self.send(app, ONE), [HANDSHAKE, korvel_frame(ONE[0], 1, 1)])

        self.import_topcom(app, SEVERAL)
        points = ONE + SEVERAL
        expected = [HANDSHAKE] + [korvel_frame(p, i + 1, len(points)) for i, p in enumerate(points)]
        self.assertEqual(self.send(app, points), expected)
        # The layout spelt out once, for the second frame.
        self.assertEqual(expected[2][:23], b'\x02' + b'00020005' + b'LONGNAMMARKLON')
        self.assertEqual(expected[2][23:], b'-0001234.568' + b'00000000.000' + b'-0000000.000' + b'\r')

    def test_point_that_cannot_travel_is_refused_before_the_port_opens(self):
        app = self.launch(PROGRAM)
        inst = self.instrument(PROGRAM, 'from-pc')
        self.connect(app, PORT, inst)
        caption = app.caption
        self.import_topcom(app, ONE + [('BIG', 'X', 1e8, 1.0, 2.0)])
        self.start(app, 'from-pc')
        self.expect_box(app, 'Error', 'Point 2 (BIG) has a coordinate that the Korvel instrument cannot receive '
                                      'exactly.\nNothing was sent.')
        app.sync()
        # Never left Idle: the start-up caption and labels stay.
        self.assertEqual((app.caption, app.text(harness.ID_SEND)), (caption, '&Send'))
        self.assertEqual(app.other_windows(), [])
        self.assertNotIn('the PC opened the port', inst.log())
        self.assertEqual(inst.dump_units(), [])

        # Without the point the list goes out on the same port.
        app.select(1)
        app.click(ID_DELETE)
        app.wait_rows(1)
        self.start(app, 'from-pc')
        self.finish(app, 'from-pc')
        self.assertEqual(inst.wait(), 0, inst.log())
        self.assertEqual(inst.dump_units(), [HANDSHAKE, korvel_frame(ONE[0], 1, 1)])


if __name__ == '__main__':
    harness.main()
