#!/usr/bin/env python3
"""Reads a PE file's version resource (RT_VERSION) the way Windows' file properties do: the
resource directory of the .rsrc data, then VS_VERSIONINFO with its fixed part and its string table.

    pe_version.py --check VERSION FILE  checks that the resource names the product at the version
                                        the file VERSION gives
"""
import os
import struct
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "host_read"))
from read_gau import Image  # noqa: E402  the PE32 file mapped by address

RT_VERSION = 16


def version_block(pe):
    img = Image(pe)
    if not img.resource_rva:
        return None
    base = img.file_offset(img.base + img.resource_rva)

    def entries(offset):
        named, ids = struct.unpack_from("<HH", pe, base + offset + 12)
        for i in range(named + ids):
            key, target = struct.unpack_from("<II", pe, base + offset + 16 + 8 * i)
            yield key, target

    for key, target in entries(0):
        if key != RT_VERSION or not target & 0x80000000:
            continue
        node = target
        while node & 0x80000000:  # name level, then language level, down to the first leaf
            node = next(entries(node & 0x7FFFFFFF))[1]
        data_rva, size = struct.unpack_from("<II", pe, base + node)
        start = img.file_offset(img.base + data_rva)
        return pe[start:start + size]
    return None


def read_block(data, pos):
    """One VS_VERSIONINFO-style block: (key, value bytes, value type, children, end)."""
    length, value_len, value_type = struct.unpack_from("<HHH", data, pos)
    end = pos + length
    p = pos + 6
    key_end = p
    while data[key_end:key_end + 2] != b"\0\0":
        key_end += 2
    key = data[p:key_end].decode("utf-16-le")
    p = (key_end + 2 + 3) & ~3
    value_bytes = value_len * 2 if value_type == 1 else value_len
    value = data[p:p + value_bytes]
    p = (p + value_bytes + 3) & ~3
    children = []
    while p < end:
        child = read_block(data, p)
        children.append(child)
        p = (child[4] + 3) & ~3
    return key, value, value_type, children, end


def version_info(path):
    pe = open(path, "rb").read()
    block = version_block(pe)
    if block is None:
        return None
    key, fixed, _t, children, _end = read_block(block, 0)
    if key != "VS_VERSION_INFO" or struct.unpack_from("<I", fixed, 0)[0] != 0xFEEF04BD:
        raise ValueError("malformed VS_VERSION_INFO")
    ms, ls = struct.unpack_from("<II", fixed, 8)
    info = {"FixedFileVersion": "%d.%d.%d.%d" % (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)}
    for child in children:
        if child[0] != "StringFileInfo":
            continue
        for table in child[3]:
            for k, v, _vt, _c, _e in table[3]:
                info[k] = v.decode("utf-16-le").rstrip("\0")
    return info


def check(path, version):
    """The problems of FILE's version resource against VERSION (empty when there are none)."""
    info = version_info(path)
    if info is None:
        return ["%s: no version resource" % path]
    want = {"FixedFileVersion": version + ".0", "FileVersion": version, "ProductVersion": version,
            "ProductName": "Corvan_Instr", "OriginalFilename": "Corvan_Instr.gau",
            "InternalName": "Corvan_Instr.gau"}
    problems = ["%s: %s is %r, want %r" % (path, k, info.get(k), v) for k, v in want.items() if info.get(k) != v]
    for k in ("FileDescription", "LegalCopyright"):
        if not info.get(k) or "\n" in info[k]:
            problems.append("%s: %s should be one line of text, is %r" % (path, k, info.get(k)))
    return problems


if __name__ == "__main__":
    version = open(sys.argv[2]).read().strip()
    problems = check(sys.argv[3], version)
    print("\n".join(problems) or "%s carries the version resource of Corvan_Instr %s" % (sys.argv[3], version))
    sys.exit(1 if problems else 0)
