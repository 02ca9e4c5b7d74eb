"""Transfers while the programs show their progress on the taskbar button.

Wine draws no taskbar button here and so never announces one; the test
announces it itself ("TaskbarButtonCreated"), so that the programs connect
to the taskbar interface and use it through a receive and a send. Once with
the interface that Wine offers, once with it missing (the library that
provides it disabled for the program in the prefix's registry, which only
this test makes use of): both times the transfers run as before."""

import sys

sys.dont_write_bytecode = True

import harness  # noqa: E402
from e2e_instrument import list_row  # noqa: E402
from e2e_transfers import TransferTestCase  # noqa: E402
from harness import PROGRAMS  # noqa: E402

PORTS = {'korvellink': 13, 'tassinlink': 14}
POINTS = [('A1', 'KERB', 10.5, -20.25, 3.0), ('B2', 'TREE', -1.0, 2.0, 0.125), ('C3', '', 7.0, 8.0, 9.0)]
# Wine's library of the taskbar interface; without it the interface cannot
# be made.
TASKBAR_LIBRARY = 'explorerframe'


class TaskbarProgress(TransferTestCase):
    def receive_and_send(self, app):
        number = PORTS[app.program]
        inst = self.instrument(app.program, 'to-pc', points=POINTS)
        self.connect(app, number, inst)
        self.start(app, 'to-pc')
        app.wait_box(caption='Message')
        self.assertEqual(app.rows(), [list_row(app.program, p) for p in POINTS])
        self.finish(app, 'to-pc')
        self.assertEqual(inst.wait(), 0, inst.log())

        back = self.instrument(app.program, 'from-pc')
        self.connect(app, number, back)
        self.start(app, 'from-pc')
        self.finish(app, 'from-pc')
        self.assertEqual(back.wait(), 0, back.log())
        self.assertEqual([p[0] for p in back.received()], [p[0] for p in POINTS])

    def disable_taskbar_library(self, program):
        """Programs started from now on cannot load the taskbar library."""
        key = r'HKCU\Software\Wine\AppDefaults\%s.exe\DllOverrides' % program
        run = self.session.run
        self.assertEqual(run.run_wine(['reg', 'add', key, '/v', TASKBAR_LIBRARY, '/d', 'disabled', '/f']), 0)
        self.addCleanup(run.run_wine, ['reg', 'delete', key, '/v', TASKBAR_LIBRARY, '/f'])

    def test_transfers_with_and_without_the_taskbar_interface(self):
        for program in PROGRAMS:
            for missing in (False, True):
                with self.subTest(program=program, interface='missing' if missing else 'present'):
                    if missing:
                        self.disable_taskbar_library(program)
                    app = self.session.launch(program)
                    app.post(app.register_message(harness.IDS['MESSAGE_NAME_TASKBAR_BUTTON']))
                    app.sync()
                    self.receive_and_send(app)
                    # Announced again, as after a restart of the shell.
                    app.post(app.register_message(harness.IDS['MESSAGE_NAME_TASKBAR_BUTTON']))
                    app.sync()
                    self.assertTrue(app.alive())
                    app.click(harness.ID_CLOSE)
                    self.assertEqual(app.wait_exit(), 0)


if __name__ == '__main__':
    harness.main()
