#!/usr/bin/env python3
"""Drives `corvan-bench serve`'s JSON interface over the default panel on a free loopback port:
the page and a window picture, the simulation switch, token variables, bad requests (unknown
windows and gauges, points outside, wrong methods, oversized and non-form bodies: 4xx, nothing
changed), other sites kept out, the moving map of the demo's closed-loop flight and fly flying it,
a Windows-1252 panel, and a clean stop on SIGTERM. The server is
killed whatever happens. (What a person does on the page is in tests/browser.)

usage: serve_page_test.py BENCH PANEL [SCENARIO]
"""
import json
import os
import queue
import re
import signal
import subprocess
import sys
import tempfile
import threading
import time
import urllib.error
import urllib.parse
import urllib.request

START_TIMEOUT = 90   # the sanitized bench loads and installs 92 gauges first
REQUEST_TIMEOUT = 20
POLLS = 40           # state polls while waiting for an event, a quarter second apart
RADIO_STACK = 50
MAIN_PANEL = 0
# Radios_Toggle sits at 20,572 scaled to 38x38 on the main panel; its bitmap is half that.
RADIOS_TOGGLE_POINT = (39, 591)
PANEL_TOGGLE_EVENT = "0x103CA"

failures = []


def check(ok, what):
    if not ok:
        failures.append(what)
        print("FAIL:", what)
    return ok


class Page:
    def __init__(self, port):
        self.base = "http://127.0.0.1:%d" % port

    def request(self, path, data=None, headers=None):
        body = data if isinstance(data, bytes) or data is None else urllib.parse.urlencode(data).encode()
        req = urllib.request.Request(self.base + path, data=body, headers=headers or {})
        try:
            with urllib.request.urlopen(req, timeout=REQUEST_TIMEOUT) as r:
                return r.status, r.headers.get("Content-Type", ""), r.read()
        except urllib.error.HTTPError as e:
            return e.code, e.headers.get("Content-Type", ""), e.read()

    def post(self, path, data, headers=None):
        status, _, body = self.request(path, data, {"X-Corvan-Bench": "1"} if headers is None else headers)
        return status, json.loads(body)

    def state(self):
        status, _, body = self.request("/api/state")
        check(status == 200, "GET /api/state answers 200")
        return json.loads(body)

    def window_open(self, ident):
        return {w["ident"]: w["open"] for w in self.state()["windows"]}[ident]

    def wait_for_event(self, event_id, param, after_seq):
        for _ in range(POLLS):
            for e in self.state()["events"]:
                if e["seq"] > after_seq and e["id"] == event_id and e["param"] == param:
                    return e
            time.sleep(0.25)
        return None

    def last_seq(self):
        return max([e["seq"] for e in self.state()["events"]] or [0])

    def click(self, window, x, y, button="left"):
        status, answer = self.post("/api/mouse", {"window": window, "x": x, "y": y, "button": button, "action": "press"})
        self.post("/api/mouse", {"window": window, "x": x, "y": y, "button": button, "action": "release"})
        return status, answer


def png_size(data):
    if data[:8] != b"\x89PNG\r\n\x1a\n" or data[12:16] != b"IHDR":
        return None
    return int.from_bytes(data[16:20], "big"), int.from_bytes(data[20:24], "big")


def exercise(page):
    status, kind, body = page.request("/")
    check(status == 200 and kind.startswith("text/html"), "GET / serves HTML")
    check(b"/api/mouse" in body and b"/window/" in body and b"http" not in body.replace(b"http://127.0.0.1", b"").replace(b"http://www.w3.org/2000/svg", b""),
          "the page drives the bench and loads nothing from elsewhere")

    status, kind, body = page.request("/window/%d.png" % MAIN_PANEL)
    check(status == 200 and kind == "image/png", "GET a window picture")
    check(png_size(body) == (1600, 620), "the main panel's picture is a PNG of its size_mm, got %r" % (png_size(body),))
    check(page.request("/window/4242.png")[0] == 404, "an unknown window is 404")

    # With simulation off the toggle's event is only logged: the radio stack stays open.
    check(page.post("/api/simulate", {"on": 0})[0] == 200, "simulation off")
    check(page.state()["simulate"] is False, "the state shows simulation off")
    seq = page.last_seq()
    page.click(MAIN_PANEL, *RADIOS_TOGGLE_POINT)
    check(page.wait_for_event(PANEL_TOGGLE_EVENT, RADIO_STACK, seq) is not None, "logged with simulation off")
    check(page.window_open(RADIO_STACK), "with simulation off the window does not change")
    page.post("/api/simulate", {"on": 1})

    # A click on the window's background reaches no gauge; one outside the window none either.
    check(page.click(MAIN_PANEL, 1590, 610)[1].get("gauge") is None, "a click on the bare panel reaches no gauge")
    check(page.click(MAIN_PANEL, 5000, 10)[0] == 400, "a press outside the window is refused")
    # Repeats and drags with nothing pressed are ignored.
    check(page.post("/api/mouse", {"window": 0, "x": 1, "y": 1, "action": "drag"})[0] == 200, "a stray drag is harmless")

    # Token variables.
    check(page.post("/api/var", {"id": "0x3D", "value": "123.5"})[0] == 200, "set a token variable")
    status, _, body = page.request("/api/var?id=3D")
    check(status == 200 and json.loads(body)["value"] == 123.5, "read it back, got %r" % body)
    check(page.post("/api/var", {"id": "0x3D", "value": "nan"})[0] == 200, "NaN is a value a gauge must survive")
    check(page.request("/window/%d.png" % MAIN_PANEL)[0] == 200, "the panel draws with NaN airspeed")
    page.post("/api/var", {"id": "0x3D", "value": "123.5"})

    # Bad requests are refused and name what is wrong.
    for data in ({"window": 0, "x": "a", "y": 1}, {"window": 0, "x": 1, "y": 1, "button": "middle"},
                 {"window": 0, "x": 1, "y": 1, "action": "dance"}, {"window": "x", "x": 1, "y": 1}):
        check(page.post("/api/mouse", data)[0] == 400, "bad mouse request %r is 400" % data)
    check(page.post("/api/mouse", {"window": 777, "x": 1, "y": 1})[0] == 404, "click on an unknown window is 404")
    for data in ({"id": "zz", "value": 1}, {"id": "0x123456789", "value": 1}, {"id": "0x10", "value": "1e999"},
                 {"id": "0x10", "value": ""}):
        check(page.post("/api/var", data)[0] == 400, "bad variable %r is 400" % data)
    check(page.post("/api/simulate", {"on": "maybe"})[0] == 400, "simulate takes 1 or 0")
    for data in ({"key": 0, "on": 1}, {"key": "x", "on": 1}, {"key": 3, "on": 2}):
        check(page.post("/api/fail", data)[0] == 400, "bad failure %r is 400" % data)
    check(page.request("/api/gauge?name=Nope")[0] == 404, "an unknown gauge is 404")
    check(page.request("/api/gauge?name=Airspeed&nth=9")[0] == 404, "a placement the panel lacks is 404")
    check(page.request("/api/areas?window=4242")[0] == 404, "the areas of an unknown window are 404")
    check(page.request("/api/state?vars=zz")[0] == 400, "a bad variable list is 400")
    check(page.request("/api/nowhere")[0] == 404, "an unknown path is 404")
    # Wrong methods, oversized and non-form bodies.
    check(page.request("/api/mouse")[0] == 405, "GET on a POST-only path is 405")
    check(page.request("/api/state", b"", {"X-Corvan-Bench": "1"})[0] == 405, "POST on a GET-only path is 405")
    big = {"X-Corvan-Bench": "1", "Content-Type": "application/x-www-form-urlencoded"}
    check(page.request("/api/var", b"id=0x3D&value=" + b"9" * 100000, big)[0] == 413, "an oversized body is 413")
    check(page.request("/api/var", b'{"id": "0x3D", "value": 5}',
                       {"X-Corvan-Bench": "1", "Content-Type": "application/json"})[0] == 415, "a JSON body is 415")
    status, _, body = page.request("/api/var?id=3D")
    check(json.loads(body)["value"] == 123.5, "the refused requests left the airspeed as it was")

    # Other sites cannot drive it: POSTs need the page's header, requests must name the loopback.
    check(page.post("/api/simulate", {"on": 0}, headers={})[0] == 403, "a POST without the page's header is 403")
    check(page.request("/api/state", headers={"Host": "example.com"})[0] == 403, "a foreign Host header is 403")
    check(page.state()["simulate"] is True, "the refused POST changed nothing")

    # The map of the demo's flight: the world's stations, the aircraft on the localizer east of the
    # field; fly flies it on (west and down), and stopping it holds it where it got to.
    status, _, body = page.request("/api/map")
    m = json.loads(body) if status == 200 else {"beacons": [], "aircraft": {}}
    check(sorted(b["kind"] for b in m["beacons"]) == ["DME", "GS", "IM", "LOC", "MM", "NDB", "OM", "VOR-DME"],
          "the map lists the world's stations, got %r" % m["beacons"])
    a = m["aircraft"]
    check(m.get("loop") and not m.get("flying") and abs(a.get("heading", 0) - 270) < 3 and a.get("lon", 0) > 7.5 and
          len(m.get("track", [])) > 10, "the demo left the aircraft on the localizer with a track behind it: %r" % a)
    check(page.post("/api/fly", {"on": 1})[0] == 200 and page.state()["flying"], "fly on")
    time.sleep(1.5)
    b = json.loads(page.request("/api/map")[2])["aircraft"]
    check(b["lon"] < a["lon"] and b["altitude"] < a["altitude"], "flying on: west and down, %r then %r" % (a, b))
    page.post("/api/fly", {"on": 0})
    b = json.loads(page.request("/api/map")[2])["aircraft"]
    time.sleep(0.5)
    check(json.loads(page.request("/api/map")[2])["aircraft"] == b, "fly off holds the aircraft")

    # The window box of the page closes a window as the simulator's menu would.
    check(page.post("/api/window", {"ident": RADIO_STACK, "open": 0})[0] == 200, "close a window from the page")
    check(not page.window_open(RADIO_STACK), "the radio stack is closed")


# A panel whose window title is not UTF-8 (Windows-1252, as the simulator's files often are).
ODD_PANEL = b"""[Window Titles]
Window00=Cabin 20\xb0
[Window00]
size_mm=100,60
ident=10007
gauge00=Other!Radios_Toggle, 50,10 // another module's, under one of our names
gauge01=Corvan_Instr!Radios_Toggle, 10,10,38,38,t10007
gauge02=Corvan_Instr!Airspeed, 10,two
[Vcockpit01]
gauge00=Corvan_Instr!Airspeed, 0,0,100
"""


def exercise_odd_panel(page):
    status, _, body = page.request("/api/state")
    check(status == 200, "the state of a panel with a Windows-1252 title is served")
    windows = json.loads(body)["windows"] if status == 200 else []
    check(len(windows) == 1 and windows[0]["title"].startswith("Cabin 20"), "its window is listed, got %r" % windows)
    status, _, body = page.request("/window/10007.png")
    check(png_size(body) == (100, 60), "its window is drawn")
    check(page.click(10007, 29, 29)[1].get("gauge", {}).get("name") == "Radios_Toggle", "its toggle is clickable")
    status, _, body = page.request("/api/panel")
    notes = json.loads(body) if status == 200 else {}
    check([re.sub(r".*panel\.cfg:(\d+):.*", r"\1", e) for e in notes.get("errors", [])] == ["8"], "the malformed line is named by its number: %r" % notes)
    check([u["name"] for u in notes.get("undrawn", [])] == ["Vcockpit01"], "the undrawn section is listed")
    check([g["gauge"] for g in notes.get("placeholders", [])] == ["Other!Radios_Toggle"], "the other module's gauge is listed")
    check(json.loads(page.request("/api/map")[2])["beacons"] == [], "no world, no stations on the map")
    check(page.post("/api/fly", {"on": 1})[0] == 409, "no demo, nothing to fly")


def serve(bench, panel, scenario, exercise):
    command = [bench, "serve", "--panel", panel, "--port", "0"]
    if scenario:
        command += ["--scenario", scenario]
    server = subprocess.Popen(command, stdout=subprocess.PIPE, text=True)
    try:
        lines = queue.Queue()
        threading.Thread(target=lambda: [lines.put(line) for line in server.stdout], daemon=True).start()
        deadline = time.monotonic() + START_TIMEOUT
        port = None
        while port is None and time.monotonic() < deadline and server.poll() is None:
            try:
                m = re.search(r"http://127\.0\.0\.1:(\d+)/", lines.get(timeout=1))
            except queue.Empty:
                continue
            if m:
                port = int(m.group(1))
        if not check(port is not None, "the server announces its address"):
            return 1
        exercise(Page(port))
        server.send_signal(signal.SIGTERM)
        try:
            check(server.wait(timeout=REQUEST_TIMEOUT) == 0, "SIGTERM stops the server cleanly")
        except subprocess.TimeoutExpired:
            check(False, "the server stops within %d s of SIGTERM" % REQUEST_TIMEOUT)
    finally:
        if server.poll() is None:
            server.kill()
            server.wait()
    return 0


def main():
    if len(sys.argv) < 3:
        print(__doc__)
        return 2
    serve(sys.argv[1], sys.argv[2], sys.argv[3] if len(sys.argv) > 3 else None, exercise)
    with tempfile.TemporaryDirectory() as folder:
        odd = os.path.join(folder, "panel.cfg")
        with open(odd, "wb") as f:
            f.write(ODD_PANEL)
        serve(sys.argv[1], odd, None, exercise_odd_panel)
    print("%d failed checks" % len(failures) if failures else "all checks passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
