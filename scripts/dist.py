#!/usr/bin/env python3
"""Writes the release, OUT/Corvan_Instr-VERSION.zip, from the built product and the tree:

    Corvan_Instr.gau           build/win32/Corvan_Instr.gau with its debug sections stripped
    panel/panel.cfg            panels/default/panel.cfg with CRLF line endings
    INSTALL.txt                docs/install.txt with the version filled in, CRLF line endings
    catalogue/gauges.md        docs/gauges.md, the gauge catalogue
    catalogue/gauges/*.png     its pictures

The files are staged in OUT/stage first (OUT/stage/Corvan_Instr.gau is the shipped module, for
checks that read it). The zip is reproducible: fixed time stamps and permissions, files in order.
Needs neither Wine nor a 32-bit kernel: only the MinGW strip and Python.

    dist.py [--gau FILE] [--out DIR] [--strip PROGRAM]
"""
import argparse
import os
import shutil
import struct
import subprocess
import sys
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
STAMP = (2000, 1, 1, 0, 0, 0)  # every entry's time stamp


def crlf(text):
    return text.replace("\r\n", "\n").replace("\n", "\r\n")


def link_time(pe_path):
    """The TimeDateStamp of a PE file's COFF header."""
    with open(pe_path, "rb") as f:
        head = f.read(4096)
    e_lfanew = struct.unpack_from("<I", head, 0x3C)[0]
    return struct.unpack_from("<I", head, e_lfanew + 8)[0]


def stage(args, version):
    """Fills OUT/stage and returns the archive names in order with their staged paths."""
    staging = os.path.join(args.out, "stage")
    shutil.rmtree(staging, ignore_errors=True)
    os.makedirs(os.path.join(staging, "panel"))
    os.makedirs(os.path.join(staging, "catalogue", "gauges"))
    files = []

    # strip stamps the PE header with the time it runs unless SOURCE_DATE_EPOCH says otherwise:
    # the shipped module keeps the link time of the one the tests ran.
    gau = os.path.join(staging, "Corvan_Instr.gau")
    env = dict(os.environ, SOURCE_DATE_EPOCH=str(link_time(args.gau)))
    subprocess.run([args.strip, "--strip-debug", "-o", gau, args.gau], check=True, env=env)
    files.append(("Corvan_Instr.gau", gau))

    def text(name, source, transform=lambda t: t):
        with open(source, encoding="utf-8", newline="") as f:
            content = transform(f.read())
        path = os.path.join(staging, *name.split("/"))
        with open(path, "w", encoding="utf-8", newline="") as f:
            f.write(crlf(content))
        files.append((name, path))

    text("INSTALL.txt", os.path.join(ROOT, "docs", "install.txt"), lambda t: t.replace("@VERSION@", version))
    text("panel/panel.cfg", os.path.join(ROOT, "panels", "default", "panel.cfg"))

    page = os.path.join(staging, "catalogue", "gauges.md")
    shutil.copyfile(os.path.join(ROOT, "docs", "gauges.md"), page)
    files.append(("catalogue/gauges.md", page))
    pictures = os.path.join(ROOT, "docs", "gauges")
    for picture in sorted(os.listdir(pictures)):
        path = os.path.join(staging, "catalogue", "gauges", picture)
        shutil.copyfile(os.path.join(pictures, picture), path)
        files.append(("catalogue/gauges/" + picture, path))
    return files


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--gau", default=os.path.join(ROOT, "build", "win32", "Corvan_Instr.gau"))
    parser.add_argument("--out", default=os.path.join(ROOT, "dist"))
    parser.add_argument("--strip", default="i686-w64-mingw32-strip")
    args = parser.parse_args()
    if not os.path.isfile(args.gau):
        sys.exit("dist: %s is missing (build the win32 preset: make build-win32)" % args.gau)
    version = open(os.path.join(ROOT, "VERSION")).read().strip()

    files = stage(args, version)
    zip_path = os.path.join(args.out, "Corvan_Instr-%s.zip" % version)
    with zipfile.ZipFile(zip_path + ".part", "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
        for name, path in files:
            info = zipfile.ZipInfo(name, STAMP)
            info.create_system = 0  # MS-DOS: no Unix owner or mode bits
            info.compress_type = zipfile.ZIP_DEFLATED
            with open(path, "rb") as f:
                z.writestr(info, f.read(), compresslevel=9)
    os.replace(zip_path + ".part", zip_path)
    print("%s: %d files, %d bytes" % (os.path.relpath(zip_path), len(files), os.path.getsize(zip_path)))


if __name__ == "__main__":
    main()
