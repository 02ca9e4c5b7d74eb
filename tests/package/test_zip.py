"""The release zip holds exactly the two release programs, pointlink.exe,
PROJ's database (Debian's proj.db, of the PROJ that pointlink.exe is built
from) and the read-me, and the programs are what a Windows user needs: stripped,
the window programs carrying their manifest and version, and all starting
on Windows 7 (no static import of a function that came later). That
pointlink.exe runs from the unpacked zip is tested under Wine beside the
installer (test_installer.py)."""

import os
import sqlite3
import subprocess
import sys
import tempfile
import unittest
import zipfile

sys.dont_write_bytecode = True

import pe_file  # noqa: E402

ZIP = os.environ.get('RUVO_PACKAGE_ZIP', '')
PROJ_DB = os.environ.get('RUVO_PROJ_DB', '')
VERSION = os.environ.get('RUVO_PACKAGE_VERSION', '')
BIN_DIR = os.environ.get('RUVO_E2E_BIN_DIR', '')
PROGRAMS = ('korvellink', 'tassinlink')
CONSOLE_PROGRAM = 'pointlink'
README = 'README.txt'
# The libraries of Windows 7 the programs may link against, and functions of
# later Windows versions that they may only look up at run time.
SYSTEM_LIBRARIES = {'kernel32.dll', 'user32.dll', 'gdi32.dll', 'advapi32.dll', 'comctl32.dll', 'comdlg32.dll',
                    'winmm.dll', 'ole32.dll', 'shell32.dll', 'msvcrt.dll'}
LATER_FUNCTIONS = {'GetDpiForWindow', 'GetDpiForSystem', 'GetSystemMetricsForDpi', 'SetThreadDpiAwarenessContext',
                   'SetProcessDpiAwarenessContext', 'AdjustWindowRectExForDpi', 'EnableNonClientDpiScaling',
                   'GetDpiForMonitor', 'SetProcessDpiAwareness'}
IMAGE_FILE_MACHINE_I386 = 0x14C
IMAGE_SUBSYSTEM_WINDOWS_GUI = 2
IMAGE_SUBSYSTEM_WINDOWS_CUI = 3
# Every program of the zip and the subsystem it runs in.
SUBSYSTEMS = {'korvellink': IMAGE_SUBSYSTEM_WINDOWS_GUI, 'tassinlink': IMAGE_SUBSYSTEM_WINDOWS_GUI,
              CONSOLE_PROGRAM: IMAGE_SUBSYSTEM_WINDOWS_CUI}


class ReleaseZip(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.zip = zipfile.ZipFile(ZIP)

    @classmethod
    def tearDownClass(cls):
        cls.zip.close()

    def test_name_carries_the_version(self):
        self.assertEqual(os.path.basename(ZIP), 'ruvolink-%s-win32.zip' % VERSION)

    def test_holds_exactly_the_programs_and_the_read_me(self):
        self.assertEqual(sorted(self.zip.namelist()),
                         [README, 'korvellink.exe', 'pointlink.exe', 'proj.db', 'tassinlink.exe'])
        self.assertIsNone(self.zip.testzip())

    def test_proj_db_is_the_database_of_the_proj_that_pointlink_is_built_from(self):
        with open(PROJ_DB, 'rb') as f:
            self.assertEqual(self.zip.read('proj.db'), f.read())
        with tempfile.TemporaryDirectory() as folder:
            self.zip.extract('proj.db', folder)
            database = sqlite3.connect(os.path.join(folder, 'proj.db'))
            version = database.execute("SELECT value FROM metadata WHERE key = 'PROJ.VERSION'").fetchone()[0]
            database.close()
        built = subprocess.run(['dpkg-query', '-W', '-f=${Version}', 'libproj-dev'], capture_output=True, text=True)
        self.assertTrue(built.stdout.startswith(version + '-'), (version, built.stdout))

    def test_programs_are_the_release_build(self):
        for program in SUBSYSTEMS:
            with self.subTest(program=program), open(os.path.join(BIN_DIR, program + '.exe'), 'rb') as built:
                self.assertEqual(self.zip.read(program + '.exe'), built.read())

    def test_programs_are_stripped_32_bit_programs_of_their_subsystem(self):
        for program, subsystem in SUBSYSTEMS.items():
            with self.subTest(program=program):
                exe = pe_file.PeFile(self.zip.read(program + '.exe'))
                self.assertEqual((exe.machine, exe.magic, exe.subsystem), (IMAGE_FILE_MACHINE_I386, 0x10B, subsystem))
                self.assertEqual((exe.symbol_table, exe.symbol_count), (0, 0), 'symbols left in')
                self.assertEqual([s for s in exe.section_names() if s.startswith(('.debug', '/'))], [])

    def test_programs_carry_their_manifest_and_version(self):
        for program in PROGRAMS:
            with self.subTest(program=program):
                resources = pe_file.PeFile(self.zip.read(program + '.exe')).resources()
                manifests = resources.get((pe_file.RT_MANIFEST, 1), [])
                self.assertEqual(len(manifests), 1)
                manifest = manifests[0].decode('utf-8')
                for needed in ('name="Microsoft.Windows.Common-Controls" version="6.0.0.0"',
                               '>PerMonitorV2, System</dpiAwareness>', '>true</dpiAware>',
                               '{35138b9a-5d96-4fbd-8e2d-a2440225f93a}', '{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}',
                               'name="Ruvoworks.%s" version="%s.0"' % (program, VERSION)):
                    self.assertIn(needed, manifest)
                version = resources[(pe_file.RT_VERSION, 1)][0]
                self.assertIn(('%s.0' % VERSION).encode('utf-16-le'), version)

    def test_programs_start_on_windows_7(self):
        for program in SUBSYSTEMS:
            with self.subTest(program=program):
                imports = pe_file.PeFile(self.zip.read(program + '.exe')).imports()
                self.assertLessEqual(set(imports), SYSTEM_LIBRARIES)
                later = {f for functions in imports.values() for f in functions} & LATER_FUNCTIONS
                self.assertEqual(later, set())

    def test_read_me_in_both_languages_for_notepad(self):
        data = self.zip.read(README)
        self.assertTrue(data.startswith(b'\xef\xbb\xbf'), 'no byte-order mark')
        self.assertNotIn(b'\n', data.replace(b'\r\n', b''), 'a line not ended by CR LF')
        text = data.decode('utf-8-sig')
        for needed in ('korvellink.exe', 'tassinlink.exe', 'pointlink.exe', 'pointlink --help', VERSION, 'COM7',
                       'Device Manager', 'registry', 'command prompt', '设备管理器', '注册表', '选择端口', '命令提示符'):
            self.assertIn(needed, text)


if __name__ == '__main__':
    if not ZIP:
        sys.exit('RUVO_PACKAGE_ZIP is not set: run through CTest')
    unittest.main(verbosity=2)
