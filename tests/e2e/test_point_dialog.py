"""The point dialog through the real programs: Append, Edit, Delete and
Clear all, the number check's messages, and what Cancel leaves behind."""

import sys

sys.dont_write_bytecode = True

import harness  # noqa: E402
from harness import (ID_APPEND, ID_CLEAR_ALL, ID_CLOSE, ID_DELETE, ID_EDIT, IDCANCEL, IDOK,  # noqa: E402
                     PROGRAMS, BoxInfo, Selection)

CAPTIONS = {'en': 'Tag Detial', 'zh': '测点数据'}
BUTTONS = {'en': ('OK', 'Cancel'), 'zh': ('确定', '取消')}
# Label texts in screen order, top to bottom.
LABELS = {'en': ['Name', 'Mark', 'E:', 'N:', 'Z:'], 'zh': ['点号：', '点属性：', 'E:', 'N：', 'Z：']}

ENTRY = dict(zip(('name', 'mark', 'n', 'e', 'z'), harness.POINT_ENTRIES))
SCREEN_ORDER = ('name', 'mark', 'e', 'n', 'z')

# The message of each number-check step and of the empty name.
MESSAGES = {
    'en': {
        'empty': "Input data can't empty",
        'character': "can't input any charactor except +,-,. and 0~9",
        'sign': '+,- can only be first charactor',
        'points': 'unrecognise floating format',
        'overflow': 'data overflow',
        'no name': "tag name can't be empty",
    },
    'zh': {
        'empty': '输入数据不能为空',
        'character': '只能输入0~9和+,-号',
        'sign': '+,-只能放在第一个字符',
        'points': '不能识别的浮点格式',
        'overflow': '数据溢出',
        'no name': '点名不得为空',
    },
}

# A coordinate entry that fails, and the message it gets.
BAD_NUMBERS = (
    ('', 'empty'),
    ('1e5', 'character'),
    (' 12', 'character'),
    ('12-', 'sign'),
    ('--1', 'sign'),
    ('1.2.3', 'points'),
    ('100000005', 'overflow'),
    ('-100000005', 'overflow'),
)

# A coordinate entry that passes, and the cell it gives a new point. A text
# without digits leaves the new point's 0.
GOOD_NUMBERS = (
    ('-12.5', '-12.500'),
    ('+7', '7.000'),
    ('1.23456', '1.235'),
    ('100000004', '100000004.000'),
    ('-', '0.000'),
    ('.', '0.000'),
    ('+.', '0.000'),
)


def row_cells(program, name, mark, n, e, z):
    """A row's cell texts in the build's column order."""
    if program == 'korvellink':
        return [name, mark, e, n, z]
    return [name, mark, n, e, z]


class PointDialogCase(harness.E2ETestCase):
    def open_dialog(self, app, command):
        app.click(command)
        dialog = app.wait_box(caption=CAPTIONS[app.lang])
        self.assertFalse(app.window_enabled(), 'the point dialog is not modal')
        return dialog

    @staticmethod
    def fill(dialog, **fields):
        for field, text in fields.items():
            dialog.set_text(ENTRY[field], text)

    @staticmethod
    def entries(dialog):
        return {field: dialog.text(ENTRY[field]) for field in ENTRY}

    def close_dialog(self, app, dialog, button):
        dialog.press(button)
        dialog.wait_gone()
        app.sync()
        self.assertTrue(app.window_enabled())
        self.assertEqual(app.other_windows(), [])

    def append(self, app, **fields):
        dialog = self.open_dialog(app, ID_APPEND)
        self.fill(dialog, **fields)
        self.close_dialog(app, dialog, IDOK)

    def expect_refusal(self, app, dialog, message):
        """OK on the dialog shows message in an "ERROR" box; after the box's
        OK the dialog is still open with its entries as they were."""
        before = self.entries(dialog)
        dialog.press(IDOK)
        box = app.wait_box(caption='ERROR', exclude=[dialog])
        self.assertEqual(box.info(), BoxInfo('ERROR', MESSAGES[app.lang][message], True, [IDOK]))
        # The box has no owner window, so it leaves the dialog enabled.
        self.assertTrue(dialog.window_enabled(), 'the message box disabled the dialog')
        box.press(IDOK)
        box.wait_gone()
        app.sync()
        self.assertTrue(dialog.exists(), 'the dialog closed after a refused OK')
        self.assertEqual(self.entries(dialog), before)

    def close_program(self, app):
        app.click(ID_CLOSE)
        self.assertEqual(app.wait_exit(), 0)


class ListCommands(PointDialogCase):
    def test_append_edit_delete_and_clear_all(self):
        for program in PROGRAMS:
            with self.subTest(program=program):
                app = self.launch(program)

                # A new point: empty name and mark, coordinates 0.
                dialog = self.open_dialog(app, ID_APPEND)
                self.assertEqual(self.entries(dialog),
                                 {'name': '', 'mark': '', 'n': '0.000', 'e': '0.000', 'z': '0.000'})
                self.fill(dialog, name='P1', mark='M1', n='1', e='2', z='3')
                self.close_dialog(app, dialog, IDOK)
                first = row_cells(program, 'P1', 'M1', '1.000', '2.000', '3.000')
                self.assertEqual(app.rows(), [first])
                self.assertEqual(app.selection(), Selection([0], 0))

                # The next one becomes the last row and takes the selection.
                self.append(app, name='P2', mark='M2', n='-4.5', e='5.25', z='6')
                second = row_cells(program, 'P2', 'M2', '-4.500', '5.250', '6.000')
                self.assertEqual(app.rows(), [first, second])
                self.assertEqual(app.selection(), Selection([1], 1))

                # Cancel, even after typing, adds nothing.
                dialog = self.open_dialog(app, ID_APPEND)
                self.fill(dialog, name='P3', n='9')
                self.close_dialog(app, dialog, IDCANCEL)
                self.assertEqual(app.rows(), [first, second])
                self.assertEqual(app.selection(), Selection([1], 1))

                # Edit shows the selected row's point and rewrites only its row.
                app.select(0)
                dialog = self.open_dialog(app, ID_EDIT)
                self.assertEqual(self.entries(dialog),
                                 {'name': 'P1', 'mark': 'M1', 'n': '1.000', 'e': '2.000', 'z': '3.000'})
                self.fill(dialog, name='Q1', mark='K1', n='10', e='20', z='-30')
                self.close_dialog(app, dialog, IDOK)
                first = row_cells(program, 'Q1', 'K1', '10.000', '20.000', '-30.000')
                self.assertEqual(app.rows(), [first, second])
                self.assertEqual(app.selection(), Selection([0], 0))

                # Edit then Cancel leaves the row alone.
                dialog = self.open_dialog(app, ID_EDIT)
                self.fill(dialog, name='X', n='99')
                self.close_dialog(app, dialog, IDCANCEL)
                self.assertEqual(app.rows(), [first, second])

                # Edit with no selected row opens nothing.
                app.deselect()
                app.click(ID_EDIT)
                app.sync()
                self.assertEqual(app.other_windows(), [])
                self.assertTrue(app.window_enabled())

                # Delete takes the selected row only; with none selected, nothing.
                app.click(ID_DELETE)
                app.sync()
                self.assertEqual(app.rows(), [first, second])
                self.append(app, name='P3', n='7', e='8', z='9')
                third = row_cells(program, 'P3', '', '7.000', '8.000', '9.000')
                app.select(1)
                app.click(ID_DELETE)
                app.sync()
                self.assertEqual(app.other_windows(), [], 'Delete asked something')
                self.assertEqual(app.rows(), [first, third])

                # Clear all empties the list without a question, and again on an empty list.
                for _ in range(2):
                    app.click(ID_CLEAR_ALL)
                    app.sync()
                    self.assertEqual(app.other_windows(), [], 'Clear all asked something')
                    self.assertEqual(app.rows(), [])

                # Append still works after the list was emptied.
                self.append(app, name='P4', n='1', e='1', z='1')
                self.assertEqual(app.rows(), [row_cells(program, 'P4', '', '1.000', '1.000', '1.000')])
                self.assertEqual(app.selection(), Selection([0], 0))
                self.close_program(app)


class NumberCheck(PointDialogCase):
    def test_refused_entries_keep_the_dialog_open(self):
        for program in PROGRAMS:
            for lang in ('en', 'zh'):
                with self.subTest(program=program, lang=lang):
                    app = self.launch(program, lang)
                    dialog = self.open_dialog(app, ID_APPEND)

                    # A new point with an empty name is refused after its numbers pass.
                    self.expect_refusal(app, dialog, 'no name')
                    self.fill(dialog, name='A1')

                    for field in ('n', 'e', 'z'):
                        for text, message in BAD_NUMBERS:
                            with self.subTest(field=field, text=text):
                                self.fill(dialog, **{field: text})
                                self.expect_refusal(app, dialog, message)
                                self.fill(dialog, **{field: '0'})

                    # Two bad entries: N is checked first, E once N is mended.
                    self.fill(dialog, n='1x', e='2..')
                    self.expect_refusal(app, dialog, 'character')
                    self.fill(dialog, n='1')
                    self.expect_refusal(app, dialog, 'points')

                    # Refused OKs added nothing, and neither does Cancel.
                    self.assertEqual(app.rows(), [])
                    self.close_dialog(app, dialog, IDCANCEL)
                    self.assertEqual(app.rows(), [])
                    self.close_program(app)

    def test_accepted_entries(self):
        app = self.launch('korvellink')
        expected = []
        for text, cell in GOOD_NUMBERS:
            with self.subTest(text=text):
                self.append(app, name='G', n=text)
                expected.append(row_cells(app.program, 'G', '', cell, '0.000', '0.000'))
                self.assertEqual(app.rows(), expected)
        self.close_program(app)


class Entries(PointDialogCase):
    def test_name_and_mark_words(self):
        app = self.launch('tassinlink')
        # The first word of each entry is taken; leading blanks are dropped.
        self.append(app, name='ab cd', mark='  xy z', n='1', e='2', z='3')
        self.assertEqual(app.rows(), [row_cells('tassinlink', 'ab', 'xy', '1.000', '2.000', '3.000')])
        # Edit: an entry left empty or blank keeps the stored word.
        dialog = self.open_dialog(app, ID_EDIT)
        self.fill(dialog, name='', mark='   ')
        self.close_dialog(app, dialog, IDOK)
        self.assertEqual(app.rows(), [row_cells('tassinlink', 'ab', 'xy', '1.000', '2.000', '3.000')])
        self.close_program(app)

    def test_cancel_after_a_refused_edit_leaves_the_point_as_it_was(self):
        # A refused OK has taken name, mark and N before it stopped at E;
        # Cancel must not leave them in a point whose row still shows the old
        # values.
        for program in PROGRAMS:
            with self.subTest(program=program):
                app = self.launch(program)
                self.append(app, name='P1', mark='M1', n='1', e='2', z='3')
                original = {'name': 'P1', 'mark': 'M1', 'n': '1.000', 'e': '2.000', 'z': '3.000'}
                dialog = self.open_dialog(app, ID_EDIT)
                self.fill(dialog, name='NEW', mark='NM', n='5', e='x')
                self.expect_refusal(app, dialog, 'character')
                self.close_dialog(app, dialog, IDCANCEL)
                self.assertEqual(app.rows(), [row_cells(program, 'P1', 'M1', '1.000', '2.000', '3.000')])
                dialog = self.open_dialog(app, ID_EDIT)
                self.assertEqual(self.entries(dialog), original)
                # Escape and the close box cancel too.
                self.fill(dialog, name='NEW', n='5', e='x')
                self.expect_refusal(app, dialog, 'character')
                dialog.close()
                dialog.wait_gone()
                dialog = self.open_dialog(app, ID_EDIT)
                self.assertEqual(self.entries(dialog), original)
                self.close_dialog(app, dialog, IDCANCEL)
                self.close_program(app)


class Layout(PointDialogCase):
    def test_texts_and_rows_on_screen(self):
        for program in PROGRAMS:
            for lang in ('en', 'zh'):
                with self.subTest(program=program, lang=lang):
                    app = self.launch(program, lang)
                    dialog = self.open_dialog(app, ID_APPEND)
                    self.assertEqual((dialog.text(IDOK), dialog.text(IDCANCEL)), BUTTONS[lang])
                    labels = [c.text for c in dialog.children() if c.class_name == 'Static']
                    self.assertEqual(sorted(labels), sorted(LABELS[lang]))
                    # Entries run Name, Mark, E, N, Z down the screen; OK and
                    # Cancel stand side by side below them, at the right.
                    rects = [dialog.rect(ENTRY[field]) for field in SCREEN_ORDER]
                    tops = [r[1] for r in rects]
                    self.assertEqual(tops, sorted(tops))
                    self.assertEqual(len(set(tops)), len(tops))
                    ok, cancel = dialog.rect(IDOK), dialog.rect(IDCANCEL)
                    self.assertEqual(ok[1], cancel[1])
                    self.assertLess(ok[2], cancel[0] + 1)
                    self.assertGreaterEqual(ok[1], rects[-1][3])
                    self.assertLessEqual(abs(cancel[2] - rects[-1][2]), 2)
                    self.close_dialog(app, dialog, IDCANCEL)
                    self.close_program(app)


if __name__ == '__main__':
    harness.main()
