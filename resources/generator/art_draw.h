// Drawing helpers shared by the painters.
#pragma once

#include <cairo.h>

#include <map>
#include <string>

#include "manifest.h"

namespace resgen {

using Painter = void (*)(cairo_t*, const BitmapEntry&);
using PainterTable = std::map<std::string, Painter>;
void register_instrument_painters(PainterTable& table);

constexpr double kPi = 3.14159265358979323846;
constexpr int kNearBlack = 8;  // opaque black: pure black is the transparent colour

void rgb(cairo_t* cr, int r, int g, int b);
// Lamp and legend colours by name: green, amber, red, white, blue, orange, yellow, darkamber, cyan.
void lamp_rgb(cairo_t* cr, const std::string& name, double level = 1.0);
void text_at(cairo_t* cr, double cx, double cy, const std::string& s, double size, bool bold = true,
             const char* font = "Liberation Sans");  // centred on (cx, cy)
void text_left(cairo_t* cr, double x, double cy, const std::string& s, double size, bool bold = false);
double text_width(cairo_t* cr, const std::string& s, double size, bool bold = true);
// Largest size at most `size` at which `s` fits `w` pixels.
double fit_size(cairo_t* cr, const std::string& s, double size, double w, bool bold = true);
void round_rect(cairo_t* cr, double x, double y, double w, double h, double r);
void panel(cairo_t* cr, double w, double h);  // instrument-panel grey with a darker edge
void screw(cairo_t* cr, double x, double y, double r);
void knob(cairo_t* cr, double cx, double cy, double r, bool index, double angle = 0);
void dark_window(cairo_t* cr, double x, double y, double w, double h);
void radial_glow(cairo_t* cr, double cx, double cy, double r, const std::string& colour);

}  // namespace resgen
