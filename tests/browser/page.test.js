// The served page in headless Chromium (Debian's, through playwright-core), as a panel designer
// uses it: windows, clicks, held knobs, dragged levers, the named controls, help on hover, sounds,
// and a recorded session that `corvan-bench run` replays.
//
// env: CORVAN_BENCH (the bench), CORVAN_PANEL, CORVAN_SCENARIO; CORVAN_SCREENSHOT=FILE keeps a picture
// of the page with every window open.
import { test, before, after } from "node:test";
import assert from "node:assert/strict";
import { spawn, spawnSync } from "node:child_process";
import { mkdtempSync, rmSync, readFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { chromium } from "playwright-core";

const BENCH = process.env.CORVAN_BENCH;
const PANEL = process.env.CORVAN_PANEL || "panels/default/panel.cfg";
const SCENARIO = process.env.CORVAN_SCENARIO || "panels/default/demo.scn";
const CHROMIUM = process.env.CORVAN_CHROMIUM || "/usr/bin/chromium";
const COM1 = "Bendix_KY196_COM1";
const COM1_STANDBY = 0x269;

let server, base, browser, page, folder;

function startBench() {
  return new Promise((resolve, reject) => {
    server = spawn(BENCH, ["serve", "--panel", PANEL, "--scenario", SCENARIO, "--port", "0"],
                   {stdio: ["ignore", "pipe", "inherit"]});
    const timer = setTimeout(() => reject(new Error("the bench did not announce its address")), 120000);
    let text = "";
    server.stdout.on("data", chunk => {
      text += chunk;
      const m = /http:\/\/127\.0\.0\.1:(\d+)\//.exec(text);
      if (m) { clearTimeout(timer); resolve(`http://127.0.0.1:${m[1]}`); }
    });
    server.on("exit", code => reject(new Error(`the bench stopped (${code})`)));
  });
}

before(async () => {
  assert.ok(BENCH, "CORVAN_BENCH names the bench");
  folder = mkdtempSync(join(tmpdir(), "corvan-page-"));
  base = await startBench();
  // A fresh profile each run (the driver passes it as --user-data-dir).
  browser = await chromium.launchPersistentContext(join(folder, "profile"), {
    executablePath: CHROMIUM,
    headless: true,
    args: ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
           "--disable-background-networking", "--disable-component-update", "--disable-sync",
           "--autoplay-policy=no-user-gesture-required"],
    viewport: {width: 1900, height: 1100},
    acceptDownloads: true,
  });
  page = browser.pages()[0] || await browser.newPage();
  await page.goto(base + "/");
});

after(async () => {
  await browser?.close();
  if (server && server.exitCode === null) {
    server.kill("SIGTERM");
    await new Promise(r => server.once("exit", r));
  }
  if (folder) rmSync(folder, {recursive: true, force: true});
});

// ---- helpers: the bench's own answers, and window pixels on the page.
const api = path => page.evaluate(p => fetch(p).then(r => r.json()), path);
const variable = async id => (await api("/api/var?id=" + id.toString(16))).value;
const texts = async (gauge) => (await api("/api/gauge?name=" + gauge)).elements.filter(e => "text" in e).map(e => e.text);

async function areaOf(ident, gauge, pick) {
  const areas = await api("/api/areas?window=" + ident);
  const a = areas.find(a => a.gauge === gauge && pick(a));
  assert.ok(a, `an area of ${gauge} on window ${ident}`);
  return a;
}
// The page point of window pixel (x, y), scrolled into view (below the sticky header).
async function pagePoint(ident, x, y) {
  await page.locator(`#win-${ident} canvas`).evaluate((img, y) => {
    const r = img.getBoundingClientRect();
    const py = r.top + y * r.height / Number(img.getAttribute("height"));
    if (py < 80 || py > window.innerHeight - 80) window.scrollBy(0, py - 300);
  }, y);
  const box = await page.locator(`#win-${ident} canvas`).boundingBox();
  const size = await page.locator(`#win-${ident} canvas`).evaluate(img => [Number(img.getAttribute("width")), Number(img.getAttribute("height"))]);
  return {x: box.x + x * box.width / size[0], y: box.y + y * box.height / size[1]};
}
async function pointAt(ident, a) {
  const p = await pagePoint(ident, a.x + a.w / 2, a.y + a.h / 2);
  await page.mouse.move(p.x, p.y);
  return p;
}
const settle = (ms = 600) => page.waitForTimeout(ms);
async function waitFor(what, check, ms = 8000) {
  const end = Date.now() + ms;
  for (;;) {
    if (await check()) return;
    if (Date.now() > end) assert.fail("timed out waiting for " + what);
    await page.waitForTimeout(100);
  }
}
async function windowOpen(ident, open) {
  const box = page.locator(`#open-${ident}`);
  if ((await box.isChecked()) !== open) await box.click();
  await waitFor(`window ${ident} ${open ? "shown" : "hidden"}`, async () =>
    (await page.locator(`#win-${ident}`).isVisible()) === open &&
    (!open || Number(await page.locator(`#win-${ident} canvas`).getAttribute("data-loads")) > 0));
}
// The picture of a window region as PNG bytes, for comparing before and after.
async function shot(ident, a) {
  const tl = await pagePoint(ident, a.x, a.y), br = await pagePoint(ident, a.x + a.w, a.y + a.h);
  return page.screenshot({clip: {x: tl.x, y: tl.y, width: br.x - tl.x, height: br.y - tl.y}});
}

test("the page opens on the panel's open windows", async () => {
  assert.equal(await page.title(), "Corvan_Instr panel bench");
  await waitFor("the main panel's picture", () =>
    page.locator("#win-0 canvas").evaluate(img => img.dataset.loads > 0 && img.width === 1600));
  assert.ok(await page.locator("#win-50").isVisible(), "the radio stack is open, as panel.cfg shows it");
  assert.ok(!(await page.locator("#win-10001").isVisible()), "the autopilot window starts closed");
  await waitFor("the map of the demo's flight", () => page.locator("#mapbox").isVisible());
  assert.match(await page.locator("#mapinfo").innerText(), /^\d{4} ft 2[67]\d° true 1\d\d kt$/);
});

test("a window opens by its toggle, and a module button closes one", async () => {
  await windowOpen(10001, true);
  const radios = await areaOf(0, "Radios_Toggle", a => a.clickable);
  const p = await pointAt(0, radios);
  await page.mouse.down();
  await page.mouse.up();
  await waitFor("the radio stack closed by its button", async () => !(await page.locator("#win-50").isVisible()));
  await waitFor("the toggle event in the log", async () => (await page.locator("#events").innerText()).includes("0x103CA"));
  await page.mouse.click(p.x, p.y);
  await waitFor("the radio stack open again", () => page.locator("#win-50").isVisible());
});

test("hovering an area shows its cursor and its help", async () => {
  const radios = await areaOf(0, "Radios_Toggle", a => a.clickable);
  await pointAt(0, radios);
  assert.equal(await page.locator("#win-0 canvas").evaluate(img => img.style.cursor), "pointer");
  assert.match(await page.locator("#hovertext").innerText(), /help 0xAB86 TOGGLE_RADIO_WINDOW/);
  const up = await areaOf(50, COM1, a => a.cursor === 1);
  await pointAt(50, up);
  assert.match(await page.locator("#win-50 canvas").evaluate(img => img.style.cursor), /svg/);
  assert.match(await page.locator("#hovertext").innerText(), /tooltip 0x3160/);
  // The innermost area: over the altimeter's millibar window its own tooltip, not the whole dial's.
  await pointAt(0, await areaOf(0, "Altimeter", a => a.tooltip_id === 0x3053));
  assert.equal(await page.locator("#hovertext").innerText(), "tooltip 0x3053");
});

test("clicking a radio tunes it: digits and key event", async () => {
  await waitFor("COM1 switched on by the demo", async () => (await texts(COM1)).some(t => /^1\d\d\.\d\d$/.test(t)));
  const fraction = await areaOf(50, COM1, a => a.cursor === 1 && a.w < 40 && a.x > 150 && a.buttons & 0x200000);
  const digits = {x: fraction.x - 90, y: fraction.y, w: 150, h: 40};
  const before = await variable(COM1_STANDBY);
  const picture = await shot(50, digits);
  const p = await pointAt(50, fraction);
  await page.mouse.click(p.x, p.y);
  await waitFor("the standby frequency stepped", async () => (await variable(COM1_STANDBY)) !== before);
  await waitFor("the event in the log", async () => (await page.locator("#events").innerText()).includes("0x10067"));
  await settle();
  assert.notDeepEqual(await shot(50, digits), picture, "the digits changed in the picture");
});

test("a switch clicks with the module's own sound, and mute silences it", async () => {
  const sw = await areaOf(0, "RMI_Switch", a => a.clickable);
  const sounds = Number(await page.locator("#sound").getAttribute("data-count") || 0);
  const p = await pointAt(0, sw);
  await page.mouse.click(p.x, p.y);
  await waitFor("the click sounded", async () =>
    Number(await page.locator("#sound").getAttribute("data-count") || 0) > sounds);
  assert.match(await page.locator("#sound").innerText(), /WAVE 10 from RMI_Switch/);
  const wave = await page.evaluate(() => fetch("/sound/30.wav").then(r => r.arrayBuffer()).then(b => new TextDecoder().decode(b.slice(0, 12))));
  assert.match(wave, /^RIFF....WAVE$/s);
  await page.locator("#mute").check();
  await page.mouse.click(p.x, p.y);
  await waitFor("a muted click listed", async () => /\(muted\)/.test(await page.locator("#sound").innerText()));
  await page.locator("#mute").uncheck();
});

test("holding a knob steps it again and again", async () => {
  const whole = await areaOf(50, COM1, a => a.cursor === 1 && a.buttons & 0x200000 && a.x < 150 + 100 && a.w > 30);
  const before = await variable(COM1_STANDBY);
  await pointAt(50, whole);
  await page.mouse.down();
  await page.waitForTimeout(1500);
  await page.mouse.up();
  await settle();
  const steps = ((await variable(COM1_STANDBY)) >> 8) - (before >> 8);
  assert.ok(steps >= 4 || steps < 0, `held for 1.5 s the whole MHz stepped ${steps} times`);
});

test("dragging a lever moves it", async () => {
  await windowOpen(10, true);
  const lever = await areaOf(10, "Throttle_Quadrant", a => a.buttons & 0x800000);
  const p = await pointAt(10, lever);
  const log = await page.locator("#events").innerText();
  await page.mouse.down();
  for (let i = 1; i <= 8; ++i) { await page.mouse.move(p.x, p.y - 6 * i); await page.waitForTimeout(40); }
  await page.mouse.up();
  await waitFor("the lever's events in the log", async () => (await page.locator("#events").innerText()) !== log);
});

test("the altitude slider moves the altimeter", async () => {
  const picture = await page.locator("#win-0 canvas").screenshot();
  await page.locator("#ctl-altitude").fill("12000");
  await waitFor("altitude 12000", async () => (await variable(0x4A)) === 12000);
  await settle();
  assert.notDeepEqual(await page.locator("#win-0 canvas").screenshot(), picture, "the altimeter moved");
});

test("a recorded session downloads as a scenario that replays", async () => {
  await page.locator("#record").click();
  await waitFor("recording", async () => (await api("/api/state")).recording);
  const fraction = await areaOf(50, COM1, a => a.cursor === 2 && a.w < 40 && a.x > 150 && a.buttons & 0x200000);
  const p = await pointAt(50, fraction);
  await page.mouse.click(p.x, p.y);
  await settle(300);
  const whole = await areaOf(50, COM1, a => a.cursor === 2 && a.buttons & 0x200000 && a.w > 30);
  await pointAt(50, whole);
  await page.mouse.down();
  await page.waitForTimeout(800);
  await page.mouse.up();
  await page.locator("#ctl-heading").fill("200");
  await settle();
  const download = page.waitForEvent("download");
  await page.locator("#record").click();
  const file = join(folder, "session.scn");
  await (await download).saveAs(file);
  const scenario = readFileSync(file, "utf8");
  assert.match(scenario, /click Bendix_KY196_COM1 \d+ \d+\nexpect event 0x10066 0/);
  assert.match(scenario, /click Bendix_KY196_COM1 \d+ \d+ held \d+/);
  assert.match(scenario, /expect text Bendix_KY196_COM1 \d+ "1\d\d\.\d\d"/);
  const run = spawnSync(BENCH, ["run", file], {encoding: "utf8"});
  assert.equal(run.status, 0, run.stdout + run.stderr);
  assert.match(run.stdout, /1 passed, 0 failed/);
});

test("every window open keeps its pictures coming", async () => {
  for (const ident of [0, 50, 10001, 10002, 250, 10, 75, 10003, 10004]) await windowOpen(ident, true);
  // The flight, and the main panel's air data, attitude and engine swept every frame or so, so that
  // its gauges are redrawn each time.
  await page.locator("#fly").check();
  // (Sent from here, not through the page, so as not to take the browser's connections.)
  // CORVAN_PAGE_STRESS=0 leaves the flight alone, as a designer watching it would.
  const sweep = process.env.CORVAN_PAGE_STRESS === "0" ? undefined : setInterval(() => {
    const t = Math.floor(Date.now() / 50);
    for (const [id, v] of [[0x3D, 60 + t % 200], [0x4A, 50 * t % 20000], [0x54, t % 360], [0x53, t % 360],
                           [0x41, (t % 40 - 20) * 30], [0x4E, t % 20 - 10], [0x50, t % 40 - 20], [0x275, t % 70 / 100],
                           [0x277, 1000 + 10 * (t % 80)], [0x272, 50 + t % 50], [0x2BD, t % 110 / 100]])
      fetch(base + "/api/var", {method: "POST", headers: {"X-Corvan-Bench": "1"},
                                body: new URLSearchParams({id: "0x" + id.toString(16), value: String(v)})}).catch(() => {});
  }, 55);
  const map = await page.locator("#mapinfo").innerText();
  await page.waitForTimeout(5000);
  clearInterval(sweep);
  assert.notEqual(await page.locator("#mapinfo").innerText(), map, "the map follows the flight");
  const rate = Number(await page.locator("#fps").getAttribute("data-rate"));
  console.log("# " + await page.evaluate(() => window.pictureRates()));
  console.log(`# slowest window: ${rate} pictures a second with every window open`);
  assert.ok(rate >= 2, `pictures keep coming (${rate} a second)`);
  if (process.env.CORVAN_SCREENSHOT) {  // the whole page at half scale, for the README
    await page.evaluate(() => { window.scrollTo(0, 0); document.documentElement.style.zoom = "0.5"; });
    await page.waitForTimeout(500);
    const bottom = await page.evaluate(() => Math.max(...[...document.querySelectorAll(".win, #side")]
      .map(e => e.getBoundingClientRect().bottom)));
    await page.screenshot({path: process.env.CORVAN_SCREENSHOT, clip: {x: 0, y: 0, width: 1900, height: Math.min(1100, Math.ceil(bottom) + 8)}});
    await page.evaluate(() => { document.documentElement.style.zoom = ""; });
  }
  await page.locator("#fly").uncheck();
});
