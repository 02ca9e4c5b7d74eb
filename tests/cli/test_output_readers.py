"""The outputs of pointlink convert read back by the programs of a
surveyor's office: GeoJSON by GDAL (and strict JSON), LandXML by an XML
parser, CSV by a CSV reader; for points whose names and marks are GBK,
cp1252 and UTF-8, each named by --encoding.

    test_output_readers.py PROGRAM      the native program

Runs with Debian's Python (/usr/bin/python3), which has GDAL's bindings
(python3-gdal).
"""

import csv
import io
import json
import math
import os
import shutil
import subprocess
import sys
import tempfile
import unittest
import xml.etree.ElementTree as ET

from osgeo import ogr

ogr.UseExceptions()

PROGRAM = None
LANDXML = '{http://www.landxml.org/schema/LandXML-1.2}'

# Names and marks in each code page (a TopCom name holds anything but ',',
# a mark anything but white space), then ASCII ones that the formats write
# each in their own way.
TEXTS = {
    'gbk': [('电线', '电线杆'), ('测站1', '树'), ('P3', '路灯')],
    'cp1252': [('Café', '€uro'), ('é€', 'Straße'), ('Œuvre', '½')],
    'utf-8': [('été', '树'), ('Ω1', 'Ärger'), ('📍', '€')],
}
ASCII = [('a&<>"\'\tb', '&<>"\''), ('', ''), ('P"Q', 'A,B"')]
# E, N, Z of the points in turn; -0.00004 is written as 0.0000.
PLACES = [(200.25, 100.5, 3.0), (-0.00004, -0.0, -1.5), (-1.5, -2.5, 1000.0), (7.0, 8.0, 9.0),
          (1e6, -1e6, 0.00005), (0.0, 0.0, -0.00004)]


def points(encoding):
    """(name, mark, E, N, Z) of the fixture of an encoding, texts as str."""
    texts = TEXTS[encoding] + ASCII
    return [text + place for text, place in zip(texts, PLACES)]


def topcom(encoding, fixture):
    return b''.join(b'%s,%r,%r,%r,%s\r\n' % (name.encode(encoding), e, n, z, mark.encode(encoding))
                    for name, mark, e, n, z in fixture)


def same_number(test, got, expected):
    """A coordinate as written with four decimals, zero without a sign."""
    test.assertEqual(got, round(expected, 4) + 0.0)
    test.assertEqual(math.copysign(1.0, got), math.copysign(1.0, round(expected, 4) + 0.0))


class Scratch(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix='pointlink-readers-')
        self.addCleanup(shutil.rmtree, self.dir, True)

    def path(self, name):
        return os.path.join(self.dir, name)

    def convert(self, source, to, encoding, out='out'):
        with open(self.path('in.pts'), 'wb') as f:
            f.write(source)
        done = subprocess.run([PROGRAM, 'convert', 'in.pts', '--from', 'topcom', '--to', to,
                               '--encoding', encoding, '-o', out],
                              cwd=self.dir, capture_output=True, timeout=60)
        return done.returncode, done.stderr.decode('utf-8', 'replace')

    def converted(self, source, to, encoding):
        code, messages = self.convert(source, to, encoding)
        self.assertEqual(code, 0, messages)
        with open(self.path('out'), 'rb') as f:
            data = f.read()
        self.assertNotIn(b'-0.0000', data)
        return data


class ReadBack(Scratch):
    def test_geojson_reads_as_the_survey_in_gdal_and_strict_json(self):
        for encoding in TEXTS:
            with self.subTest(encoding=encoding):
                fixture = points(encoding)
                data = self.converted(topcom(encoding, fixture), 'geojson', encoding)
                features = json.loads(data.decode('utf-8'))['features']
                self.assertEqual([(f['properties']['name'], f['properties']['mark']) for f in features],
                                 [point[:2] for point in fixture])
                os.rename(self.path('out'), self.path('out.geojson'))
                source = ogr.Open(self.path('out.geojson'))  # held while its layer is read
                layer = source.GetLayer(0)
                self.assertEqual(layer.GetFeatureCount(), len(fixture))
                for feature, (name, mark, e, n, z) in zip(layer, fixture):
                    self.assertEqual((feature.GetField('name'), feature.GetField('mark')), (name, mark))
                    geometry = feature.GetGeometryRef()
                    for got, expected in zip((geometry.GetX(), geometry.GetY(), geometry.GetZ()), (e, n, z)):
                        same_number(self, got, expected)

    def test_landxml_reads_as_the_survey_in_an_xml_parser(self):
        for encoding in TEXTS:
            with self.subTest(encoding=encoding):
                fixture = points(encoding)
                root = ET.fromstring(self.converted(topcom(encoding, fixture), 'landxml', encoding))
                self.assertEqual(root.tag, LANDXML + 'LandXML')
                self.assertEqual(root.get('version'), '1.2')
                self.assertRegex(root.get('date'), r'^\d{4}-\d\d-\d\d$')
                self.assertRegex(root.get('time'), r'^\d\d:\d\d:\d\d$')
                self.assertIn('LandXML-1.2.xsd', root.get('{http://www.w3.org/2001/XMLSchema-instance}'
                                                          'schemaLocation'))
                metric = root.find(LANDXML + 'Units/' + LANDXML + 'Metric')
                self.assertEqual(metric.get('linearUnit'), 'meter')
                cgpoints = root.findall(LANDXML + 'CgPoints/' + LANDXML + 'CgPoint')
                self.assertEqual(len(cgpoints), len(fixture))
                for cgpoint, (name, mark, e, n, z) in zip(cgpoints, fixture):
                    # An empty text is no attribute at all.
                    self.assertEqual((cgpoint.get('name'), cgpoint.get('code')), (name or None, mark or None))
                    values = [float(v) for v in cgpoint.text.split(' ')]
                    self.assertEqual(len(values), 3)
                    for got, expected in zip(values, (n, e, z)):  # northing first
                        same_number(self, got, expected)

    def test_csv_keeps_the_bytes_of_the_points_code_page(self):
        for encoding in TEXTS:
            with self.subTest(encoding=encoding):
                fixture = points(encoding)
                data = self.converted(topcom(encoding, fixture), 'csv', encoding)
                rows = list(csv.reader(io.StringIO(data.decode('latin-1'), newline='')))
                self.assertEqual(rows[0], ['name', 'mark', 'N', 'E', 'Z'])
                self.assertEqual([(row[0].encode('latin-1'), row[1].encode('latin-1')) for row in rows[1:]],
                                 [(name.encode(encoding), mark.encode(encoding)) for name, mark, *_ in fixture])
                for row, (_, _, e, n, z) in zip(rows[1:], fixture):
                    for got, expected in zip(row[2:], (n, e, z)):
                        same_number(self, float(got), expected)
                self.assertIn(b'\r\n"P""Q","A,B""",', data)  # quoted where a field needs it
                self.assertIn(b'\r\n"a&<>""\'\tb","&<>""\'",', data)


class Refusals(Scratch):
    def test_a_point_an_output_cannot_hold_leaves_no_file_and_the_old_target(self):
        cases = [  # the text of the second point, the format, the encoding, what the message names
            (b'\xff', 'geojson', 'utf-8', '--encoding'),
            (b'\xff', 'landxml', 'utf-8', '--encoding'),
            (b'\xb5', 'landxml', 'gbk', '--encoding'),  # a character cut short
            (b'a\x01', 'landxml', 'utf-8', 'control character'),
            (b'a\x1b', 'landxml', 'gbk', 'control character'),
        ]
        if self.convert(b'\x81,1,2,3\r\n', 'geojson', 'cp1252', 'probe')[0] != 0:  # no character of cp1252 here
            cases.append((b'\x81', 'geojson', 'cp1252', '--encoding'))
        if os.path.exists(self.path('probe')):
            os.remove(self.path('probe'))
        for text, to, encoding, named in cases:
            with self.subTest(text=text, to=to, encoding=encoding):
                for out in ('new', 'old'):
                    if out == 'old':
                        with open(self.path(out), 'wb') as f:
                            f.write(b'old')
                    elif os.path.exists(self.path(out)):
                        os.remove(self.path(out))
                    code, messages = self.convert(b'P1,1,2,3,M\r\n%s,1,2,3,M\r\n' % text, to, encoding, out)
                    self.assertEqual(code, 1, messages)
                    self.assertRegex(messages, r'(?m)^in\.pts:2: ')
                    self.assertIn(named, messages)
                    self.assertEqual(sorted(os.listdir(self.dir)), ['in.pts', out] if out == 'old' else ['in.pts'])
                    if out == 'old':
                        with open(self.path(out), 'rb') as f:
                            self.assertEqual(f.read(), b'old')
                os.remove(self.path('old'))


def main():
    global PROGRAM
    PROGRAM = os.path.abspath(sys.argv[1])
    tests = unittest.TestLoader().loadTestsFromModule(sys.modules[__name__])
    result = unittest.TextTestRunner(verbosity=2).run(tests)
    sys.exit(0 if result.wasSuccessful() else 1)


if __name__ == '__main__':
    main()
