"""pointlink's positions in WGS 84 checked against PROJ's own answers
(pyproj, the same PROJ and database), its KML read back by an XML parser
and by GDAL, and --crs as a user meets it: the zone that the eastings
carry, systems that do not exist, points outside the area of use.

    test_crs.py PROGRAM              the native program
    test_crs.py --wine PROGRAM.exe   the Windows console program under Wine,
                                     in a folder of its own with the proj.db
                                     that ships (RUVO_PROJ_DB), in the
                                     end-to-end tests' Wine prefix

Needs Debian's python3 (pyproj, osgeo).
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ElementTree

from osgeo import ogr
from pyproj import CRS, Transformer

HERE = os.path.dirname(os.path.abspath(__file__))
KML = '{http://www.opengis.net/kml/2.2}'
TOLERANCE = 1e-8  # degrees: a millimetre is 1e-8 degrees and more

COMMAND = []
WINE_ENV = None


def grid_of(crs, points):
    """Grid E, N of WGS 84 (longitude, latitude) points in a system."""
    to_grid = Transformer.from_crs('EPSG:4326', crs, always_xy=True)
    return [to_grid.transform(lon, lat) for lon, lat in points]


# The systems and the points in them: (what --crs says, [(lon, lat)]).
CASES = [
    # CGCS2000, 3-degree zone 38, its eastings with the zone in front.
    ('EPSG:4526', [(114.0, 30.0), (113.2, 22.1), (115.1, 44.9), (114.5, 36.123456789)]),
    # Near the edges of zone 38 (112.5 and 115.5 E) and of zone 45.
    ('EPSG:4526', [(112.5001, 21.6), (115.4999, 45.4), (112.5000001, 35.0), (115.4999999, 25.0)]),
    ('EPSG:4533', [(133.5001, 45.9), (134.7699, 48.3)]),
    # A 6-degree zone of the older datum.
    ('EPSG:21413', [(75.0, 38.0), (73.7, 35.5)]),
    # A UTM zone as a PROJ string.
    ('+proj=utm +zone=50 +datum=WGS84', [(117.0, 30.0), (114.1, 0.5), (119.9, 60.0)]),
    ('+proj=utm +zone=33 +south +datum=WGS84', [(15.0, -33.9), (12.1, -10.0)]),
]


class Result:
    def __init__(self, code, out, err):
        self.code, self.out, self.err = code, out, err.decode('utf-8', 'replace').replace('\r\n', '\n')


class Scratch(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix='pointlink-crs-')

    def tearDown(self):
        shutil.rmtree(self.dir, ignore_errors=True)

    def path(self, name):
        return os.path.join(self.dir, name)

    def run_program(self, *args, command=None):
        with tempfile.TemporaryFile() as fout, tempfile.TemporaryFile() as ferr:
            code = subprocess.run((command or COMMAND) + list(args), cwd=self.dir, stdin=subprocess.DEVNULL,
                                  stdout=fout, stderr=ferr, env=WINE_ENV, timeout=120).returncode
            fout.seek(0)
            ferr.seek(0)
            return Result(code, fout.read(), ferr.read())

    def topcom(self, name, points):
        """A TopCom file of (name, E, N, Z, mark) points."""
        with open(self.path(name), 'wb') as f:
            for point in points:
                f.write(b'%s,%.4f,%.4f,%.4f,%s\r\n' % point)

    def convert(self, to, crs, source='in.pts', output='out'):
        result = self.run_program('convert', source, '--from', 'topcom', '--to', to, '-o', output, '--crs', crs)
        self.assertEqual((result.code, result.err), (0, ''), (to, crs))
        with open(self.path(output), 'rb') as f:
            return f.read()

    def assert_position(self, got, expected, what):
        self.assertLess(abs(got[0] - expected[0]), TOLERANCE, (what, got, expected))
        self.assertLess(abs(got[1] - expected[1]), TOLERANCE, (what, got, expected))


class CrsTests(Scratch):

    def test_every_position_is_pyprojs_in_geojson_and_kml_read_by_xml_and_gdal(self):
        import json
        for crs, lonlats in CASES:
            grid = grid_of(crs, lonlats)
            marks = [b'TREE', b'ROAD', b''] * len(grid)
            points = [(b'P%d' % i, e, n, 10.0 + i, marks[i]) for i, (e, n) in enumerate(grid)]
            self.topcom('in.pts', points)
            # The grid coordinates as the file holds them, to PROJ's answer.
            to_wgs84 = Transformer.from_crs(crs, 'EPSG:4326', always_xy=True)
            expected = [to_wgs84.transform(round(e, 4), round(n, 4)) for _, e, n, _, _ in points]

            features = json.loads(self.convert('geojson', crs))['features']
            self.assertEqual(len(features), len(points))
            for feature, point, position in zip(features, points, expected):
                lon, lat, z = feature['geometry']['coordinates']
                self.assert_position((lon, lat), position, (crs, 'geojson', point))
                self.assertEqual(z, point[3])
                self.assertEqual(feature['properties'], {'name': point[0].decode(), 'mark': point[4].decode()})

            kml = self.convert('kml', crs)
            # By an XML parser: a folder per mark in the order they came,
            # each with its points in order.
            document = ElementTree.fromstring(kml).find(KML + 'Document')
            folders = document.findall(KML + 'Folder')
            order = list(dict.fromkeys(point[4] for point in points))
            self.assertEqual([f.findtext(KML + 'name', '').encode() for f in folders], order)
            placemarks = {}
            for folder in folders:
                for placemark in folder.findall(KML + 'Placemark'):
                    mark = placemark.findtext('%sExtendedData/%sData/%svalue' % (KML, KML, KML), '')
                    self.assertEqual(mark, folder.findtext(KML + 'name', ''))
                    lon, lat, z = map(float, placemark.findtext('%sPoint/%scoordinates' % (KML, KML)).split(','))
                    placemarks[placemark.findtext(KML + 'name')] = (lon, lat, z)
            self.assertEqual(len(placemarks), len(points))
            for point, position in zip(points, expected):
                lon, lat, z = placemarks[point[0].decode()]
                self.assert_position((lon, lat), position, (crs, 'kml', point))
                self.assertEqual(z, point[3])

            # By GDAL: a layer per folder, named as the mark.
            source = ogr.Open(self.path('out'))
            self.assertIsNotNone(source, crs)
            read = {}
            for index in range(source.GetLayerCount()):
                layer = source.GetLayer(index)
                for feature in layer:
                    geometry = feature.GetGeometryRef()
                    read[feature.GetField('Name')] = (layer.GetName(), geometry.GetX(), geometry.GetY())
            self.assertEqual(len(read), len(points), crs)
            for point, position in zip(points, expected):
                layer, lon, lat = read[point[0].decode()]
                if point[4]:
                    self.assertEqual(layer, point[4].decode())
                self.assert_position((lon, lat), position, (crs, 'kml by GDAL', point))

    def test_kml_needs_a_system_and_names_the_zone_the_eastings_carry(self):
        self.topcom('in.pts', [(b'P1', 38512345.567, 3320000.123, 1.0, b'TREE')])
        self.topcom('utm.pts', [(b'P1', 512345.567, 3320000.123, 1.0, b'TREE')])
        with open(self.path('old.kml'), 'wb') as f:
            f.write(b'old')
        for source, zone in (('in.pts', 38), ('utm.pts', None)):
            result = self.run_program('convert', source, '--from', 'topcom', '--to', 'kml', '-o', 'old.kml')
            self.assertEqual(result.code, 2, result.err)
            self.assertIn('--crs', result.err)
            codes = re.findall(r'EPSG:(\d+) \(([^)]*)\)', result.err)
            if zone:
                self.assertEqual([name for _, name in codes],
                                 ['%s / 3-degree Gauss-Kruger zone 38' % datum
                                  for datum in ('CGCS2000', 'Beijing 1954', 'Xian 1980')])
            else:
                self.assertIn('EPSG:4526', result.err)
            for code, name in codes:
                self.assertEqual(CRS.from_epsg(int(code)).name, name)
        with open(self.path('old.kml'), 'rb') as f:
            self.assertEqual(f.read(), b'old')

    def test_a_system_proj_does_not_know_or_cannot_use_is_wrong_usage(self):
        self.topcom('in.pts', [(b'P1', 38512345.567, 3320000.123, 1.0, b'TREE')])
        for crs, to, reason in (('EPSG:99999', 'kml', 'not found'), ('nonsense', 'geojson', ''),
                                ('EPSG:4978', 'kml', 'geocentric'), ('EPSG:4526', 'csv', 'geojson and kml'),
                                ('EPSG:4526', 'landxml', 'grid')):
            result = self.run_program('convert', 'in.pts', '--from', 'topcom', '--to', to, '-o', 'out',
                                      '--crs', crs)
            self.assertEqual(result.code, 2, (crs, result.err))
            self.assertRegex(result.err, r'^pointlink: --crs')
            self.assertIn(reason, result.err)
            self.assertFalse(os.path.exists(self.path('out')), crs)

    def test_points_outside_the_area_of_use_are_written_and_counted(self):
        # Zone 38's points named as zone 39: a wrong zone.
        grid = grid_of('EPSG:4526', [(114.0, 30.0), (114.1, 30.1), (114.2, 30.2)])
        self.topcom('in.pts', [(b'P%d' % i, e, n, 0.0, b'') for i, (e, n) in enumerate(grid)])
        result = self.run_program('convert', 'in.pts', '--from', 'topcom', '--to', 'kml', '-o', 'out',
                                  '--crs', 'EPSG:4527')
        self.assertEqual(result.code, 0, result.err)
        self.assertIn('in.pts:1: warning: 3 points lie outside the area of use of EPSG:4527', result.err)
        self.assertIn('zone 38: EPSG:4526 (CGCS2000 / 3-degree Gauss-Kruger zone 38)', result.err)
        self.assertEqual(open(self.path('out'), 'rb').read().count(b'<Placemark>'), 3)
        # N and E swapped in a UTM zone: the warning says so.
        e, n = grid_of('EPSG:32650', [(117.5, 20.0)])[0]
        self.topcom('swapped.pts', [(b'S1', n, e, 0.0, b''), (b'S2', e, n, 0.0, b'')])
        result = self.run_program('convert', 'swapped.pts', '--from', 'topcom', '--to', 'geojson', '-o', 'out',
                                  '--crs', 'EPSG:32650')
        self.assertEqual(result.code, 0, result.err)
        self.assertIn('swapped.pts:1: warning: 1 point lies outside', result.err)
        self.assertIn('N and E look swapped', result.err)
        # Grid coordinates with no position at all: nothing written.
        self.topcom('far.pts', [(b'F1', 3320000.0, 38512345.0, 0.0, b'')])
        result = self.run_program('convert', 'far.pts', '--from', 'topcom', '--to', 'kml', '-o', 'out',
                                  '--crs', 'EPSG:4526')
        self.assertEqual(result.code, 1)
        self.assertIn('far.pts:1: point "F1" cannot be written as kml: its N and E', result.err)

    def test_the_help_names_the_zones_by_pyprojs_codes(self):
        result = self.run_program('convert', '--help')
        self.assertEqual(result.code, 0)
        text = result.out.decode()
        ranges = re.findall(r'(\d)-degree zones (\d+)-(\d+): (.*)', text)
        self.assertEqual(len(ranges), 2, text)
        for degrees, first, last, systems in ranges:
            kind = '3-degree Gauss-Kruger zone' if degrees == '3' else 'Gauss-Kruger zone'
            found = re.findall(r'(CGCS2000|Beijing 1954|Xian 1980) EPSG:(\d+)-(\d+)', systems)
            self.assertEqual(len(found), 3, systems)
            for datum, low, high in found:
                self.assertEqual(int(high) - int(low), int(last) - int(first))
                for zone in range(int(first), int(last) + 1):
                    name = CRS.from_epsg(int(low) + zone - int(first)).name
                    self.assertEqual(name, '%s / %s %d' % (datum, kind, zone))
        named = re.findall(r'EPSG:(\d+), (CGCS2000 / [^)]*zone \d+)\)', text)
        self.assertEqual(named, [('4526', 'CGCS2000 / 3-degree Gauss-Kruger zone 38')])
        for code, name in named + \
                re.findall(r'EPSG:(\d+): zone (50N)', text):
            self.assertTrue(CRS.from_epsg(int(code)).name.endswith(name), (code, name))


class WindowsDatabaseTests(Scratch):
    """pointlink.exe without the proj.db it ships with."""

    def test_a_missing_database_is_said_plainly(self):
        alone = os.path.join(self.dir, 'alone')
        os.mkdir(alone)
        shutil.copy(COMMAND[-1], alone)
        self.topcom('in.pts', [(b'P1', 38512345.567, 3320000.123, 1.0, b'TREE')])
        result = self.run_program('convert', 'in.pts', '--from', 'topcom', '--to', 'kml', '-o', 'out', '--crs',
                                  'EPSG:4526', command=['wine', os.path.join(alone, os.path.basename(COMMAND[-1]))])
        self.assertEqual(result.code, 1, result.err)
        self.assertIn("PROJ's database proj.db is missing from", result.err)
        self.assertFalse(os.path.exists(self.path('out')))


def main():
    global COMMAND, WINE_ENV
    args = sys.argv[1:]
    tests = unittest.TestLoader().loadTestsFromTestCase(CrsTests)
    if args and args[0] == '--wine':
        sys.path.insert(0, os.path.join(HERE, '..', 'e2e'))
        import harness
        try:
            run = harness.current_run()
        except unittest.SkipTest as skip:
            print('skipped: %s' % skip)
            sys.exit(77)
        WINE_ENV = run.env()
        # The program as it ships: proj.db beside it.
        folder = tempfile.mkdtemp(prefix='pointlink-exe-')
        shutil.copy(args[1], folder)
        shutil.copy(os.environ['RUVO_PROJ_DB'], folder)
        COMMAND = ['wine', os.path.join(folder, os.path.basename(args[1]))]
        tests.addTests(unittest.TestLoader().loadTestsFromTestCase(WindowsDatabaseTests))
    else:
        COMMAND = [os.path.abspath(args[0])]
    result = unittest.TextTestRunner(verbosity=2).run(tests)
    if args and args[0] == '--wine':
        shutil.rmtree(folder, ignore_errors=True)
    sys.exit(0 if result.wasSuccessful() else 1)


if __name__ == '__main__':
    main()
