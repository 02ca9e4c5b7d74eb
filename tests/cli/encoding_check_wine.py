"""encoding_check.exe under Wine, in the end-to-end tests' Wine prefix, once
in each language of the programs: the cases that every platform's
TextEncoding shares, against the system's code pages, and the default
encoding of an English system (cp1252) and a Simplified-Chinese one (cp936).

    encoding_check_wine.py ENCODING_CHECK.exe

Exit status 77 when Wine is missing. Standard library only.
"""

import os
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, '..', 'e2e'))
import harness  # noqa: E402

DEFAULT_NAMES = {'en': 'cp1252', 'zh': 'cp936'}


def main():
    program = os.path.abspath(sys.argv[1])
    try:
        run = harness.current_run()
    except unittest.SkipTest as skip:
        print('skipped: %s' % skip)
        sys.exit(77)
    failed = False
    for lang, name in sorted(DEFAULT_NAMES.items()):
        # Output through a file, never a pipe (a Wine service could hold a pipe open).
        with tempfile.TemporaryFile() as out:
            code = subprocess.run(['wine', program, name], env=run.env(lang), stdin=subprocess.DEVNULL,
                                  stdout=out, stderr=subprocess.STDOUT, timeout=120).returncode
            out.seek(0)
            print('%s (exit status %d):\n%s' % (lang, code, out.read().decode('utf-8', 'replace')))
        failed = failed or code != 0
    sys.exit(1 if failed else 0)


if __name__ == '__main__':
    main()
