// The served page. Each open window is a picture the page reloads as fast as the bench draws it
// (at most twenty a second); the mouse on a picture becomes press, repeat (while held), drag (left
// button moving) and release requests in window pixels, sent one after another in the order they
// happened, and shows the cursor and the help or tooltip of the area under it. A side column holds
// the moving map of a demo that flies in closed loop, the named flight controls (sliders and fields over token variables), the failures, the raw token
// field, the windows (open or closed, as the module's buttons left them), what the panel file could
// not draw, the gauge the last click reached and the latest key events. The header switches the
// simulation, the demo flight (the closed loop, or the demo's lines replayed), the click sounds and
// the session recording.
#include "bench/serve/serve_page.h"

namespace bench {

const std::string& serve_page_html() {
    static const std::string page = R"PAGE(<!doctype html>
<html lang="en">
<head>
<meta charset="utf-8">
<title>Corvan_Instr panel bench</title>
<style>
  body { margin: 0; font: 13px/1.35 "Liberation Sans", Arial, sans-serif; background: #18191b; color: #d8d8d2; }
  header { display: flex; flex-wrap: wrap; gap: 16px; align-items: center; padding: 8px 12px;
           background: #26282b; border-bottom: 1px solid #3a3d41; position: sticky; top: 0; z-index: 2; }
  header h1 { font-size: 15px; margin: 0; }
  input, button, select { font: inherit; }
  button.on { background: #7a2222; color: #fff; }
  #layout { display: flex; align-items: flex-start; gap: 12px; padding: 12px; }
  #windows { flex: 1; min-width: 0; display: flex; flex-wrap: wrap; gap: 14px; align-items: flex-start; }
  .win { background: #222427; border: 1px solid #3a3d41; padding: 4px; max-width: 100%; }
  .win[hidden] { display: none; }
  .win .title { display: flex; justify-content: space-between; gap: 12px; padding: 0 2px 4px; color: #aab; }
  .win canvas { display: block; max-width: 100%; height: auto; user-select: none; }
  #side { width: 360px; flex: none; }
  #side h2 { font-size: 13px; margin: 12px 0 4px; color: #ccd; }
  #side ul { list-style: none; margin: 0; padding: 0; }
  .ctl { display: grid; grid-template-columns: 118px 1fr 92px; gap: 4px; align-items: center; margin: 2px 0; }
  .ctl input[type=range] { width: 100%; }
  .ctl input[type=text] { width: 84px; }
  .fails { columns: 2; }
  table { border-collapse: collapse; width: 100%; font-family: "Liberation Mono", monospace; font-size: 12px; }
  td, th { text-align: left; padding: 1px 6px 1px 0; }
  th { color: #99a; font-weight: normal; }
  .toggle { color: #9bd; }
  .bad { color: #f88; }
  code { color: #ec9; }
  #hover { min-height: 3em; }
  #map { display: block; background: #101418; border: 1px solid #3a3d41; }
  #mapinfo { font-family: "Liberation Mono", monospace; font-size: 12px; }
</style>
</head>
<body>
<header>
  <h1>Corvan_Instr panel bench</h1>
  <label><input type="checkbox" id="simulate"> simulate</label>
  <label><input type="checkbox" id="fly"> fly</label>
  <label><input type="checkbox" id="mute"> mute</label>
  <button type="button" id="record">record</button>
  <span id="recinfo"></span>
  <span id="frame"></span>
  <span id="fps" title="picture refreshes a second of the slowest open window"></span>
</header>
<div id="layout">
  <div id="windows"></div>
  <div id="side">
    <div id="mapbox" hidden>
      <h2>Map <select id="maprange" title="nautical miles from the aircraft to the map's top edge">
        <option>2</option><option>4</option><option selected>8</option><option>16</option><option>32</option></select> nm</h2>
      <canvas id="map" width="360" height="300"></canvas>
      <div id="mapinfo"></div>
    </div>
    <h2>Under the pointer</h2>
    <div id="hover">nothing</div>
    <h2>Flight controls</h2>
    <div id="controls"></div>
    <h2>Failures</h2>
    <div class="fails" id="failures"></div>
    <h2>Token variable</h2>
    <form id="varform">
      <input id="varid" size="8" placeholder="0x17" autocomplete="off">
      = <input id="varvalue" size="12" placeholder="value" autocomplete="off">
      <button type="submit">set</button> <button type="button" id="varread">read</button>
      <div id="varmsg"></div>
    </form>
    <h2>Windows</h2>
    <ul id="winlist"></ul>
    <ul id="others"></ul>
    <div id="panelnotes"></div>
    <h2>Last click</h2>
    <div id="last">none yet</div>
    <div id="sound"></div>
    <h2>Key events (newest first)</h2>
    <table><thead><tr><th>#</th><th>frame</th><th>event</th><th>param</th></tr></thead><tbody id="events"></tbody></table>
  </div>
</div>
<script>
"use strict";
const MIN_PICTURE_MS = 50;     // pictures: at most twenty a second per window ...
const SAME_PICTURE_MS = 57;    // ... and seventeen while it stays the same
const STATE_MS = 250;
const REPEAT_DELAY_MS = 350;   // a held button starts repeating after this
const REPEAT_MS = 110;
const EVENTS_SHOWN = 60;
const HEADERS = {"X-Corvan-Bench": "1"};

// Requests go out one after another, in the order the mouse made them.
let chain = Promise.resolve();
function post(path, params) {
  const p = chain.then(() => fetch(path, {method: "POST", headers: HEADERS,
                                          body: new URLSearchParams(typeof params === "function" ? params() : params)}))
                 .then(r => r.json());
  chain = p.catch(() => {});
  return p;
}
function hex(n) { return "0x" + (n >>> 0).toString(16).toUpperCase(); }

// ---- Flight controls: token variables by what a designer calls them.
// Each control writes its value, through `to`, into every id it lists; `from` reads the first back.
const bcd = text => { const c = Math.round(parseFloat(text) * 100) - 10000;
                      return c >= 0 && c <= 9999 ? parseInt(String(c).padStart(4, "0"), 16) : NaN; };
const unbcd = v => (100 + parseInt((v & 0xFFFF).toString(16).padStart(4, "0"), 10) / 100).toFixed(2);
const FULL_TANK = 8388608;
const CONTROLS = [
  {name: "Altitude", unit: "ft", ids: [0x4A], min: -1000, max: 30000, step: 10},
  {name: "Heading", unit: "°", ids: [0x54, 0x53], min: 0, max: 359, step: 1},
  {name: "Airspeed", unit: "kt", ids: [0x3D], min: 0, max: 300, step: 1},
  {name: "Vertical speed", unit: "ft/min", ids: [0x41], min: -4000, max: 4000, step: 50,
   to: v => v * 0.3048 / 60 * 256, from: v => v / 256 * 60 / 0.3048},
  {name: "Pitch", unit: "°", ids: [0x4E], min: -30, max: 30, step: 0.5},
  {name: "Bank", unit: "°", ids: [0x50], min: -60, max: 60, step: 0.5},
  {name: "Engine torque", unit: "×", ids: [0x275], min: 0, max: 0.75, step: 0.01},
  {name: "ITT", unit: "°C", ids: [0x277], min: 0, max: 1000, step: 5,
   to: v => (v + 273.15) * 1.8, from: v => v / 1.8 - 273.15},
  {name: "N1 (gas gen.)", unit: "%", ids: [0x272], min: 0, max: 110, step: 0.5},
  {name: "Propeller speed", unit: "×", ids: [0x2BD], min: 0, max: 1.2, step: 0.01},
  {name: "Fuel left", unit: "%", ids: [0x123], min: 0, max: 100, step: 1,
   to: v => v / 100 * FULL_TANK, from: v => v / FULL_TANK * 100},
  {name: "Fuel right", unit: "%", ids: [0x129], min: 0, max: 100, step: 1,
   to: v => v / 100 * FULL_TANK, from: v => v / FULL_TANK * 100},
  {name: "Bus volts", unit: "V", ids: [0x2F1, 0x2F3], min: 0, max: 32, step: 0.1},
  {name: "DME distance", unit: "nm", ids: [0x174], min: -1, max: 200, step: 0.1},
  {name: "DME speed", unit: "kt", ids: [0x175], min: 0, max: 400, step: 1},
  {name: "DME time", unit: "min", ids: [0x176], min: 0, max: 120, step: 1},
  {name: "Time", unit: "s", ids: [0x25C], min: 0, max: 86399, step: 1},
  {name: "COM1", field: true, ids: [0x17], to: bcd, from: unbcd},
  {name: "COM1 standby", field: true, ids: [0x269], to: bcd, from: unbcd},
  {name: "COM2", field: true, ids: [0x366], to: bcd, from: unbcd},
  {name: "COM2 standby", field: true, ids: [0x367], to: bcd, from: unbcd},
  {name: "NAV1", field: true, ids: [0x18], to: bcd, from: unbcd},
  {name: "NAV1 standby", field: true, ids: [0x368], to: bcd, from: unbcd},
  {name: "NAV2", field: true, ids: [0x1B], to: bcd, from: unbcd},
  {name: "NAV2 standby", field: true, ids: [0x369], to: bcd, from: unbcd},
  {name: "Squawk", field: true, ids: [0x26], to: t => /^[0-7]{4}$/.test(t) ? parseInt(t, 16) : NaN,
   from: v => (v & 0xFFFF).toString(16).padStart(4, "0")},
  {name: "Marker beacon", choices: ["none", "outer", "middle", "inner"], ids: [0x162]},
  {name: "Panel lights", check: true, ids: [0x0A]},
];
const FAILURES = [[2, "engine"], [3, "pitot-static"], [4, "vacuum"], [5, "ADF"], [6, "airspeed"], [7, "altimeter"],
                  [8, "attitude"], [11, "heading gyro"], [12, "magnetic compass"], [14, "NAV1"], [15, "NAV2"],
                  [17, "transponder"], [18, "turn coordinator"], [19, "vertical speed"], [20, "panel electrical"],
                  [21, "avionics"]];
const VAR_LIST = [...new Set(CONTROLS.map(c => c.ids[0]))].map(id => id.toString(16)).join(",");

function setControl(c, value) {
  const v = c.to ? c.to(value) : Number(value);
  if (!Number.isFinite(v)) return Promise.resolve({error: "not a value for " + c.name});
  return Promise.all(c.ids.map(id => post("/api/var", {id: hex(id), value: String(v)})));
}
function slug(name) { return name.toLowerCase().replace(/[^a-z0-9]+/g, "-"); }

function makeControls() {
  const box = document.getElementById("controls");
  for (const c of CONTROLS) {
    const row = document.createElement("div");
    row.className = "ctl";
    const label = document.createElement("label");
    label.textContent = c.name;
    label.title = c.ids.map(hex).join(", ");
    const shown = document.createElement("span");
    let input;
    if (c.check) {
      input = document.createElement("input");
      input.type = "checkbox";
      input.onchange = () => setControl(c, input.checked ? 1 : 0);
      c.show = v => { if (document.activeElement !== input) input.checked = v > 0; };
    } else if (c.choices) {
      input = document.createElement("select");
      c.choices.forEach((n, i) => input.add(new Option(n, i)));
      input.onchange = () => setControl(c, input.value);
      c.show = v => { if (document.activeElement !== input) input.value = String(Math.round(v)); };
    } else if (c.field) {
      input = document.createElement("input");
      input.type = "text";
      input.onchange = () => setControl(c, input.value.trim()).then(r => { shown.textContent = r && r.error ? "?" : ""; });
      c.show = v => { if (document.activeElement !== input) input.value = c.from(v); };
    } else {
      input = document.createElement("input");
      input.type = "range";
      input.min = c.min; input.max = c.max; input.step = c.step;
      input.oninput = () => { shown.textContent = input.value + " " + c.unit; setControl(c, input.value); };
      c.show = v => {
        const x = c.from ? c.from(v) : v;
        if (document.activeElement !== input) input.value = x;
        shown.textContent = (Math.round(x * 100) / 100) + " " + c.unit;
      };
    }
    input.id = "ctl-" + slug(c.name);
    label.htmlFor = input.id;
    row.append(label, input, shown);
    box.append(row);
  }
  const fails = document.getElementById("failures");
  for (const [key, name] of FAILURES) {
    const label = document.createElement("label");
    const box = document.createElement("input");
    box.type = "checkbox";
    box.id = "fail-" + key;
    box.onchange = () => post("/api/fail", {key, on: box.checked ? 1 : 0});
    label.append(box, " " + name + " (" + key + ")");
    fails.append(label, document.createElement("br"));
  }
}
makeControls();

// ---- Windows: pictures, cursors, help and the mouse.
const CURSOR_NAMES = {"-1": "none", 1: "up arrow", 2: "down arrow", 3: "left arrow", 4: "right arrow", 5: "hand"};
function arrowCursor(turn) {
  const svg = "<svg xmlns='http://www.w3.org/2000/svg' width='24' height='24'><g transform='rotate(" + turn +
              " 12 12)'><path d='M12 2 L21 12 L15 12 L15 22 L9 22 L9 12 L3 12 Z' fill='white' stroke='black'/></g></svg>";
  return 'url("data:image/svg+xml;utf8,' + svg + '") 12 12, auto';
}
const CURSORS = {"-1": "default", 1: arrowCursor(0), 2: arrowCursor(180), 3: arrowCursor(270), 4: arrowCursor(90), 5: "pointer"};

const views = new Map();  // window ident -> view
let held = null;          // the button down on a picture

function point(view, e) {
  const r = view.img.getBoundingClientRect();
  return {x: Math.floor((e.clientX - r.left) * view.width / r.width),
          y: Math.floor((e.clientY - r.top) * view.height / r.height)};
}

function mouse(h, action, x, y) {
  return post("/api/mouse", () => ({window: h.view.ident, button: h.button, action: action,
                                    x: x === undefined ? h.x : x, y: y === undefined ? h.y : y}));
}

// A window's picture is asked for again as soon as the last answer is in (at most twenty times a
// second), with the tag of the one shown: an unchanged picture comes back as 304 and is kept, so
// only pictures that changed are fetched and decoded.
function refresh(view) {
  if (!view.open) { view.loading = false; return; }
  view.loading = true;
  view.requested = performance.now();
  fetch("/window/" + view.ident + ".png", {headers: view.etag ? {"If-None-Match": view.etag} : {}, cache: "no-store"})
    .then(r => {
      if (r.status === 304) return null;
      if (!r.ok) throw new Error(r.status);
      view.etag = r.headers.get("ETag");
      return r.blob();
    })
    .then(blob => {
      if (!blob) { shown(view); return; }
      // Decoded off the page's thread while the next picture is already asked for; a picture
      // decoded after a newer one is dropped.
      const order = ++view.fetched;
      next(view);
      createImageBitmap(blob).then(bitmap => {
        if (order > view.drawn) {
          view.drawn = order;
          view.context.drawImage(bitmap, 0, 0);
          count(view);
        }
        bitmap.close();
      }).catch(() => {});
    })
    .catch(() => setTimeout(() => refresh(view), 500));
}

// The picture on screen is the window as it stands (drawn, or confirmed unchanged).
function count(view) {
  const now = performance.now();
  view.loads.push(now);
  while (view.loads.length && view.loads[0] < now - 2000) view.loads.shift();
  view.img.dataset.loads = String(Number(view.img.dataset.loads || 0) + 1);
}
function next(view, wait) {
  setTimeout(() => refresh(view), Math.max(0, (wait || MIN_PICTURE_MS) - (performance.now() - view.requested)));
}
function shown(view) {
  count(view);
  next(view, SAME_PICTURE_MS);
}

function helpText(a) {
  const parts = [];
  if (a.tooltip) parts.push("tooltip “" + a.tooltip + "”");
  if (a.tooltip_id) parts.push("tooltip " + hex(a.tooltip_id));
  if (a.help) parts.push("help " + hex(a.help) + (a.help_name ? " " + a.help_name : ""));
  return parts.join(", ");
}

function hover(view, p) {
  const a = (view.areas || []).find(a => p.x >= a.x && p.y >= a.y && p.x < a.x + a.w && p.y < a.y + a.h);
  view.img.style.cursor = a ? CURSORS[a.cursor] || "default" : "crosshair";
  const out = document.getElementById("hover");
  if (!a) { out.textContent = "nothing"; view.img.title = ""; return; }
  const text = helpText(a);
  out.innerHTML = "";
  const code = document.createElement("code");
  code.textContent = a.gauge;
  const what = [];
  if (a.clickable) what.push("cursor " + a.cursor + " (" + CURSOR_NAMES[a.cursor] + ")");
  if (a.event) what.push("sends " + hex(a.event));
  out.append(code, " " + what.join(", "));
  const help = document.createElement("div");
  help.id = "hovertext";
  help.textContent = text || "no help text";
  out.append(help);
  view.img.title = a.gauge + (text ? ": " + text : "");
}

function makeView(w) {
  const box = document.createElement("div");
  box.className = "win";
  box.id = "win-" + w.ident;
  const title = document.createElement("div");
  title.className = "title";
  const name = document.createElement("span");
  name.textContent = w.title + "  ·  " + (w.ident_text || w.ident) + "  ·  " + w.width + "×" + w.height;
  const where = document.createElement("span");
  title.append(name, where);
  const img = document.createElement("canvas");  // the window's picture
  img.width = w.width;
  img.height = w.height;
  img.dataset.title = w.title;
  box.append(title, img);
  document.getElementById("windows").append(box);
  const view = {ident: w.ident, width: w.width, height: w.height, box, img, context: img.getContext("2d"),
                fetched: 0, drawn: 0,
                open: false, loading: false,
                loads: [], areas: null, requested: 0};
  fetch("/api/areas?window=" + w.ident).then(r => r.json()).then(a => { view.areas = a; });
  img.addEventListener("contextmenu", e => e.preventDefault());
  img.addEventListener("mousemove", e => { const p = point(view, e); where.textContent = p.x + ", " + p.y; hover(view, p); });
  img.addEventListener("mouseleave", () => { where.textContent = ""; });
  img.addEventListener("mousedown", e => {
    if (e.button !== 0 && e.button !== 2) return;
    e.preventDefault();
    release();
    const p = point(view, e);
    const h = {view, button: e.button === 2 ? "right" : "left", x: p.x, y: p.y, timer: 0, drag: null};
    held = h;
    mouse(h, "press", p.x, p.y).then(r => showLast(r.gauge)).catch(() => {});
    const tick = () => {
      if (held !== h) return;
      mouse(h, "repeat");
      h.timer = setTimeout(tick, REPEAT_MS);
    };
    h.timer = setTimeout(tick, REPEAT_DELAY_MS);
  });
  return view;
}

window.addEventListener("mousemove", e => {
  const h = held;
  if (!h || h.button !== "left") return;
  const p = point(h.view, e);
  if (p.x === h.x && p.y === h.y) return;
  h.x = p.x;
  h.y = p.y;
  // While one drag waits for its turn, later moves only update it.
  if (h.drag && !h.drag.sent) { h.drag.x = p.x; h.drag.y = p.y; return; }
  const d = {x: p.x, y: p.y, sent: false};
  h.drag = d;
  post("/api/mouse", () => { d.sent = true; return {window: h.view.ident, button: h.button, action: "drag", x: d.x, y: d.y}; });
});

function release() {
  const h = held;
  if (!h) return;
  held = null;
  clearTimeout(h.timer);
  mouse(h, "release");
}
window.addEventListener("mouseup", release);
window.addEventListener("blur", release);

function showLast(g) {
  const last = document.getElementById("last");
  if (!g) { last.textContent = "no gauge there"; return; }
  last.innerHTML = "";
  const code = document.createElement("code");
  code.textContent = g.name + "#" + g.nth;
  last.append(code, " at " + g.x + ", " + g.y + (g.area ? "" : " (no mouse area takes that button there)"));
}

// Pictures a second of the slowest open window, over the last two seconds.
function showRate() {
  let slowest = null;
  const now = performance.now();
  for (const v of views.values()) {
    if (!v.open) continue;
    const n = v.loads.filter(t => t >= now - 2000).length / 2;
    slowest = slowest === null ? n : Math.min(slowest, n);
  }
  const fps = document.getElementById("fps");
  fps.dataset.rate = slowest === null ? "" : String(slowest);
  fps.textContent = slowest === null ? "" : slowest.toFixed(1) + " pictures/s (slowest window)";
}
setInterval(showRate, 500);
window.pictureRates = () => [...views.values()].filter(v => v.open)
  .map(v => v.img.dataset.title + " " + v.loads.filter(t => t >= performance.now() - 2000).length / 2).join(", ");

// ---- The moving map: north up, the aircraft in the middle, drawn here from /api/map (a few small
// requests a second while flying, so that the pictures keep the bench's time).
const MAP_MS = 250, MAP_IDLE_MS = 1000;
const MARKER_COLOURS = {OM: "#58f", MM: "#fb3", IM: "#eee"};
let mapData = null;
function mapLoop() {
  fetch("/api/map").then(r => r.json()).then(m => { mapData = m; drawMap(); }).catch(() => {})
    .finally(() => { if (!mapData || mapData.beacons.length) setTimeout(mapLoop, mapData && mapData.flying ? MAP_MS : MAP_IDLE_MS); });
}
function drawMap() {
  const m = mapData, box = document.getElementById("mapbox");
  box.hidden = !m.beacons.length;
  if (box.hidden) return;
  const c = document.getElementById("map"), g = c.getContext("2d"), a = m.aircraft;
  const scale = c.height / 2 / Number(document.getElementById("maprange").value);  // pixels a nautical mile
  const east = Math.cos(a.lat * Math.PI / 180);
  const xy = (lat, lon) => [c.width / 2 + (lon - a.lon) * 60 * east * scale, c.height / 2 - (lat - a.lat) * 60 * scale];
  const along = (x, y, bearing, nm) => { const r = bearing * Math.PI / 180;
                                         return [x + Math.sin(r) * nm * scale, y - Math.cos(r) * nm * scale]; };
  g.clearRect(0, 0, c.width, c.height);
  g.lineWidth = 1;
  g.font = "11px 'Liberation Sans', Arial, sans-serif";
  for (const b of m.beacons) {
    const [x, y] = xy(b.lat, b.lon);
    g.strokeStyle = g.fillStyle = "#6cf";
    if (b.kind === "LOC") {  // the course out along the approach, 2.5° either side, 15 nm long
      g.strokeStyle = g.fillStyle = "#7d7";
      g.beginPath();
      g.moveTo(...along(x, y, b.course + 177.5, 15)); g.lineTo(x, y); g.lineTo(...along(x, y, b.course + 182.5, 15));
      g.stroke();
      g.setLineDash([6, 4]); g.beginPath(); g.moveTo(x, y); g.lineTo(...along(x, y, b.course + 180, 15)); g.stroke();
      g.setLineDash([]);
      g.fillRect(x - 2, y - 2, 4, 4);
    } else if (b.kind === "GS") {
      g.strokeStyle = g.fillStyle = "#dd6";
      g.beginPath(); g.moveTo(...along(x, y, b.course - 90, 0.25)); g.lineTo(...along(x, y, b.course + 90, 0.25)); g.stroke();
    } else if (MARKER_COLOURS[b.kind]) {  // a marker's fan across the course
      g.strokeStyle = g.fillStyle = MARKER_COLOURS[b.kind];
      g.beginPath(); g.ellipse(x, y, Math.max(2, 0.3 * scale), Math.max(5, 1.2 * scale), (b.course + 90) * Math.PI / 180, 0, 2 * Math.PI);
      g.stroke();
    } else if (b.kind === "NDB") {
      g.strokeStyle = g.fillStyle = "#d8a";
      g.beginPath(); g.arc(x, y, 5, 0, 2 * Math.PI); g.stroke();
      g.beginPath(); g.arc(x, y, 1.5, 0, 2 * Math.PI); g.fill();
    } else {  // VOR, VOR-DME, DME
      g.beginPath();
      for (let i = 0; i < 6; ++i) g.lineTo(x + 6 * Math.cos(i * Math.PI / 3), y + 6 * Math.sin(i * Math.PI / 3));
      g.closePath(); g.stroke();
      if (b.kind.includes("DME")) g.strokeRect(x - 7, y - 7, 14, 14);
    }
    if (!["GS", "DME", "OM", "MM", "IM"].includes(b.kind)) g.fillText(b.ident, x + 8, y - 6);
  }
  g.strokeStyle = "#fa3";
  g.lineWidth = 2;
  g.beginPath();
  for (const [lat, lon] of m.track) g.lineTo(...xy(lat, lon));
  g.lineTo(c.width / 2, c.height / 2);
  g.stroke();
  g.save();  // the aircraft, nose on its true heading
  g.translate(c.width / 2, c.height / 2);
  g.rotate(a.heading * Math.PI / 180);
  g.scale(1.4, 1.4);
  g.fillStyle = "#fff";
  g.strokeStyle = "#000";
  g.lineWidth = 0.8;
  g.lineJoin = "round";
  g.beginPath();
  for (const [px, py] of [[0, -9], [1.5, -3], [9, 1], [1.5, 1], [1, 6], [4, 8], [-4, 8], [-1, 6], [-1.5, 1], [-9, 1], [-1.5, -3]])
    g.lineTo(px, py);
  g.closePath();
  g.fill();
  g.stroke();
  g.restore();
  g.fillStyle = "#aab";
  g.fillText("N", c.width - 14, 14);
  document.getElementById("mapinfo").textContent =
    `${a.altitude} ft  ${String(Math.round((a.heading % 360 + 360) % 360)).padStart(3, "0")}° true  ${a.ground_speed} kt` +
    (m.laps ? `  (lap ${m.laps + 1})` : "");
}
document.getElementById("maprange").onchange = () => mapData && drawMap();
mapLoop();

// ---- Sounds: the module's own WAVE resources, as its gauges play them.
let soundSeen = -1;
let soundsPlayed = 0;
const waves = new Map();
function playSounds(list) {
  const fresh = list.filter(s => s.seq > soundSeen);
  if (soundSeen < 0) { soundSeen = list.length ? list[list.length - 1].seq : 0; return; }  // not the ones before the page
  for (const s of fresh) {
    soundSeen = Math.max(soundSeen, s.seq);
    soundsPlayed++;
    const line = document.getElementById("sound");
    line.dataset.count = String(soundsPlayed);
    line.textContent = "sound: WAVE " + s.wave + " from " + s.gauge + (document.getElementById("mute").checked ? " (muted)" : "");
    if (document.getElementById("mute").checked) continue;
    if (!waves.has(s.wave)) waves.set(s.wave, new Audio("/sound/" + s.wave + ".wav"));
    const a = waves.get(s.wave).cloneNode();
    a.play().catch(() => {});
  }
}

// ---- State
function showState(s) {
  document.getElementById("frame").textContent = "frame " + s.frame;
  for (const [id, value] of [["simulate", s.simulate], ["fly", s.flying]]) {
    const box = document.getElementById(id);
    if (document.activeElement !== box) box.checked = value;
  }
  document.getElementById("fly").disabled = !s.can_fly;
  document.getElementById("fly").parentElement.title = s.loop ? "the aircraft flies itself (closed loop)" :
                                                         "the demo's set and frame lines replayed";
  const rec = document.getElementById("record");
  rec.textContent = s.recording ? "stop and download" : "record";
  rec.classList.toggle("on", s.recording);
  document.getElementById("recinfo").textContent = s.recording ? s.recorded_actions + " actions recorded" :
                                                   s.journal_full ? "session too long to record" : "";
  for (const c of CONTROLS) {
    const v = s.vars && s.vars[hex(c.ids[0])];
    if (v !== undefined && v !== null) c.show(v);
  }
  for (const [key] of FAILURES) {
    const box = document.getElementById("fail-" + key);
    if (document.activeElement !== box) box.checked = s.failures.includes(key);
  }
  const list = document.getElementById("winlist");
  if (!list.childElementCount) {
    for (const w of s.windows) {
      const view = makeView(w);
      views.set(w.ident, view);
      const li = document.createElement("li");
      const label = document.createElement("label");
      const box = document.createElement("input");
      box.type = "checkbox";
      box.id = "open-" + w.ident;
      box.onchange = () => post("/api/window", {ident: w.ident, open: box.checked ? 1 : 0}).then(poll);
      view.checkbox = box;
      label.append(box, " " + w.title + " (" + (w.ident_text || w.ident) + ")");
      li.append(label);
      list.append(li);
    }
  }
  for (const w of s.windows) {
    const view = views.get(w.ident);
    if (!view) continue;
    view.checkbox.checked = w.open;
    view.box.hidden = !w.open;
    view.open = w.open;
    if (w.open && !view.loading) refresh(view);
  }
  const others = document.getElementById("others");
  others.innerHTML = "";
  for (const o of s.other_windows) {
    const li = document.createElement("li");
    li.textContent = "window " + o.ident + " (not on this panel): " + (o.open ? "open" : "closed");
    others.append(li);
  }
  playSounds(s.sounds);
  const body = document.getElementById("events");
  body.innerHTML = "";
  for (const e of s.events.slice(-EVENTS_SHOWN).reverse()) {
    const tr = document.createElement("tr");
    if (e.kind === "toggle") tr.className = "toggle";
    const cells = [e.seq, e.count > 1 ? e.first_frame + "–" + e.frame + " ×" + e.count : e.frame,
                   e.kind === "toggle" ? "window toggle " + e.id : e.id,
                   e.kind === "toggle" ? "" : e.param + (e.param > 9 ? " (" + hex(e.param) + ")" : "")];
    for (const c of cells) { const td = document.createElement("td"); td.textContent = c; tr.append(td); }
    body.append(tr);
  }
}

function poll() {
  return fetch("/api/state?vars=" + VAR_LIST).then(r => r.json()).then(showState).catch(() => {
    document.getElementById("frame").textContent = "bench not answering";
  });
}
(function loop() { poll().finally(() => setTimeout(loop, STATE_MS)); })();

// What the panel file holds that the page does not draw, and the lines it could not read.
fetch("/api/panel").then(r => r.json()).then(p => {
  const notes = document.getElementById("panelnotes");
  const add = (text, cls) => { const d = document.createElement("div"); d.textContent = text; if (cls) d.className = cls; notes.append(d); };
  for (const e of p.errors) add(e, "bad");
  for (const u of p.undrawn) add("[" + u.name + "] (line " + u.line + ", " + u.gauges + " gauges): not drawn on the 2D panel");
  for (const g of p.placeholders) add(g.gauge + " (line " + g.line + "): another module's gauge, shown as a placeholder");
});

document.getElementById("simulate").onchange = e => post("/api/simulate", {on: e.target.checked ? 1 : 0}).then(poll);
document.getElementById("fly").onchange = e => post("/api/fly", {on: e.target.checked ? 1 : 0}).then(poll);

// Record: the bench keeps the session; stopping downloads it as a scenario file.
document.getElementById("record").onclick = () => {
  const rec = document.getElementById("record");
  if (!rec.classList.contains("on")) {
    post("/api/record", {on: 1}).then(poll);
    rec.classList.add("on");
    return;
  }
  post("/api/record", {on: 0})
    .then(() => fetch("/api/record.scn"))
    .then(r => r.blob())
    .then(blob => {
      const a = document.createElement("a");
      a.href = URL.createObjectURL(blob);
      a.download = "session.scn";
      document.body.append(a);
      a.click();
      a.remove();
      setTimeout(() => URL.revokeObjectURL(a.href), 10000);
    })
    .then(poll);
};

const varmsg = document.getElementById("varmsg");
function varAnswer(p, text) {
  p.then(r => { varmsg.className = r.error ? "bad" : ""; varmsg.textContent = r.error || text(r); })
   .catch(() => { varmsg.className = "bad"; varmsg.textContent = "no answer"; });
}
document.getElementById("varform").onsubmit = e => {
  e.preventDefault();
  const id = document.getElementById("varid").value.trim(), value = document.getElementById("varvalue").value.trim();
  varAnswer(post("/api/var", {id, value}), () => "set " + id + " = " + value);
};
document.getElementById("varread").onclick = () => {
  const id = document.getElementById("varid").value.trim();
  varAnswer(fetch("/api/var?id=" + encodeURIComponent(id)).then(r => r.json()), r => id + " is " + r.value);
};
</script>
</body>
</html>
)PAGE";
    return page;
}

}  // namespace bench
