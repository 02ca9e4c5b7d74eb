"""The Chinese texts, shown when the user-interface language is Simplified
Chinese."""

import sys

sys.dont_write_bytecode = True

import harness  # noqa: E402
from harness import (ID_ABOUT, ID_APPEND, ID_CLEAR_ALL, ID_CLOSE, ID_DELETE, ID_EDIT, ID_EXPORT,  # noqa: E402
                     ID_IMPORT, ID_RECV, ID_SEND, IDOK, PROGRAMS)

CAPTIONS = {
    'korvellink': 'RuvoworksKorvel全站仪通讯软件',
    'tassinlink': 'RuvoworksTassin全站仪通讯软件',
}
HEADERS = {
    'korvellink': ['点号', '点属性', 'E', 'N', 'Z'],
    'tassinlink': ['点号', '点属性', 'N', 'E', 'Z'],
}
LABELS = {
    ID_IMPORT: '导入文件...', ID_EXPORT: '导出文件...', ID_RECV: '接收', ID_SEND: '发送',
    ID_APPEND: '添加', ID_DELETE: '删除', ID_EDIT: '修改', ID_CLEAR_ALL: '总清',
    ID_ABOUT: '关于', ID_CLOSE: '关闭',
}


class ChineseTexts(harness.E2ETestCase):
    def test_main_window_and_about_box_in_chinese(self):
        for program in PROGRAMS:
            with self.subTest(program=program):
                app = self.launch(program, lang='zh')
                self.assertEqual(app.caption, CAPTIONS[program])
                self.assertEqual(app.headers(), HEADERS[program])
                self.assertEqual({i: app.text(i) for i in LABELS}, LABELS)
                self.assertEqual(app.port_items(), harness.port_box_items())
                app.click(ID_ABOUT)
                box = app.wait_box()
                self.assertEqual(box.caption, '关于本软件')
                self.assertEqual(box.text(IDOK), '关闭')
                box.press(IDOK)
                box.wait_gone()
                app.click(ID_CLOSE)
                self.assertEqual(app.wait_exit(), 0)


if __name__ == '__main__':
    harness.main()
