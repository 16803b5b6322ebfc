#!/usr/bin/env python3
"""Looks into the built stub: dialog 102 control by control, icon 128, the
manifest, what it imports and its size.

    check_stub_resources.py UNPACK_EXE
"""
import struct
import sys
import unittest

from pe_image import PeImage

RT_ICON, RT_DIALOG, RT_GROUP_ICON, RT_MANIFEST = 3, 5, 14, 24
STUB = None

BUTTON, STATIC = ("ordinal", 0x80), ("ordinal", 0x82)
# help id, extended style, style, x, y, cx, cy, id, class, text
EXPECTED_CONTROLS = [
    (0, 0, 0x50010000, 191, 34, 50, 14, 2, BUTTON, "Cancel"),
    (0, 0, 0x50020000, 40, 7, 200, 8, -1, STATIC, "Extracting Tarnwell files for installation......."),
    (0, 0, 0x50800000, 41, 17, 200, 11, 1001, "msctls_progress32", "Progress1"),
    (0, 0, 0x50000003, 12, 8, 20, 20, 1002, STATIC, ("ordinal", 128)),
]


class Reader:
    def __init__(self, data):
        self.data, self.at = data, 0

    def take(self, fmt):
        values = struct.unpack_from("<" + fmt, self.data, self.at)
        self.at += struct.calcsize("<" + fmt)
        return values if len(values) > 1 else values[0]

    def text(self):
        end = self.at
        while self.data[end:end + 2] != b"\0\0":
            end += 2
        value = self.data[self.at:end].decode("utf-16-le")
        self.at = end + 2
        return value

    def name_or_ordinal(self):
        first = struct.unpack_from("<H", self.data, self.at)[0]
        if first == 0xFFFF:
            self.at += 2
            return ("ordinal", self.take("H"))
        return self.text()

    def align(self):
        self.at = (self.at + 3) & ~3


class StubImage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        with open(STUB, "rb") as f:
            cls.data = f.read()
        cls.image = PeImage(cls.data)
        cls.resources = cls.image.resources()

    def test_dialog_template_matches_the_table(self):
        r = Reader(self.resources[(RT_DIALOG, 102)])
        self.assertEqual(r.take("HH"), (1, 0xFFFF), "an extended template, version 1")
        help_id, ex_style, style, count = r.take("IIIH")
        self.assertEqual((help_id, ex_style, style, count), (0, 0x00040000, 0x90C000C0, 4))
        self.assertEqual(r.take("hhhh"), (0, 0, 248, 55))
        self.assertEqual(r.name_or_ordinal(), "", "no menu")
        self.assertEqual(r.name_or_ordinal(), "", "the default dialog class")
        self.assertEqual(r.text(), "Unpacking Tarnwell ....")
        self.assertEqual(r.take("HHBB"), (8, 0, 0, 1), "8 points, weight 0, not italic, charset 1")
        self.assertEqual(r.text(), "MS Sans Serif")
        for expected in EXPECTED_CONTROLS:
            r.align()
            help_id, ex_style, style = r.take("III")
            x, y, cx, cy = r.take("hhhh")
            control_id = r.take("i")
            control_class, text = r.name_or_ordinal(), r.name_or_ordinal()
            extra = r.take("H")
            r.at += extra
            with self.subTest(control=expected[7]):
                self.assertEqual((help_id, ex_style, style, x, y, cx, cy, control_id, control_class, text), expected)
        self.assertEqual(r.at, len(r.data), "nothing after the last control")

    def test_icon_is_one_32_by_32_picture_of_16_colours(self):
        group = self.resources[(RT_GROUP_ICON, 128)]
        reserved, kind, count = struct.unpack_from("<HHH", group, 0)
        self.assertEqual((reserved, kind, count), (0, 1, 1))
        width, height, colours, _, planes, bits, size, icon_id = struct.unpack_from("<BBBBHHIH", group, 6)
        self.assertEqual((width, height, colours, planes, bits), (32, 32, 16, 1, 4))
        image = self.resources[(RT_ICON, icon_id)]
        self.assertEqual(len(image), size)
        header = struct.unpack_from("<IiiHH", image, 0)
        self.assertEqual(header, (40, 32, 64, 1, 4), "colour part and mask, 4 bits per pixel")
        self.assertEqual(len(image), 40 + 16 * 4 + 32 * 16 + 32 * 4)

    def test_manifest_asks_for_no_elevation(self):
        manifest = self.resources[(RT_MANIFEST, 1)].decode("utf-8")
        self.assertIn('level="asInvoker"', manifest)

    def test_imports_only_system_dlls_that_cannot_be_planted(self):
        # The common controls are loaded at run time from the system folder;
        # an import would be resolved from the installer's own folder first.
        libraries = sorted(name.lower() for name in self.image.imported_libraries())
        self.assertEqual(libraries, ["kernel32.dll", "msvcrt.dll", "user32.dll"])

    def test_stub_is_at_most_40_kib(self):
        self.assertLessEqual(len(self.data), 40 * 1024, f"the stub is {len(self.data)} bytes")


if __name__ == "__main__":
    STUB = sys.argv.pop(1)
    unittest.main(verbosity=2)
