"""The receive and send tests that every family's program runs against its
simulated instrument: transfers that run to their end, checked on the screen
and byte for byte on the line, and a send refused before the port opens.

A family's test file subclasses FamilyTransfers together with
TransferTestCase and gives its program, its port, its points and what its
wire carries (the class attributes and methods below that raise
NotImplementedError).

Standard library only.
"""

import harness
from e2e_instrument import list_row
from e2e_transfers import many_points
from harness import ID_DELETE

# The instrument starts the exchange this long after the port opened, long
# enough for the test to see the window wait for it.
SEE_WAITING_MS = 1000


class FamilyTransfers:
    """Mixin of the transfer tests; see the module's words."""

    PROGRAM = None    # 'korvellink'
    MODEL = None      # the model name the texts carry, 'Korvel'
    PORT = None       # the COM port number the tests use
    LONGEST = None    # a received point with the longest name and mark the frames carry whole
    WIDEST = None     # a sent point with the widest numbers the frames carry
    REFUSED = None    # a point the frames cannot carry exactly

    # A one-point list for sends.
    ONE = [('ST1', 'BM', 100.5, 200.25, 3.0)]

    def received_points(self):
        """Points the instrument sends, all travelling whole: short and empty
        names and marks, magnitudes up to 9999999.999, zero."""
        return [('P1', 'KERB', 1001.5, -249.875, -12.501), self.LONGEST,
                ('', '', -9999999.999, 0.5, 123.456), ('9', 'A', 4.0, -3.25, 2.125)]

    def several_points(self):
        """More points for sends, as a TopCom file gives them: a long name and
        mark (cut on the line), values rounded to three decimals and one that
        rounds to -0.000, an empty name and mark with the largest magnitudes,
        the family's widest point, a name whose trailing spaces go."""
        return [('LONGNAME9', 'MARKLONGER', -1234.5678, 0.0004, -0.0004), ('', '', 9999999.999, -9999999.999, 0.0),
                self.WIDEST, ('Q4  ', 'A', 0.125, 0.0625, -5.5)]

    def received_title(self, count):
        """The caption after the count-th received point of count."""
        raise NotImplementedError

    def receive_dump(self, points):
        """What the PC puts on the line while it receives points."""
        raise NotImplementedError

    def send_dump(self, points):
        """What the PC puts on the line while it sends points."""
        raise NotImplementedError

    def rows_after_send(self, rows):
        """The list's rows that a send of rows may leave."""
        return (rows,)

    def check_layout(self, sent):
        """Spells out the layout of one frame of sent, send_dump(ONE + several_points())."""
        raise NotImplementedError

    # -- receives -----------------------------------------------------------
    def test_receive_of_several_points_then_of_none_on_the_same_port(self):
        app = self.launch(self.PROGRAM)
        received = self.received_points()
        inst = self.instrument(self.PROGRAM, 'to-pc', points=received, start_delay_ms=SEE_WAITING_MS)
        self.connect(app, self.PORT, inst)
        self.start(app, 'to-pc')
        app.wait_caption('Wait SyncData')
        self.expect_busy(app, 'to-pc')
        app.wait_box(caption='Message')
        self.assertEqual(app.caption, self.received_title(len(received)))
        self.assertEqual(app.rows(), [list_row(self.PROGRAM, p) for p in received])
        self.assertEqual(app.selection().selected, [len(received) - 1])
        self.finish(app, 'to-pc')
        self.assertEqual(inst.wait(), 0, inst.log())
        self.assertEqual(inst.dump_units(), self.receive_dump(received))

        # The instrument's opening and end only: nothing is added.
        empty = self.instrument(self.PROGRAM, 'to-pc', points=0)
        self.connect(app, self.PORT, empty)
        self.start(app, 'to-pc')
        app.wait_box(caption='Message')
        self.assertEqual(app.caption, 'Wait SyncData')
        self.finish(app, 'to-pc')
        self.assertEqual(empty.wait(), 0, empty.log())
        self.assertEqual(empty.dump_units(), self.receive_dump([]))
        self.assertEqual(app.rows(), [list_row(self.PROGRAM, p) for p in received])

    def test_fast_receive_keeps_every_point_in_order(self):
        # The instrument answers at once and the window falls behind the
        # line: every point still arrives, in order, before the end box.
        points = many_points(300)
        app = self.launch(self.PROGRAM)
        inst = self.instrument(self.PROGRAM, 'to-pc', points=points)
        self.connect(app, self.PORT, inst)
        self.start(app, 'to-pc')
        app.wait_box(caption='Message', timeout=60)
        self.assertEqual(app.caption, self.received_title(len(points)))
        self.assertEqual(app.rows(), [list_row(self.PROGRAM, p) for p in points])
        self.finish(app, 'to-pc')
        self.assertEqual(inst.wait(), 0, inst.log())

    # -- sends --------------------------------------------------------------
    def send(self, app, points):
        """Sends the list to a fresh instrument; returns what it read."""
        inst = self.instrument(self.PROGRAM, 'from-pc', start_delay_ms=SEE_WAITING_MS)
        self.connect(app, self.PORT, inst)
        rows = app.rows()
        self.start(app, 'from-pc')
        app.wait_caption('Wait SyncData')
        self.expect_busy(app, 'from-pc')
        app.wait_box(caption='Message')
        if points:
            self.assertEqual(app.caption, 'Sending Tag %04d,Total %04d' % (len(points), len(points)))
        self.finish(app, 'from-pc')
        self.assertEqual(inst.wait(), 0, inst.log())
        self.assertIn(app.rows(), self.rows_after_send(rows), 'a send changed the list')
        self.assertEqual(len(inst.received()), len(points))
        return inst.dump_units()

    def test_send_of_none_one_and_several_points_byte_for_byte(self):
        app = self.launch(self.PROGRAM)
        self.assertEqual(self.send(app, []), self.send_dump([]))

        self.import_topcom(app, self.ONE)
        self.assertEqual(self.send(app, self.ONE), self.send_dump(self.ONE))

        self.import_topcom(app, self.several_points())
        points = self.ONE + self.several_points()
        expected = self.send_dump(points)
        self.assertEqual(self.send(app, points), expected)
        self.check_layout(expected)

    def test_point_that_cannot_travel_is_refused_before_the_port_opens(self):
        app = self.launch(self.PROGRAM)
        inst = self.instrument(self.PROGRAM, 'from-pc')
        self.connect(app, self.PORT, inst)
        caption = app.caption
        self.import_topcom(app, self.ONE + [self.REFUSED])
        self.start(app, 'from-pc')
        self.expect_box(app, 'Error', 'Point 2 (%s) has a coordinate that the %s instrument cannot receive '
                                      'exactly.\nNothing was sent.' % (self.REFUSED[0], self.MODEL))
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
        self.assertEqual(inst.dump_units(), self.send_dump(self.ONE))
