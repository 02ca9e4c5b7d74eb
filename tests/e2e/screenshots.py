"""Screenshots of the programs' windows in both languages and at two screen
resolutions, for a person to look at.

Usage: screenshots.py <output folder>. Needs the win32 build (see
tools/screenshots.sh) and ImageMagick's `import`. Makes a private test run
(prefix, display, server) per resolution and removes it afterwards. The
pictures are named <program>-<lang>-<dpi>-<window>.png.
"""

import os
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True

import e2e_run  # noqa: E402
import harness  # noqa: E402
from harness import ID_ABOUT, ID_APPEND, ID_EXPORT, ID_IMPORT, ID_RECV, IDCANCEL, IDOK, PROGRAMS  # noqa: E402

# 96 DPI is 100 % scaling; 144 DPI is 150 %, common on laptops.
RESOLUTIONS = (96, 144)

# Boxes that each program opens from an empty main window: (name, command).
BOXES = (('about', ID_ABOUT), ('import', ID_IMPORT), ('export', ID_EXPORT))

# The point dialog's entries (name, mark, N, E, Z), filled so that each
# entry's text tells which row it is on.
POINT_ENTRIES = tuple(zip(harness.POINT_ENTRIES, ('NAME', 'MARK', 'N=4567.890', 'E=1234.560', 'Z=78.900')))
POINT_CAPTIONS = {'en': 'Tag Detial', 'zh': '测点数据'}
# A long point: a 9-character name, a 13-character mark and coordinates of
# seven digits before the point.
WIDE_POINT = tuple(zip(harness.POINT_ENTRIES,
                       ('STN-12345', 'BOUNDARY-WALL', '-1234567.890', '-7654321.098', '-1234567.890')))


def capture(run, window, path):
    """Saves the window's screen area as a PNG, once its painting has settled:
    two grabs in a row are the same."""
    capture_area(run, *window.rect(), path)


def capture_on_top(run, window, path):
    """The same for a window that another one may cover on the display (the
    main window, which Wine activates late after a menu (see
    harness.list_menu) or after the Open dialog): once that has come, the
    window comes to the front and is raised on the display."""
    time.sleep(1.0)
    window.front()
    raise_on_display(run, window.rect())
    capture(run, window, path)


def capture_area(run, left, top, right, bottom, path):
    """Saves a part of the screen as a PNG, once it has settled."""
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


def shoot(session, out_dir, program, lang, dpi):
    def name(window):
        return os.path.join(out_dir, '%s-%s-%d-%s.png' % (program, lang, dpi, window))

    app = session.launch(program, lang)
    app.sync()
    capture(session.run, app, name('main'))
    for box_name, command in BOXES:
        app.click(command)
        box = app.wait_box()
        app.sync()
        capture(session.run, box, name(box_name))
        try:
            buttons = box.info().buttons
        except harness.HarnessError:
            buttons = []  # a dialog, not a message box
        box.press(IDOK if buttons == [IDOK] or box_name == 'about' else IDCANCEL)
        box.wait_gone()
    shoot_point_dialog(session, app, name)
    shoot_idle_after_transfer(session, app, name)
    app.click(harness.ID_CLOSE)
    app.wait_exit()
    shoot_plot(session, out_dir, program, lang, name)


def shoot_point_dialog(session, app, name):
    """The point dialog of Append, filled in, and the box of a refused entry."""
    app.click(ID_APPEND)
    dialog = app.wait_box(caption=POINT_CAPTIONS[app.lang])
    for control_id, text in POINT_ENTRIES:
        dialog.set_text(control_id, text)
    app.sync()
    capture(session.run, dialog, name('point'))
    dialog.set_text(1005, '1e5')
    dialog.press(IDOK)
    box = app.wait_box(caption='ERROR', exclude=[dialog])
    app.sync()
    capture(session.run, box, name('point-error'))
    box.press(IDOK)
    box.wait_gone()
    dialog.press(IDCANCEL)
    dialog.wait_gone()


def shoot_idle_after_transfer(session, app, name):
    """The main window back in Idle after a transfer, whose button labels are
    the longest, with the widest row in the list. A receive from a port that
    does not exist ends at once: its two boxes, then Idle."""
    app.click(ID_APPEND)
    dialog = app.wait_box(caption=POINT_CAPTIONS[app.lang])
    for control_id, text in WIDE_POINT:
        dialog.set_text(control_id, text)
    dialog.press(IDOK)
    dialog.wait_gone()
    app.wait_rows(1)
    app.set_port_text('COM99')
    app.click(ID_RECV)
    for caption in ('Error', 'Warning'):
        box = app.wait_box(caption=caption)
        box.press(IDOK)
        box.wait_gone()
    app.sync()
    capture(session.run, app, name('idle'))


def survey_points():
    """A small survey, (name, mark, N, E, Z): a station, kerbs on both sides
    of a bending road, the corners of a building and some trees."""
    points = [('STN1', 'STN', 3521405.25, 512034.8, 48.3)]
    for i in range(12):
        n, e = 3521380.0 + i * 6.0, 512010.0 + i * 4.0 + (i * i) * 0.15
        points.append(('K%d' % (2 * i + 1), 'KRB', n, e, 48.0))
        points.append(('K%d' % (2 * i + 2), 'KRB', n - 4.5, e + 6.8, 48.0))
    for name, n, e in (('H1', 3521420.0, 512060.0), ('H2', 3521420.0, 512078.0), ('H3', 3521408.0, 512078.0),
                       ('H4', 3521408.0, 512060.0)):
        points.append((name, 'BLD', n, e, 49.0))
    for i in range(6):
        points.append(('T%d' % (i + 1), 'TREE', 3521395.0 + i * 7.5, 512062.0 - i * 3.0, 48.5))
    return points


def raise_on_display(run, rect):
    """Raises the display's window at the rectangle above the others. Under
    Wine without a window manager the display may stack a window below
    another one that Windows keeps under it (a menu below its owner)."""
    env = dict(os.environ, DISPLAY=run.display)
    tree = subprocess.run(['xwininfo', '-root', '-tree'], env=env, check=True, timeout=60,
                          stdout=subprocess.PIPE, text=True).stdout
    left, top, right, bottom = rect
    geometry = '%dx%d+%d+%d' % (right - left, bottom - top, left, top)
    for line in tree.splitlines():
        fields = line.split()
        if fields and fields[0].startswith('0x') and geometry in fields:
            subprocess.run(['xdotool', 'windowraise', fields[0]], env=env, check=True, timeout=60)


def shoot_plot(session, out_dir, program, lang, name):
    """The list's menu and the Save dialog of its CAD/GIS entry, the empty
    plot with its hint, then the plot of a small survey with a point
    selected."""
    app = session.launch(program, lang)
    app.sync()
    menu = app.list_menu()
    app.sync()
    raise_on_display(session.run, menu.rect())
    _, _, right, bottom = menu.rect()
    main_left, main_top, _, _ = app.rect()
    # The menu and the list round it.
    capture_area(session.run, main_left, main_top, max(right, main_left + 400), bottom + 10, name('list-menu'))
    app.key(harness.VK_ESCAPE)
    menu.wait_gone()
    # The Save dialog of the menu's CAD/GIS entry, with its four types.
    menu = app.list_menu()
    app.key(ord('E'))
    menu.wait_gone()
    dialog = app.wait_file_dialog()
    app.sync()
    capture(session.run, dialog, name('cad-gis'))
    dialog.cancel()
    dialog.wait_gone()
    plot = app.open_plot()
    app.sync()
    capture_on_top(session.run, plot, name('plot-empty'))
    path = os.path.join(out_dir, 'survey.pts')
    with open(path, 'w', newline='\r\n') as f:
        for point_name, mark, n, e, z in survey_points():
            f.write('%s,%r,%r,%r,%s\n' % (point_name, e, n, z, mark))
    app.import_file(path, rows=len(survey_points()))
    app.select(0)
    app.sync()
    capture_on_top(session.run, plot, name('plot'))
    os.unlink(path)
    # The coordinate-system dialog of the KML in WGS 84, a system typed.
    menu = app.list_menu()
    app.key(ord('E'))
    menu.wait_gone()
    dialog = app.wait_file_dialog()
    dialog.set_name(os.path.join(out_dir, 'unsaved'))
    dialog.choose_type(5)
    dialog.ok()
    dialog.wait_gone()
    crs = app.wait_box()
    crs.set_text(harness.IDS['IDC_CRS_TEXT'], 'EPSG:4526')
    app.sync()
    capture(session.run, crs, name('crs'))
    crs.press(harness.IDCANCEL)
    crs.wait_gone()
    app.click(harness.ID_CLOSE)
    app.wait_exit()


def main(out_dir):
    os.makedirs(out_dir, exist_ok=True)
    driver = harness.driver_path()
    for dpi in RESOLUTIONS:
        run = e2e_run.setup(tempfile.mkdtemp(prefix='ruvo-shots-'), driver=driver, dpi=dpi)
        try:
            session = harness.Session(run)
            try:
                for program in PROGRAMS:
                    for lang in ('en', 'zh'):
                        shoot(session, out_dir, program, lang, dpi)
            finally:
                session.close()
        finally:
            e2e_run.cleanup(run.dir)


if __name__ == '__main__':
    if len(sys.argv) != 2:
        sys.exit('usage: screenshots.py <output folder>')
    main(sys.argv[1])
