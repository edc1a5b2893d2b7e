// The served page. Each open window is a picture the page reloads a few times a second; the mouse
// on a picture becomes press, repeat (while held), drag (left button moving) and release requests
// in window pixels, sent one after another in the order they happened. A side column lists the
// windows (open or closed, as the module's buttons left them, with a box to change that), the
// gauge the last click reached and the latest key events.
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
  header { display: flex; flex-wrap: wrap; gap: 18px; align-items: center; padding: 8px 12px;
           background: #26282b; border-bottom: 1px solid #3a3d41; position: sticky; top: 0; z-index: 1; }
  header h1 { font-size: 15px; margin: 0; }
  input, button { font: inherit; }
  #layout { display: flex; align-items: flex-start; gap: 12px; padding: 12px; }
  #windows { flex: 1; min-width: 0; display: flex; flex-wrap: wrap; gap: 14px; align-items: flex-start; }
  .win { background: #222427; border: 1px solid #3a3d41; padding: 4px; max-width: 100%; }
  .win[hidden] { display: none; }
  .win .title { display: flex; justify-content: space-between; gap: 12px; padding: 0 2px 4px; color: #aab; }
  .win img { display: block; max-width: 100%; height: auto; cursor: crosshair; user-select: none; }
  #side { width: 330px; flex: none; }
  #side h2 { font-size: 13px; margin: 12px 0 4px; color: #ccd; }
  #side ul { list-style: none; margin: 0; padding: 0; }
  table { border-collapse: collapse; width: 100%; font-family: "Liberation Mono", monospace; font-size: 12px; }
  td, th { text-align: left; padding: 1px 6px 1px 0; }
  th { color: #99a; font-weight: normal; }
  .toggle { color: #9bd; }
  .bad { color: #f88; }
  code { color: #ec9; }
</style>
</head>
<body>
<header>
  <h1>Corvan_Instr panel bench</h1>
  <label><input type="checkbox" id="simulate"> simulate</label>
  <form id="varform">
    token variable <input id="varid" size="8" placeholder="0x17" autocomplete="off">
    = <input id="varvalue" size="12" placeholder="value" autocomplete="off">
    <button type="submit">set</button> <button type="button" id="varread">read</button>
    <span id="varmsg"></span>
  </form>
  <span id="frame"></span>
</header>
<div id="layout">
  <div id="windows"></div>
  <div id="side">
    <h2>Windows</h2>
    <ul id="winlist"></ul>
    <ul id="others"></ul>
    <h2>Last click</h2>
    <div id="last">none yet</div>
    <h2>Key events (newest first)</h2>
    <table><thead><tr><th>#</th><th>frame</th><th>event</th><th>param</th></tr></thead><tbody id="events"></tbody></table>
  </div>
</div>
<script>
"use strict";
const REFRESH_MS = 200;        // pictures: about five a second
const STATE_MS = 500;
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

function refresh(view) {
  if (!view.open) { view.loading = false; return; }
  view.loading = true;
  view.img.src = "/window/" + view.ident + ".png?t=" + Date.now();
}

function makeView(w) {
  const box = document.createElement("div");
  box.className = "win";
  const title = document.createElement("div");
  title.className = "title";
  const name = document.createElement("span");
  name.textContent = w.title + "  ·  " + (w.ident_text || w.ident) + "  ·  " + w.width + "×" + w.height;
  const where = document.createElement("span");
  title.append(name, where);
  const img = document.createElement("img");
  img.width = w.width;
  img.height = w.height;
  img.alt = w.title;
  img.draggable = false;
  box.append(title, img);
  document.getElementById("windows").append(box);
  const view = {ident: w.ident, width: w.width, height: w.height, box, img, open: false, loading: false};
  img.onload = () => setTimeout(() => refresh(view), REFRESH_MS);
  img.onerror = () => setTimeout(() => refresh(view), 5 * REFRESH_MS);
  img.addEventListener("contextmenu", e => e.preventDefault());
  img.addEventListener("mousemove", e => { const p = point(view, e); where.textContent = p.x + ", " + p.y; });
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

function hex(n) { return "0x" + (n >>> 0).toString(16).toUpperCase(); }

function showState(s) {
  document.getElementById("frame").textContent = "frame " + s.frame;
  const sim = document.getElementById("simulate");
  if (document.activeElement !== sim) sim.checked = s.simulate;
  const list = document.getElementById("winlist");
  if (!list.childElementCount) {
    for (const w of s.windows) {
      const view = makeView(w);
      views.set(w.ident, view);
      const li = document.createElement("li");
      const label = document.createElement("label");
      const box = document.createElement("input");
      box.type = "checkbox";
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
  return fetch("/api/state").then(r => r.json()).then(showState).catch(() => {
    document.getElementById("frame").textContent = "bench not answering";
  });
}
(function loop() { poll().finally(() => setTimeout(loop, STATE_MS)); })();

document.getElementById("simulate").onchange = e => post("/api/simulate", {on: e.target.checked ? 1 : 0}).then(poll);

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
