"""A list of 100,000 points in the real programs: Edit and Delete of its
first, middle and last row reach that row alone, and the rows around it
stay as they were."""

import os
import shutil
import sys
import tempfile

sys.dont_write_bytecode = True

import harness  # noqa: E402
from harness import ID_DELETE, ID_EDIT, ID_IMPORT, IDOK, PROGRAMS  # noqa: E402

COUNT = 100000
TOPCOM = 2
NAME_ENTRY, MARK_ENTRY = harness.ENTRY_NAME, harness.ENTRY_MARK


def line(i):
    """TopCom line of point i: name,E,N,Z,mark."""
    return 'P%d,%.4f,%.4f,%.4f,M%d' % (i, 2000 + i * 0.002, 1000 + i * 0.001, i % 100 * 0.5, i % 1000)


def cells(program, i, mark=None):
    n, e, z = '%.3f' % (1000 + i * 0.001), '%.3f' % (2000 + i * 0.002), '%.3f' % (i % 100 * 0.5)
    numbers = [e, n, z] if program == 'korvellink' else [n, e, z]
    return ['P%d' % i, mark or 'M%d' % (i % 1000)] + numbers


class LargeList(harness.E2ETestCase):
    def setUp(self):
        super().setUp()
        folder = tempfile.mkdtemp(prefix='ruvo-large-')
        self.addCleanup(shutil.rmtree, folder, True)
        self.source = os.path.join(folder, 'large.pts')
        with open(self.source, 'wb') as f:
            f.write(''.join(line(i) + '\r\n' for i in range(COUNT)).encode('ascii'))

    def import_large(self, app):
        app.click(ID_IMPORT)
        dialog = app.wait_file_dialog()
        dialog.set_name(self.source)
        dialog.choose_type(TOPCOM)
        dialog.ok()
        dialog.wait_gone()
        app.sync(timeout=120)
        self.assertEqual(app.row_count(), COUNT)
        self.assertEqual(app.selection().selected, [COUNT - 1])
        self.assertTrue(app.row_visible(COUNT - 1))

    def expect_rows_around(self, app, program, points, marks, row):
        """The row and its neighbours show their points."""
        first, last = max(row - 1, 0), min(row + 1, len(points) - 1)
        self.assertEqual(app.rows(first, last - first + 1),
                         [cells(program, points[r], marks.get(points[r])) for r in range(first, last + 1)])

    def test_edit_and_delete_of_the_first_middle_and_last_row(self):
        for program in PROGRAMS:
            with self.subTest(program=program):
                app = self.launch(program)
                self.import_large(app)
                points = list(range(COUNT))  # the point each row shows
                marks = {}
                for where in ('first', 'middle', 'last'):
                    with self.subTest(row=where):
                        row = {'first': 0, 'middle': len(points) // 2, 'last': len(points) - 1}[where]
                        app.select(row)

                        # Edit shows the row's point and changes that row only.
                        app.click(ID_EDIT)
                        dialog = app.wait_box(caption='Tag Detial')
                        self.assertEqual(dialog.text(NAME_ENTRY), 'P%d' % points[row])
                        dialog.set_text(MARK_ENTRY, 'EDITED')
                        dialog.press(IDOK)
                        dialog.wait_gone()
                        app.sync()
                        marks[points[row]] = 'EDITED'
                        self.expect_rows_around(app, program, points, marks, row)
                        self.assertEqual(app.selection().selected, [row])
                        self.assertTrue(app.row_visible(row))

                        # Delete takes that row; the rows after it move up.
                        app.click(ID_DELETE)
                        app.sync()
                        del points[row]
                        self.assertEqual(app.row_count(), len(points))
                        self.assertEqual(app.selection().selected, [])
                        self.expect_rows_around(app, program, points, marks, min(row, len(points) - 1))
                self.assertEqual(app.rows(0, 1), [cells(program, 1)])
                self.assertEqual(app.rows(len(points) - 1, 1), [cells(program, COUNT - 2)])
                app.click(harness.ID_CLOSE)
                self.assertEqual(app.wait_exit(), 0)


if __name__ == '__main__':
    harness.main()
