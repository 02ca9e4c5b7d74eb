"""tassinlink against a simulated Tassin instrument: receives and sends that
run to their end, checked on the screen and byte for byte on the line, and a
send refused before the port opens."""

import sys

sys.dont_write_bytecode = True

import harness  # noqa: E402
from e2e_instrument import list_row, tassin_frame  # noqa: E402
from e2e_transfers import TransferTestCase, many_points  # noqa: E402
from harness import ID_DELETE  # noqa: E402

# The instrument starts the exchange this long after the port opened, long
# enough for the test to see the window wait for it.
SEE_WAITING_MS = 1000
PROGRAM = 'tassinlink'
PORT = 5
# Points that travel whole in the instrument's frames: names of up to 7 and
# marks of up to 4 characters, magnitudes up to 9999999.999.
RECEIVED = [
    ('P1', 'KERB', 1001.5, -249.875, -12.501),
    ('ABCDEFG', 'TREE', -0.001, 9999999.999, 0.0),
    ('', '', -9999999.999, 0.5, 123.456),
    ('9', 'A', 4.0, -3.25, 2.125),
]
# Points for sends, as a TopCom file gives them: a name cut to 7 bytes, one
# whose trailing spaces go, marks cut to 3, values rounded to three decimals,
# number texts of exactly 13 characters (no zero byte after them).
ONE = [('ST1', 'BM', 100.5, 200.25, 3.0)]
SEVERAL = [
    ('LONGNAME9', 'MARKLONGER', -1234.5678, 0.0004, -0.0004),
    ('', '', 9999999.999, -9999999.999, 0.0),
    ('E13', 'ABC', 100000000.0, -12345678.123, 1234567.891),
    ('Q4  ', 'A', 0.125, 0.0625, -5.5),
]


class TassinReceive(TransferTestCase):
    def test_receive_of_several_points_then_of_none_on_the_same_port(self):
        app = self.launch(PROGRAM)
        inst = self.instrument(PROGRAM, 'to-pc', points=RECEIVED, start_delay_ms=SEE_WAITING_MS)
        self.connect(app, PORT, inst)
        self.start(app, 'to-pc')
        app.wait_caption('Wait SyncData')
        self.expect_busy(app, 'to-pc')
        app.wait_box(caption='Message')
        self.assertEqual(app.caption, 'processing  tag No.%d' % len(RECEIVED))
        self.assertEqual(app.rows(), [list_row(PROGRAM, p) for p in RECEIVED])
        self.assertEqual(app.selection().selected, [len(RECEIVED) - 1])
        self.finish(app, 'to-pc')
        self.assertEqual(inst.wait(), 0, inst.log())
        self.assertEqual(inst.dump_units(), [], 'the PC wrote during a receive')

        # The end frame only: nothing is added.
        empty = self.instrument(PROGRAM, 'to-pc', points=0)
        self.connect(app, PORT, empty)
        self.start(app, 'to-pc')
        app.wait_box(caption='Message')
        self.assertEqual(app.caption, 'Wait SyncData')
        self.finish(app, 'to-pc')
        self.assertEqual(empty.wait(), 0, empty.log())
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
        self.assertEqual(app.caption, 'processing  tag No.%d' % len(points))
        self.assertEqual(app.rows(), [list_row(PROGRAM, p) for p in points])
        self.finish(app, 'to-pc')
        self.assertEqual(inst.wait(), 0, inst.log())


class TassinSend(TransferTestCase):
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
        # A send takes the trailing spaces off the names it sends; whether a
        # row shows that at once is the list's affair.
        trimmed = [[row[0].rstrip(' ')] + row[1:] for row in rows]
        self.assertIn(app.rows(), (rows, trimmed), 'a send changed the list')
        self.assertEqual(len(inst.received()), len(points))
        return inst.dump_units()

    def test_send_of_none_one_and_several_points_byte_for_byte(self):
        app = self.launch(PROGRAM)
        # An empty list: the sync is read, nothing is written.
        self.assertEqual(self.send(app, []), [])

        self.import_topcom(app, ONE)
        self.assertEqual(self.send(app, ONE), [tassin_frame(ONE[0], 1)])

        self.import_topcom(app, SEVERAL)
        points = ONE + SEVERAL
        expected = [tassin_frame(p, len(points)) for p in points]
        self.assertEqual(self.send(app, points), expected)
        # The layout spelt out once, for the third frame.
        self.assertEqual(expected[3], b'\xa0\x37' + b'   5' + b'E13\0\0\0\0' + b'ABC\0' + b'100000000.000'
                         + b'-12345678.123' + b'1234567.891\0\0' + b'\0')

    def test_point_that_cannot_travel_is_refused_before_the_port_opens(self):
        app = self.launch(PROGRAM)
        inst = self.instrument(PROGRAM, 'from-pc')
        self.connect(app, PORT, inst)
        caption = app.caption
        # "%.3f" gives 15 characters; the frame's field holds 13.
        self.import_topcom(app, ONE + [('BIG', 'X', 1.0, 12345678901.5, 2.0)])
        self.start(app, 'from-pc')
        self.expect_box(app, 'Error', 'Point 2 (BIG) has a coordinate that the Tassin instrument cannot receive '
                                      'exactly.\nNothing was sent.')
        app.sync()
        self.assertEqual((app.caption, app.text(harness.ID_SEND)), (caption, '&Send'))
        self.assertEqual(app.other_windows(), [])
        self.assertNotIn('the PC opened the port', inst.log())
        self.assertEqual(inst.dump_units(), [])

        app.select(1)
        app.click(ID_DELETE)
        app.wait_rows(1)
        self.start(app, 'from-pc')
        self.finish(app, 'from-pc')
        self.assertEqual(inst.wait(), 0, inst.log())
        self.assertEqual(inst.dump_units(), [tassin_frame(ONE[0], 1)])


if __name__ == '__main__':
    harness.main()
