"""The main window right after start-up, commands that do nothing, and the
ways the window closes."""

import sys

sys.dont_write_bytecode = True

import harness  # noqa: E402
from harness import (ID_ABOUT, ID_APPEND, ID_CLEAR_ALL, ID_CLOSE, ID_DELETE, ID_EDIT, ID_EXPORT,  # noqa: E402
                     ID_IMPORT, ID_LIST, ID_PORT_BOX, ID_RECV, ID_SEND, IDCANCEL, MAIN_BUTTONS, PROGRAMS)

CAPTIONS = {
    'korvellink': 'Korvel Total Station Communication Software (eng.)',
    'tassinlink': 'Tassin Total Station Communication Software (eng.)',
}
# The N and E columns swap places between the builds.
HEADERS = {
    'korvellink': ['Name', 'Mark', 'E', 'N', 'Z'],
    'tassinlink': ['Name', 'Mark', 'N', 'E', 'Z'],
}
LABELS = {
    ID_IMPORT: '&Import ...', ID_EXPORT: 'E&xport ...', ID_RECV: '&Recv', ID_SEND: '&Send',
    ID_APPEND: '&Append', ID_DELETE: '&Delete', ID_EDIT: '&Edit', ID_CLEAR_ALL: '&Clear all',
    ID_ABOUT: 'Abou&t', ID_CLOSE: 'Cl&ose',
}


def snapshot(app):
    """Everything a command could visibly change in the main window."""
    return {
        'caption': app.caption,
        'labels': {i: app.text(i) for i in LABELS},
        'enabled': {i: app.enabled(i) for i in MAIN_BUTTONS + (ID_PORT_BOX, ID_LIST)},
        'port': (app.port_text(), app.port_items()),
        'headers': app.headers(),
        'rows': app.rows(),
        'other windows': app.other_windows(),
    }


class StartState(harness.E2ETestCase):
    def test_start_state(self):
        for program in PROGRAMS:
            with self.subTest(program=program):
                app = self.launch(program)
                state = snapshot(app)
                self.assertEqual(state['caption'], CAPTIONS[program])
                self.assertEqual(state['labels'], LABELS)
                # COM1 to COM4, then the prefix's other serial ports.
                self.assertEqual(state['port'], ('COM1', harness.port_box_items()))
                self.assertEqual(state['headers'], HEADERS[program])
                self.assertEqual(state['rows'], [])
                self.assertEqual([i for i, on in state['enabled'].items() if not on], [], 'disabled controls')
                self.assertEqual(state['other windows'], [])
                app.click(ID_CLOSE)
                self.assertEqual(app.wait_exit(), 0)


class IgnoredCommands(harness.E2ETestCase):
    def test_escape_and_unused_ids_change_nothing(self):
        # Escape arrives as IDCANCEL; 1006 is the port box, 1007 no control.
        for program in PROGRAMS:
            app = self.launch(program)
            before = snapshot(app)
            for command in (IDCANCEL, ID_PORT_BOX, 1007):
                with self.subTest(program=program, command=command):
                    app.click(command)
                    app.sync()
                    self.assertTrue(app.alive(), 'the program ended')
                    self.assertEqual(snapshot(app), before)
            app.click(ID_CLOSE)
            self.assertEqual(app.wait_exit(), 0)


class Closing(harness.E2ETestCase):
    def test_close_ends_the_process_with_exit_code_0(self):
        ways = {
            'Close button': lambda app: app.click(ID_CLOSE),
            'close box (WM_CLOSE)': lambda app: app.close(),
        }
        for program in PROGRAMS:
            for way, close in ways.items():
                with self.subTest(program=program, way=way):
                    app = self.launch(program)
                    close(app)
                    self.assertEqual(app.wait_exit(), 0)


if __name__ == '__main__':
    harness.main()
