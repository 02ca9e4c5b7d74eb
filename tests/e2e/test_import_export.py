"""Import and Export through the real Open and Save dialogs: the five file
formats both ways, the file types the dialogs list, the extension that a
bare name gets, the question about unsaved points, and files that cannot be
read or written."""

import os
import shutil
import socket
import subprocess
import sys
import tempfile

sys.dont_write_bytecode = True

import e2e_run  # noqa: E402
import harness  # noqa: E402
from harness import (ID_APPEND, ID_CLEAR_ALL, ID_DELETE, ID_EXPORT, ID_IMPORT, IDCANCEL, IDOK,  # noqa: E402
                     PROGRAMS)

TYPES = {
    'en': ['Ruvo Format(*.ruvo)', 'TopCom Format(*.pts)', 'SV300 Format(*.svf)',
           'GuangZhou Kass Format(*.dat)', 'South Kass Format(*.dat)'],
    'zh': ['Ruvo格式(*.ruvo)', '拖普康格式(*.pts)', 'SV300格式(*.svf)', '广州开思(*.dat)', '南方开思(*.dat)'],
}
EXTENSIONS = {1: '.ruvo', 2: '.pts', 3: '.svf', 4: '.dat', 5: '.dat'}
UNSAVED_QUESTION = 'Data has not saved after modify,continue'

# name, mark, N, E, Z
POINTS = [
    ('P1', 'TREE', 100.5, 200.25, 3.0),
    ('K-2', '', -0.5, 1234.5678, -12.3),
    ('PT3', 'WALL', 7.0, 8.0, 9.0),
]

# Each format's file as another program might have written it: LF or CR LF
# line ends, blanks after commas, row numbers that are not 1, 2, 3, a last
# line without its line end, text after a Ruvo line's 50 characters.
IMPORTED = {
    1: b'P1     TREE   00000100.50000000200.25000000003.000\n'
       b'K-2           -0000000.50000001234.568-0000012.300\r\n'
       b'PT3    WALL   00000007.00000000008.00000000009.000 trailing text',
    2: b'P1,200.25,100.5,3,TREE\r\n'
       b'K-2,1234.5678,-0.5,-12.3,\n'
       b'PT3, 8, 7, 9, WALL',
    3: b'7,P1,TREE,100.5,200.25,3\r\n'
       b'9,K-2,,-0.5,1234.5678,-12.3\n'
       b',PT3,WALL,7,8,9',
    4: b'3,P1,100.5,200.25,3,TREE\n'
       b'1,K-2,-0.5,1234.5678,-12.3,\r\n'
       b'2, PT3 ,7,8,9,WALL\n',
    5: b'P1,TREE,200.25,100.5,3\n'
       b'K-2,,1234.5678,-0.5,-12.3\r\n'
       b'  PT3 , WALL ,8,7,9\n',
}


def ruvo_number(value):
    return ('-' if value < 0 else '0') + ('%11.3f' % abs(value)).replace(' ', '0')


def written_line(number, row, point):
    """The line (without its line end) that Export writes for a point."""
    name, mark, n, e, z = point
    if number == 1:
        return '%-7s%-7s%s%s%s' % (name, mark, ruvo_number(n), ruvo_number(e), ruvo_number(z))
    return {
        2: '%s,%.4f,%.4f,%.4f,%s' % (name, e, n, z, mark),
        3: '%d,%s,%s,%.4f,%.4f,%.4f' % (row, name, mark, n, e, z),
        4: '%d,%s,%.4f,%.4f,%.4f,%s' % (row, name, n, e, z, mark),
        5: '%s,%s,%.4f,%.4f,%.4f' % (name, mark, e, n, z),
    }[number]


def written_file(number, points):
    return b''.join((written_line(number, row, p) + '\r\n').encode('ascii')
                    for row, p in enumerate(points, 1))


def cells(program, name, mark, n, e, z):
    """A row's cell texts in the build's column order."""
    numbers = ['%.3f' % n, '%.3f' % e, '%.3f' % z]
    if program == 'korvellink':
        numbers[0], numbers[1] = numbers[1], numbers[0]
    return [name, mark] + numbers


def lock_folder(folder):
    """Makes a folder refuse new files, also to root (the immutable flag).
    False when neither the permissions nor the flag can do it here."""
    os.chmod(folder, 0o555)
    if _refuses_new_files(folder):
        return True
    os.chmod(folder, 0o755)
    if shutil.which('chattr') and subprocess.run(['chattr', '+i', folder], stdout=subprocess.DEVNULL,
                                                 stderr=subprocess.DEVNULL).returncode == 0:
        if _refuses_new_files(folder):
            return True
        unlock_folder(folder)
    return False


def unlock_folder(folder):
    if shutil.which('chattr'):
        subprocess.run(['chattr', '-i', folder], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.chmod(folder, 0o755)


def _refuses_new_files(folder):
    probe = os.path.join(folder, '.probe')
    try:
        with open(probe, 'x'):
            pass
    except OSError:
        return True
    os.unlink(probe)
    return False


class FileCase(harness.E2ETestCase):
    def setUp(self):
        super().setUp()
        self.dir = tempfile.mkdtemp(prefix='ruvo-files-')
        self.addCleanup(shutil.rmtree, self.dir, True)

    def path(self, name):
        return os.path.join(self.dir, name)

    def write(self, name, data):
        with open(self.path(name), 'wb') as f:
            f.write(data)
        return self.path(name)

    def read(self, name):
        with open(self.path(name), 'rb') as f:
            return f.read()

    def next_box(self, app):
        """The next window the program shows: a file dialog or a message box."""
        return app.wait_box(cls=harness.FileDialog)

    def open_dialog(self, app, command, question=None):
        """Presses Import or Export and returns the file dialog. With question
        (IDOK or IDCANCEL) the unsaved-points question must come first and is
        answered so; without, it must not come."""
        app.click(command)
        box = self.next_box(app)
        if question is None:
            if box.caption == 'Warning':
                self.fail('unexpected question: %r' % (box.info(),))
            return box
        info = box.info()
        self.assertEqual((info.caption, info.text, info.buttons), ('Warning', UNSAVED_QUESTION, [IDOK, IDCANCEL]))
        box.press(question)
        box.wait_gone()
        if question == IDCANCEL:
            app.sync()
            self.assertEqual(app.other_windows(), [], 'Cancel at the question went on')
            return None
        return self.next_box(app)

    def confirm(self, app, dialog, path, number):
        """Types the name, chooses the file type and presses OK."""
        dialog.set_name(path)
        dialog.choose_type(number)
        self.assertEqual(dialog.type_number(), number)
        dialog.ok()
        dialog.wait_gone()
        app.sync()

    def import_file(self, app, path, number, question=None):
        dialog = self.open_dialog(app, ID_IMPORT, question)
        self.confirm(app, dialog, path, number)

    def export_file(self, app, path, number):
        dialog = self.open_dialog(app, ID_EXPORT)
        self.confirm(app, dialog, path, number)

    def append(self, app, name='HAND', n='1', e='2', z='3'):
        """Adds a point through Append, which marks the list modified."""
        app.click(ID_APPEND)
        dialog = app.wait_box(caption='Tag Detial')
        for control, value in zip(harness.POINT_ENTRIES, (name, 'M', n, e, z)):
            dialog.set_text(control, value)
        dialog.press(IDOK)
        dialog.wait_gone()
        app.sync()

    def assert_modified(self, app, modified):
        """Import asks about unsaved points exactly when the list is modified
        and has rows; the question is answered Cancel."""
        app.click(ID_IMPORT)
        box = self.next_box(app)
        self.assertEqual(box.caption == 'Warning', modified, 'modified flag: box %r' % box.caption)
        box.press(IDCANCEL)
        box.wait_gone()
        app.sync()

    def error_box(self, app):
        """The error box the command shows; returns its text after OK."""
        box = app.wait_box(caption='Error')
        info = box.info()
        self.assertTrue(info.has_icon)
        self.assertEqual(info.buttons, [IDOK])
        box.press(IDOK)
        box.wait_gone()
        app.sync()
        return info.text


class Formats(FileCase):
    def test_each_format_imports_and_exports(self):
        app = self.launch('korvellink')
        for number, data in IMPORTED.items():
            with self.subTest(format=number):
                app.click(ID_CLEAR_ALL)
                self.import_file(app, self.write('in%d.txt' % number, data), number)
                points = POINTS
                if number == 1:  # the point text keeps three decimals
                    points = [p[:3] + (1234.568,) + p[4:] if p[0] == 'K-2' else p for p in POINTS]
                self.assertEqual(app.rows(), [cells('korvellink', *p) for p in points])
                self.assertEqual(app.selection(), ([2], 2))
                # A name without '.' gets the format's extension.
                self.export_file(app, self.path('out%d' % number), number)
                self.assertEqual(self.read('out%d%s' % (number, EXTENSIONS[number])), written_file(number, points))
        self.assertEqual(sorted(n for n in os.listdir(self.dir) if n.startswith('out')),
                         ['out1.ruvo', 'out2.pts', 'out3.svf', 'out4.dat', 'out5.dat'])

    def test_chosen_type_decides_the_format_and_a_dotted_name_is_kept(self):
        app = self.launch('korvellink')
        path = self.write('points.dat', b'1,P1,100.5,200.25,3,TREE\r\n')
        self.import_file(app, path, 4)
        # The same line as South Kass: the row number is the name, the name
        # the mark, and N, E, Z land in E, N, Z.
        self.import_file(app, path, 5)
        self.assertEqual(app.rows(), [cells('korvellink', 'P1', 'TREE', 100.5, 200.25, 3),
                                      cells('korvellink', '1', 'P1', 200.25, 100.5, 3)])
        self.export_file(app, self.path('points.txt'), 3)
        self.assertEqual(self.read('points.txt'), b'1,P1,TREE,100.5000,200.2500,3.0000\r\n'
                                                  b'2,1,P1,200.2500,100.5000,3.0000\r\n')
        # A '.' in a folder name does not count.
        os.mkdir(self.path('v1.0'))
        self.export_file(app, self.path('v1.0/points'), 4)
        self.assertEqual(os.listdir(self.path('v1.0')), ['points.dat'])
        self.assertEqual(self.read('v1.0/points.dat'), b'1,P1,100.5000,200.2500,3.0000,TREE\r\n'
                                                       b'2,1,200.2500,100.5000,3.0000,P1\r\n')

    def test_topcom_to_sv300_gives_the_same_file_in_both_programs(self):
        source = self.write('survey.pts', IMPORTED[2])
        for program in PROGRAMS:
            with self.subTest(program=program):
                app = self.launch(program)
                self.import_file(app, source, 2)
                self.assertEqual(app.rows(), [cells(program, *p) for p in POINTS])
                self.export_file(app, self.path(program), 3)
                self.assertEqual(self.read(program + '.svf'), written_file(3, POINTS))

    def test_a_ctrl_z_ends_the_file_and_numbers_are_decimal_only(self):
        # Infinity, NaN and hexadecimal are no numbers: the conversion stops
        # there. A Ctrl-Z ends the file as a text-mode stream ends it.
        data = (b'P1,200.25,100.5,3,TREE\r\n'
                b'P2,0x10,inf,nan,M\r\n'
                b'P3,1,2,3,C\x1a\r\n'
                b'GONE,4,5,6,X\r\n')
        app = self.launch('korvellink')
        self.import_file(app, self.write('odd.pts', data), 2)
        self.assertEqual(app.rows(), [cells('korvellink', 'P1', 'TREE', 100.5, 200.25, 3),
                                      cells('korvellink', 'P2', '', 0, 0, 0),
                                      cells('korvellink', 'P3', 'C', 2, 1, 3)])
        self.assert_modified(app, False)
        # Every point read can be written again.
        self.export_file(app, self.path('odd-out'), 2)
        self.assertEqual(self.read('odd-out.pts'), b'P1,200.2500,100.5000,3.0000,TREE\r\n'
                                                   b'P2,0.0000,0.0000,0.0000,\r\n'
                                                   b'P3,1.0000,2.0000,3.0000,C\r\n')

    def test_names_and_marks_keep_their_bytes_in_chinese(self):
        # GBK bytes of a Chinese name and mark; the program's code page is 936.
        line = '北1,200.25,100.5,3,树木'.encode('gbk') + b'\r\n'
        for program in PROGRAMS:
            with self.subTest(program=program):
                app = self.launch(program, lang='zh')
                self.import_file(app, self.write('cn.pts', line), 2)
                self.assertEqual(app.rows(), [cells(program, '北1', '树木', 100.5, 200.25, 3)])
                self.export_file(app, self.path('cn-%s' % program), 2)
                self.assertEqual(self.read('cn-%s.pts' % program),
                                 '北1,200.2500,100.5000,3.0000,树木'.encode('gbk') + b'\r\n')


class EmptyFile(FileCase):
    def test_an_empty_file_leaves_rows_and_selection_as_they_were(self):
        empty = self.write('empty.pts', b'')
        for program in PROGRAMS:
            with self.subTest(program=program):
                app = self.launch(program)
                self.append(app, name='A')
                self.append(app, name='B')
                app.select(0)
                rows, selection = app.rows(), app.selection()
                self.import_file(app, empty, 2, question=IDOK)
                self.assertEqual(app.rows(), rows)
                self.assertEqual(app.selection(), selection)
                self.assert_modified(app, False)


class Dialogs(FileCase):
    def test_dialogs_list_the_five_types_in_the_users_language(self):
        for lang in ('en', 'zh'):
            with self.subTest(lang=lang):
                app = self.launch('korvellink', lang=lang)
                for command in (ID_IMPORT, ID_EXPORT):
                    dialog = self.open_dialog(app, command)
                    self.assertEqual(dialog.types(), TYPES[lang])
                    self.assertEqual(dialog.type_number(), 1)
                    self.assertEqual(dialog.name(), '')
                    dialog.cancel()
                    dialog.wait_gone()
                app.sync()
                self.assertEqual(app.other_windows(), [])

    def test_cancelled_dialogs_change_nothing(self):
        app = self.launch('korvellink')
        self.append(app)
        rows = app.rows()
        for command in (ID_IMPORT, ID_EXPORT):
            dialog = self.open_dialog(app, command, IDOK if command == ID_IMPORT else None)
            dialog.set_name(self.path('never'))
            dialog.cancel()
            dialog.wait_gone()
            app.sync()
        self.assertEqual(app.rows(), rows)
        self.assertEqual(os.listdir(self.dir), [])
        self.assert_modified(app, True)


class UnsavedQuestion(FileCase):
    def test_question_only_for_a_modified_list_with_rows(self):
        many = self.write('many.pts', b''.join(b'R%d,%d,1,2,M\r\n' % (i, i) for i in range(40)))
        for program in PROGRAMS:
            with self.subTest(program=program):
                app = self.launch(program)
                # Modified but empty: no question.
                self.append(app, name='GONE')
                app.click(ID_DELETE)
                app.sync()
                self.assertEqual(app.row_count(), 0)
                self.import_file(app, many, 2)
                self.assertEqual(app.row_count(), 40)
                # Rows, not modified after the import: no question.
                self.import_file(app, many, 2)
                self.assertEqual(app.row_count(), 80)
                # Modified with rows: Cancel stops the import.
                self.append(app, name='HAND')
                self.assertIsNone(self.open_dialog(app, ID_IMPORT, IDCANCEL))
                self.assertEqual(app.row_count(), 81)
                # OK goes on; the rows follow those already there.
                self.import_file(app, many, 2, question=IDOK)
                rows = app.rows()
                self.assertEqual(len(rows), 121)
                self.assertEqual([r[0] for r in rows[79:82]], ['R39', 'HAND', 'R0'])
                self.assertEqual(rows[-1], cells(program, 'R39', 'M', 1, 39, 2))
                selected, focused = app.selection()
                self.assertEqual(selected, [120])
                if program == 'korvellink':
                    self.assertEqual(focused, 120)
                self.assertTrue(app.row_visible(120))
                self.assert_modified(app, False)
                # Export clears the flag too.
                self.append(app)
                self.export_file(app, self.path(program), 2)
                self.assertEqual(len(self.read(program + '.pts').split(b'\r\n')), 123)
                self.assert_modified(app, False)


class Failures(FileCase):
    def test_a_file_that_cannot_be_opened_changes_nothing(self):
        # A socket is listed like a file but cannot be opened, even by root.
        path = self.path('socket.pts')
        listener = socket.socket(socket.AF_UNIX)
        self.addCleanup(listener.close)
        listener.bind(path)
        app = self.launch('korvellink')
        self.append(app)
        rows = app.rows()
        self.import_file(app, path, 2, question=IDOK)
        text = self.error_box(app)
        self.assertTrue(text.startswith('Cannot open the file\n%s\n' % e2e_run.windows_path(path)), text)
        self.assertEqual(app.rows(), rows)
        self.assert_modified(app, True)

    def test_a_file_that_cannot_be_written_changes_nothing(self):
        app = self.launch('korvellink')
        self.append(app)
        rows = app.rows()
        # The target is a folder: the finished file cannot replace it.
        os.mkdir(self.path('folder.pts'))
        self.export_file(app, self.path('folder'), 2)
        text = self.error_box(app)
        self.assertTrue(text.startswith('Cannot write the file\n%s\n'
                                        % e2e_run.windows_path(self.path('folder.pts'))), text)
        self.assertTrue(text.endswith('No file was changed.'), text)
        self.assertEqual(sorted(os.listdir(self.dir)), ['folder.pts'])
        self.assertEqual(os.listdir(self.path('folder.pts')), [])
        self.assertEqual(app.rows(), rows)
        self.assert_modified(app, True)

    def refused_export(self, app, target, old):
        """Exports over target, which must be refused and keep its bytes."""
        before = sorted(os.listdir(os.path.dirname(target)))
        self.export_file(app, target, 2)
        text = self.error_box(app)
        self.assertTrue(text.startswith('Cannot write the file\n%s\n' % e2e_run.windows_path(target)), text)
        self.assertTrue(text.endswith('No file was changed.'), text)
        with open(target, 'rb') as f:
            self.assertEqual(f.read(), old)
        self.assertEqual(sorted(os.listdir(os.path.dirname(target))), before, 'a file was left behind')
        self.assert_modified(app, True)

    def test_a_read_only_target_is_refused(self):
        old = b'OLD,1.0000,2.0000,3.0000,M\r\n'
        target = self.write('locked.pts', old)
        os.chmod(target, 0o444)  # the read-only attribute under Wine
        app = self.launch('korvellink')
        self.append(app)
        self.refused_export(app, target, old)
        self.assertEqual(os.stat(target).st_mode & 0o777, 0o444)

    def test_a_target_whose_folder_cannot_be_written_is_kept(self):
        old = b'OLD,1.0000,2.0000,3.0000,M\r\n'
        folder = self.path('closed')
        os.mkdir(folder)
        target = os.path.join(folder, 'kept.pts')
        with open(target, 'wb') as f:
            f.write(old)
        if not lock_folder(folder):
            self.skipTest('cannot make a folder unwritable here')
        self.addCleanup(unlock_folder, folder)
        app = self.launch('korvellink')
        self.append(app)
        self.refused_export(app, target, old)

    def test_export_replaces_its_target_and_nothing_else(self):
        # Files named as other programs name temporary and backup copies of
        # the target, and a folder: Export neither opens nor moves them.
        neighbours = ['keep.pts.writing', 'keep.pts.tmp', 'keep.pts~', '~keep.pts', 'keep.pts.bak', 'keep.bak',
                      'keep.tmp', '~$keep.pts', 'keep.pts.new', 'keep.pts.old']
        for name in neighbours:
            self.write(name, b"the user's own " + name.encode())
        os.mkdir(self.path('keep.pts.part'))
        self.write('keep.pts', b'OLD,1.0000,2.0000,3.0000,M\r\n')
        app = self.launch('korvellink')
        self.append(app, name='NEW', n='1', e='2', z='3')
        self.export_file(app, self.path('keep.pts'), 2)
        self.assertEqual(app.other_windows(), [])
        self.assertEqual(self.read('keep.pts'), b'NEW,2.0000,1.0000,3.0000,M\r\n')
        for name in neighbours:
            self.assertEqual(self.read(name), b"the user's own " + name.encode(), name)
        self.assertEqual(sorted(os.listdir(self.dir)), sorted(neighbours + ['keep.pts', 'keep.pts.part']))
        self.assertEqual(os.listdir(self.path('keep.pts.part')), [])
        self.assert_modified(app, False)
        # A new target is made as well, beside them.
        self.export_file(app, self.path('fresh'), 2)
        self.assertEqual(self.read('fresh.pts'), b'NEW,2.0000,1.0000,3.0000,M\r\n')
        self.assertEqual(sorted(os.listdir(self.dir)), sorted(neighbours + ['fresh.pts', 'keep.pts', 'keep.pts.part']))

    def test_a_point_ruvo_cannot_hold_refuses_the_export(self):
        old = b'OLD    FILE   00000001.00000000002.00000000003.000\r\n'
        target = self.write('keep.ruvo', old)
        app = self.launch('korvellink')
        self.import_file(app, self.write('big.pts', b'P1,2,1,3,M\r\nBIG,1e8,1,2,M\r\n'), 2)
        self.append(app)
        self.export_file(app, target[:-len('.ruvo')], 1)
        self.assertEqual(self.error_box(app),
                         'Point 2 (BIG) has a coordinate that the Ruvo Format cannot hold exactly.\n'
                         'Nothing was written.')
        self.assertEqual(self.read('keep.ruvo'), old)
        self.assertEqual(sorted(os.listdir(self.dir)), ['big.pts', 'keep.ruvo'])
        self.assert_modified(app, True)
        # TopCom holds the point; the same list exports there.
        self.export_file(app, self.path('big-out'), 2)
        self.assertEqual(self.read('big-out.pts').split(b'\r\n')[1], b'BIG,100000000.0000,1.0000,2.0000,M')


if __name__ == '__main__':
    harness.main()
