// The HTTP interface of the served page, over a ServedPanel:
//
//   GET  /                       the page
//   GET  /window/IDENT.png       a window as the last frame left it (ETag; If-None-Match: 304)
//   GET  /sound/ID.wav           a WAVE resource of the module
//   GET  /api/state[?vars=H,..]  frame, simulation, fly, recording, windows, recent key events and
//                                sounds, failures, and the values of the variables asked for
//   GET  /api/panel              the panel file's errors, undrawn sections, other modules' gauges
//   GET  /api/areas?window=IDENT the window's mouse and tooltip areas (cursor, help, tooltip)
//   GET  /api/gauge?name=N[&nth=K] a placement's elements as last drawn
//   GET  /api/var?id=HEX         a token variable
//   GET  /api/map                the moving map: the aircraft (position, true heading, altitude,
//                                ground speed), its track, the beacons of the loaded world
//   GET  /api/record.scn         the session as a scenario (see session_record.h)
//   POST /api/mouse              window, x, y (window pixels), button left|right,
//                                action press|repeat|drag|release
//   POST /api/var                id (hex), value
//   POST /api/simulate           on 1|0
//   POST /api/window             ident, open 1|0 (as the simulator's window menu would)
//   POST /api/fail               key, on 1|0
//   POST /api/fly                on 1|0: the closed loop when the demo switched it on, else the
//                                demo's set and frame lines replayed
//   POST /api/record             on 1|0
//
// Bad requests change nothing: unknown paths and placements 404, wrong methods 405, bodies over
// 4 KiB 413, bodies that are not form fields 415, bad fields and presses outside the window 400.
// One mutex guards the host, the renderer and the log: the frame thread and the request handlers
// take turns. The server answers on the loopback address only, only to requests naming it as
// 127.0.0.1 or localhost, and takes POSTs only with the page's own header, so that other sites
// open in the same browser cannot drive it.
#pragma once

#include <httplib.h>

#include "bench/host.h"
#include "bench/panel_cfg.h"
#include "bench/serve/served_panel.h"

namespace bench {

inline constexpr const char* kLoopback = "127.0.0.1";  // the only address the page is served on

void add_routes(httplib::Server& server, ServedPanel& served, const PanelConfig& panel, const LoadedModule& module);

}  // namespace bench
