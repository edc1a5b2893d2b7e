#!/usr/bin/env python3
"""The release zip, made by scripts/dist.py into a temporary folder:

- it is named after VERSION and holds exactly the module, panel/panel.cfg, INSTALL.txt and the
  catalogue (its page and one picture per gauge), and the same tree makes the same bytes again;
- the text files have CRLF line endings; the panel is the default panel, the guide tells where
  the module goes, how a panel.cfg places a gauge, the default panel's windows, the SSE2 it needs
  and how to uninstall;
- the module has no debug sections, carries the version resource of VERSION, passes the static
  checks of the built product, and is build/win32/Corvan_Instr.gau stripped of its debug sections
  (stripped here again, independently), which itself is left as it was.

    check_dist.py
"""
import hashlib
import os
import re
import struct
import subprocess
import sys
import tempfile
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import pe_version  # noqa: E402

BUILT = os.path.join(ROOT, "build", "win32", "Corvan_Instr.gau")
OBJDUMP = "i686-w64-mingw32-objdump"


def digest(path):
    return hashlib.sha256(open(path, "rb").read()).hexdigest()


def make_zip(out):
    subprocess.run([sys.executable, os.path.join(ROOT, "scripts", "dist.py"), "--out", out], check=True,
                   stdout=subprocess.DEVNULL)
    return [os.path.join(out, f) for f in os.listdir(out) if f.endswith(".zip")]


def debug_sections(path):
    out = subprocess.run([OBJDUMP, "-h", path], capture_output=True, text=True, check=True).stdout
    return re.findall(r"^\s*\d+\s+(\.debug\S*)", out, re.M)


def crlf_problems(name, data):
    lines = data.split(b"\r\n")
    if any(b"\n" in line or b"\r" in line for line in lines) or lines[-1] != b"":
        return ["%s: lines do not all end in CRLF" % name]
    return []


def main():
    version = open(os.path.join(ROOT, "VERSION")).read().strip()
    problems = []
    if not os.path.isfile(BUILT):
        print("missing %s (build the win32 preset)" % BUILT)
        return 1
    built_before = digest(BUILT)
    with tempfile.TemporaryDirectory() as tmp:
        zips = make_zip(os.path.join(tmp, "a"))
        if [os.path.basename(z) for z in zips] != ["Corvan_Instr-%s.zip" % version]:
            print("dist wrote %s, want Corvan_Instr-%s.zip" % (zips, version))
            return 1
        again = make_zip(os.path.join(tmp, "b"))
        if open(zips[0], "rb").read() != open(again[0], "rb").read():
            problems.append("two runs of dist over the same tree made different zips")

        z = zipfile.ZipFile(zips[0])
        names = z.namelist()
        pictures = sorted(os.listdir(os.path.join(ROOT, "docs", "gauges")))
        want = ["Corvan_Instr.gau", "INSTALL.txt", "panel/panel.cfg", "catalogue/gauges.md"] + \
               ["catalogue/gauges/" + p for p in pictures]
        if sorted(names) != sorted(want):
            problems.append("the zip holds %s; missing %s" % (sorted(set(names) - set(want)) or "nothing else",
                                                             sorted(set(want) - set(names)) or "nothing"))
        page = z.read("catalogue/gauges.md").decode("utf-8")
        if page != open(os.path.join(ROOT, "docs", "gauges.md"), encoding="utf-8").read():
            problems.append("catalogue/gauges.md is not docs/gauges.md")

        panel = z.read("panel/panel.cfg")
        guide = z.read("INSTALL.txt")
        problems += crlf_problems("panel/panel.cfg", panel) + crlf_problems("INSTALL.txt", guide)
        source = open(os.path.join(ROOT, "panels", "default", "panel.cfg"), "rb").read()
        if panel.replace(b"\r\n", b"\n") != source.replace(b"\r\n", b"\n"):
            problems.append("panel/panel.cfg is not panels/default/panel.cfg")
        text = guide.decode("utf-8")
        titles = re.findall(r"^Window\d+=(.+?)\s*$", source.decode("cp1252"), re.M)
        facts = [version, "Gauges folder", "gaugeNN=Corvan_Instr!Name, x, y[, w[, h]]", "SSE2", "Uninstalling",
                 "Delete Corvan_Instr.gau"] + titles
        missing = [f for f in facts if f not in text]
        if missing or "@VERSION@" in text or len(titles) < 2:
            problems.append("INSTALL.txt does not tell %s" % missing)

        gau = os.path.join(tmp, "shipped.gau")
        with open(gau, "wb") as f:
            f.write(z.read("Corvan_Instr.gau"))
        if debug_sections(gau):
            problems.append("the shipped module has debug sections: %s" % debug_sections(gau))
        if not debug_sections(BUILT) or digest(BUILT) != built_before:
            problems.append("dist changed build/win32/Corvan_Instr.gau")
        problems += pe_version.check(gau, version)
        head = open(BUILT, "rb").read(4096)
        stamp = struct.unpack_from("<I", head, struct.unpack_from("<I", head, 0x3C)[0] + 8)[0]
        restripped = os.path.join(tmp, "restripped.gau")
        subprocess.run(["i686-w64-mingw32-objcopy", "--strip-debug", BUILT, restripped], check=True,
                       env=dict(os.environ, SOURCE_DATE_EPOCH=str(stamp)))
        if open(restripped, "rb").read() != open(gau, "rb").read():
            problems.append("the shipped module is not build/win32/Corvan_Instr.gau stripped of its debug sections")
        for reader in (["tests", "check_win32_product.sh"], ["tests", "host_read", "read_gau.py"]):
            check = subprocess.run([os.path.join(ROOT, *reader), gau], capture_output=True, text=True)
            if check.returncode != 0:
                problems.append("the shipped module fails %s: %s" % (reader[-1], check.stdout.strip()))
        size = os.path.getsize(zips[0])

    for p in problems:
        print(p)
    if not problems:
        print("Corvan_Instr-%s.zip: %d files, %d bytes, as expected" % (version, len(names), size))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
