"""The README's run command on a machine where its Wine prefix does not exist
yet: the first run's COM1 and COM2 are the simulated instruments, so Recv
gets their points and Send delivers them; so does the next run in the same
prefix, with the other program."""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest

sys.dont_write_bytecode = True

import harness  # noqa: E402

SCRIPT_TIMEOUT = 240
CHECK = os.path.join(harness.HERE, 'run_script_check.py')


class RunScript(unittest.TestCase):
    def run_script(self, program, prefix):
        # No display: the script makes its own virtual one, as on a server.
        env = {k: v for k, v in os.environ.items() if k not in ('DISPLAY', 'WINEPREFIX', 'RUVO_WINEPREFIX')}
        done = subprocess.run(['bash', os.path.join(harness.SOURCE_DIR, 'tools', 'run.sh'), program,
                               '--prefix', prefix, '--then', sys.executable, '-B', CHECK],
                              env=env, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                              timeout=SCRIPT_TIMEOUT)
        return done.returncode, done.stdout.decode('utf-8', 'replace')

    def test_first_run_in_a_new_prefix_then_a_second_run(self):
        top = tempfile.mkdtemp(prefix='ruvo-run-script-')
        self.addCleanup(shutil.rmtree, top, True)
        prefix = os.path.join(top, 'wine32')
        for program in ('korvellink', 'tassinlink'):
            with self.subTest(program=program):
                status, output = self.run_script(program, prefix)
                self.assertEqual(status, 0, output)
                self.assertIn('received 5 points on COM1 and sent them to COM2', output)
                # Every line of the script is its own: where the prefix is
                # and how to start afresh, and nothing of its helpers.
                self.assertIn("Wine prefix: %s (to start afresh, remove it: rm -rf '%s')" % (prefix, prefix),
                              output)
                stray = [line for line in output.splitlines() if line.startswith('/dev/')]
                self.assertEqual(stray, [], output)


if __name__ == '__main__':
    harness.main()
