"""The KML and GeoJSON in WGS 84 of "Export for CAD/GIS...": the coordinate-
system dialog after the Save dialog, prefilled with the system of the
Gauss-Kruger zone that the eastings carry, showing the system's name as it
is typed and refusing a text PROJ does not know; the choice kept for the
next export of the run; and positions that agree with pointlink.exe's to
1e-8 degrees, in both languages."""

import json
import os
import sys
import xml.etree.ElementTree as ElementTree

sys.dont_write_bytecode = True

import e2e_run  # noqa: E402
import harness  # noqa: E402
from harness import IDCANCEL, IDOK  # noqa: E402
from test_cad_gis_export import TYPES, CadGisCase  # noqa: E402

CRS_TEXT, CRS_NAME = harness.IDS['IDC_CRS_TEXT'], harness.IDS['IDC_CRS_NAME']
CAPTION = {'en': 'Coordinate system', 'zh': '坐标系'}
ZONE_38 = 'CGCS2000 / 3-degree Gauss-Kruger zone 38'
# TopCom lines (name,E,N,Z,mark): zone 38's eastings with the zone in front.
SURVEY = [b'K1,38512345.567,3320000.123,12.5,TREE',
          b'K2,38498765.432,3321234.5,-3,WALL',
          b'K3,38500000,3319999.999,0,TREE']


def kml_positions(path):
    root = ElementTree.parse(path).getroot()
    found = {}
    for mark in root.iter():
        if mark.tag.endswith('}Placemark'):
            name = next(e.text for e in mark if e.tag.endswith('}name'))
            text = next(e.text for e in mark.iter() if e.tag.endswith('}coordinates'))
            found[name] = [float(v) for v in text.split(',')]
    return found


def geojson_positions(path):
    with open(path, encoding='utf-8') as f:
        data = json.load(f)
    return {f['properties']['name']: f['geometry']['coordinates'] for f in data['features']}


class Wgs84Export(CadGisCase):
    def choose_type(self, app, name, number):
        dialog = self.open_cad_gis(app)
        self.assertEqual(dialog.types(), TYPES)
        dialog.set_name(self.path(name))
        dialog.choose_type(number)
        dialog.ok()
        dialog.wait_gone()

    def reference(self, lang, source, to, target):
        exe = os.path.join(harness.bin_dir(), 'pointlink.exe')
        run = harness.current_run()
        code = run.run_wine([exe, 'convert', e2e_run.windows_path(source), '--from', 'topcom', '--to', to,
                             '--crs', 'EPSG:4526', '-o', e2e_run.windows_path(target)], lang=lang)
        self.assertEqual(code, 0, 'pointlink failed; see %s' % os.path.join(run.logs_dir, 'wine-commands.log'))

    def assert_same_positions(self, written, reference):
        self.assertEqual(sorted(written), sorted(reference))
        for name, position in written.items():
            for got, expected in zip(position, reference[name]):
                self.assertAlmostEqual(got, expected, delta=1e-8, msg=name)

    def check_language(self, program, lang):
        source = self.write('survey.pts', b''.join(line + b'\r\n' for line in SURVEY))
        app = self.launch(program, lang=lang)
        self.import_file(app, source, 2)

        # KML: the zone's system is suggested and named.
        self.choose_type(app, 'globe', 5)
        crs = app.wait_box(caption=CAPTION[lang])
        self.assertEqual(crs.text(CRS_TEXT), 'EPSG:4526')
        self.assertEqual(crs.text(CRS_NAME), ZONE_38)
        # A code PROJ does not know: its reason shows as it is typed, and OK
        # leaves the dialog open.
        crs.set_text(CRS_TEXT, 'EPSG:4526000')
        reason = crs.text(CRS_NAME)
        self.assertNotIn(reason, ('', ZONE_38))
        crs.press(IDOK)
        app.sync()
        self.assertTrue(crs.exists())
        self.assertEqual(crs.text(CRS_NAME), reason)
        self.assertEqual(sorted(os.listdir(self.dir)), ['survey.pts'])
        crs.set_text(CRS_TEXT, 'EPSG:4526')
        self.assertEqual(crs.text(CRS_NAME), ZONE_38)
        crs.press(IDOK)
        crs.wait_gone()
        app.sync()
        self.assertEqual(app.other_windows(), [])
        self.reference(lang, source, 'kml', self.path('pointlink.kml'))
        self.assert_same_positions(kml_positions(self.path('globe.kml')), kml_positions(self.path('pointlink.kml')))

        # GeoJSON in WGS 84: the choice of the run comes back; Cancel first
        # writes nothing.
        self.choose_type(app, 'layer', 6)
        crs = app.wait_box(caption=CAPTION[lang])
        crs.press(IDCANCEL)
        crs.wait_gone()
        app.sync()
        self.assertFalse(os.path.exists(self.path('layer.geojson')))
        self.choose_type(app, 'layer', 6)
        crs = app.wait_box(caption=CAPTION[lang])
        self.assertEqual(crs.text(CRS_TEXT), 'EPSG:4526')
        crs.press(IDOK)
        crs.wait_gone()
        app.sync()
        self.assertEqual(app.other_windows(), [])
        self.reference(lang, source, 'geojson', self.path('pointlink.geojson'))
        self.assert_same_positions(geojson_positions(self.path('layer.geojson')),
                                   geojson_positions(self.path('pointlink.geojson')))
        self.assert_modified(app, False)

    def test_kml_and_geojson_in_english(self):
        self.check_language('korvellink', 'en')

    def test_kml_and_geojson_in_chinese(self):
        self.check_language('tassinlink', 'zh')

    def test_points_outside_the_area_of_use_are_counted_in_one_warning(self):
        # One in zone 39, written as if in zone 38.
        source = self.write('mixed.pts', SURVEY[0] + b'\r\n' + b'FAR,39512345.567,3320000.123,0,X\r\n')
        app = self.launch('korvellink')
        self.import_file(app, source, 2)
        self.choose_type(app, 'mixed', 5)
        crs = app.wait_box(caption=CAPTION['en'])
        crs.press(IDOK)
        crs.wait_gone()
        box = app.wait_box(caption='Warning')
        self.assertTrue(box.message.startswith('Points outside the area of use of EPSG:4526 (%s): 1.' % ZONE_38),
                        box.message)
        box.press(IDOK)
        box.wait_gone()
        self.assertTrue(os.path.exists(self.path('mixed.kml')))


if __name__ == '__main__':
    harness.main()
