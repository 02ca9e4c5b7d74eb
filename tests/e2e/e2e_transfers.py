"""Shared steps of the transfer tests: instruments on COM ports, the boxes
that end a transfer, the Idle state a transfer returns to, and filling the
list from a TopCom file through the Import dialog.

Standard library only.
"""

import os
import tempfile

import harness
from e2e_instrument import Instrument
from harness import (ID_APPEND, ID_CLEAR_ALL, ID_DELETE, ID_EDIT, ID_EXPORT, ID_IMPORT, ID_PORT_BOX,  # noqa: F401
                     ID_RECV, ID_SEND)

MODEL = {'korvellink': 'korvel', 'tassinlink': 'tassin'}
IDLE_TITLE = {
    'korvellink': 'Korvel Total Station Communication Software Ver 2.1.0 ',
    'tassinlink': 'Tassin Total Station Communication Software Ver 2.1.0 ',
}
EDITING = (ID_APPEND, ID_DELETE, ID_EDIT, ID_CLEAR_ALL, ID_PORT_BOX, ID_IMPORT, ID_EXPORT)
TOPCOM = 2


def many_points(count):
    """count distinct points that both instruments carry whole."""
    return [('N%d' % i, 'M%d' % (i % 100), 1000.0 + i * 1.5, -250.0 + i * 0.125, (-1) ** i * (i * 0.001))
            for i in range(1, count + 1)]


class TransferTestCase(harness.E2ETestCase):
    """A test that plays instruments on COM ports of the prefix."""

    def setUp(self):
        super().setUp()
        self._ports = {}

    def instrument(self, program, direction, **options):
        """A simulator of the program's instrument family, ended with the test."""
        inst = Instrument(MODEL[program], direction, **options)
        self.addCleanup(inst.remove)
        return inst

    def connect(self, app, number, inst):
        """Points COM<number> at the instrument and picks it in the port box."""
        target = inst.link if isinstance(inst, Instrument) else inst
        if number in self._ports:
            self._ports[number].point_at(target)
        else:
            self._ports[number] = self.session.map_com_port(number, target)
        app.set_port_text('COM%d' % number)

    def unmap(self, number):
        """Makes opening COM<number> fail with Access denied, as when another
        program holds the port."""
        if number not in self._ports:
            self._ports[number] = self.session.map_com_port(number, self.session.run.absent_port)
        self._ports[number].unmap()

    # -- the boxes that end a transfer ----------------------------------------
    def expect_box(self, app, caption, text, icon=True):
        """The next box has this caption and text and an OK button only; it
        is pressed and gone when this returns."""
        box = app.wait_box()
        info = box.info()
        self.assertEqual((info.caption, info.text), (caption, text))
        self.assertEqual(info.buttons, [harness.IDOK])
        self.assertEqual(info.has_icon, icon)
        box.press()
        box.wait_gone()
        return info

    def expect_cancel_warning(self, app):
        self.expect_box(app, 'Warning', 'Cancel Communication ')

    def expect_idle(self, app, keep=()):
        """The window is back in Idle: title text 7, both buttons relabelled,
        every control enabled, no box left (windows in keep, such as the
        plot, may stay)."""
        app.sync()
        self.assertEqual([w for w in app.other_windows() if w not in keep], [])
        self.assertEqual(app.caption, IDLE_TITLE[app.program])
        self.assertEqual((app.text(ID_RECV), app.text(ID_SEND)), ('Recving Data', 'Sending data'))
        disabled = [i for i in EDITING + (ID_RECV, ID_SEND) if not app.enabled(i)]
        self.assertEqual(disabled, [], 'controls still disabled')

    def expect_busy(self, app, direction):
        """The state of a running transfer: only its own button (Cancel)."""
        running, other = (ID_RECV, ID_SEND) if direction == 'to-pc' else (ID_SEND, ID_RECV)
        self.assertEqual(app.text(running), 'Cancel')
        self.assertTrue(app.enabled(running))
        self.assertFalse(app.enabled(other))
        self.assertEqual([i for i in EDITING if app.enabled(i)], [], 'editing controls enabled')

    def finish(self, app, direction, keep=()):
        """The normal end: "receive finished" or "send over", then Idle."""
        text = 'receive finished' if direction == 'to-pc' else 'send over'
        self.expect_box(app, 'Message', text)
        self.expect_idle(app, keep)

    def start(self, app, direction):
        app.click(ID_RECV if direction == 'to-pc' else ID_SEND)

    # -- filling the list --------------------------------------------------
    def import_topcom(self, app, points):
        """Imports (name, mark, n, e, z) points from a TopCom file (its lines:
        name,E,N,Z,mark) through the Open dialog."""
        fd, path = tempfile.mkstemp(suffix='.pts', prefix='ruvo-points-')
        self.addCleanup(os.unlink, path)
        with os.fdopen(fd, 'w', newline='\r\n') as f:
            for name, mark, n, e, z in points:
                f.write('%s,%r,%r,%r,%s\n' % (name, e, n, z, mark))
        count = app.row_count()
        app.click(ID_IMPORT)
        dialog = app.wait_file_dialog()
        dialog.set_name(path)
        dialog.choose_type(TOPCOM)
        dialog.ok()
        dialog.wait_gone()
        app.wait_rows(count + len(points))
        app.sync()
        self.assertEqual(app.other_windows(), [])
