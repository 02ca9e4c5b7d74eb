"""pointlink's Debian package as a user gets it: its fields; exactly the
program and its manual page, owned by root; Depends that name the package of
every library the program needs, each met on this machine; and the program
run from the package unpacked into a scratch root (dpkg-deb -x: the system
and its package database are not touched), optimised and stripped, with a
manual page that man reads without a warning and that holds every command,
option and format of the program's help. `cmake --install` of the same
build into a scratch prefix installs the same two files.

Standard library only; dpkg-deb, dpkg-query, readelf, ldd and man from
Debian's packages (tools/install-deps.sh).
"""

import csv
import gzip
import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

DIST = os.environ.get('RUVO_PACKAGE_DIST', '')
VERSION = os.environ.get('RUVO_PACKAGE_VERSION', '')
BUILD = os.environ.get('RUVO_PACKAGE_BUILD', '')
PROGRAM = 'usr/bin/pointlink'
MAN_PAGE = 'usr/share/man/man1/pointlink.1.gz'
# Each file of the package: its mode and owner as dpkg-deb lists them.
FILES = {PROGRAM: '-rwxr-xr-x root/root', MAN_PAGE: '-rw-r--r-- root/root'}
# A TopCom file, and the points it holds: name, mark, N, E, Z.
TOPCOM = b'P1,200.25,100.5,3,TREE\r\nP2,-1.5,-2.5,-3.5,\r\nK-7,0.002,1e3,12.5,kerb\r\n'
POINTS = [('P1', 'TREE', 100.5, 200.25, 3.0), ('P2', '', -2.5, -1.5, -3.5), ('K-7', 'kerb', 1000.0, 0.002, 12.5)]
# What the program must not need: the sanitizers' run-time libraries.
SANITIZER_RUNTIMES = re.compile(r'^lib(asan|ubsan|tsan|lsan)\.so')


def run(args, **kwargs):
    return subprocess.run(args, stdout=subprocess.PIPE, stderr=subprocess.PIPE, check=True, timeout=120,
                          universal_newlines=True, **kwargs).stdout


def architecture():
    return run(['dpkg', '--print-architecture']).strip()


def needed_libraries(program):
    """The sonames the program's dynamic section names."""
    return re.findall(r'\(NEEDED\)\s+Shared library: \[([^\]]+)\]', run(['readelf', '-d', program]))


def owning_package(path):
    """The package of this machine that holds a file, by its path or, where
    the path goes through a link (/lib to /usr/lib), by its real one."""
    for candidate in (path, os.path.realpath(path)):
        found = subprocess.run(['dpkg-query', '-S', candidate], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                               universal_newlines=True)
        if found.returncode == 0:
            return found.stdout.split(':')[0].strip()
    raise AssertionError('no package of this machine holds %s' % path)


def parse_depends(field):
    """Depends as [(package, operator or None, version or None)]."""
    clauses = []
    for clause in field.split(','):
        match = re.match(r'^\s*([a-z0-9][a-z0-9+.-]*)(?:\s*\(\s*(<<|<=|=|>=|>>)\s*([^)\s]+)\s*\))?\s*$', clause)
        if not match:
            raise AssertionError('not a Depends clause: %r' % clause)
        clauses.append(match.groups())
    return clauses


class DebianPackage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.deb = os.path.join(DIST, 'pointlink_%s-1_%s.deb' % (VERSION, architecture()))
        cls.root = tempfile.mkdtemp(prefix='ruvo-deb-root-')
        cls.addClassCleanup(shutil.rmtree, cls.root)
        run(['dpkg-deb', '-x', cls.deb, cls.root])
        cls.program = os.path.join(cls.root, PROGRAM)

    def field(self, name):
        return run(['dpkg-deb', '-f', self.deb, name]).strip()

    def pointlink(self, *args, cwd=None, stdin=b''):
        return subprocess.run([self.program] + list(args), input=stdin, stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE, cwd=cwd, timeout=60)

    def test_fields(self):
        self.assertEqual([self.field(f) for f in ('Package', 'Version', 'Architecture')],
                         ['pointlink', VERSION + '-1', architecture()])
        self.assertTrue(all(self.field(f) for f in ('Maintainer', 'Section', 'Priority')))
        # A synopsis of one short line without a full stop, then the long text.
        synopsis, _, long_text = self.field('Description').partition('\n')
        self.assertRegex(synopsis, r'^[a-z].{10,70}[^.]$')
        self.assertGreater(len(long_text.split()), 20)

    def test_holds_the_program_and_its_manual_page_owned_by_root(self):
        listed = {}
        for line in run(['dpkg-deb', '-c', self.deb]).splitlines():
            mode, owner, _size, _date, _time, path = line.split(None, 5)
            listed[path[2:]] = '%s %s' % (mode, owner)
        files = {path: how for path, how in listed.items() if not how.startswith('d')}
        self.assertEqual(files, FILES)
        self.assertTrue(all(how == 'drwxr-xr-x root/root' for path, how in listed.items() if path not in files),
                        listed)

    def test_depends_name_every_library_the_program_needs_and_are_met_here(self):
        needed = needed_libraries(self.program)
        self.assertIn('libc.so.6', needed)
        self.assertEqual([soname for soname in needed if SANITIZER_RUNTIMES.match(soname)], [])
        resolved = dict(re.findall(r'^\s*(\S+) => (\S+)', run(['ldd', self.program]), re.MULTILINE))
        depends = parse_depends(self.field('Depends'))
        names = {name for name, _, _ in depends}
        for soname in needed:
            with self.subTest(soname=soname):
                self.assertIn(owning_package(resolved[soname]), names)
        for name, operator, version in depends:
            with self.subTest(depends=name):
                installed = run(['dpkg-query', '-W', '-f=${Version}', name])
                if operator:
                    met = subprocess.run(['dpkg', '--compare-versions', installed, operator.replace('<<', 'lt')
                                          .replace('>>', 'gt').replace('<=', 'le').replace('>=', 'ge')
                                          .replace('=', 'eq'), version]).returncode == 0
                    self.assertTrue(met, '%s %s does not meet (%s %s)' % (name, installed, operator, version))

    def test_program_is_optimised_and_stripped(self):
        sections = run(['readelf', '-S', '-W', self.program])
        self.assertNotIn('.symtab', sections)
        self.assertNotIn('.debug_', sections)
        # The sanitizers' instrumentation would call into their run time.
        self.assertNotIn('__asan_', run(['readelf', '--dyn-syms', '-W', self.program]))

    def test_runs_from_the_scratch_root(self):
        version = self.pointlink('--version')
        self.assertEqual((version.returncode, version.stdout), (0, b'pointlink %s\n' % VERSION.encode()))
        with tempfile.TemporaryDirectory() as folder:
            with open(os.path.join(folder, 'in.pts'), 'wb') as f:
                f.write(TOPCOM)
            # To every format that can be read back, and back to TopCom;
            # and to CSV, read by Python's own parser.
            for name in ('ruvo', 'sv300', 'gzkass', 'southkass'):
                with self.subTest(via=name):
                    there = self.pointlink('convert', 'in.pts', '--from', 'topcom', '--to', name, '-o', 'out',
                                           cwd=folder)
                    self.assertEqual(there.returncode, 0, there.stderr)
                    back = self.pointlink('convert', 'out', '--from', name, '--to', 'topcom', '-o', '-', cwd=folder)
                    self.assertEqual(back.returncode, 0, back.stderr)
                    self.assertEqual(back.stdout, self.pointlink('convert', 'in.pts', '--from', 'topcom', '--to',
                                                                 'topcom', '-o', '-', cwd=folder).stdout)
            result = self.pointlink('convert', 'in.pts', '--from', 'topcom', '--to', 'csv', '-o', 'out.csv',
                                    cwd=folder)
            self.assertEqual((result.returncode, result.stderr), (0, b''))
            with open(os.path.join(folder, 'out.csv'), newline='') as f:
                rows = list(csv.reader(f))
        self.assertEqual(rows[0], ['name', 'mark', 'N', 'E', 'Z'])
        self.assertEqual([(r[0], r[1]) + tuple(float(v) for v in r[2:]) for r in rows[1:]], POINTS)

    def test_manual_page_reads_without_a_warning_and_holds_the_whole_help(self):
        with gzip.open(os.path.join(self.root, MAN_PAGE)) as f:
            source = f.read().decode('utf-8')
        self.assertTrue(source.startswith('.TH POINTLINK 1 '), source[:40])
        env = dict(os.environ, LC_ALL='C', MANWIDTH='1000', MANPAGER='cat', PAGER='cat')
        shown = subprocess.run(['man', '--warnings', '-l', os.path.join(self.root, MAN_PAGE)], env=env,
                               stdout=subprocess.PIPE, stderr=subprocess.PIPE, universal_newlines=True, timeout=60)
        self.assertEqual((shown.returncode, shown.stderr), (0, ''))
        text = shown.stdout
        for heading in ('NAME', 'SYNOPSIS', 'DESCRIPTION', 'OPTIONS', 'COMMANDS', 'FORMATS'):
            self.assertRegex(text, r'(?m)^%s$' % heading)
        self.assertIn('pointlink %s' % VERSION, text)
        helps = [self.pointlink('--help').stdout.decode()]
        commands = re.findall(r'(?m)^  (\w+) {2,}', helps[0].split('Subcommands:')[1])
        self.assertEqual(sorted(commands), ['convert', 'formats', 'receive', 'send'])
        helps += [self.pointlink(command, '--help').stdout.decode() for command in commands]
        for command, help_ in zip([''] + commands, helps):
            for option in set(re.findall(r'(?<![\w-])--?[a-z][a-z-]*', help_)):
                with self.subTest(command=command, option=option):
                    self.assertIn(option, text)
            self.assertIn(help_.splitlines()[0], text)
        # The table, up to the notes after it.
        header, *rows = self.pointlink('formats').stdout.decode().split('\n\n')[0].splitlines()
        for row in rows:
            name, description = row.split()[0], row[header.index('description'):]
            self.assertRegex(text, r'(?m)^\s+%s \(' % name)
            self.assertIn(description, text)


class CMakeInstall(unittest.TestCase):
    def test_installs_the_program_and_the_manual_page_into_a_prefix(self):
        with tempfile.TemporaryDirectory() as prefix:
            run(['cmake', '--install', BUILD, '--prefix', prefix])
            installed = sorted(os.path.relpath(os.path.join(folder, name), prefix)
                               for folder, _, names in os.walk(prefix) for name in names)
            self.assertEqual(installed, ['bin/pointlink', 'share/man/man1/pointlink.1.gz'])
            version = run([os.path.join(prefix, 'bin', 'pointlink'), '--version'])
            self.assertEqual(version, 'pointlink %s\n' % VERSION)


if __name__ == '__main__':
    if not DIST:
        sys.exit('RUVO_PACKAGE_DIST is not set: run through CTest')
    unittest.main(verbosity=2)
