#!/usr/bin/env python3
"""Reads a built Corvan_Instr.gau the way the panel system does: from the PE32 file, at the
panel system's own offsets (packed to 4 bytes, pointers 4 bytes), without the module's headers.

Follows the exported Linkage to every gauge header, element tree and mouse list, and reports each
record that the panel system would misread: a module field at the wrong place or with a value the
host cannot use, a host range that is not 0, a pointer that leads nowhere.

    read_gau.py FILE.gau               exit 0 when nothing is reported (names and widths: gauge_table.tsv)
    read_gau.py FILE.gau --self-test   faults planted in a copy are each reported
"""
import math
import os
import struct
import sys

STATIC, NEEDLE, STRING, SLIDER, ICON, MOVING, SPRITE = range(7)
KIND_NAMES = ["static image", "needle", "string", "slider", "icon", "moving image", "sprite"]
KIND_SIZE = [96, 236, 324, 192, 140, 268, 352]
# Byte ranges [first, last] that belong to the panel system in each element kind, past the header.
HOST_RANGES = {
    STATIC: [(60, 95)],
    NEEDLE: [(88, 111), (124, 223), (228, 235)],
    STRING: [(144, 191), (200, 207), (220, 247), (285, 287), (294, 299), (304, 307), (316, 323)],
    SLIDER: [(88, 91), (100, 103), (132, 135), (144, 167), (176, 191)],
    ICON: [(88, 91), (96, 99), (116, 131), (136, 139)],
    MOVING: [(88, 91), (108, 111), (140, 143), (160, 243), (252, 267)],
    SPRITE: [(88, 91), (128, 131), (168, 171), (188, 315), (328, 351)],
}
SOURCES = {NEEDLE: [60], STRING: [60, 88, 116], SLIDER: [60, 104], ICON: [60],
           MOVING: [60, 112], SPRITE: [60, 100, 140]}
CALLBACKS = {NEEDLE: [224], STRING: [312], SLIDER: [168, 172], ICON: [132], MOVING: [244, 248],
             SPRITE: [316, 320, 324]}
# Header ranges the host owns: previous position, owning gauge, previous element, special flags, reserved.
HEADER_HOST = [(16, 23), (32, 39), (52, 59)]
GAUGE_HOST = [(12, 43), (48, 79), (96, 203)]
# f64 fields that must be finite: slider scales, moving-image limits, sprite scales.
FINITE = {SLIDER: [92, 136], MOVING: [92, 100, 144, 152], SPRITE: [92, 132, 172]}
EXECUTABLE, INITIALISED, WRITABLE = 0x20000000, 0x40, 0x80000000  # section flags


class Image:
    """The PE32 file mapped by virtual address, as the loader would place it at its image base."""

    def __init__(self, data):
        self.data = data
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("not a PE file")
        machine, nsec, _, _, _, optsize, _ = struct.unpack_from("<HHIIIHH", data, pe + 4)
        opt = pe + 24
        if machine != 0x14C or struct.unpack_from("<H", data, opt)[0] != 0x10B:
            raise ValueError("not a PE32 i386 file")
        self.base = struct.unpack_from("<I", data, opt + 28)[0]
        self.export_rva, = struct.unpack_from("<I", data, opt + 96)
        self.resource_rva, = struct.unpack_from("<I", data, opt + 112)
        self.sections = []
        for i in range(nsec):
            s = opt + optsize + 40 * i
            name = data[s:s + 8].rstrip(b"\0").decode("latin-1")
            vsize, rva, rawsize, rawptr = struct.unpack_from("<IIII", data, s + 8)
            flags = struct.unpack_from("<I", data, s + 36)[0]
            self.sections.append((name, rva, max(vsize, rawsize), rawsize, rawptr, flags))

    def section(self, va):
        rva = va - self.base
        for sec in self.sections:
            if sec[1] <= rva < sec[1] + sec[2]:
                return sec
        return None

    def flags(self, va):
        sec = self.section(va)
        return sec[5] if sec else 0

    def read(self, va, size):
        sec = self.section(va)
        if sec is None or va - self.base + size > sec[1] + sec[2]:
            raise ValueError("0x%08X+%d lies outside the image" % (va, size))
        off = va - self.base - sec[1]
        raw = self.data[sec[4] + off: sec[4] + min(off + size, sec[3])] if off < sec[3] else b""
        return raw + b"\0" * (size - len(raw))  # past the raw data: zero-filled, as loaded

    def file_offset(self, va):
        sec = self.section(va)
        return sec[4] + va - self.base - sec[1]

    def u32(self, va):
        return struct.unpack("<I", self.read(va, 4))[0]

    def text(self, va, limit=256):
        out = b""
        while len(out) < limit and (c := self.read(va + len(out), 1)) != b"\0":
            out += c
        return out.decode("latin-1")

    def export(self, name):
        d = self.base + self.export_rva
        count, funcs_rva, names_rva, ords_rva = struct.unpack("<IIII", self.read(d + 24, 16))
        for i in range(count):
            if self.text(self.base + self.u32(self.base + names_rva + 4 * i)) == name:
                ordinal = struct.unpack("<H", self.read(self.base + ords_rva + 2 * i, 2))[0]
                return self.base + self.u32(self.base + funcs_rva + 4 * ordinal)
        raise ValueError("no export " + name)


class Reader:
    def __init__(self, image):
        self.img = image
        self.faults = []
        self.where = ""

    def fault(self, what):
        self.faults.append("%s: %s" % (self.where, what))

    def zero(self, record, ranges, what):
        for first, last in ranges:
            if any(record[first:last + 1]):
                self.fault("%s bytes %d-%d are not 0 (the panel system's)" % (what, first, last))

    def pointer(self, va, kind, what, may_be_null=True):
        if va == 0:
            if not may_be_null:
                self.fault(what + " is null")
            return False
        flags = self.img.flags(va)
        if not (flags & EXECUTABLE if kind == "code" else flags & INITIALISED and not flags & EXECUTABLE):
            self.fault("%s 0x%08X does not point into %s" % (what, va, kind))
            return False
        return True

    def writable(self, va, what):
        if va and not self.img.flags(va) & WRITABLE:
            self.fault(what + " lies in a read-only section: the panel system writes into it")

    def list_of_pointers(self, va, what, limit=64):
        out = []
        while len(out) < limit:
            p = self.img.u32(va + 4 * len(out))
            if p == 0:
                return out
            if not self.pointer(p, "data", what):
                return out
            out.append(p)
        self.fault(what + " has no null end")
        return out

    def gauge(self, va, name, mm):
        self.where = name
        h = self.img.read(va, 204)
        self.writable(va, "gauge header")
        version, name_va, list_va = struct.unpack_from("<III", h, 0)
        width, = struct.unpack_from("<I", h, 44)
        mouse_va, callback, user, params = struct.unpack_from("<IIII", h, 80)
        if version != 800:
            self.fault("header version %d, not 800" % version)
        found = self.img.text(name_va) if self.pointer(name_va, "data", "gauge name", False) else None
        if found != name:
            self.fault("gauge name %r at byte 4, not %r" % (found, name))
        if width != mm:
            self.fault("default width %d mm at byte 44, not %d" % (width, mm))
        self.pointer(callback, "code", "gauge callback at byte 84")
        if user or params:
            self.fault("user word or parameter text (bytes 88, 92) not 0")
        self.zero(h, GAUGE_HOST, "gauge header")
        roots = self.list_of_pointers(list_va, "element list at byte 8") if self.pointer(
            list_va, "data", "element list at byte 8", False) else []
        if len(roots) != 1:
            self.fault("element list holds %d roots, not one" % len(roots))
        elif struct.unpack("<I", self.img.read(roots[0], 4))[0] != STATIC:
            self.fault("root element is not a static image")
        seen = set()
        for root in roots[:1]:
            self.element(root, seen, depth=0)
        if self.pointer(mouse_va, "data", "mouse-area list at byte 80", False):
            self.mouse_list(mouse_va)
        return len(seen)

    def element(self, va, seen, depth):
        if va in seen or depth > 16:
            self.fault("element 0x%08X reached twice" % va)
            return
        seen.add(va)
        kind = self.img.u32(va)
        if kind > SPRITE:
            self.fault("element kind %d" % kind)
            return
        e = self.img.read(va, KIND_SIZE[kind])
        label = "%s #%d" % (KIND_NAMES[kind], len(seen))
        self.writable(va, label)
        resource, = struct.unpack_from("<i", e, 4)
        if (kind == STRING) != (resource == -1):
            self.fault("%s: resource id %d" % (label, resource))
        self.zero(e, HEADER_HOST, label + " header")
        self.zero(e, HOST_RANGES[kind], label)
        for at in SOURCES.get(kind, []):
            self.zero(e, [(at + 4, at + 27)], "%s source variable at %d" % (label, at))
        for at in CALLBACKS.get(kind, []):
            self.pointer(struct.unpack_from("<I", e, at)[0], "code", "%s callback at %d" % (label, at))
        for at in FINITE.get(kind, []):
            if not math.isfinite(struct.unpack_from("<d", e, at)[0]):
                self.fault("%s: f64 at %d is not finite" % (label, at))
        getattr(self, "check_" + KIND_NAMES[kind].replace(" ", "_"), lambda e, label: None)(e, label)
        failures, = struct.unpack_from("<I", e, 44)
        if self.pointer(failures, "data", label + " failure list"):
            self.writable(failures, label + " failure list")
            for i in range(32):
                key, action, link = struct.unpack("<III", self.img.read(failures + 12 * i, 12))
                if key == 0:
                    break
                if action > 3 or link:
                    self.fault("%s failure record %d: action %d, link %d" % (label, i, action, link))
        children, = struct.unpack_from("<I", e, 40)
        if self.pointer(children, "data", label + " child list"):
            for child in self.list_of_pointers(children, label + " child list"):
                self.element(child, seen, depth + 1)

    def check_needle(self, e, label):
        table, count = struct.unpack_from("<II", e, 112)
        if struct.unpack_from("<I", e, 120)[0]:
            self.fault(label + ": maximum degrees per update (byte 120) not 0")
        if table == 0 and count == 0:
            return  # no scale table: the value is the needle's angle in degrees
        if not self.pointer(table, "data", label + " needle table at 112", False) or not 2 <= count <= 64:
            self.fault("%s: needle table of %d entries" % (label, count))
            return
        self.writable(table, label + " needle table")
        for i in range(count):
            x, y, value, degrees = struct.unpack("<iidd", self.img.read(table + 24 * i, 24))
            if not math.isfinite(value) or degrees != 0:
                self.fault("%s: table entry %d value %r, degrees %r" % (label, i, value, degrees))

    def check_string(self, e, label):
        font = e[248:280].split(b"\0")[0].decode("latin-1")
        weight, = struct.unpack_from("<I", e, 280)
        charset, flags, chars = e[284], struct.unpack_from("<I", e, 288)[0], struct.unpack_from("<H", e, 292)[0]
        if font not in ("Quartz", "Arial") or weight not in (400, 500, 700):
            self.fault("%s: font %r weight %d" % (label, font, weight))
        if charset != 1 or flags != 0x25 or not 1 <= chars <= 64:
            self.fault("%s: character set %d, text flags 0x%X, %d characters" % (label, charset, flags, chars))
        if struct.unpack_from("<I", e, 308)[0]:
            self.fault(label + ": font height (byte 308) not 0")
        highlights, = struct.unpack_from("<I", e, 300)
        if self.pointer(highlights, "data", label + " highlight list at 300"):
            for i in range(16):
                sel, first, last = struct.unpack("<iii", self.img.read(highlights + 12 * i, 12))
                if sel == 0:
                    break
                if not 0 <= first <= last < chars:
                    self.fault("%s: highlight %d characters %d-%d" % (label, sel, first, last))

    def check_icon(self, e, label):
        icon_kind, scale, offset, count = struct.unpack_from("<I4xdII", e, 92)
        if icon_kind or offset or not 1 <= count <= 64 or scale not in (0.0, 1.0) or (scale == 0 and count != 1):
            self.fault("%s: icon kind %d, scale %r, offset %d, %d icons" % (label, icon_kind, scale, offset, count))

    def check_sprite(self, e, label):
        if not all(math.isfinite(v) and v > 0 for v in struct.unpack_from("<ff", e, 180)):
            self.fault(label + ": bitmap scale factors (180, 184) not positive")

    def mouse_list(self, va):
        for i in range(256):
            kind, x, y, w, h, cursor, help_id, flags, event, target, extra = struct.unpack(
                "<IiiiiiIIIII", self.img.read(va + 44 * i, 44))
            label = "mouse area %d" % (i + 1)
            if i == 0 and kind != 1:
                self.fault("mouse list opens with kind %d, not a parent" % kind)
            if kind == 0:
                return
            if kind > 4 or not -1 <= cursor <= 7 or extra or w < 0 or h < 0:
                self.fault("%s: kind %d, cursor %d, box %d x %d, extra %d" % (label, kind, cursor, w, h, extra))
            if kind == 4:
                if target and self.pointer(target, "data", label + " tooltip text"):
                    if not self.img.text(target):
                        self.fault(label + ": empty tooltip text")
            elif kind == 2:
                self.pointer(target, "code", label + " handler")
            elif target:
                self.fault("%s: kind %d carries a pointer" % (label, kind))
        self.fault("mouse list has no end")


def read_product_data(data, table):
    img = Image(data)
    reader = Reader(img)
    reader.where = "Linkage"
    linkage = img.export("Linkage")
    module_id, init, deinit, _, _, version = struct.unpack("<IIIIII", img.read(linkage, 24))
    if module_id != 0x13 or version != 0x0900:
        reader.fault("module id 0x%X, link version 0x%X" % (module_id, version))
    reader.pointer(init, "code", "init routine", False)
    reader.pointer(deinit, "code", "deinit routine", False)
    gauges = [img.u32(linkage + 24 + 4 * i) for i in range(len(table) + 1)]
    if gauges[-1] != 0 or 0 in gauges[:-1]:
        reader.fault("the gauge list does not hold %d gauges ended by null" % len(table))
    elements = 0
    for va, (name, mm) in zip(gauges, table):
        if va:
            elements += reader.gauge(va, name, mm)
    return reader.faults, elements


def self_test(path, table):
    """The reader must see a fault planted in each kind of field it checks (a reader that reads
    nothing passes every product)."""
    data = open(path, "rb").read()
    img = Image(data)
    gauge = img.u32(img.export("Linkage") + 24 + 4 * [n for n, _ in table].index("Torque"))
    face = img.u32(img.u32(gauge + 8))
    needle = img.u32(img.u32(face + 40))
    plants = {"default width": (gauge + 44, 1), "gauge header bytes 12-43": (gauge + 20, 1),
              "needle #2 bytes 124-223": (needle + 200, 1), "needle #2: table entry 0": (img.u32(needle + 112) + 16, 1),
              "needle #2 callback at 224": (needle + 224, 1), "mouse list opens": (img.u32(gauge + 80), 2)}
    missed = []
    for expected, (va, value) in plants.items():
        planted = bytearray(data)
        planted[img.file_offset(va)] = value
        faults, _ = read_product_data(bytes(planted), table)
        if not any(expected in f for f in faults):
            missed.append(expected)
    for m in missed:
        print("read_gau: self-test: a fault planted at %r was not reported" % m)
    return 1 if missed else 0


def main(argv):
    path = argv[1] if len(argv) > 1 else "build/win32/Corvan_Instr.gau"
    table_path = os.path.join(os.path.dirname(os.path.abspath(__file__)), "gauge_table.tsv")
    table = [(n, int(mm)) for n, mm in (line.split("\t") for line in open(table_path)
                                         if line.strip() and not line.startswith("#"))]
    if "--self-test" in argv:
        return self_test(path, table)
    faults, elements = read_product_data(open(path, "rb").read(), table)
    for f in faults:
        print("read_gau: " + f)
    print("read_gau: %s: %d gauges, %d elements read at the panel system's offsets; %d faults"
          % (path, len(table), elements, len(faults)))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
