#!/usr/bin/env python3
"""The committed gauge catalogue (docs/gauges.md, docs/gauges/) against the module:

- regenerated with the bench (scripts/catalogue.sh), the page is the committed one to the byte,
  and so is every picture (drawing is deterministic here);
- it names every gauge of the module, in table order, each with a picture that exists (the bench
  refuses to write a blank one), and no picture is left over;
- what it says a left click sends agrees with the scenarios that click those gauges on a fresh
  placement and expect an event or a window toggle.

    check_catalogue.py BENCH
"""
import difflib
import os
import re
import subprocess
import sys
import tempfile

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
DOCS = os.path.join(ROOT, "docs")
SCENARIOS = ["tests/scenarios/module/event_buttons.scn", "tests/scenarios/module/panel_toggles.scn"]


def sections(page):
    """Gauge name -> its section's text."""
    out, name = {}, None
    for line in page.splitlines():
        if line.startswith("## "):
            name = line[3:].strip()
            out[name] = []
        elif name:
            out[name].append(line)
    return out


def area_rows(section):
    """(x, y, w, h, click text) of the clickable areas of a gauge's section."""
    rows = []
    for line in section:
        cells = [c.strip() for c in line.strip().strip("|").split(" | ")]
        if len(cells) == 7 and cells[1] == "button":
            x, y, w, h = (int(v) for v in cells[2].split(", "))
            rows.append((x, y, w, h, cells[6]))
    return rows


def scenario_clicks(path):
    """(gauge, x, y, what the catalogue should say) for each left click on a placement without
    parameter text that the next line expects an event or a toggle of."""
    pairs, pending, with_params = [], None, set()
    for line in open(os.path.join(ROOT, path)):
        words = line.split("#")[0].split()
        if not words:
            continue
        if words[0] == "install" and "params" in words:
            with_params.add(words[1])
        if pending and words[:2] == ["expect", "event"]:
            param = int(words[3], 0) if len(words) > 3 else 0
            pairs.append(pending + ("left: sends %s%s" % (words[2], " %d" % param if param else ""),))
        elif pending and words[:2] == ["expect", "toggle"]:
            pairs.append(pending + ("left: toggles window %d" % int(words[2], 0),))
        pending = None
        if words[0] == "click" and len(words) == 4 and words[1] not in with_params:
            pending = (words[1], int(words[2]), int(words[3]))
    return pairs


def main():
    bench = sys.argv[1]
    problems = []
    names = [line.split()[1] for line in subprocess.run([bench, "list"], capture_output=True, text=True,
                                                           check=True).stdout.splitlines()]
    with tempfile.TemporaryDirectory() as tmp:
        subprocess.run([os.path.join(ROOT, "scripts/catalogue.sh"), bench, tmp], check=True, stdout=subprocess.DEVNULL)
        fresh = open(os.path.join(tmp, "gauges.md"), encoding="utf-8").read()
        committed = open(os.path.join(DOCS, "gauges.md"), encoding="utf-8").read()
        if fresh != committed:
            diff = list(difflib.unified_diff(committed.splitlines(), fresh.splitlines(), "docs/gauges.md",
                                             "regenerated", lineterm="", n=1))
            problems.append("docs/gauges.md is out of date (run `make catalogue`):\n" + "\n".join(diff[:40]))
        stale = []
        for name in names:
            rel = os.path.join("gauges", name + ".png")
            ours, theirs = os.path.join(DOCS, rel), os.path.join(tmp, rel)
            if not os.path.isfile(ours):
                problems.append("docs/%s is missing" % rel)
            elif open(ours, "rb").read() != open(theirs, "rb").read():
                stale.append(rel)
        if stale:
            problems.append("pictures out of date (run `make catalogue`): " + ", ".join(stale))
    extra = sorted(set(os.listdir(os.path.join(DOCS, "gauges"))) - {n + ".png" for n in names})
    if extra:
        problems.append("docs/gauges holds pictures of no gauge: " + ", ".join(extra))

    listed = re.findall(r"^\| \d+ \| \[`([^`]+)`\]", committed, re.M)
    if listed != names or len(names) != 92:
        problems.append("the page lists %d gauges %s; the module has %d" % (len(listed), listed[:3], len(names)))
    found = sections(committed)
    for name in names:
        if name not in found or "![%s](gauges/%s.png)" % (name, name) not in found[name]:
            problems.append("the page has no section with a picture for " + name)

    checked = 0
    for path in SCENARIOS:
        for gauge, x, y, want in scenario_clicks(path):
            rows = [r for r in area_rows(found.get(gauge, [])) if r[0] <= x < r[0] + r[2] and r[1] <= y < r[1] + r[3]]
            said = rows[0][4] if rows else "no area at %d, %d" % (x, y)
            checked += 1
            if not said.startswith(want):
                problems.append("%s: a click on %s at %d, %d: the scenario expects '%s', the catalogue says '%s'"
                                % (path, gauge, x, y, want, said))
    if checked < 4:
        problems.append("only %d scenario clicks found to compare with" % checked)

    for p in problems:
        print(p)
    if not problems:
        print("docs/gauges.md is current: %d gauges, %d pictures, %d scenario clicks agree" % (len(names), len(names), checked))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
