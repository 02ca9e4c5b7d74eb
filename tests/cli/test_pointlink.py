"""pointlink as a user runs it: its commands, exit statuses and messages,
and the written-only formats checked by parsers of their own (Python's csv
and json, and a small DXF group-code reader here).

    test_pointlink.py PROGRAM               the native program
    test_pointlink.py --wine PROGRAM.exe    the Windows console program under
                                            Wine (the convert tests), in the
                                            end-to-end tests' Wine prefix
    RUVO_NATIVE_POINTLINK=...               with --wine: the native program,
                                            whose output the Windows one must
                                            match byte for byte

Standard library only.
"""

import csv
import io
import json
import os
import random
import re
import shutil
import stat
import subprocess
import sys
import tempfile
import threading
import tty
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))

# Set by main(): the command that starts the program, and whether it is the
# Windows build under Wine.
COMMAND = []
WINE = False
WINE_ENV = None

# A TopCom file with the texts the formats treat differently: a comma and a
# quote in a name, GBK bytes (not UTF-8), UTF-8 bytes, an empty mark, a mark
# with a space, negative values.
TOPCOM = (b'P1,200.25,100.5,3,TREE\r\n'
          b'"Q",1,2,3,A,B\r\n'
          b'\xb5\xe7\xcf\xdf,-1.5,-2.5,-3.5,\xb8\xcb\r\n'
          b'\xc3\xa9t\xc3\xa9,10,20,30,\r\n'
          b'P5,0.00005,-0.00005,1e3,kerb.2 x\r\n')
# What each point is after reading: name, mark, N, E, Z.
POINTS = [
    (b'P1', b'TREE', 100.5, 200.25, 3.0),
    (b'"Q"', b'A,B', 2.0, 1.0, 3.0),  # %s takes the mark up to white space
    (b'\xb5\xe7\xcf\xdf', b'\xb8\xcb', -2.5, -1.5, -3.5),
    (b'\xc3\xa9t\xc3\xa9', b'', 20.0, 10.0, 30.0),
    (b'P5', b'kerb.2', -0.00005, 0.00005, 1000.0),
]


class Result:
    def __init__(self, code, out, err):
        self.code, self.out, self.err = code, out, err

    @property
    def messages(self):
        return self.err.decode('utf-8', 'replace').replace('\r\n', '\n')


def pointlink(args, cwd, stdin=b''):
    """Runs the program in cwd; standard streams go through files, never
    pipes (a Wine service could hold a pipe open)."""
    with tempfile.TemporaryFile() as fin, tempfile.TemporaryFile() as fout, tempfile.TemporaryFile() as ferr:
        fin.write(stdin)
        fin.seek(0)
        code = subprocess.run(COMMAND + list(args), cwd=cwd, stdin=fin, stdout=fout, stderr=ferr,
                              env=WINE_ENV, timeout=120).returncode
        fout.seek(0)
        ferr.seek(0)
        return Result(code, fout.read(), ferr.read())


def dxf_groups(data):
    """The (code, value) pairs of an ASCII DXF file."""
    lines = data.decode('utf-8').split('\n')
    if lines and lines[-1] == '':
        lines.pop()
    if len(lines) % 2:
        raise ValueError('a group code without its value')
    return [(int(lines[i]), lines[i + 1]) for i in range(0, len(lines), 2)]


def dxf_entities(groups):
    """The entities of the ENTITIES section: (type, {code: value})."""
    sections, i = {}, 0
    while i < len(groups):
        code, value = groups[i]
        if (code, value) == (0, 'EOF'):
            if i != len(groups) - 1:
                raise ValueError('groups after EOF')
            break
        if (code, value) != (0, 'SECTION') or groups[i + 1][0] != 2:
            raise ValueError('expected a SECTION at group %d, got %r' % (i, (code, value)))
        name, i = groups[i + 1][1], i + 2
        body = []
        while groups[i] != (0, 'ENDSEC'):
            body.append(groups[i])
            i += 1
        sections[name] = body
        i += 1
    else:
        raise ValueError('no EOF')
    entities = []
    for code, value in sections.get('ENTITIES', []):
        if code == 0:
            entities.append((value, {}))
        else:
            entities[-1][1][code] = value
    return sections, entities


class Scratch(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix='pointlink-test-')
        self.addCleanup(shutil.rmtree, self.dir, True)

    def write(self, name, data):
        with open(os.path.join(self.dir, name), 'wb') as f:
            f.write(data)

    def read(self, name):
        with open(os.path.join(self.dir, name), 'rb') as f:
            return f.read()

    def run_program(self, *args, stdin=b''):
        return pointlink(args, self.dir, stdin)

    def convert(self, to, source=TOPCOM, frm='topcom', encoding='gbk'):
        self.write('in.pts', source)
        result = self.run_program('convert', 'in.pts', '--from', frm, '--to', to, '-o', 'out', '--encoding', encoding)
        self.assertEqual(result.code, 0, result.messages)
        return self.read('out')


class ConvertTests(Scratch):
    """Run natively and, with --wine, by the Windows console program."""

    def test_csv_reads_back_with_an_independent_parser(self):
        data = self.convert('csv')
        rows = list(csv.reader(io.StringIO(data.decode('latin-1'), newline='')))
        self.assertEqual(rows[0], ['name', 'mark', 'N', 'E', 'Z'])
        self.assertEqual(len(rows), 1 + len(POINTS))
        for row, (name, mark, n, e, z) in zip(rows[1:], POINTS):
            self.assertEqual(row[0].encode('latin-1'), name)
            self.assertEqual(row[1].encode('latin-1'), mark)
            self.assertEqual([float(v) for v in row[2:]], [round(n, 4), round(e, 4), round(z, 4)])
        self.assertTrue(data.endswith(b'\r\n') and b'\n' not in data.replace(b'\r\n', b''))

    def test_geojson_is_valid_utf8_json_whatever_the_names_hold(self):
        data = self.convert('geojson')
        collection = json.loads(data.decode('utf-8'))  # strict: invalid UTF-8 fails here
        self.assertEqual(collection['type'], 'FeatureCollection')
        features = collection['features']
        self.assertEqual(len(features), len(POINTS))
        for feature, (name, mark, n, e, z) in zip(features, POINTS):
            self.assertEqual(feature['type'], 'Feature')
            self.assertEqual(feature['geometry']['type'], 'Point')
            self.assertEqual(feature['geometry']['coordinates'], [round(e, 4), round(n, 4), round(z, 4)])
            for key, raw in (('name', name), ('mark', mark)):  # converted from --encoding gbk
                self.assertEqual(feature['properties'][key], raw.decode('gbk'))
        empty = json.loads(self.convert('geojson', source=b'').decode('utf-8'))
        self.assertEqual(empty, {'type': 'FeatureCollection', 'features': []})

    def test_geojson_and_dxf_stand_any_bytes_in_names_and_marks(self):
        rng = random.Random(14)
        # Not the separators, nor Ctrl-Z, which ends a file as in text mode.
        allowed = bytes(b for b in range(1, 256) if b not in b' \t\n\v\f\r,\x1a')
        points = []
        for i in range(300):
            name = bytes(rng.choice(allowed) for _ in range(rng.randint(0, 9)))
            mark = bytes(rng.choice(allowed) for _ in range(rng.randint(1, 13)))
            points.append((name, mark))
        source = b''.join(b'%s,1,2,3,%s\r\n' % point for point in points)
        # Latin-1 has a character for every byte.
        data = self.convert('geojson', source=source, encoding='latin1')
        features = json.loads(data.decode('utf-8'))['features']
        for feature, (name, mark) in zip(features, points):
            self.assertEqual(feature['properties']['name'], name.decode('latin-1'))
            self.assertEqual(feature['properties']['mark'], mark.decode('latin-1'))
        _, entities = dxf_entities(dxf_groups(self.convert('dxf', source=source, encoding='latin1')))
        layers = [fields[8] for kind, fields in entities if kind == 'POINT']
        self.assertEqual(len(layers), len(points))
        # A layer a mark, which no other mark's layer is, not even in
        # another case; names without what a layer's name cannot hold.
        by_mark = {}
        for layer, (_, mark) in zip(layers, points):
            self.assertEqual(by_mark.setdefault(mark, layer), layer)
            self.assertNotRegex(layer, r'^ |[<>/\\":;?*|,=`\x00-\x1f\x7f-\x9f]| $')
        self.assertEqual(len(set(l.lower() for l in by_mark.values())), len(by_mark))

    def test_dxf_reads_back_with_a_group_code_reader(self):
        data = self.convert('dxf')  # GBK
        sections, entities = dxf_entities(dxf_groups(data))
        header = sections['HEADER']
        for variable, value in (('$ACADVER', 'AC1021'), ('$DWGCODEPAGE', 'ANSI_65001')):
            self.assertEqual(header[header.index((9, variable)) + 1][1], value)
        points = [fields for kind, fields in entities if kind == 'POINT']
        texts = [fields for kind, fields in entities if kind == 'TEXT']
        self.assertEqual(len(points), len(POINTS))
        self.assertEqual(len(texts), len(POINTS))
        for point, text, (name, mark, n, e, z) in zip(points, texts, POINTS):
            for fields in (point, text):
                self.assertEqual(fields[8], point[8])
                self.assertEqual([float(fields[c]) for c in (10, 20, 30)], [round(e, 4), round(n, 4), round(z, 4)])
            self.assertEqual(text[1], name.decode('gbk'))
            self.assertEqual(float(text[40]), 1.0)
        # The marks themselves, but the one a layer's name cannot hold.
        self.assertEqual([p[8] for p in points], ['TREE', 'A_B', '\u6746', '0', 'kerb.2'])
        self.assertNotIn(b'-0.0000', data)

    def test_every_exchange_format_to_every_other_through_standard_streams(self):
        names = ['ruvo', 'topcom', 'sv300', 'gzkass', 'southkass']
        simple = b'P1,200.25,100.5,3,TREE\r\nP2,-1,-2,-3,M\r\n'
        for frm in names:
            source = self.run_program('convert', '-', '--from', 'topcom', '--to', frm, '-o', '-', stdin=simple)
            self.assertEqual(source.code, 0, source.messages)
            for to in names + ['csv', 'geojson', 'dxf']:
                result = self.run_program('convert', '-', '--from', frm, '--to', to, '-o', '-', stdin=source.out)
                self.assertEqual((result.code, result.err), (0, b''), (frm, to))
                if WINE and NATIVE:  # the same bytes as the native program's
                    native = subprocess.run([NATIVE, 'convert', '-', '--from', frm, '--to', to, '-o', '-'],
                                            input=source.out, capture_output=True)
                    self.assertEqual(result.out, native.stdout, 'Windows and native differ: %s to %s' % (frm, to))
                else:  # the same points as a conversion in one step (these lose nothing on the way)
                    direct = self.run_program('convert', '-', '--from', 'topcom', '--to', to, '-o', '-',
                                              stdin=simple)
                    self.assertEqual(result.out, direct.out, (frm, to))

    def test_a_refused_point_leaves_the_target_as_it_was(self):
        self.write('in.pts', b'P1,1,2,3\r\nP2,1,2,3\r\nBIG,10000000,2,3\r\n')
        self.write('out.ruvo', b'old')
        result = self.run_program('convert', 'in.pts', '--from', 'topcom', '--to', 'ruvo', '-o', 'out.ruvo')
        self.assertEqual(result.code, 1)
        self.assertEqual(self.read('out.ruvo'), b'old')
        self.assertEqual(sorted(os.listdir(self.dir)), ['in.pts', 'out.ruvo'])
        self.assertRegex(result.messages, r'(?m)^in\.pts:3: point "BIG" cannot be written as ruvo without changing it')
        self.assertIn('out.ruvo: not written; the file is as it was', result.messages)

    def test_the_encoding_decides_the_utf8_outputs_alone(self):
        source = b'OK,1,2,3,A\r\n\xff\xfe,1,2,3,TREE\r\n'
        self.write('in.pts', source)
        # The bytes formats keep the bytes whatever the encoding.
        for to in ('csv', 'topcom'):
            result = self.run_program('convert', 'in.pts', '--from', 'topcom', '--to', to, '-o', 'out',
                                      '--encoding', 'utf-8')
            self.assertEqual(result.code, 0, (to, result.messages))
            self.assertIn(b'\xff\xfe', self.read('out'))
        # A UTF-8 output stops at the line, with a hint, and writes nothing.
        self.write('out', b'old')
        for to in ('geojson', 'dxf'):
            result = self.run_program('convert', 'in.pts', '--from', 'topcom', '--to', to, '-o', 'out',
                                      '--encoding', 'utf-8')
            self.assertEqual(result.code, 1, to)
            self.assertRegex(result.messages, r'(?m)^in\.pts:2: point "\\xff\\xfe" \(mark "TREE"\) cannot be '
                             r'written as %s: its texts are not utf-8 text; .*--encoding' % to)
            self.assertEqual(self.read('out'), b'old')
            self.assertEqual(sorted(os.listdir(self.dir)), ['in.pts', 'out'])
        # Named as what they are, they convert.
        result = self.run_program('convert', 'in.pts', '--from', 'topcom', '--to', 'geojson', '-o', 'out',
                                  '--encoding', 'cp1251')
        self.assertEqual(result.code, 0, result.messages)
        names = [f['properties']['name'] for f in json.loads(self.read('out').decode('utf-8'))['features']]
        self.assertEqual(names, ['OK', '\xff\xfe'.encode('latin-1').decode('cp1251')])
        unknown = self.run_program('convert', 'in.pts', '--from', 'topcom', '--to', 'csv', '-o', 'out',
                                   '--encoding', 'no-such-code-page')
        self.assertEqual(unknown.code, 2)
        self.assertIn("unknown encoding 'no-such-code-page'", unknown.messages)

    def test_unreadable_lines_are_reported_by_number(self):
        self.write('in.pts', b'P1,1,2,3,A\r\nnothing here\r\nP3,1,2,3,C\r\n')
        result = self.run_program('convert', 'in.pts', '--from', '2', '--to', '3', '-o', 'out.svf')
        self.assertEqual(result.code, 0)
        self.assertRegex(result.messages, r'^in\.pts:2: warning: not a line of topcom')
        self.assertEqual(self.read('out.svf').count(b'\r\n'), 3)
        result = self.run_program('convert', 'in.pts', '--from', '2', '--to', '3', '-o', 'out2.svf', '--strict')
        self.assertEqual(result.code, 1)
        self.assertRegex(result.messages, r'^in\.pts:2: not a line of topcom \(--strict\)')
        self.assertFalse(os.path.exists(os.path.join(self.dir, 'out2.svf')))

    def test_an_output_folder_and_many_inputs(self):
        os.mkdir(os.path.join(self.dir, 'out'))
        self.write('a.pts', b'A,1,2,3,M\r\n')
        self.write('b.pts', b'B,1,2,3,M\r\n')
        result = self.run_program('convert', 'a.pts', 'b.pts', '--from', 'topcom', '--to', 'csv', '--out-dir', 'out')
        self.assertEqual(result.code, 0, result.messages)
        self.assertEqual(sorted(os.listdir(os.path.join(self.dir, 'out'))), ['a.csv', 'b.csv'])

    def test_outputs_whose_names_differ_only_in_case_are_one_file_on_windows(self):
        for folder in ('a', 'b', 'out'):
            os.mkdir(os.path.join(self.dir, folder))
        self.write('a/P1.pts', b'A,1,2,3,M\r\n')
        self.write('b/p1.pts', b'B,1,2,3,M\r\n')
        result = self.run_program('convert', 'a/P1.pts', 'b/p1.pts', '--from', 'topcom', '--to', 'csv',
                                  '--out-dir', 'out')
        written = sorted(os.listdir(os.path.join(self.dir, 'out')))
        if WINE:  # one file on Windows: wrong usage, and nothing written
            self.assertEqual(result.code, 2, result.messages)
            self.assertIn('differ only in case', result.messages)
            self.assertEqual(written, [])
        else:  # two on a POSIX folder, which tells case apart
            self.assertEqual(result.code, 0, result.messages)
            self.assertEqual(written, ['P1.csv', 'p1.csv'])

    def test_a_device_is_written_into_not_replaced(self):
        if not WINE:  # a program that replaced /dev/null would break the machine
            self.skipTest('natively a terminal stands for the devices (NativeTests)')
        self.write('in.pts', TOPCOM)
        for device in ('NUL', 'nul:'):
            result = self.run_program('convert', 'in.pts', '--from', 'topcom', '--to', 'geojson', '-o', device,
                                      '--encoding', 'gbk')
            self.assertEqual((result.code, result.err), (0, b''), device)
            self.assertEqual(sorted(os.listdir(self.dir)), ['in.pts'])

    def test_usage_errors_exit_with_2(self):
        self.write('in.pts', b'')
        for args in (['convert', 'in.pts', '--from', 'csv', '--to', 'ruvo', '-o', 'x'],
                     ['convert', 'in.pts', '--from', 'topcom', '--to', 'xls', '-o', 'x'],
                     ['convert', 'in.pts', '--from', '6', '--to', 'ruvo', '-o', 'x'],
                     ['convert', 'in.pts', '--from', 'topcom', '--to', 'ruvo'],
                     ['convert', 'in.pts', '--from', 'topcom', '--to', 'ruvo', '-o', 'x', '--out-dir', '.'],
                     ['convert', '-', '--from', 'topcom', '--to', 'ruvo', '--out-dir', '.'],
                     ['convert', '--from', 'topcom', '--to', 'ruvo', '-o', 'x'],
                     ['convert', 'in.pts', '--from', 'topcom', '--to', 'ruvo', '-o', 'x', '--bogus'],
                     ['frobnicate'],
                     []):
            result = self.run_program(*args)
            self.assertEqual(result.code, 2, args)
            self.assertNotEqual(result.err, b'', args)
            self.assertFalse(os.path.exists(os.path.join(self.dir, 'x')))

    def test_version_formats_and_help(self):
        version = self.run_program('--version')
        self.assertEqual(version.code, 0)
        with open(os.path.join(HERE, '..', '..', 'CMakeLists.txt')) as f:
            project = re.search(r'project\(\w+ VERSION ([0-9.]+)', f.read()).group(1)
        self.assertEqual(version.out.decode().strip(), 'pointlink ' + project)
        formats = self.run_program('formats')
        self.assertEqual(formats.code, 0)
        table, notes = formats.out.decode().split('\n\n', 1)
        rows = [line.split() for line in table.splitlines()[1:]]
        self.assertEqual([row[0] for row in rows],
                         ['ruvo', 'topcom', 'sv300', 'gzkass', 'southkass', 'csv', 'geojson', 'dxf', 'landxml', 'kml'])
        # Which texts each carries: the points' bytes, or UTF-8 converted from --encoding.
        self.assertEqual([row[5] if row[3] == 'read,' else row[4] for row in rows],
                         ['bytes'] * 6 + ['UTF-8'] * 4)
        self.assertIn('--encoding', notes)
        self.assertIn('metres', notes)
        for command in ([], ['convert'], ['formats']):
            result = self.run_program(*(command + ['--help']))
            self.assertEqual((result.code, result.err), (0, b''), command)
            self.assertIn(b'Usage: pointlink', result.out)


class NativeTests(Scratch):
    """What only the native program is asked here."""

    def test_permissions_of_a_replaced_file_stay(self):
        self.write('out.csv', b'old')
        os.chmod(os.path.join(self.dir, 'out.csv'), 0o640)
        self.convert('csv')  # writes 'out'
        result = self.run_program('convert', 'in.pts', '--from', 'topcom', '--to', 'csv', '-o', 'out.csv')
        self.assertEqual(result.code, 0)
        self.assertEqual(os.stat(os.path.join(self.dir, 'out.csv')).st_mode & 0o7777, 0o640)
        self.assertEqual(self.read('out.csv'), self.read('out'))

    def test_a_fifo_or_a_link_to_one_is_written_into_not_replaced(self):
        expected = self.convert('dxf')
        for name in ('fifo', 'link'):
            fifo = os.path.join(self.dir, 'fifo')
            if name == 'fifo':
                os.mkfifo(fifo)
            else:
                os.symlink('fifo', os.path.join(self.dir, 'link'))
            got = []
            reader = threading.Thread(target=lambda: got.append(open(fifo, 'rb').read()), daemon=True)
            reader.start()
            result = self.run_program('convert', 'in.pts', '--from', 'topcom', '--to', 'dxf', '-o', name,
                                      '--encoding', 'gbk')
            reader.join(30)
            self.assertEqual((result.code, result.err), (0, b''), name)
            self.assertEqual(got, [expected], name)
            self.assertTrue(stat.S_ISFIFO(os.stat(fifo).st_mode))
        self.assertTrue(os.path.islink(os.path.join(self.dir, 'link')))
        self.assertEqual(sorted(os.listdir(self.dir)), ['fifo', 'in.pts', 'link', 'out'])

        # A point the format cannot hold: the reader gets nothing at all.
        self.write('big.pts', b'P1,1,2,3\r\nBIG,10000000,2,3\r\n')
        got = []
        reader = threading.Thread(target=lambda: got.append(open(fifo, 'rb').read()), daemon=True)
        reader.start()
        result = self.run_program('convert', 'big.pts', '--from', 'topcom', '--to', 'ruvo', '-o', 'fifo')
        reader.join(30)
        self.assertEqual(result.code, 1)
        self.assertEqual(got, [b''])
        self.assertIn('big.pts:2: point "BIG" cannot be written as ruvo', result.messages)

    def test_standard_output_by_its_name_in_a_pipe_and_on_a_terminal(self):
        expected = self.convert('csv')
        args = COMMAND + ['convert', 'in.pts', '--from', 'topcom', '--to', 'csv', '-o', '/dev/stdout']
        piped = subprocess.run(args, cwd=self.dir, stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=60)
        self.assertEqual((piped.returncode, piped.stderr, piped.stdout), (0, b'', expected))

        main, terminal = os.openpty()
        tty.setraw(terminal)
        try:
            code = subprocess.run(args, cwd=self.dir, stdout=terminal, stderr=subprocess.PIPE, timeout=60).returncode
            os.close(terminal)
            shown = b''
            while True:
                try:
                    block = os.read(main, 4096)
                except OSError:  # the terminal's other side is closed: all read
                    break
                if not block:
                    break
                shown += block
        finally:
            os.close(main)
        self.assertEqual((code, shown), (0, expected))
        self.assertEqual(sorted(os.listdir(self.dir)), ['in.pts', 'out'])


NATIVE = None


def main():
    global COMMAND, WINE, WINE_ENV, NATIVE
    args = sys.argv[1:]
    if args and args[0] == '--wine':
        WINE = True
        sys.path.insert(0, os.path.join(HERE, '..', 'e2e'))
        import harness
        try:
            run = harness.current_run()
        except unittest.SkipTest as skip:
            print('skipped: %s' % skip)
            sys.exit(77)
        WINE_ENV = run.env()
        COMMAND = ['wine', os.path.abspath(args[1])]
        NATIVE = os.environ.get('RUVO_NATIVE_POINTLINK') or None
        if NATIVE and not os.path.exists(NATIVE):
            NATIVE = None
        tests = unittest.TestLoader().loadTestsFromTestCase(ConvertTests)
    else:
        COMMAND = [os.path.abspath(args[0])]
        tests = unittest.TestLoader().loadTestsFromModule(sys.modules[__name__])
    result = unittest.TextTestRunner(verbosity=2).run(tests)
    sys.exit(0 if result.wasSuccessful() else 1)


if __name__ == '__main__':
    main()
