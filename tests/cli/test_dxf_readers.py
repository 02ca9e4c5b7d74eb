"""pointlink's DXF as the readers of a surveyor's office read it: ezdxf
(audit, recover, entities, layers) and GDAL's OGR, for names and marks in
GBK, cp1252 and UTF-8, converted with --encoding. Each reader must give
every name and mark as the same characters; a mark is its layer's name
wherever a name may be that mark, else a name no other mark's layer has
(by ezdxf's own comparison, lowercase) with the mark as the layer's
description.

    test_dxf_readers.py PROGRAM

Needs Debian's python3-ezdxf and python3-gdal: run it with /usr/bin/python3.
Exits 77 (skipped) when they are missing.
"""

import os
import subprocess
import sys
import tempfile
import unittest

try:
    import ezdxf
    from ezdxf import recover
    from osgeo import gdal, ogr
except ImportError as missing:
    print('skipped: %s (python3-ezdxf and python3-gdal, with /usr/bin/python3)' % missing)
    sys.exit(77)

PROGRAM = None

# Points (name, mark, N, E, Z) whose texts every encoding has: marks that
# differ only in case or punctuation, marks a layer's name cannot be, '%',
# '^' and control characters in names, negative zero.
SHARED = [
    ('P1', 'TREE', 100.5, 200.25, 3.0),
    ('P2', 'tree', 1.0, 2.0, 3.0),
    ('P3', 'Tree', 1.0, 2.0, 3.0),
    ('T1', 'TREE.1', 1.0, 2.0, 3.0),
    ('T2', 'TREE 1', 1.0, 2.0, 3.0),
    ('T3', 'tree_1', 1.0, 2.0, 3.0),
    ('50%', 'a/b', 1.0, 2.0, 3.0),
    ('5% slope', 'a_b', 1.0, 2.0, 3.0),
    ('%%p', 'a:b', 1.0, 2.0, 3.0),
    ('a%%%b', ' lead', 1.0, 2.0, 3.0),
    ('x^y', 'trail ', 1.0, 2.0, 3.0),
    ('tab\there', 'x\ty', 1.0, 2.0, 3.0),
    ('c\x01d', '0', 1.0, 2.0, 3.0),
    ('', 'Defpoints', 1.0, 2.0, 3.0),
    ('NZ', '', -0.00001, -0.0, -0.00004),
    ('P1', 'TREE', -1.5, -2.5, -3.5),
]
# Texts of one encoding each.
OWN = {
    'gbk': [('点1', '树', 5.0, 6.0, 7.0), ('電%', '杆 A', 5.0, 6.0, 7.0), ('线', '树/杆', 5.0, 6.0, 7.0)],
    'cp1252': [('café', 'Été', 5.0, 6.0, 7.0), ('€5', 'été', 5.0, 6.0, 7.0), ('Ünï', 'ÉTÉ', 5.0, 6.0, 7.0)],
    'utf-8': [('点1', 'ДОМ', 5.0, 6.0, 7.0), ('Ω%', 'дом', 5.0, 6.0, 7.0), ('📍1', 'été', 5.0, 6.0, 7.0),
              ('é', '树', 5.0, 6.0, 7.0)],
}

NOT_IN_NAMES = set('<>/\\":;?*|,=`')
CAD_CODES = {'p': '±', 'd': '°', 'c': '⌀'}


def layer_name_allowed(mark):
    """A mark that a layer's name may be as it is."""
    return (mark != '' and mark[0] != ' ' and mark[-1] != ' '
            and not any(c in NOT_IN_NAMES or ord(c) < 0x20 or 0x7f <= ord(c) <= 0x9f for c in mark))


def caret_text(raw):
    """A DXF string with its caret forms decoded: ^J is LF, "^ " is '^'."""
    out, i = [], 0
    while i < len(raw):
        if raw[i] == '^' and i + 1 < len(raw):
            out.append('^' if raw[i + 1] == ' ' else chr(ord(raw[i + 1]) - 0x40))
            i += 2
        else:
            out.append(raw[i])
            i += 1
    return ''.join(out)


def cad_text(raw):
    """What CAD draws for a TEXT's value: its control codes (%%p ±, %%d °,
    %%c ⌀, %%% one '%', %%u and %%o no character, %%nnn the character of
    that number) and caret forms decoded."""
    out, i = [], 0
    while i < len(raw):
        if raw.startswith('%%', i) and i + 2 < len(raw):
            code = raw[i + 2].lower()
            if code == '%':
                out.append('%')
                i += 3
                continue
            if code in CAD_CODES:
                out.append(CAD_CODES[code])
                i += 3
                continue
            if code in 'uo':
                i += 3
                continue
            if raw[i + 2:i + 5].isdigit() and len(raw[i + 2:i + 5]) == 3:
                out.append(chr(int(raw[i + 2:i + 5])))
                i += 5
                continue
        if raw[i] == '^' and i + 1 < len(raw):
            out.append(caret_text(raw[i:i + 2]))
            i += 2
            continue
        out.append(raw[i])
        i += 1
    return ''.join(out)


def groups(data):
    """The (code, value) pairs of an ASCII DXF file."""
    lines = data.decode('utf-8').split('\n')
    return [(int(lines[i]), lines[i + 1]) for i in range(0, len(lines) - 1, 2)]


def layer_table(pairs):
    """The names of the LAYER table's entries, in order."""
    names, in_table, entry = [], False, False
    for code, value in pairs:
        if (code, value) == (2, 'LAYER'):
            in_table = True
        elif in_table and (code, value) == (0, 'ENDTAB'):
            break
        elif in_table and code == 0:
            entry = value == 'LAYER'
        elif in_table and entry and code == 2:
            names.append(value)
    return names


def convert(points, encoding, folder):
    """The DXF of points written as SV300 lines in encoding."""
    source = os.path.join(folder, 'in.svf')
    target = os.path.join(folder, 'out.dxf')
    with open(source, 'wb') as f:
        for row, (name, mark, n, e, z) in enumerate(points, 1):
            name_bytes, mark_bytes = name.encode(encoding), mark.encode(encoding)
            assert len(name_bytes) <= 9 and len(mark_bytes) <= 13, (name, mark)
            f.write(b'%d,%s,%s,%r,%r,%r\r\n' % (row, name_bytes, mark_bytes, n, e, z))
    done = subprocess.run([PROGRAM, 'convert', source, '--from', 'sv300', '--to', 'dxf', '--encoding', encoding,
                           '-o', target], capture_output=True, timeout=60)
    assert done.returncode == 0, done.stderr.decode('utf-8', 'replace')
    with open(target, 'rb') as f:
        return target, f.read()


class ReadersTest(unittest.TestCase):

    def check_layers(self, points, layers):
        """layers: each point's layer, as a reader gives it. The same mark
        on the same layer; its own name where it may be (ezdxf's lowercase
        comparison, in the order of first appearance); no two marks on
        layers that a reader takes for one."""
        taken, by_mark = {'0', 'defpoints'}, {'': '0'}
        for (_, mark, _, _, _), layer in zip(points, layers):
            if mark in by_mark:
                self.assertEqual(layer, by_mark[mark], mark)
                continue
            own = layer_name_allowed(mark) and mark.lower() not in taken
            self.assertEqual(layer == mark, own, (mark, layer))
            self.assertTrue(layer_name_allowed(layer), layer)
            self.assertNotIn(layer.lower(), taken, (mark, layer))
            taken.add(layer.lower())
            by_mark[mark] = layer
        return by_mark

    def read_back(self, encoding):
        points = SHARED + OWN[encoding]
        with tempfile.TemporaryDirectory() as folder:
            path, data = convert(points, encoding, folder)
            self.assertNotIn(b'-0.0000', data)

            doc = ezdxf.readfile(path)
            auditor = doc.audit()
            self.assertEqual([e.message for e in auditor.errors + auditor.fixes], [], encoding)
            _, recovered = recover.readfile(path)
            self.assertEqual([e.message for e in recovered.errors + recovered.fixes], [], encoding)
            self.assertEqual(doc.header['$ACADVER'], 'AC1021')
            self.assertEqual(doc.header['$DWGCODEPAGE'], 'ANSI_65001')

            entities = list(doc.modelspace())
            self.assertEqual([e.dxftype() for e in entities],
                             [t for p in points for t in (['POINT', 'TEXT'] if p[0] else ['POINT'])])
            pairs, it = [], iter(entities)
            for name, _, n, e, z in points:
                point = next(it)
                text = next(it) if name else None
                self.assertEqual(tuple(point.dxf.location), (round(e, 4) + 0.0, round(n, 4) + 0.0, round(z, 4) + 0.0))
                if text is not None:
                    self.assertEqual(text.dxf.layer, point.dxf.layer)
                    self.assertEqual(tuple(text.dxf.insert), tuple(point.dxf.location))
                    self.assertEqual(text.dxf.height, 1.0)
                    self.assertEqual(cad_text(text.dxf.text), name)
                    if '%%' not in name:  # a reader without CAD's "%%%" decodes the rest alike
                        self.assertEqual(text.plain_text(), name)
                pairs.append(point.dxf.layer)
            by_mark = self.check_layers(points, pairs)

            # The table: layer 0 and a layer for each mark, the mark as the
            # description of a layer whose name is not the mark.
            self.assertEqual(layer_table(groups(data)), ['0'] + [l for m, l in by_mark.items() if m])
            for mark, layer in by_mark.items():
                if mark and layer != mark:
                    self.assertEqual(caret_text(doc.layers.get(layer).description), mark)

            # GDAL: the same layers and names, with no complaint but the
            # recoding from CP65001 that its iconv cannot name.
            messages = []
            gdal.PushErrorHandler(lambda _class, _number, message: messages.append(message))
            try:
                source = ogr.Open(path)  # kept: its layer and features die with it
                features = list(source.GetLayer(0))
            finally:
                gdal.PopErrorHandler()
            self.assertEqual(set(m for m in messages if 'CP65001' not in m), set(), encoding)
            self.assertEqual(len(features), len(entities))
            it = iter(features)
            for (name, _, n, e, z), layer in zip(points, pairs):
                for feature in [next(it)] + ([next(it)] if name else []):
                    self.assertEqual(feature.GetField('Layer'), layer)
                    geometry = feature.GetGeometryRef()
                    self.assertEqual((geometry.GetX(), geometry.GetY(), geometry.GetZ()),
                                     (round(e, 4), round(n, 4), round(z, 4)))
                if name and '%%' not in name:
                    self.assertEqual(feature.GetField('Text'), name)

    def test_gbk(self):
        self.read_back('gbk')

    def test_cp1252(self):
        self.read_back('cp1252')

    def test_utf8(self):
        self.read_back('utf-8')


def main():
    global PROGRAM
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    PROGRAM = os.path.abspath(sys.argv.pop(1))
    unittest.main()


if __name__ == '__main__':
    main()
