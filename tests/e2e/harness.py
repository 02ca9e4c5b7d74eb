"""End-to-end test harness: runs korvellink and tassinlink under Wine.

A test file subclasses E2ETestCase, launches programs and talks to their
windows through App, Box and FileDialog; harness.main() runs it:

    class About(harness.E2ETestCase):
        def test_about_opens(self):
            app = self.launch('korvellink')          # or lang='zh'
            app.click(harness.ID_ABOUT)
            box = app.wait_box()
            self.assertEqual(box.caption, 'About')
            box.press(harness.IDOK)
            box.wait_gone()

    if __name__ == '__main__':
        harness.main()

Every wait has a time-out and raises WaitTimeout (a test failure). Whatever
a test leaves running (programs, drivers) is ended when the test ends,
passed or failed. Serial tests map a COM port of the prefix to a
pseudo-terminal with session.map_com_port(n, path).

Paths come from the environment that CTest sets: RUVO_E2E_RUN_DIR (the run
made by the e2e_setup fixture), RUVO_E2E_BIN_DIR (the programs) and
RUVO_E2E_DRIVER (e2edriver.exe). Without RUVO_E2E_RUN_DIR a test file makes a
private run for itself, so `python3 tests/e2e/test_x.py` works by hand.
`python3 harness.py setup|cleanup` are the fixture commands.

Standard library only.
"""

import atexit
import collections
import fcntl
import os
import re
import sys
import tempfile
import time
import unittest
import uuid

sys.dont_write_bytecode = True

import e2e_run  # noqa: E402
from e2e_driver import Driver, HarnessError, WaitTimeout, decode_text  # noqa: E402,F401

PROGRAMS = ('korvellink', 'tassinlink')
DIALOG_CLASS = '#32770'

HERE = os.path.dirname(os.path.abspath(__file__))
SOURCE_DIR = os.path.dirname(os.path.dirname(HERE))

# Standard dialog ids.
IDOK, IDCANCEL, IDYES, IDNO = 1, 2, 6, 7


def read_resource_ids(path):
    """The #defines of the programs' id header: {name: number or string}."""
    ids = {}
    with open(path, encoding='utf-8') as f:
        for line in f:
            m = re.match(r'#define\s+(\w+)\s+(\d+|"[^"]*")', line)
            if m:
                value = m.group(2)
                ids[m.group(1)] = value[1:-1] if value.startswith('"') else int(value)
    return ids


# Every id of the programs, from their one home.
IDS = read_resource_ids(os.path.join(SOURCE_DIR, 'resources', 'resource.h'))
# The main window's controls.
(ID_CLOSE, ID_IMPORT, ID_EXPORT, ID_RECV, ID_SEND, ID_LIST, ID_APPEND, ID_DELETE, ID_EDIT, ID_CLEAR_ALL, ID_PORT_BOX,
 ID_ABOUT) = (IDS['IDC_' + name] for name in ('CLOSE', 'IMPORT', 'EXPORT', 'RECV', 'SEND', 'LIST', 'APPEND', 'DELETE',
                                             'EDIT', 'CLEARALL', 'PORT', 'ABOUT'))
MAIN_BUTTONS = (ID_CLOSE, ID_IMPORT, ID_EXPORT, ID_RECV, ID_SEND, ID_APPEND, ID_DELETE, ID_EDIT,
                ID_CLEAR_ALL, ID_ABOUT)
# The point dialog's entries.
ENTRY_NAME, ENTRY_MARK, ENTRY_N, ENTRY_E, ENTRY_Z = (IDS['IDC_POINT_' + name]
                                                   for name in ('NAME', 'MARK', 'N', 'E', 'Z'))
POINT_ENTRIES = (ENTRY_NAME, ENTRY_MARK, ENTRY_N, ENTRY_E, ENTRY_Z)

WM_CLOSE = 0x0010
WM_DEVICECHANGE = 0x0219
DBT_DEVNODES_CHANGED = 0x0007
LVM_GETCOLUMNWIDTH = 0x101D
CB_DELETESTRING = 0x0144
# Message-box text control.
ID_MESSAGE_TEXT = 0xFFFF
# The plot window's class, and its messages for tests (app/win32/PlotWindow.h).
PLOT_CLASS = IDS['PLOT_WINDOW_CLASS']
PLOT_WHERE = IDS['MESSAGE_NAME_PLOT_WHERE']
PLOT_PAINT_TIME = IDS['MESSAGE_NAME_PLOT_PAINT_TIME']
MENU_CLASS = '#32768'
# Keys.
VK_RETURN, VK_ESCAPE, VK_HOME, VK_LEFT, VK_UP, VK_RIGHT, VK_DOWN = 0x0D, 0x1B, 0x24, 0x25, 0x26, 0x27, 0x28
VK_APPS, VK_F10 = 0x5D, 0x79

WINDOW_TIMEOUT = 30.0   # a program's main window (generous: 2 cores, parallel tests)
BOX_TIMEOUT = 10.0      # a box or dialog after a command
EXIT_TIMEOUT = 15.0     # a program's exit after Close


def bin_dir():
    return os.environ.get('RUVO_E2E_BIN_DIR') or os.path.join(SOURCE_DIR, 'build', 'win32', 'bin')


def driver_path():
    return os.environ.get('RUVO_E2E_DRIVER') or os.path.join(bin_dir(), 'e2edriver.exe')


def program_path(program):
    return os.path.join(bin_dir(), program + '.exe')


_run = None


def current_run():
    """The run of this test process; raises SkipTest when Wine is missing."""
    global _run
    if _run is not None:
        return _run
    if not e2e_run.wine_available():
        raise unittest.SkipTest('wine is not installed: end-to-end tests skipped')
    run_dir = os.environ.get('RUVO_E2E_RUN_DIR')
    if run_dir:
        run = e2e_run.Run.load(run_dir)
        if not run.wine:
            raise unittest.SkipTest('wine was not installed when the run was set up')
        if not run.state.get('ready'):
            raise HarnessError('the test run at %s was not set up completely; see its logs' % run_dir)
    else:
        run = e2e_run.setup(tempfile.mkdtemp(prefix='ruvo-e2e-'), driver=_existing(driver_path()))
        atexit.register(e2e_run.cleanup, run.dir)
    _run = run
    return run


def _existing(path):
    if not os.path.isfile(path):
        raise HarnessError('%s is missing: build the win32 tree first' % path)
    return path


def wait_until(predicate, timeout, what, interval=0.05):
    """Polls predicate() until it returns a true value, which it returns."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() >= deadline:
            raise WaitTimeout('timed out after %.1f s waiting for %s' % (timeout, what))
        time.sleep(interval)


def _ms(seconds):
    return int(seconds * 1000)


class ComPort:
    """COM<number> of the prefix, pointed at a Unix device such as a pty.

    The prefix's registry maps COM1..COM16 to links in the run's ports folder;
    this object re-points one link and holds a lock on the port, so that
    tests running at the same time never share a port. An unmapped port's
    link leads to an empty folder, so that opening the port fails (a missing
    link would not do: Wine then falls back to /dev/ttyS<n-1>).
    """

    def __init__(self, run, number, target, timeout=120.0):
        if not 1 <= number <= e2e_run.PORT_COUNT:
            raise ValueError('COM%d: only COM1..COM%d are mapped' % (number, e2e_run.PORT_COUNT))
        self.number = number
        self.link = run.port_link(number)
        self.absent = run.absent_port
        self._lock = open(self.link + '.lock', 'w')
        wait_until(self._try_lock, timeout, 'COM%d to be free' % number, interval=0.1)
        self.point_at(target)

    def _try_lock(self):
        try:
            fcntl.flock(self._lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
            return True
        except BlockingIOError:
            return False

    def point_at(self, target):
        """Re-points the port; the next open of COM<n> gets target."""
        tmp = self.link + '.new'
        if os.path.lexists(tmp):
            os.unlink(tmp)
        os.symlink(target, tmp)
        os.replace(tmp, self.link)

    def unmap(self):
        """The next open of the port fails, as with a vanished adapter."""
        self.point_at(self.absent)

    def release(self):
        if self._lock is None:
            return
        self.unmap()
        self._lock.close()
        self._lock = None

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.release()


def port_box_items(run=None):
    """The items the port box should hold on this prefix: COM1 to COM4, then
    the prefix's other serial ports in the order of their numbers."""
    fixed = ['COM1', 'COM2', 'COM3', 'COM4']
    present = (run or current_run()).registry_values(r'HKLM\HARDWARE\DEVICEMAP\SERIALCOMM').values()
    others = {int(name[3:]) for name in present if name[:3] == 'COM' and name[3:].isdigit()} - {1, 2, 3, 4}
    return fixed + ['COM%d' % number for number in sorted(others)]


def map_com_port(number, target, run=None):
    """Maps COM<number> to target (a Unix path); returns the ComPort.

    Release it (or use it as a context manager) when done; a Session's
    map_com_port releases it with the session.
    """
    return ComPort(run or current_run(), number, target)


BoxInfo = collections.namedtuple('BoxInfo', 'caption text has_icon buttons')
Selection = collections.namedtuple('Selection', 'selected focused')
ListView = collections.namedtuple('ListView', 'top per_page')
Child = collections.namedtuple('Child', 'id class_name text enabled visible')


class Window:
    """A top-level window of a program under test."""

    def __init__(self, driver, hwnd):
        self.driver = driver
        self.hwnd = hwnd

    def _call(self, verb, **args):
        return self.driver.call(verb, hwnd=self.hwnd, **args)

    @property
    def caption(self):
        return decode_text(self._call('caption')[0])

    def exists(self):
        return self.driver.call('exists', hwnd=self.hwnd) == ['1']

    def rect(self, control_id=None):
        """(left, top, right, bottom) on the screen, in pixels."""
        return tuple(int(v) for v in self._call('rect', id=control_id))

    def visible(self):
        return self._call('visible') == ['1']

    def window_enabled(self):
        """False while a modal box of this window is up."""
        return self._call('enabled') == ['1']

    def text(self, control_id):
        """A control's text (WM_GETTEXT); a combo box gives its edit text."""
        return decode_text(self._call('text', id=control_id)[0])

    def set_text(self, control_id, text):
        """Sets a control's text (WM_SETTEXT), e.g. a field of a dialog."""
        self._call('settext', id=control_id, text=text)

    def enabled(self, control_id):
        return self._call('enabled', id=control_id) == ['1']

    def class_name(self, control_id=None):
        return decode_text(self._call('class', id=control_id)[0])

    def click(self, control_id, code=0):
        """Posts WM_COMMAND for the control, as pressing it does."""
        self._call('command', id=control_id, code=code)

    command = click

    def close(self):
        """Posts WM_CLOSE, as the title bar's close button does."""
        self._call('close')

    def post(self, message, wparam=0, lparam=0, control_id=None):
        """Posts a message to the window, or to its control control_id."""
        self._call('post', id=control_id, msg=message, wparam=wparam, lparam=lparam)

    def send(self, message, wparam=0, lparam=0, control_id=None):
        """Sends a message without pointers to the window, or to its control
        control_id; returns its result."""
        return int(self._call('send', id=control_id, msg=message, wparam=wparam, lparam=lparam)[0])

    def repaint(self, control_id=None):
        """Has the window repaint its whole client area at once; returns the
        seconds that took."""
        return int(self._call('paint', id=control_id)[0]) / 1e6

    def pixels(self, x, y, width=1, height=1):
        """Colours (0xRRGGBB) of the client area's pixels as the screen shows
        them, row by row."""
        f = self._call('pixels', x=x, y=y, w=width, h=height)
        return [int(v) for v in f[2:]]

    def mouse(self, x, y, right=False, clicks=1, wheel=0):
        """Mouse input at a client point, as the user gives it: the pointer
        moves there, then clicks (or a wheel turn, 120 a notch)."""
        self._call('mouse', x=x, y=y, right=right, clicks=clicks, wheel=wheel)

    def client_size(self, control_id=None):
        """(width, height) of the client area in pixels."""
        return tuple(int(v) for v in self._call('client', id=control_id))

    def place(self, left, top, width, height):
        """Moves and sizes the window, as the user does with its frame."""
        self._call('place', x=left, y=top, w=width, h=height)

    def is_foreground(self):
        return int(self.driver.call('foreground')[0]) == self.hwnd

    def drag(self, x, y, to_x, to_y):
        """A drag with the left button between two client points."""
        self._call('drag', x=x, y=y, to_x=to_x, to_y=to_y)

    def front(self):
        """Makes the window the foreground window, which keys go to."""
        self._call('front')

    def key(self, vk, shift=False, ctrl=False):
        """A key pressed and released, as typed, into the foreground window."""
        self.driver.call('key', vk=vk, shift=shift, ctrl=ctrl)

    def combo_items(self, control_id):
        fields = self._call('cb_items', id=control_id)
        return [decode_text(f) for f in fields[1:]]

    def combo_selection(self, control_id):
        return int(self._call('cb_sel', id=control_id)[0])

    def combo_choose(self, control_id, index):
        """Selects item index (0-based) and notifies the dialog."""
        self._call('cb_choose', id=control_id, index=index)

    def children(self):
        fields = self._call('children')
        out = []
        for i in range(int(fields[0])):
            f = fields[1 + 5 * i: 6 + 5 * i]
            out.append(Child(int(f[0]), decode_text(f[1]), decode_text(f[2]), f[3] == '1', f[4] == '1'))
        return out

    def wait_gone(self, timeout=BOX_TIMEOUT):
        wait_until(lambda: not self.exists(), timeout, 'window %r to close' % self.hwnd)

    def __repr__(self):
        return '<%s %d>' % (type(self).__name__, self.hwnd)


class Box(Window):
    """A message box or modal dialog of a program."""

    def info(self):
        """Caption, message text, icon shown, button ids (left to right)."""
        f = self._call('box')
        return BoxInfo(decode_text(f[0]), decode_text(f[1]), f[2] == '1', [int(x) for x in f[4:4 + int(f[3])]])

    @property
    def message(self):
        """The message text of a message box."""
        return self.text(ID_MESSAGE_TEXT)

    def press(self, button_id=IDOK):
        self.click(button_id)


class Plot(Window):
    """The plot window of a program."""

    def __init__(self, app, hwnd):
        super().__init__(app.driver, hwnd)
        self.app = app

    def where(self, row):
        """The client pixel (x, y) of the row's mark, or None when the row
        is not drawn in the window."""
        result = self.send(self.app.register_message(PLOT_WHERE), row)
        if result in (-1, 0xFFFFFFFF):
            return None
        return result & 0xFFFF, (result >> 16) & 0xFFFF

    def paint_time(self):
        """Seconds the window took to draw its last picture."""
        return self.send(self.app.register_message(PLOT_PAINT_TIME)) / 1e6

    def wait_pixel(self, x, y, colours, timeout=BOX_TIMEOUT):
        """Waits until the screen shows one of the colours (0xRRGGBB) at the
        client pixel; returns it."""
        seen = []

        def shown():
            seen[:] = self.pixels(x, y)
            return seen[0] in colours

        try:
            wait_until(shown, timeout, 'plot pixel %d,%d' % (x, y))
        except WaitTimeout:
            raise WaitTimeout('plot pixel %d,%d is %s, not one of %s after %.1f s'
                              % (x, y, ['%06x' % c for c in seen], ['%06x' % c for c in colours], timeout))
        return seen[0]


class FileDialog(Box):
    """A common Open or Save dialog."""

    def set_name(self, path):
        """Types a file name; a Unix path is given as its Z: drive path."""
        if path.startswith('/'):
            path = e2e_run.windows_path(path)
        self._call('fd_name', text=path)

    def name(self):
        return decode_text(self._call('fd_name')[0])

    def types(self):
        f = self._call('fd_types')
        return [decode_text(x) for x in f[2:]]

    def type_number(self):
        """The chosen file type, 1-based as the filter index counts."""
        return int(self._call('fd_types')[0]) + 1

    def choose_type(self, number):
        """Chooses file type number (1-based), as a user would."""
        self._call('fd_type', index=number - 1)

    def ok(self):
        self.press(IDOK)

    def cancel(self):
        self.press(IDCANCEL)


class App(Window):
    """A running program and its main window."""

    def __init__(self, session, driver, program, lang, pid, hwnd):
        super().__init__(driver, hwnd)
        self.session = session
        self.program = program
        self.lang = lang
        self.pid = pid

    # -- the list view --------------------------------------------------
    def row_count(self):
        return int(self._call('lv_count', id=ID_LIST)[0])

    def rows(self, first=0, count=None):
        """Cell texts of the rows, each row in column order (the order the
        columns were created in, whatever their display order)."""
        f = self._call('lv_rows', id=ID_LIST, first=first, count=-1 if count is None else count)
        nrows, ncols = int(f[0]), int(f[1])
        cells = [decode_text(x) for x in f[2:]]
        return [cells[r * ncols:(r + 1) * ncols] for r in range(nrows)]

    def _columns(self):
        f = self._call('lv_columns', id=ID_LIST)
        n = int(f[0])
        order = [int(x) for x in f[1:1 + n]]
        headers = [decode_text(x) for x in f[1 + n:1 + 2 * n]]
        return order, headers

    def headers(self):
        """Header texts in display order."""
        order, headers = self._columns()
        return [headers[i] for i in order]

    def column_order(self):
        return self._columns()[0]

    def column_widths(self):
        """Widths of the columns in pixels, in the order they were created."""
        return [self.send(LVM_GETCOLUMNWIDTH, i, control_id=ID_LIST) for i in range(len(self._columns()[1]))]

    def selection(self):
        f = self._call('lv_state', id=ID_LIST)
        return Selection([int(x) for x in f[4:4 + int(f[3])]], int(f[0]))

    def view(self):
        """Top visible row and the number of rows that fit."""
        f = self._call('lv_state', id=ID_LIST)
        return ListView(int(f[1]), int(f[2]))

    def row_visible(self, row):
        top, per_page = self.view()
        return top <= row < top + max(per_page, 1)

    def select(self, row, focused=True, visible=True):
        """Selects (and focuses) a row as a click would; -1: every row."""
        self._call('lv_select', id=ID_LIST, row=row, selected=True, focused=focused, visible=visible)

    def deselect(self, row=-1):
        self._call('lv_select', id=ID_LIST, row=row, selected=False, focused=False, visible=False)

    def paint(self, row):
        """Scrolls the row wholly into view and repaints the list; returns the
        seconds the scroll and the repaint took and the top row afterwards."""
        f = self._call('lv_paint', id=ID_LIST, row=row)
        return int(f[0]) / 1e6, int(f[1]) / 1e6, int(f[2])

    def wait_rows(self, count, timeout=BOX_TIMEOUT):
        wait_until(lambda: self.row_count() == count, timeout, '%d rows' % count)

    def import_file(self, path, file_type=2, rows=None, timeout=BOX_TIMEOUT):
        """Imports a file (a Unix path) as the user does, through the Open
        dialog with the file type's number (2: TopCom); with rows, waits
        until the list has that many."""
        self.click(ID_IMPORT)
        dialog = self.wait_file_dialog()
        dialog.set_name(path)
        dialog.choose_type(file_type)
        dialog.ok()
        dialog.wait_gone(timeout)
        if rows is not None:
            self.wait_rows(rows, timeout)

    # -- the list's menu and the plot --------------------------------------
    def list_menu(self, how='mouse', at=None):
        """Opens the list's menu as the user does: a right-click (at a
        client point of the list, its middle by default), Shift+F10 or the
        menu key; returns the menu's window."""
        self.front()
        if how != 'mouse':
            # Under Wine on a display without a window manager, the keyboard
            # focus goes to the window under the pointer when a menu closes,
            # and Wine makes that window the foreground one: off every window,
            # the pointer leaves the foreground where the program puts it.
            self.session.run.park_pointer()
        if how == 'mouse':
            left, top, right, bottom = self.rect(ID_LIST)
            x, y = at if at else ((right - left) // 2, (bottom - top) // 2)
            self._call('mouse', id=ID_LIST, x=x, y=y, right=True)
        elif how == 'shift+f10':
            self.key(VK_F10, shift=True)
        elif how == 'menu key':
            self.key(VK_APPS)
        else:
            raise ValueError(how)
        f = self.driver.call('find', **{'class': MENU_CLASS}, pid=self.pid, timeout=_ms(BOX_TIMEOUT))
        return Window(self.driver, int(f[0]))

    def open_plot(self, how='mouse'):
        """Opens the plot window from the list's menu (its first entry, by its
        access key P); returns it."""
        menu = self.list_menu(how)
        self.key(ord('P'))
        menu.wait_gone()
        plot = self.plot()
        if how == 'mouse':
            # The pointer is over the main window as the menu closes, which
            # Wine then activates (see list_menu); once it has, the plot comes
            # to the front again, as the user's click on it would bring it.
            try:
                wait_until(self.is_foreground, 5.0, 'the main window to be activated')
            except WaitTimeout:
                pass
            plot.front()
        return plot

    def plot(self, timeout=BOX_TIMEOUT):
        """The program's plot window, once it shows."""
        f = self.driver.call('find', **{'class': PLOT_CLASS}, pid=self.pid, timeout=_ms(timeout))
        return Plot(self, int(f[0]))

    # -- the port box -----------------------------------------------------
    def port_items(self):
        return self.combo_items(ID_PORT_BOX)

    def port_text(self):
        return self.text(ID_PORT_BOX)

    def set_port_text(self, text):
        """Types a port name into the port box."""
        self.set_text(ID_PORT_BOX, text)

    # -- other windows ----------------------------------------------------
    def sync(self, timeout=BOX_TIMEOUT):
        """Returns once the program has handled everything posted to it so far."""
        self._call('sync', id=ID_LIST, timeout=_ms(timeout))

    def register_message(self, name):
        """The number of a registered window message, e.g. 'RUVO_HEAD'."""
        return int(self.driver.call('register', name=name)[0])

    def other_windows(self):
        """Visible top-level windows of the program besides the main window."""
        f = self.driver.call('windows', pid=self.pid, visible=True)
        return [int(h) for h in f[1:] if int(h) != self.hwnd]

    def wait_box(self, timeout=BOX_TIMEOUT, exclude=(), caption=None, prefix=False, cls=Box):
        """The next shown dialog of the program (message box, About, ...),
        other than the main window and those in exclude; with caption, only
        one with that caption (or caption prefix)."""
        skip = [self.hwnd] + [w.hwnd if isinstance(w, Window) else int(w) for w in exclude]
        try:
            f = self.driver.call('find', **{'class': DIALOG_CLASS}, title=caption, prefix=prefix, pid=self.pid,
                                 exclude=skip, timeout=_ms(timeout))
        except WaitTimeout:
            raise WaitTimeout('%s showed no box%s within %.1f s (main caption %r, other windows %s)'
                              % (self.program, '' if caption is None else ' %r' % caption, timeout,
                                 self.caption, self.other_windows()))
        return cls(self.driver, int(f[0]))

    def wait_file_dialog(self, timeout=BOX_TIMEOUT):
        return self.wait_box(timeout, cls=FileDialog)

    def wait_caption(self, expected, timeout=BOX_TIMEOUT):
        wait_until(lambda: self.caption == expected, timeout, 'caption %r' % expected)

    # -- the process ------------------------------------------------------
    def alive(self):
        return self.driver.call('alive', pid=self.pid) == ['1']

    def wait_exit(self, timeout=EXIT_TIMEOUT):
        """Waits for the program to end; returns its exit code."""
        try:
            return int(self.driver.call('wait_exit', pid=self.pid, timeout=_ms(timeout))[0])
        except WaitTimeout:
            raise WaitTimeout('%s did not end within %.1f s' % (self.program, timeout))

    def kill(self):
        self.driver.call('kill', pid=self.pid)


class Session:
    """The programs, drivers and ports of one test; close() ends them all."""

    def __init__(self, run=None):
        self.run = run or current_run()
        self.marker = uuid.uuid4().hex
        self._drivers = {}
        self._ports = []
        self.apps = []

    def driver(self, lang='en'):
        """The driver for a language; a program inherits its locale from it."""
        if lang not in self._drivers:
            self._drivers[lang] = Driver(self.run, _existing(driver_path()), lang,
                                         {'RUVO_E2E_SESSION': self.marker}, 'driver-%s.log' % lang)
        return self._drivers[lang]

    def launch(self, program, lang='en', timeout=WINDOW_TIMEOUT, path=None, env=None):
        """Starts korvellink or tassinlink; returns it once its main window shows.

        path: the program file (a Unix path), if not the build's; env: extra
        NAME=value entries of the program's environment."""
        path = _existing(path or program_path(program))
        driver = self.driver(lang)
        extra = '\n'.join('%s=%s' % item for item in (env or {}).items())
        pid = int(driver.call('launch', path=e2e_run.windows_path(path), env=extra)[0])
        try:
            hwnd = int(driver.call('find', **{'class': DIALOG_CLASS}, pid=pid, timeout=_ms(timeout))[0])
        except WaitTimeout:
            alive = driver.call('alive', pid=pid) == ['1']
            driver.call('kill', pid=pid)
            raise WaitTimeout('%s showed no main window within %.0f s (%s)'
                              % (program, timeout, 'still running' if alive else 'it ended'))
        app = App(self, driver, program, lang, pid, hwnd)
        self.apps.append(app)
        return app

    def map_com_port(self, number, target):
        port = map_com_port(number, target, self.run)
        self._ports.append(port)
        return port

    def close(self):
        """Ends every program and driver of the session; frees its ports."""
        for app in self.apps:
            try:
                if app.alive():
                    app.kill()
            except HarnessError:
                pass
        for driver in self._drivers.values():
            driver.close()
        self._drivers.clear()
        left = e2e_run.kill_and_wait(e2e_run.processes_with_env('RUVO_E2E_SESSION', self.marker))
        for port in self._ports:
            port.release()
        self._ports = []
        if left:
            raise HarnessError('processes of the test would not end: %s' % left)


class E2ETestCase(unittest.TestCase):
    """A test with its own Session, closed when the test ends."""

    def setUp(self):
        self.session = Session()
        self.addCleanup(self.session.close)

    def launch(self, program, lang='en'):
        return self.session.launch(program, lang)


def main():
    """Runs the calling test file; exit code 77 (skipped) without Wine."""
    try:
        current_run()
    except unittest.SkipTest as reason:
        print('SKIPPED: %s' % reason)
        sys.exit(77)
    unittest.main(verbosity=2)


def _fixture_command(argv):
    run_dir = os.environ.get('RUVO_E2E_RUN_DIR')
    if len(argv) != 2 or argv[1] not in ('setup', 'cleanup') or not run_dir:
        sys.exit('usage: RUVO_E2E_RUN_DIR=<dir> %s setup|cleanup' % argv[0])
    started = time.monotonic()
    if argv[1] == 'setup':
        run = e2e_run.setup(run_dir, driver=_existing(driver_path()) if e2e_run.wine_available() else None)
        if not run.wine:
            print('wine is not installed: the end-to-end tests will be skipped')
        else:
            print('test run ready in %.1f s: prefix %s, display %s'
                  % (time.monotonic() - started, run.prefix, run.display))
    else:
        e2e_run.cleanup(run_dir)
        print('test run removed in %.1f s' % (time.monotonic() - started))


if __name__ == '__main__':
    _fixture_command(sys.argv)
