"""The installer under Wine, in a fresh prefix of its own whose screen has
144 DPI: its pages come in the language the user picks, English or Chinese,
offered first in the system's; a silent install puts both programs,
pointlink.exe, the read-me and the uninstaller into one folder of the
user's, a Start-menu entry for each window program and an uninstall entry in
the user's part of the registry; both programs start from there and show
their main window, with the list's columns scaled to the screen, and
pointlink.exe, the zip's own, converts a file from there; a silent uninstall
takes everything away again. pointlink.exe converts from the unpacked zip
too."""

import csv
import json
import os
import re
import subprocess
import sys
import tempfile
import unittest
import zipfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(os.path.dirname(HERE), 'e2e'))
sys.dont_write_bytecode = True

from pyproj import Transformer  # noqa: E402

import e2e_run  # noqa: E402
import harness  # noqa: E402

SETUP = os.environ.get('RUVO_PACKAGE_SETUP', '')
ZIP = os.environ.get('RUVO_PACKAGE_ZIP', '')
VERSION = os.environ.get('RUVO_PACKAGE_VERSION', '')
UNINSTALL_KEY = r'HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\ruvolink'
INSTALLED = ['README.txt', 'korvellink.exe', 'pointlink.exe', 'proj.db', 'tassinlink.exe', 'uninstall.exe']
# A TopCom file for pointlink.exe to convert, and the points it holds: name,
# mark, N, E, Z.
TOPCOM = b'P1,200.25,100.5,3,TREE\r\nP2,-1.5,-2.5,-3.5,\r\nK-7,0.002,1e3,12.5,kerb\r\n'
POINTS = [('P1', 'TREE', 100.5, 200.25, 3.0), ('P2', '', -2.5, -1.5, -3.5), ('K-7', 'kerb', 1000.0, 0.002, 12.5)]
CAPTIONS = {
    'korvellink': 'Korvel Total Station Communication Software (eng.)',
    'tassinlink': 'Tassin Total Station Communication Software (eng.)',
}
# The installer's first box: the languages of its pages.
LANGUAGE_BOX = 1002
LANGUAGES = ['English', '中文(简体)']
SYSTEM_LANGUAGE = {'en': 'English', 'zh': '中文(简体)'}
DPI = 144
# The columns' widths at 96 DPI, and at the prefix's.
WIDTHS_AT_96 = [65, 65, 145, 145, 145]
WIDTHS = [(w * DPI + 48) // 96 for w in WIDTHS_AT_96]
# What in the registry would be ours.
OUR_WORDS = ('ruvolink', 'korvellink', 'tassinlink')
# An uninstaller of this kind runs from a copy of itself in the user's
# temporary folder, which cannot delete itself; it leaves it for Windows to
# delete at the next restart. Nothing else may stay.
UNINSTALLER_COPY = re.compile(r'^users/[^/]+/Temp/~nsu[^/]*\.tmp(/Un\.exe)?$')


class Installer(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        folder = tempfile.mkdtemp(prefix='ruvo-installer-')
        cls.addClassCleanup(e2e_run.cleanup, folder)
        cls.wine = e2e_run.setup(folder, driver=harness.driver_path(), dpi=DPI)
        cls.drive_c = os.path.join(cls.wine.prefix, 'drive_c')

    def files(self):
        """Every file and folder of the prefix's C: drive."""
        found = set()
        for folder, folders, names in os.walk(self.drive_c):
            found.update(os.path.relpath(os.path.join(folder, n), self.drive_c) for n in folders + names)
        return found

    def registry(self):
        """The lines of the prefix's registry (HKCU and HKLM) that name us."""
        lines = set()
        with tempfile.TemporaryDirectory() as folder:
            for hive in ('HKCU', 'HKLM'):
                path = os.path.join(folder, hive + '.reg')
                self.assertEqual(self.wine.run_wine(['reg', 'export', hive, e2e_run.windows_path(path), '/y']), 0)
                with open(path, 'rb') as f:
                    text = f.read().decode('utf-16', 'replace')
                lines.update('%s: %s' % (hive, line) for line in text.splitlines()
                             if any(word in line.lower() for word in OUR_WORDS))
        return lines

    def console(self, program, args, cwd):
        """Runs a console program under Wine in cwd: (exit code, standard
        output, standard error); the streams go through files, never pipes
        (a Wine service could hold a pipe open)."""
        with tempfile.TemporaryFile() as out, tempfile.TemporaryFile() as err:
            code = subprocess.run(['wine', program] + list(args), cwd=cwd, env=self.wine.env(),
                                  stdin=subprocess.DEVNULL, stdout=out, stderr=err, timeout=120).returncode
            out.seek(0)
            err.seek(0)
            return code, out.read(), err.read()

    def assert_pointlink_converts(self, program):
        """pointlink.exe at this path tells its version, converts a TopCom
        file into CSV that Python's parser reads back, and into GeoJSON in
        WGS 84 with the proj.db beside it."""
        with tempfile.TemporaryDirectory() as folder:
            code, out, _ = self.console(program, ['--version'], folder)
            self.assertEqual((code, out.rstrip()), (0, b'pointlink %s' % VERSION.encode()))
            with open(os.path.join(folder, 'in.pts'), 'wb') as f:
                f.write(TOPCOM)
            code, _, err = self.console(program, ['convert', 'in.pts', '--from', 'topcom', '--to', 'csv',
                                                  '-o', 'out.csv'], folder)
            self.assertEqual((code, err), (0, b''))
            with open(os.path.join(folder, 'out.csv'), newline='') as f:
                rows = list(csv.reader(f))
            code, out, err = self.console(program, ['convert', 'in.pts', '--from', 'topcom', '--to', 'geojson',
                                                    '-o', '-', '--crs', '+proj=utm +zone=50 +datum=WGS84'], folder)
            self.assertEqual((code, err), (0, b''))
            features = json.loads(out)['features']
        self.assertEqual(rows[0], ['name', 'mark', 'N', 'E', 'Z'])
        self.assertEqual([(r[0], r[1]) + tuple(float(v) for v in r[2:]) for r in rows[1:]], POINTS)
        # The positions PROJ itself gives (pyproj, Debian's).
        to_wgs84 = Transformer.from_crs('+proj=utm +zone=50 +datum=WGS84', 'EPSG:4326', always_xy=True)
        for feature, (_, _, n, e, _) in zip(features, POINTS):
            longitude, latitude, _ = feature['geometry']['coordinates']
            expected = to_wgs84.transform(e, n)
            self.assertLess(max(abs(longitude - expected[0]), abs(latitude - expected[1])), 1e-8)

    def unix_path(self, windows_path):
        self.assertTrue(windows_path.upper().startswith('C:\\'), windows_path)
        return os.path.join(self.drive_c, *windows_path[3:].split('\\'))

    def test_pages_in_the_language_picked(self):
        # (system language, the language picked, what the setup window's
        # caption ends with)
        cases = (('en', None, ' Setup'), ('en', LANGUAGES.index('中文(简体)'), ' 安装'),
                 ('zh', None, ' 安装'), ('zh', LANGUAGES.index('English'), ' Setup'))
        session = harness.Session(self.wine)
        self.addCleanup(session.close)
        for lang, picked, caption in cases:
            with self.subTest(lang=lang, picked=picked):
                driver = session.driver(lang)
                pid = int(driver.call('launch', path=e2e_run.windows_path(SETUP))[0])
                language = harness.Box(driver, int(driver.call('find', **{'class': harness.DIALOG_CLASS},
                                                               title='Installer Language', pid=pid,
                                                               timeout=30000)[0]))
                self.assertEqual(language.combo_items(LANGUAGE_BOX), LANGUAGES)
                self.assertEqual(language.text(LANGUAGE_BOX), SYSTEM_LANGUAGE[lang])
                if picked is not None:
                    language.combo_choose(LANGUAGE_BOX, picked)
                language.press(harness.IDOK)
                setup = harness.Box(driver, int(driver.call('find', **{'class': harness.DIALOG_CLASS},
                                                            title='korvellink, tassinlink %s' % VERSION, prefix=True,
                                                            pid=pid, exclude=[language.hwnd], timeout=30000)[0]))
                self.assertTrue(setup.caption.endswith(caption), setup.caption)
                # Cancel asks first; nothing is installed.
                setup.press(harness.IDCANCEL)
                question = harness.Box(driver, int(driver.call('find', **{'class': harness.DIALOG_CLASS}, pid=pid,
                                                               exclude=[setup.hwnd], timeout=30000)[0]))
                question.press(harness.IDYES)
                # Exit code 1: cancelled by the user.
                self.assertEqual(int(driver.call('wait_exit', pid=pid, timeout=30000)[0]), 1)
                self.assertEqual(self.wine.registry_values(UNINSTALL_KEY), {})

    def test_silent_install_start_and_silent_uninstall(self):
        files_before, registry_before = self.files(), self.registry()
        self.assertEqual(self.wine.run_wine([e2e_run.windows_path(SETUP), '/S'], timeout=180), 0)

        # One folder of the user's with the programs, the read-me and the uninstaller.
        entry = self.wine.registry_values(UNINSTALL_KEY)
        folder = entry.get('InstallLocation', '')
        self.assertRegex(folder, r'^C:\\users\\[^\\]+\\AppData\\Local\\Programs\\ruvolink$')
        self.assertEqual(sorted(os.listdir(self.unix_path(folder))), INSTALLED)
        self.assertEqual(entry['DisplayVersion'], VERSION)
        self.assertEqual(entry['UninstallString'], '"%s\\uninstall.exe"' % folder)
        self.assertEqual(entry['QuietUninstallString'], '"%s\\uninstall.exe" /S' % folder)
        self.assertIn('DisplayName', entry)
        added = self.files() - files_before
        shortcuts = sorted(os.path.basename(p) for p in added if p.endswith('.lnk'))
        self.assertEqual(shortcuts, ['korvellink.lnk', 'tassinlink.lnk'])
        self.assertTrue(all('Start Menu' in p for p in added if p.endswith('.lnk')), added)
        # Per user: nothing of the installer's in the machine's part.
        self.assertEqual([line for line in self.registry() - registry_before if line.startswith('HKLM')], [])

        # pointlink.exe beside the programs is the zip's, and it runs there.
        installed_pointlink = os.path.join(self.unix_path(folder), 'pointlink.exe')
        with open(installed_pointlink, 'rb') as installed, zipfile.ZipFile(ZIP) as packed:
            self.assertEqual(installed.read(), packed.read('pointlink.exe'))
        self.assert_pointlink_converts(installed_pointlink)

        session = harness.Session(self.wine)
        try:
            for program in CAPTIONS:
                with self.subTest(program=program):
                    app = session.launch(program, path=os.path.join(self.unix_path(folder), program + '.exe'))
                    self.assertEqual(app.caption, CAPTIONS[program])
                    self.assertEqual(app.column_widths(), WIDTHS)
                    app.click(harness.ID_CLOSE)
                    self.assertEqual(app.wait_exit(), 0)
        finally:
            session.close()

        uninstaller = self.unix_path(folder + '\\uninstall.exe')
        self.assertEqual(self.wine.run_wine([e2e_run.windows_path(uninstaller), '/S'], timeout=180), 0)
        # The uninstaller runs from a copy in the temporary folder and ends
        # after the command has returned.
        harness.wait_until(lambda: not os.path.exists(self.unix_path(folder)) and not self.wine.registry_values(
            UNINSTALL_KEY), 60, 'the uninstaller to end')
        left = sorted(p for p in self.files() - files_before if not UNINSTALLER_COPY.match(p))
        self.assertEqual(left, [])
        self.assertEqual(sorted(self.registry() - registry_before), [])

    def test_pointlink_converts_from_the_unpacked_zip(self):
        with tempfile.TemporaryDirectory() as folder:
            with zipfile.ZipFile(ZIP) as packed:
                packed.extractall(folder)
            self.assert_pointlink_converts(os.path.join(folder, 'pointlink.exe'))


if __name__ == '__main__':
    if not SETUP:
        sys.exit('RUVO_PACKAGE_SETUP is not set: run through CTest')
    if not e2e_run.wine_available():
        print('SKIPPED: wine is not installed')
        sys.exit(77)
    unittest.main(verbosity=2)
