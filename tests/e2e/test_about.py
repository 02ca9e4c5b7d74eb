"""The About box: opens modal over the main window, ignores Escape, and closes
through OK or its close box."""

import sys

sys.dont_write_bytecode = True

import harness  # noqa: E402
from harness import ID_ABOUT, ID_CLOSE, IDCANCEL, IDOK, PROGRAMS  # noqa: E402

TITLES = {
    'korvellink': 'Korvel Total Station Communication Software (eng.)',
    'tassinlink': 'Tassin Total Station Communication Software (eng.)',
}


class AboutBox(harness.E2ETestCase):
    def open_about(self, app):
        app.click(ID_ABOUT)
        box = app.wait_box()
        self.assertEqual(box.caption, 'About')
        self.assertFalse(app.window_enabled(), 'the About box is not modal')
        return box

    def test_about_shows_title_and_version_and_ok_closes_it(self):
        for program in PROGRAMS:
            with self.subTest(program=program):
                app = self.launch(program)
                caption = app.caption
                box = self.open_about(app)
                self.assertEqual(box.text(IDOK), 'OK')
                lines = [child.text for child in box.children() if child.class_name == 'Static']
                self.assertIn(TITLES[program], lines)
                self.assertIn('ver 2.1.0', lines)
                box.press(IDOK)
                box.wait_gone()
                app.sync()
                self.assertTrue(app.window_enabled())
                self.assertEqual(app.other_windows(), [])
                self.assertEqual(app.caption, caption)
                app.click(ID_CLOSE)
                self.assertEqual(app.wait_exit(), 0)

    def test_escape_leaves_the_box_open_and_close_box_closes_it(self):
        for program in PROGRAMS:
            with self.subTest(program=program):
                app = self.launch(program)
                box = self.open_about(app)
                box.click(IDCANCEL)
                app.sync()
                self.assertTrue(box.exists(), 'Escape closed the About box')
                self.assertEqual(app.other_windows(), [box.hwnd])
                box.close()
                box.wait_gone()
                app.sync()
                self.assertTrue(app.alive())
                self.assertTrue(app.window_enabled())
                app.close()
                self.assertEqual(app.wait_exit(), 0)


if __name__ == '__main__':
    harness.main()
