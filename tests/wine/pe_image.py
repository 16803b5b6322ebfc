"""Just enough of the PE format to look at a built stub: sections, imports and resources."""
import struct


class PeImage:
    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise ValueError("no MS-DOS header")
        pe = struct.unpack_from("<I", data, 60)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("no PE header")
        sections, optional_size = struct.unpack_from("<2xH12xH", data, pe + 4)
        optional = pe + 24
        if struct.unpack_from("<H", data, optional)[0] != 0x10B:
            raise ValueError("not a 32-bit image")
        self.directories = [struct.unpack_from("<II", data, optional + 96 + 8 * i) for i in range(16)]
        self.sections = []
        table = optional + optional_size
        for i in range(sections):
            name, vsize, rva, raw_size, raw = struct.unpack_from("<8sIIII", data, table + 40 * i)
            self.sections.append((name.rstrip(b"\0").decode(), rva, max(vsize, raw_size), raw))

    def offset(self, rva):
        for _, start, size, raw in self.sections:
            if start <= rva < start + size:
                return raw + rva - start
        raise ValueError(f"address {rva:#x} lies in no section")

    def cstring(self, rva):
        at = self.offset(rva)
        return self.data[at:self.data.index(b"\0", at)].decode("ascii")

    def imported_libraries(self):
        rva, _ = self.directories[1]
        names = []
        at = self.offset(rva)
        while True:
            name_rva = struct.unpack_from("<I", self.data, at + 12)[0]
            if name_rva == 0:
                return names
            names.append(self.cstring(name_rva))
            at += 20

    def resources(self):
        """{(type, name): bytes} for the first language of each resource."""
        base_rva, _ = self.directories[2]
        base = self.offset(base_rva)

        def entries(at):
            named, ids = struct.unpack_from("<12xHH", self.data, at)
            for i in range(named + ids):
                key, target = struct.unpack_from("<II", self.data, at + 16 + 8 * i)
                yield key, target

        found = {}
        for rtype, type_dir in entries(base):
            for name, name_dir in entries(base + (type_dir & 0x7FFFFFFF)):
                _, leaf = next(entries(base + (name_dir & 0x7FFFFFFF)))
                data_rva, size = struct.unpack_from("<II", self.data, base + leaf)
                at = self.offset(data_rva)
                found[(rtype, name)] = self.data[at:at + size]
        return found
