"""The list's "Export for CAD/GIS...": the entry of the list's menu, its Save
dialog with its types (test_cad_gis_wgs84.py: the two in WGS 84), and files that say what pointlink's say for the
same points (read back with Debian's ezdxf, json and an XML parser, as the
programs of a surveyor's office read them), in the system's code page of
each language: cp1252 in English, GBK in Chinese. The list's modified state
stays as it was."""

import json
import os
import sys
import time
import xml.etree.ElementTree as ElementTree

sys.dont_write_bytecode = True

import e2e_run  # noqa: E402
import harness  # noqa: E402
from e2e_transfers import TransferTestCase  # noqa: E402
from harness import IDOK, VK_ESCAPE  # noqa: E402
from test_import_export import FileCase  # noqa: E402
from test_transfer_errors import NEVER_MS  # noqa: E402

MENU_TEXT = {'en': '&Export for CAD/GIS...', 'zh': '导出到 CAD/GIS(&E)...'}
TYPES = ['CSV (*.csv)', 'DXF (*.dxf)', 'GeoJSON (*.geojson)', 'LandXML (*.xml)', 'KML (WGS 84) (*.kml)',
         'GeoJSON (WGS 84) (*.geojson)']
# Dialog type number: (pointlink's format, extension), the grid types.
FORMATS = {1: ('csv', '.csv'), 2: ('dxf', '.dxf'), 3: ('geojson', '.geojson'), 4: ('landxml', '.xml')}

# TopCom lines (name,E,N,Z,mark) in each language's code page: letters
# beyond ASCII, marks that differ only in case, a name that CAD would read
# as a control code, negative zero.
SURVEYS = {
    'en': ('cp1252', ['Café,200.25,100.5,3,Straße',
                      'Ü-2,1234.5678,-0.00001,-12.3,Baum',
                      '%%p1,8,7,9,baum']),
    'zh': ('gbk', ['北1,200.25,100.5,3,树木',
                   '南-2,1234.5678,-0.00001,-12.3,围墙',
                   '%%p1,8,7,9,树木!']),
}


def read_dxf(path):
    """What CAD sees in a drawing: its code page, its layers, and each
    entity's type, layer, place and text."""
    import ezdxf  # Debian's python3-ezdxf, under /usr/bin/python3
    doc = ezdxf.readfile(path)
    entities = []
    for entity in doc.modelspace():
        place = entity.dxf.location if entity.dxftype() == 'POINT' else entity.dxf.insert
        entities.append((entity.dxftype(), entity.dxf.layer, tuple(round(c, 4) for c in place),
                         entity.dxf.text if entity.dxftype() == 'TEXT' else None))
    return {'codepage': doc.header.get('$DWGCODEPAGE'), 'layers': sorted(layer.dxf.name for layer in doc.layers),
            'entities': entities}


def local(tag):
    return tag.rsplit('}', 1)[-1]


def read_landxml(path):
    """The units and the points of a LandXML file (not the time it was written)."""
    root = ElementTree.parse(path).getroot()
    units = [(local(e.tag), sorted(e.attrib.items())) for u in root.iter() if local(u.tag) == 'Units' for e in u]
    points = [(sorted(e.attrib.items()), e.text) for e in root.iter() if local(e.tag) == 'CgPoint']
    return {'units': units, 'points': points}


def read_back(number, path):
    if number == 1:
        with open(path, 'rb') as f:
            return f.read()
    if number == 2:
        return read_dxf(path)
    if number == 3:
        with open(path, encoding='utf-8') as f:
            return json.load(f)
    return read_landxml(path)


class CadGisCase(FileCase):
    def survey(self, lang):
        """The language's fixture as a TopCom file: its path, code page, names
        and marks."""
        encoding, lines = SURVEYS[lang]
        path = self.write('survey-%s.pts' % lang, b''.join(line.encode(encoding) + b'\r\n' for line in lines))
        names = [line.split(',')[0] for line in lines]
        marks = [line.split(',')[4] for line in lines]
        return path, encoding, names, marks

    def open_cad_gis(self, app):
        """Chooses the list's menu entry by its access key; returns the Save dialog."""
        menu = app.list_menu()
        app.key(ord('E'))
        menu.wait_gone()
        return app.wait_file_dialog()

    def export_cad_gis(self, app, path, number):
        dialog = self.open_cad_gis(app)
        self.assertEqual(dialog.types(), TYPES)
        self.confirm(app, dialog, path, number)

    def pointlink(self, lang, source, encoding, number, target):
        """pointlink.exe of the same build, under Wine in the same language."""
        exe = os.path.join(harness.bin_dir(), 'pointlink.exe')
        run = harness.current_run()
        code = run.run_wine([exe, 'convert', e2e_run.windows_path(source), '--from', 'topcom', '--to',
                             FORMATS[number][0], '--encoding', encoding, '-o', e2e_run.windows_path(target)],
                            lang=lang)
        self.assertEqual(code, 0, 'pointlink failed; see %s' % os.path.join(run.logs_dir, 'wine-commands.log'))


class SameAsPointlink(CadGisCase):
    def check_language(self, program, lang):
        source, encoding, names, marks = self.survey(lang)
        app = self.launch(program, lang=lang)
        self.import_file(app, source, 2)
        self.assertEqual(app.row_count(), 3)
        for number, (name, extension) in FORMATS.items():
            with self.subTest(program=program, lang=lang, format=name):
                # A bare name gets the type's extension.
                self.export_cad_gis(app, self.path('%s-%s' % (program, lang)), number)
                written = self.path('%s-%s%s' % (program, lang, extension))
                reference = self.path('pointlink-%s-%s%s' % (program, lang, extension))
                self.pointlink(lang, source, encoding, number, reference)
                self.assertEqual(read_back(number, written), read_back(number, reference))
                # The UTF-8 types carry the code page's characters (a DXF its
                # names; its layers may only be named after the marks).
                if number != 1:
                    shown = json.dumps(read_back(number, written), ensure_ascii=False, default=str)
                    for text in names + (marks if number != 2 else []):
                        self.assertIn(json.dumps(text, ensure_ascii=False)[1:-1], shown)
        # Nothing can import these files again: the list is as unsaved as it was.
        self.assert_modified(app, False)

    def test_each_type_in_english(self):
        self.check_language('korvellink', 'en')

    def test_each_type_in_chinese(self):
        self.check_language('tassinlink', 'zh')


class Behaviour(CadGisCase):
    def test_the_entry_keeps_modified_and_refuses_a_point_it_cannot_carry(self):
        app = self.launch('korvellink')
        self.append(app, name='HAND')
        self.export_cad_gis(app, self.path('hand'), 3)
        self.assertTrue(os.path.exists(self.path('hand.geojson')))
        self.assert_modified(app, True)

        # A mark with a control character: LandXML refuses it before any
        # file is made; the old file stays.
        self.write('keep.xml', b'old')
        self.import_file(app, self.write('ctrl.pts', b'CTRL,2,1,3,A\x01B\r\n'), 2, question=IDOK)
        self.export_cad_gis(app, self.path('keep.xml'), 4)
        self.assertEqual(self.error_box(app), 'Point 2 (CTRL) has a control character in its name or mark, '
                                              'which LandXML cannot carry.\nNothing was written.')
        self.assertEqual(self.read('keep.xml'), b'old')
        self.assertEqual(sorted(os.listdir(self.dir)), ['ctrl.pts', 'hand.geojson', 'keep.xml'])

        # Cancel writes nothing.
        dialog = self.open_cad_gis(app)
        dialog.cancel()
        dialog.wait_gone()
        app.sync()
        self.assertEqual(app.other_windows(), [])
        self.assertEqual(sorted(os.listdir(self.dir)), ['ctrl.pts', 'hand.geojson', 'keep.xml'])

    def test_a_name_that_is_no_text_of_the_code_page_is_refused(self):
        # 0xFF starts no GBK character.
        app = self.launch('tassinlink', lang='zh')
        self.import_file(app, self.write('bad.pts', b'OK,1,2,3,M\r\nBAD\xff,1,2,3,M\r\n'), 2)
        self.export_cad_gis(app, self.path('bad'), 3)
        text = self.error_box(app)
        self.assertTrue(text.startswith('第2点（BAD'), text)
        self.assertTrue(text.endswith('的点号或点属性不是本系统代码页的文字，无法写入GeoJSON。\n未写出任何数据。'), text)
        self.assertEqual(sorted(os.listdir(self.dir)), ['bad.pts'])


class DuringATransfer(TransferTestCase, CadGisCase):
    def test_the_entry_is_greyed_while_a_receive_waits(self):
        app = self.launch('korvellink')
        self.import_topcom(app, [('P1', 'M', 1.0, 2.0, 3.0)])
        inst = self.instrument(app.program, 'to-pc', start_delay_ms=NEVER_MS)
        self.connect(app, 13, inst)
        self.start(app, 'to-pc')
        app.wait_caption('Wait SyncData')
        # Its access key chooses nothing: the menu closes, or stays until
        # Escape, and no Save dialog comes.
        menu = app.list_menu()
        app.key(ord('E'))
        try:
            harness.wait_until(lambda: not menu.exists(), 1.0, 'the menu to close')
        except harness.WaitTimeout:
            app.key(VK_ESCAPE)
            menu.wait_gone()
        time.sleep(0.5)
        app.sync()
        self.assertEqual(app.other_windows(), [])
        self.expect_busy(app, 'to-pc')

        self.start(app, 'to-pc')  # Cancel
        self.expect_cancel_warning(app)
        self.expect_idle(app)
        self.export_cad_gis(app, self.path('after'), 1)
        self.assertEqual(self.read('after.csv').splitlines()[1:], [b'P1,M,1.0000,2.0000,3.0000'])


if __name__ == '__main__':
    harness.main()
