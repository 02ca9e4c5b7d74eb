"""The shared surroundings of one end-to-end test run.

One run has one fresh 32-bit Wine prefix, one private Xvfb display and one
persistent wineserver, so that starting a program takes a fraction of a second.
`setup` makes them and records them in <run dir>/state.json; every test reads
that file through `Run.load`; `cleanup` ends every process of the run and
removes the folder. CTest runs setup and cleanup as fixture tests around the
test files; a test file started by hand makes a private run of its own.

Standard library only.
"""

import json
import os
import select
import shutil
import signal
import subprocess
import tempfile
import time

STATE_FILE = 'state.json'
# COM1 .. COM16 are mapped in the prefix's registry to links in <run>/ports,
# which map_com_port re-points; see Run.port_link.
PORT_COUNT = 16
# Set in the environment of every process of the run, so that cleanup can find
# them all, wherever Wine has re-parented them.
RUN_MARKER = 'RUVO_E2E_RUN'
LOCALES = {'en': 'en_US.UTF-8', 'zh': 'zh_CN.UTF-8'}
# No menu entries in the user's home, no installer prompts for add-ons.
DLL_OVERRIDES = 'winemenubuilder.exe=d;mscoree=d;mshtml=d'


class RunError(Exception):
    """The run's surroundings could not be made or are missing."""


def wine_available():
    """True when this machine has Wine at all; a run without it is skipped."""
    return all(shutil.which(tool) for tool in ('wine', 'wineboot', 'wineserver'))


def windows_path(unix_path):
    """The path under Wine's Z: drive, which maps the Unix root."""
    return 'Z:' + os.path.abspath(unix_path).replace('/', '\\')


class Run:
    """A run made by `setup`, as the tests see it."""

    def __init__(self, run_dir, state):
        self.dir = os.path.abspath(run_dir)
        self.state = state
        self.wine = state.get('wine', False)
        self.display = state.get('display')
        self.prefix = os.path.join(self.dir, 'prefix')
        self.ports_dir = os.path.join(self.dir, 'ports')
        # Where the link of an unmapped port leads: opening a folder fails.
        self.absent_port = os.path.join(self.ports_dir, 'none')
        self.logs_dir = os.path.join(self.dir, 'logs')

    @classmethod
    def load(cls, run_dir):
        path = os.path.join(run_dir, STATE_FILE)
        try:
            with open(path) as f:
                return cls(run_dir, json.load(f))
        except FileNotFoundError:
            raise RunError('no test run at %s (the e2e_setup fixture did not run)' % run_dir)

    def env(self, lang='en', extra=None):
        """Environment for a Wine process of this run in the given language."""
        if lang not in LOCALES:
            raise ValueError('unknown language %r' % lang)
        env = {k: v for k, v in os.environ.items()
               if not (k.startswith('LC_') or k in ('LANG', 'LANGUAGE'))}
        env.update({
            'WINEPREFIX': self.prefix,
            'WINEARCH': 'win32',
            'WINEDEBUG': '-all',
            'WINEDLLOVERRIDES': DLL_OVERRIDES,
            'DISPLAY': self.display or '',
            'LC_ALL': LOCALES[lang],
            RUN_MARKER: self.dir,
        })
        env.update(extra or {})
        return env

    def park_pointer(self):
        """Moves the display's pointer to the bottom right corner of the
        screen, off every window, as a user moves the mouse (with xdotool,
        which moves the display's own pointer)."""
        if not shutil.which('xdotool'):
            raise RunError('xdotool is not installed (tools/install-deps.sh installs it)')
        if self.display:
            subprocess.run(['xdotool', 'mousemove', '100000', '100000'], env=dict(os.environ, DISPLAY=self.display),
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)

    def log(self, name):
        """An append-mode log file in the run's logs folder."""
        os.makedirs(self.logs_dir, exist_ok=True)
        return open(os.path.join(self.logs_dir, name), 'ab')

    def port_link(self, number):
        """The stable link that COM<number> of the prefix resolves through."""
        return os.path.join(self.ports_dir, 'com%d' % number)

    def run_wine(self, args, timeout=60, lang='en'):
        """Runs `wine args...` to the end; returns its exit code.

        Output goes to a log file, never to a pipe: a Wine service started by
        the command would keep a pipe open long after the command ended.
        """
        with self.log('wine-commands.log') as out:
            return subprocess.run(['wine'] + list(args), env=self.env(lang), stdin=subprocess.DEVNULL,
                                  stdout=out, stderr=out, timeout=timeout).returncode


    def registry_values(self, key):
        """The string values of a registry key of the prefix, {name: data};
        empty when the key does not exist."""
        with tempfile.TemporaryFile() as out:
            subprocess.run(['wine', 'reg', 'query', key], env=self.env(), stdin=subprocess.DEVNULL, stdout=out,
                           stderr=subprocess.DEVNULL, timeout=60)
            out.seek(0)
            text = out.read().decode('utf-8', 'replace')
        values = {}
        for line in text.splitlines():
            fields = line.strip().split(None, 2)
            if len(fields) == 3 and fields[1] in ('REG_SZ', 'REG_EXPAND_SZ'):
                values[fields[0]] = fields[2]
        return values


def _write_state(run_dir, state):
    tmp = os.path.join(run_dir, STATE_FILE + '.tmp')
    with open(tmp, 'w') as f:
        json.dump(state, f, indent=1)
    os.replace(tmp, os.path.join(run_dir, STATE_FILE))


def _start_xvfb(run):
    """Starts Xvfb on a free display; returns (display, pid)."""
    if not shutil.which('Xvfb'):
        raise RunError('Xvfb is not installed (Debian package xvfb)')
    read_end, write_end = os.pipe()
    with run.log('xvfb.log') as out:
        xvfb = subprocess.Popen(
            ['Xvfb', '-displayfd', str(write_end), '-screen', '0', '1280x1024x24', '-nolisten', 'tcp',
             '-noreset'],
            stdin=subprocess.DEVNULL, stdout=out, stderr=out, pass_fds=(write_end,),
            start_new_session=True, env=dict(os.environ, **{RUN_MARKER: run.dir}))
    os.close(write_end)
    number = b''
    deadline = time.monotonic() + 30
    try:
        while not number.endswith(b'\n'):
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([read_end], [], [], left)[0]:
                raise RunError('Xvfb did not report its display within 30 s')
            chunk = os.read(read_end, 32)
            if not chunk:
                raise RunError('Xvfb ended at start; see %s/xvfb.log' % run.logs_dir)
            number += chunk
    except Exception:
        xvfb.kill()
        raise
    finally:
        os.close(read_end)
    return ':' + number.decode().strip(), xvfb.pid


def _settings_reg(run, dpi):
    """Registry settings of the prefix, as a .reg file's text."""
    lines = ['REGEDIT4', '',
             # The screen's resolution in dots per inch, which dialog fonts and
             # DPI-aware programs scale with.
             '[HKEY_CURRENT_USER\\Control Panel\\Desktop]', '"LogPixels"=dword:%08x' % dpi, '',
             # Unmanaged windows: without a window manager on the display, Wine
             # would otherwise wait 2 s for each closed window to be withdrawn.
             '[HKEY_CURRENT_USER\\Software\\Wine\\X11 Driver]', '"Managed"="N"', '',
             # Fixed port mapping: Wine rewrites dosdevices/com1..4 each time
             # its device manager starts, but honours these entries.
             '[HKEY_LOCAL_MACHINE\\Software\\Wine\\Ports]']
    for number in range(1, PORT_COUNT + 1):
        lines.append('"COM%d"="%s"' % (number, run.port_link(number).replace('\\', '\\\\')))
    return '\r\n'.join(lines) + '\r\n'


def setup(run_dir, driver=None, dpi=96):
    """Makes the run's prefix, display and server; returns the Run. The
    prefix's screen has dpi dots per inch."""
    run_dir = os.path.abspath(run_dir)
    if os.path.exists(os.path.join(run_dir, STATE_FILE)):
        cleanup(run_dir)  # leftovers of an interrupted run
    shutil.rmtree(run_dir, ignore_errors=True)
    os.makedirs(run_dir)
    if not wine_available():
        _write_state(run_dir, {'wine': False})
        return Run(run_dir, {'wine': False})
    run = Run(run_dir, {'wine': True})
    os.makedirs(run.absent_port)
    for number in range(1, PORT_COUNT + 1):
        os.symlink(run.absent_port, run.port_link(number))
    state = {'wine': True, 'started': time.time()}
    _write_state(run_dir, state)  # lets cleanup find the display if we fail below
    run.display, state['xvfb_pid'] = _start_xvfb(run)
    state['display'] = run.display
    _write_state(run_dir, state)

    # The prefix is made without a display: nothing of wineboot's should show.
    boot_env = run.env()
    boot_env.pop('DISPLAY')
    with run.log('wineboot.log') as out:
        started = time.monotonic()
        subprocess.run(['wineboot', '-i'], env=boot_env, stdin=subprocess.DEVNULL, stdout=out, stderr=out,
                       timeout=180, check=True)
        subprocess.run(['wineserver', '-w'], env=boot_env, stdin=subprocess.DEVNULL, stdout=out, stderr=out,
                       timeout=180, check=True)
        state['boot_seconds'] = round(time.monotonic() - started, 1)
    reg_file = os.path.join(run_dir, 'settings.reg')
    with open(reg_file, 'w') as f:
        f.write(_settings_reg(run, dpi))
    if run.run_wine(['reg', 'import', windows_path(reg_file)], timeout=120) != 0:
        raise RunError('could not import %s' % reg_file)
    with run.log('wineboot.log') as out:
        # Let the services that read the settings stop, then start the server
        # for good: they come back with the settings in place.
        subprocess.run(['wineserver', '-w'], env=run.env(), stdin=subprocess.DEVNULL, stdout=out, stderr=out,
                       timeout=120, check=True)
        subprocess.run(['wineserver', '-p'], env=run.env(), stdin=subprocess.DEVNULL, stdout=out, stderr=out,
                       timeout=60, check=True, start_new_session=True)
    if driver:
        # Start Wine's services and desktop now, with their output in a log:
        # the first program of a test would otherwise start them and they
        # would hold that test's pipes open.
        with run.log('warm-up.log') as out:
            subprocess.run(['wine', driver], env=run.env(), input=b'desktop\nwindows\nquit\n', stdout=out, stderr=out,
                           timeout=120)
    state['ready'] = True
    _write_state(run_dir, state)
    run.state = state
    return run


def processes_with_env(name, value):
    """Unix pids of the processes whose environment has name=value."""
    needle = ('%s=%s' % (name, value)).encode()
    found = []
    for entry in os.listdir('/proc'):
        if not entry.isdigit() or int(entry) == os.getpid():
            continue
        try:
            with open('/proc/%s/environ' % entry, 'rb') as f:
                if needle in f.read().split(b'\0'):
                    found.append(int(entry))
        except OSError:
            pass
    return found


def kill_and_wait(pids, timeout=10):
    """SIGKILLs the processes and waits until they are gone."""
    for pid in pids:
        try:
            os.kill(pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
    deadline = time.monotonic() + timeout
    while pids and time.monotonic() < deadline:
        pids = [pid for pid in pids if _alive(pid)]
        if pids:
            time.sleep(0.05)
    return pids


def _alive(pid):
    try:
        with open('/proc/%d/stat' % pid) as f:
            return f.read().split(') ', 1)[1][0] != 'Z'
    except (OSError, IndexError):
        return False


def _stop_xvfb(pid):
    """Ends the run's Xvfb politely, so that it removes its lock files."""
    try:
        with open('/proc/%d/cmdline' % pid, 'rb') as f:
            if not f.read().startswith(b'Xvfb'):
                return
        os.kill(pid, signal.SIGTERM)
    except (OSError, TypeError):
        return
    deadline = time.monotonic() + 5
    while _alive(pid) and time.monotonic() < deadline:
        time.sleep(0.05)


def cleanup(run_dir):
    """Ends every process of the run and removes its folder."""
    run_dir = os.path.abspath(run_dir)
    state = {}
    try:
        with open(os.path.join(run_dir, STATE_FILE)) as f:
            state = json.load(f)
    except (OSError, ValueError):
        pass
    if state.get('wine') and shutil.which('wineserver') and os.path.isdir(os.path.join(run_dir, 'prefix')):
        run = Run(run_dir, state)
        try:
            subprocess.run(['wineserver', '-k'], env=run.env(), stdin=subprocess.DEVNULL,
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)
        except subprocess.TimeoutExpired:
            pass
    _stop_xvfb(state.get('xvfb_pid'))
    left = kill_and_wait(processes_with_env(RUN_MARKER, run_dir))
    shutil.rmtree(run_dir, ignore_errors=True)
    if left:
        raise RunError('processes of the run would not end: %s' % left)
