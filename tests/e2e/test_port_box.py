"""The port box lists the serial ports present after COM1 to COM4, a port
above COM4 picked from it carries a transfer, and the list follows the
devices that come and go.

Wine lists the ports of its port mapping under
HKLM\\HARDWARE\\DEVICEMAP\\SERIALCOMM, as Windows lists its devices there;
the run maps COM1 to COM16, so the prefix has ports above COM4."""

import sys

sys.dont_write_bytecode = True

import harness  # noqa: E402
from e2e_instrument import list_row  # noqa: E402
from e2e_transfers import TransferTestCase  # noqa: E402
from harness import CB_DELETESTRING, DBT_DEVNODES_CHANGED, ID_PORT_BOX, PROGRAMS, WM_DEVICECHANGE  # noqa: E402

# Ports that no other test uses, one per program.
PORTS = {'korvellink': 7, 'tassinlink': 8}
POINTS = [('A1', 'KERB', 10.5, -20.25, 3.0), ('B2', 'TREE', -1.0, 2.0, 0.125)]
DBT_CONFIGCHANGED = 0x0018  # a docking station, no port


class PortBox(TransferTestCase):
    def test_ports_above_com4_follow_in_the_order_of_their_numbers(self):
        expected = harness.port_box_items()
        self.assertEqual(expected[:4], ['COM1', 'COM2', 'COM3', 'COM4'])
        self.assertLess(expected.index('COM9'), expected.index('COM10'))
        for program in PROGRAMS:
            with self.subTest(program=program):
                app = self.launch(program)
                self.assertEqual(app.port_items(), expected)
                self.assertEqual((app.port_text(), app.combo_selection(ID_PORT_BOX)), ('COM1', 0))

    def test_a_port_above_com4_picked_from_the_box_receives(self):
        for program in PROGRAMS:
            with self.subTest(program=program):
                app = self.launch(program)
                number = PORTS[program]
                inst = self.instrument(program, 'to-pc', points=POINTS)
                self.session.map_com_port(number, inst.link)
                app.combo_choose(ID_PORT_BOX, app.port_items().index('COM%d' % number))
                self.assertEqual(app.port_text(), 'COM%d' % number)
                self.start(app, 'to-pc')
                app.wait_box(caption='Message')
                self.assertEqual(app.rows(), [list_row(program, p) for p in POINTS])
                self.finish(app, 'to-pc')
                self.assertEqual(inst.wait(), 0, inst.log())

    def test_a_device_change_lists_the_ports_again_keeping_the_text(self):
        app = self.launch('korvellink')
        expected = app.port_items()

        def forget_all_but_four():
            for index in range(len(expected) - 1, 3, -1):
                app.send(CB_DELETESTRING, index, control_id=ID_PORT_BOX)
            self.assertEqual(app.port_items(), expected[:4])

        # A picked port stays picked.
        app.combo_choose(ID_PORT_BOX, expected.index('COM9'))
        forget_all_but_four()
        app.post(WM_DEVICECHANGE, DBT_DEVNODES_CHANGED)
        app.sync()
        self.assertEqual(app.port_items(), expected)
        self.assertEqual((app.port_text(), app.combo_selection(ID_PORT_BOX)), ('COM9', expected.index('COM9')))

        # A typed name stays as typed.
        forget_all_but_four()
        app.set_port_text('MYPORT')
        app.post(WM_DEVICECHANGE, DBT_DEVNODES_CHANGED)
        app.sync()
        self.assertEqual(app.port_items(), expected)
        self.assertEqual(app.port_text(), 'MYPORT')

        # Other device events change nothing.
        forget_all_but_four()
        app.post(WM_DEVICECHANGE, DBT_CONFIGCHANGED)
        app.sync()
        self.assertEqual(app.port_items(), expected[:4])
        self.assertEqual(app.port_text(), 'MYPORT')


if __name__ == '__main__':
    harness.main()
