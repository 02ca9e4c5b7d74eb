"""The plot window: opened from the list's menu (right-click, Shift+F10, the
menu key), its marks where the view puts them, checked pixel by pixel on
the screen, a click on a mark selecting its row, the list's selection
shown and kept in view, moving about (wheel, drag, arrow keys, Home,
resizing), minimising and restoring, marks clear of the scale bar and the
north arrow, and the plot following a receive and the editing commands."""

import sys

sys.dont_write_bytecode = True

import harness  # noqa: E402
from e2e_transfers import TransferTestCase, many_points  # noqa: E402
from harness import ID_APPEND, ID_CLEAR_ALL, ID_DELETE, ID_EDIT, IDOK, PLOT_CLASS  # noqa: E402

# The colours of the plot (app/win32/PlotPainter.cpp): the scale bar, the
# north arrow and their texts are INK.
PAPER, MARK, SELECTED, INK = 0xFFFFFF, 0x1A1A1A, 0xD00000, 0x000000
# A mark reaches this far round its pixel, the selected one's fill this far
# (at the tests' 96 DPI).
MARK_RADIUS, SELECTED_FILL = 2, 3
WM_SYSCOMMAND, SC_MINIMIZE, SC_RESTORE = 0x0112, 0xF020, 0xF120
CAPTION = {'en': 'Plot of the points', 'zh': '点位图'}
# A few points (name, mark, N, E, Z) far enough apart that no mark touches
# another: B lies east of A, C north of it.
KNOWN = [
    ('A', 'M', 1000.0, 2000.0, 1.0),
    ('B', 'M', 1000.0, 2100.0, 2.0),
    ('C', 'M', 1060.0, 2000.0, 3.0),
    ('D', 'M', 940.0, 2050.0, 0.0),
    ('E', 'M', 1030.0, 1950.0, 0.0),
]
PORT = 11
WHEEL_NOTCH = 120


def positions(plot, count):
    return [plot.where(row) for row in range(count)]


def ink_box(pixels, width, left, top, right, bottom):
    """(left, top, right, bottom) round the INK pixels of the part of the
    picture (pixels row by row, width a row), or None when it has none."""
    xs, ys = [], []
    for y in range(top, bottom):
        for x in range(left, right):
            if pixels[y * width + x] == INK:
                xs.append(x)
                ys.append(y)
    return (min(xs), min(ys), max(xs) + 1, max(ys) + 1) if xs else None


class Plot(TransferTestCase):
    def open_with(self, points, program='korvellink', lang='en'):
        """The program with the points imported and its plot opened from the
        keyboard, which leaves the list's selection as it is (a right-click
        on the list's empty part would clear it)."""
        app = self.launch(program, lang)
        if points:
            self.import_topcom(app, points)
        return app, app.open_plot('menu key')

    def assert_marks(self, plot, rows, selected=None):
        """Each row's mark shows on the screen where the window says it is."""
        for row in rows:
            at = plot.where(row)
            self.assertIsNotNone(at, 'row %d is not drawn' % row)
            plot.wait_pixel(at[0], at[1], [SELECTED if row == selected else MARK])

    def assert_marks_clear(self, plot, count, selected=None):
        """Every row's mark is in the window, whole on the screen and off the
        ink of the scale bar (lower left) and of the north arrow (upper
        right); returns the marks' places."""
        at = positions(plot, count)
        self.assertNotIn(None, at)
        width, height = plot.client_size()
        pixels = plot.pixels(0, 0, width, height)
        # The plot ends where the status line starts: the first row from
        # the bottom that is paper at its left edge.
        bottom = next(y for y in range(height - 1, 0, -1) if pixels[y * width + 1] == PAPER) + 1
        overlays = [box for box in (ink_box(pixels, width, 0, bottom // 2, width // 2, bottom),
                                    ink_box(pixels, width, width // 2, 0, width, bottom // 2)) if box]
        self.assertEqual(len(overlays), 2, 'no scale bar or no north arrow')
        for row, (x, y) in enumerate(at):
            reach = SELECTED_FILL if row == selected else MARK_RADIUS
            colour = SELECTED if row == selected else MARK
            mark = [pixels[(y + dy) * width + x + dx] for dy in range(-reach, reach + 1)
                    for dx in range(-reach, reach + 1)]
            self.assertEqual(set(mark), {colour}, 'row %d: its mark is not whole at %d,%d' % (row, x, y))
            for box in overlays:
                self.assertFalse(box[0] - reach <= x < box[2] + reach and box[1] - reach <= y < box[3] + reach,
                                 'row %d at %d,%d lies under the ink in %s' % (row, x, y, box))
        return at

    def test_opens_from_the_list_menu_and_again_comes_to_the_front(self):
        for lang in ('en', 'zh'):
            app = self.launch('korvellink', lang)
            first = app.open_plot('mouse')
            self.assertEqual(first.caption, CAPTION[lang])
            self.assertIsNone(first.where(0), 'an empty list draws no mark')
            # An empty plot shows its hint across the middle.
            width, height = first.client_size()
            middle = first.pixels(0, height // 2 - 20, width, 24)
            self.assertTrue(any(p != PAPER for p in middle), 'no hint in the empty plot')
            for how in ('shift+f10', 'menu key'):
                app.front()
                self.assertFalse(first.is_foreground())
                again = app.open_plot(how)
                self.assertEqual(again.hwnd, first.hwnd, 'opening again shows the same window')
                harness.wait_until(again.is_foreground, harness.BOX_TIMEOUT, 'the plot to come to the front')
            shown = app.driver.call('windows', **{'class': PLOT_CLASS}, pid=app.pid)
            self.assertEqual(shown[0], '1')
            first.close()
            first.wait_gone()
            self.assertTrue(app.alive())
            app.open_plot().close()
            app.click(harness.ID_CLOSE)
            app.wait_exit()

    def test_marks_lie_where_the_view_puts_them(self):
        for program in ('korvellink', 'tassinlink'):
            app, plot = self.open_with(KNOWN, program)
            at = positions(plot, len(KNOWN))
            self.assertNotIn(None, at)
            (xa, ya), (xb, _), (_, yc) = at[0], at[1], at[2]
            # E to the right, N up, one scale for both.
            scale_e = (xb - xa) / (KNOWN[1][3] - KNOWN[0][3])
            scale_n = (ya - yc) / (KNOWN[2][2] - KNOWN[0][2])
            self.assertGreater(scale_e, 0)
            self.assertAlmostEqual(scale_e, scale_n, delta=2.0 / 60)
            for row, (name, _, n, e, _) in enumerate(KNOWN):
                x = xa + (e - KNOWN[0][3]) * scale_e
                y = ya - (n - KNOWN[0][2]) * scale_e
                self.assertLessEqual(abs(at[row][0] - x), 1.5, name)
                self.assertLessEqual(abs(at[row][1] - y), 1.5, name)
            # Fitted: centred across the window.
            width, _ = plot.client_size()
            xs = [x for x, _ in at]
            self.assertLessEqual(abs((min(xs) + max(xs)) / 2 - width / 2), 1.5)
            # The import selected the last row: its mark is red.
            self.assert_marks(plot, range(len(KNOWN)), selected=len(KNOWN) - 1)
            for x, y in at:
                self.assertEqual(plot.pixels(x, y + 12), [PAPER], 'below a mark is paper')
            app.click(harness.ID_CLOSE)
            app.wait_exit()

    def test_a_click_on_a_mark_selects_its_row(self):
        points = many_points(300)
        app, plot = self.open_with(points)
        self.assertFalse(app.row_visible(10))
        x, y = plot.where(10)
        plot.mouse(x + 1, y)
        harness.wait_until(lambda: app.selection().selected == [10], harness.BOX_TIMEOUT, 'row 10 selected')
        self.assertEqual(app.selection().focused, 10)
        self.assertTrue(app.row_visible(10), 'the row is scrolled into view')
        self.assert_marks(plot, [10], selected=10)
        self.assert_marks(plot, [299])
        # A click off every mark changes nothing.
        width, _ = plot.client_size()
        plot.mouse(width - 3, 3)
        app.sync()
        self.assertEqual(app.selection().selected, [10])

    def test_the_lists_selection_shows_and_stays_in_view(self):
        app, plot = self.open_with(KNOWN)
        app.select(1)
        self.assert_marks(plot, [1], selected=1)
        self.assert_marks(plot, [4])
        # Far in at A: B and C are out of the window.
        x, y = plot.where(0)
        for _ in range(12):
            plot.mouse(x, y, wheel=WHEEL_NOTCH)
        harness.wait_until(lambda: plot.where(2) is None, harness.BOX_TIMEOUT, 'C out of view')
        # Down in the list selects C, which the plot brings into view.
        app.front()
        app.key(harness.VK_DOWN)
        harness.wait_until(lambda: app.selection().selected == [2], harness.BOX_TIMEOUT, 'row 2 selected')
        harness.wait_until(lambda: plot.where(2) is not None, harness.BOX_TIMEOUT, 'C in view')
        self.assert_marks(plot, [2], selected=2)

    def test_wheel_drag_arrows_home_and_resizing(self):
        app, plot = self.open_with(KNOWN)
        fitted = positions(plot, len(KNOWN))
        plot.front()
        # The wheel zooms about the cursor: A stays, B moves away from it.
        (xa, ya), (xb, yb) = fitted[0], fitted[1]
        plot.mouse(xa, ya, wheel=-WHEEL_NOTCH)  # out: the others come nearer
        harness.wait_until(lambda: plot.where(1) != fitted[1], harness.BOX_TIMEOUT, 'the zoom')
        (xa2, ya2), (xb2, _) = plot.where(0), plot.where(1)
        self.assertLessEqual(max(abs(xa2 - xa), abs(ya2 - ya)), 1)
        self.assertAlmostEqual((xb2 - xa2) / (xb - xa), 0.8, delta=0.03)

        # A drag moves every mark with the mouse.
        before = positions(plot, len(KNOWN))
        plot.drag(20, 20, 60, 50)
        harness.wait_until(lambda: plot.where(0) != before[0], harness.BOX_TIMEOUT, 'the drag')
        for (x0, y0), (x1, y1) in zip(before, positions(plot, len(KNOWN))):
            self.assertLessEqual(abs(x1 - x0 - 40), 1)
            self.assertLessEqual(abs(y1 - y0 - 30), 1)

        # The arrow keys move the picture by an eighth of the window.
        before = positions(plot, len(KNOWN))
        plot.key(harness.VK_RIGHT)
        harness.wait_until(lambda: plot.where(0) != before[0], harness.BOX_TIMEOUT, 'the key')
        width, _ = plot.client_size()
        self.assertLessEqual(abs(before[0][0] - plot.where(0)[0] - width // 8), 1)

        # Home fits all points again.
        plot.key(harness.VK_HOME)
        harness.wait_until(lambda: positions(plot, len(KNOWN)) == fitted, harness.BOX_TIMEOUT, 'the fit')

        # Resizing keeps the centre and the scale.
        left, top, right, bottom = plot.rect()
        plot.place(left, top, right - left + 100, bottom - top + 60)
        harness.wait_until(lambda: plot.where(0) != fitted[0], harness.BOX_TIMEOUT, 'the resize')
        for (x0, y0), (x1, y1) in zip(fitted, positions(plot, len(KNOWN))):
            self.assertLessEqual(abs(x1 - x0 - 50), 1)
            self.assertLessEqual(abs(y1 - y0 - 30), 1)

        # A double-click on empty space fits again, now at the larger size.
        spread = plot.where(1)[0] - plot.where(0)[0]
        plot.mouse(3, 3, clicks=2)
        harness.wait_until(lambda: plot.where(1)[0] - plot.where(0)[0] > spread, harness.BOX_TIMEOUT,
                           'the fit at the new size')

    def test_minimised_keeps_its_view_and_shows_what_came_meanwhile(self):
        # Points at the survey's lower left and upper right corners, where
        # the scale bar and the north arrow are drawn.
        corners = KNOWN + [('SW', 'M', 900.0, 1900.0, 0.0), ('NE', 'M', 1100.0, 2200.0, 0.0)]
        app, plot = self.open_with(corners)
        before = self.assert_marks_clear(plot, len(corners), selected=len(corners) - 1)
        size = plot.client_size()
        plot.post(WM_SYSCOMMAND, SC_MINIMIZE)
        harness.wait_until(lambda: plot.client_size() == (0, 0), harness.BOX_TIMEOUT, 'the plot minimised')

        # Meanwhile a point comes further to the north-east.
        app.click(ID_APPEND)
        dialog = app.wait_box(caption='Tag Detial')
        for entry, text in zip(harness.POINT_ENTRIES, ('FAR', 'M', '1300', '2500', '0')):
            dialog.set_text(entry, text)
        dialog.press(IDOK)
        dialog.wait_gone()
        app.wait_rows(len(corners) + 1)
        self.assertEqual(positions(plot, len(corners)), before, 'the minimised plot keeps its view')

        plot.post(WM_SYSCOMMAND, SC_RESTORE)
        harness.wait_until(lambda: plot.client_size() == size, harness.BOX_TIMEOUT, 'the plot restored')
        plot.repaint()
        at = self.assert_marks_clear(plot, len(corners) + 1, selected=len(corners))
        # Fitted to the window again, not to the dot it was minimised to.
        xs, ys = [x for x, _ in at], [y for _, y in at]
        self.assertGreater(max(xs) - min(xs), size[0] // 2, at)
        self.assertGreater(max(ys) - min(ys), size[1] // 3, at)

    def test_follows_a_receive_and_the_editing_commands(self):
        app = self.launch('korvellink')
        plot = app.open_plot()
        points = many_points(6)
        inst = self.instrument('korvellink', 'to-pc', points=points, start_delay_ms=500,
                               extra_args=['--baud-pace'])
        self.connect(app, PORT, inst)
        self.start(app, 'to-pc')
        # While the transfer runs, points appear one by one.
        harness.wait_until(lambda: app.row_count() >= 2, 30, 'two points received')
        self.assertFalse(app.enabled(harness.ID_APPEND), 'the receive still runs')
        self.assert_marks(plot, [0])
        plot.key(harness.VK_HOME)  # the plot answers during the transfer
        self.finish(app, 'to-pc', keep=[plot.hwnd])
        self.assertEqual(inst.wait(), 0, inst.log())
        self.assert_marks(plot, range(len(points)), selected=len(points) - 1)

        # Delete: the selected point goes at once.
        gone = plot.where(len(points) - 1)
        app.click(ID_DELETE)
        harness.wait_until(lambda: plot.where(len(points) - 1) is None, harness.BOX_TIMEOUT, 'the deleted mark')
        plot.wait_pixel(gone[0], gone[1], [PAPER])

        # Edit: the point moves to its new place.
        app.select(0)
        before = plot.where(0)
        app.click(ID_EDIT)
        dialog = app.wait_box(caption='Tag Detial')
        n, e = points[0][2], points[0][3]
        dialog.set_text(1005, repr(n + 1.5))  # N: up by one step of the grid
        dialog.set_text(1006, repr(e))
        dialog.press(IDOK)
        dialog.wait_gone()
        harness.wait_until(lambda: plot.where(0) != before, harness.BOX_TIMEOUT, 'the edited mark to move')
        self.assertLess(plot.where(0)[1], before[1], 'N up')
        self.assert_marks(plot, [0], selected=0)

        # Clear all: nothing is left.
        app.click(ID_CLEAR_ALL)
        harness.wait_until(lambda: plot.where(0) is None, harness.BOX_TIMEOUT, 'an empty plot')


if __name__ == '__main__':
    harness.main()
