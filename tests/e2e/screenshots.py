"""Screenshots of the programs' windows in both languages, for a person to look at.

Usage: screenshots.py <output folder>. Needs the win32 build (see
tools/screenshots.sh) and ImageMagick's `import`. Makes a private test run
(prefix, display, server) and removes it afterwards.
"""

import os
import subprocess
import sys
import time

sys.dont_write_bytecode = True

import harness  # noqa: E402
from harness import ID_ABOUT, ID_EXPORT, ID_IMPORT, IDCANCEL, IDOK, PROGRAMS  # noqa: E402

# Boxes that each program opens from an empty main window: (name, command).
BOXES = (('about', ID_ABOUT), ('import', ID_IMPORT), ('export', ID_EXPORT))


def capture(run, window, path):
    """Saves the window's screen area as a PNG, once its painting has settled:
    two grabs in a row are the same."""
    left, top, right, bottom = window.rect()
    env = dict(os.environ, DISPLAY=run.display)
    command = ['import', '-window', 'root', '-crop', '%dx%d+%d+%d' % (right - left, bottom - top, left, top),
               '+repage', 'png:-']
    previous = None
    for _ in range(20):
        time.sleep(0.2)
        image = subprocess.run(command, env=env, check=True, timeout=60, stdout=subprocess.PIPE).stdout
        if image == previous:
            break
        previous = image
    with open(path, 'wb') as f:
        f.write(image)
    print(path)


def shoot(session, out_dir, program, lang):
    app = session.launch(program, lang)
    app.sync()
    capture(session.run, app, os.path.join(out_dir, '%s-%s-main.png' % (program, lang)))
    for name, command in BOXES:
        app.click(command)
        box = app.wait_box()
        app.sync()
        capture(session.run, box, os.path.join(out_dir, '%s-%s-%s.png' % (program, lang, name)))
        try:
            buttons = box.info().buttons
        except harness.HarnessError:
            buttons = []  # a dialog, not a message box
        box.press(IDOK if buttons == [IDOK] or name == 'about' else IDCANCEL)
        box.wait_gone()
    app.click(harness.ID_CLOSE)
    app.wait_exit()


def main(out_dir):
    os.makedirs(out_dir, exist_ok=True)
    # Without RUVO_E2E_RUN_DIR this makes a private run, removed at exit.
    session = harness.Session(harness.current_run())
    try:
        for program in PROGRAMS:
            for lang in ('en', 'zh'):
                shoot(session, out_dir, program, lang)
    finally:
        session.close()


if __name__ == '__main__':
    if len(sys.argv) != 2:
        sys.exit('usage: screenshots.py <output folder>')
    main(sys.argv[1])
