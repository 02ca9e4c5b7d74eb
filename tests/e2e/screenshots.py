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
from harness import ID_ABOUT, ID_APPEND, ID_EXPORT, ID_IMPORT, IDCANCEL, IDOK, PROGRAMS  # noqa: E402

# Boxes that each program opens from an empty main window: (name, command).
BOXES = (('about', ID_ABOUT), ('import', ID_IMPORT), ('export', ID_EXPORT))

# The point dialog's entries (name, mark, N, E, Z), filled so that each
# entry's text tells which row it is on.
POINT_ENTRIES = ((1003, 'NAME'), (1004, 'MARK'), (1005, 'N=4567.890'), (1006, 'E=1234.560'), (1007, 'Z=78.900'))
POINT_CAPTIONS = {'en': 'Tag Detial', 'zh': '测点数据'}


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
    shoot_point_dialog(session, out_dir, program, lang, app)
    app.click(harness.ID_CLOSE)
    app.wait_exit()


def shoot_point_dialog(session, out_dir, program, lang, app):
    """The point dialog of Append, filled in, and the box of a refused entry."""
    app.click(ID_APPEND)
    dialog = app.wait_box(caption=POINT_CAPTIONS[lang])
    for control_id, text in POINT_ENTRIES:
        dialog.set_text(control_id, text)
    app.sync()
    capture(session.run, dialog, os.path.join(out_dir, '%s-%s-point.png' % (program, lang)))
    dialog.set_text(1005, '1e5')
    dialog.press(IDOK)
    box = app.wait_box(caption='ERROR', exclude=[dialog])
    app.sync()
    capture(session.run, box, os.path.join(out_dir, '%s-%s-point-error.png' % (program, lang)))
    box.press(IDOK)
    box.wait_gone()
    dialog.press(IDCANCEL)
    dialog.wait_gone()


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
