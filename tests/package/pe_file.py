"""Reads what the package tests check in a 32-bit Windows program file: its
headers, sections, imported functions and resources.

Standard library only.
"""

import struct

RT_VERSION = 16
RT_MANIFEST = 24


class PeFile:
    def __init__(self, data):
        self.data = data
        if data[:2] != b'MZ':
            raise ValueError('not a program file')
        pe = struct.unpack_from('<I', data, 0x3C)[0]
        if data[pe:pe + 4] != b'PE\0\0':
            raise ValueError('no PE header')
        (self.machine, sections, _, self.symbol_table, self.symbol_count, optional_size,
         self.characteristics) = struct.unpack_from('<HHIIIHH', data, pe + 4)
        optional = pe + 24
        self.magic = struct.unpack_from('<H', data, optional)[0]
        self.subsystem = struct.unpack_from('<H', data, optional + 68)[0]
        directories = optional + 96
        self.directories = [struct.unpack_from('<II', data, directories + 8 * i) for i in range(16)]
        self.sections = []
        table = optional + optional_size
        for i in range(sections):
            name, virtual_size, address, raw_size, raw_offset = struct.unpack_from('<8sIIII', data, table + 40 * i)
            self.sections.append((name.rstrip(b'\0').decode('latin-1'), address, max(virtual_size, raw_size),
                                  raw_offset))

    def _offset(self, rva):
        for _, address, size, raw in self.sections:
            if address <= rva < address + size:
                return rva - address + raw
        raise ValueError('address %#x lies in no section' % rva)

    def _string(self, rva):
        start = self._offset(rva)
        return self.data[start:self.data.index(b'\0', start)].decode('latin-1')

    def section_names(self):
        return [s[0] for s in self.sections]

    def imports(self):
        """{dll name (lower case): [function names]}."""
        rva = self.directories[1][0]
        found = {}
        offset = self._offset(rva)
        while True:
            lookup, _, _, name, thunks = struct.unpack_from('<IIIII', self.data, offset)
            if not name:
                return found
            functions = found.setdefault(self._string(name).lower(), [])
            entry = self._offset(lookup or thunks)
            while True:
                value = struct.unpack_from('<I', self.data, entry)[0]
                if not value:
                    break
                functions.append('#%d' % (value & 0xFFFF) if value & 0x80000000 else self._string(value + 2))
                entry += 4
            offset += 20

    def resources(self):
        """{(type id, name id): [data of each language]} of the resources
        with numeric types and names."""
        rva = self.directories[2][0]
        base = self._offset(rva)
        found = {}

        def entries(offset):
            named, numbered = struct.unpack_from('<HH', self.data, base + offset + 12)
            for i in range(named + numbered):
                ident, target = struct.unpack_from('<II', self.data, base + offset + 16 + 8 * i)
                yield ident, target

        for type_id, type_target in entries(0):
            if type_id & 0x80000000 or not type_target & 0x80000000:
                continue
            for name_id, name_target in entries(type_target & 0x7FFFFFFF):
                if name_id & 0x80000000 or not name_target & 0x80000000:
                    continue
                for _, leaf in entries(name_target & 0x7FFFFFFF):
                    data_rva, size = struct.unpack_from('<II', self.data, base + leaf)
                    start = self._offset(data_rva)
                    found.setdefault((type_id, name_id), []).append(self.data[start:start + size])
        return found


def read(path):
    with open(path, 'rb') as f:
        return PeFile(f.read())
