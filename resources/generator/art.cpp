// Panels, switches, lamps, radio faces and the other flat pictures; the dial instruments are in
// art_instruments.cpp.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <sstream>
#include <vector>

#include "art.h"
#include "art_draw.h"

namespace resgen {

// ----------------------------------------------------------------------------------------------
// Helpers

void rgb(cairo_t* cr, int r, int g, int b) { cairo_set_source_rgb(cr, r / 255.0, g / 255.0, b / 255.0); }

void lamp_rgb(cairo_t* cr, const std::string& name, double level) {
    struct C { const char* n; int r, g, b; };
    static const C table[] = {{"green", 60, 230, 70},   {"amber", 255, 176, 20}, {"red", 240, 40, 30},
                              {"white", 240, 240, 235}, {"blue", 70, 130, 255},  {"orange", 208, 96, 16},
                              {"yellow", 250, 230, 40}, {"darkamber", 90, 60, 16}, {"cyan", 60, 220, 230}};
    for (const C& c : table)
        if (name == c.n) {
            cairo_set_source_rgb(cr, std::max(kNearBlack / 255.0, c.r * level / 255.0),
                                 std::max(kNearBlack / 255.0, c.g * level / 255.0),
                                 std::max(kNearBlack / 255.0, c.b * level / 255.0));
            return;
        }
    rgb(cr, 240, 240, 235);
}

static void select_font(cairo_t* cr, const char* font, double size, bool bold) {
    cairo_select_font_face(cr, font, CAIRO_FONT_SLANT_NORMAL, bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
}

double text_width(cairo_t* cr, const std::string& s, double size, bool bold) {
    select_font(cr, "Liberation Sans", size, bold);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, s.c_str(), &ext);
    return ext.x_advance;
}

double fit_size(cairo_t* cr, const std::string& s, double size, double w, bool bold) {
    double tw = text_width(cr, s, size, bold);
    return tw > w ? size * w / tw : size;
}

void text_at(cairo_t* cr, double cx, double cy, const std::string& s, double size, bool bold, const char* font) {
    if (s.empty()) return;
    select_font(cr, font, size, bold);
    cairo_text_extents_t ext;
    cairo_text_extents(cr, s.c_str(), &ext);
    cairo_font_extents_t fe;
    cairo_font_extents(cr, &fe);
    cairo_move_to(cr, cx - ext.x_advance / 2, cy + (fe.ascent - fe.descent) / 2 - 0.5);
    cairo_show_text(cr, s.c_str());
    cairo_new_path(cr);  // no current point left behind for the next arc to join
}

void text_left(cairo_t* cr, double x, double cy, const std::string& s, double size, bool bold) {
    select_font(cr, "Liberation Sans", size, bold);
    cairo_font_extents_t fe;
    cairo_font_extents(cr, &fe);
    cairo_move_to(cr, x, cy + (fe.ascent - fe.descent) / 2 - 0.5);
    cairo_show_text(cr, s.c_str());
    cairo_new_path(cr);
}

void round_rect(cairo_t* cr, double x, double y, double w, double h, double r) {
    r = std::min({r, w / 2, h / 2});
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -kPi / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, kPi / 2);
    cairo_arc(cr, x + r, y + h - r, r, kPi / 2, kPi);
    cairo_arc(cr, x + r, y + r, r, kPi, 3 * kPi / 2);
    cairo_close_path(cr);
}

void panel(cairo_t* cr, double w, double h) {
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, h);
    cairo_pattern_add_color_stop_rgb(g, 0, 0.27, 0.28, 0.30);
    cairo_pattern_add_color_stop_rgb(g, 1, 0.19, 0.20, 0.22);
    cairo_set_source(cr, g);
    cairo_rectangle(cr, 0, 0, w, h);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    cairo_set_line_width(cr, 1.5);
    rgb(cr, 90, 92, 96);
    cairo_rectangle(cr, 0.75, 0.75, w - 1.5, h - 1.5);
    cairo_stroke(cr);
}

void screw(cairo_t* cr, double x, double y, double r) {
    cairo_new_path(cr);
    cairo_arc(cr, x, y, r, 0, 2 * kPi);
    rgb(cr, 120, 120, 124);
    cairo_fill_preserve(cr);
    rgb(cr, 40, 40, 42);
    cairo_set_line_width(cr, 0.8);
    cairo_stroke(cr);
    cairo_move_to(cr, x - r * 0.7, y - r * 0.3);
    cairo_line_to(cr, x + r * 0.7, y + r * 0.3);
    cairo_set_line_width(cr, std::max(0.8, r * 0.3));
    cairo_stroke(cr);
}

void knob(cairo_t* cr, double cx, double cy, double r, bool index, double angle) {
    cairo_pattern_t* g = cairo_pattern_create_radial(cx - r * 0.3, cy - r * 0.3, r * 0.1, cx, cy, r);
    cairo_pattern_add_color_stop_rgb(g, 0, 0.36, 0.36, 0.38);
    cairo_pattern_add_color_stop_rgb(g, 1, 0.10, 0.10, 0.11);
    cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    // Knurling around the rim.
    cairo_set_line_width(cr, std::max(0.6, r * 0.06));
    rgb(cr, 24, 24, 26);
    int ribs = std::max(12, int(r * 1.6));
    for (int i = 0; i < ribs; ++i) {
        double a = 2 * kPi * i / ribs;
        cairo_move_to(cr, cx + std::cos(a) * r * 0.82, cy + std::sin(a) * r * 0.82);
        cairo_line_to(cr, cx + std::cos(a) * r * 0.98, cy + std::sin(a) * r * 0.98);
    }
    cairo_stroke(cr);
    if (index) {
        cairo_set_line_width(cr, std::max(1.2, r * 0.14));
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        rgb(cr, 245, 245, 240);
        cairo_move_to(cr, cx + std::cos(angle) * r * 0.25, cy + std::sin(angle) * r * 0.25);
        cairo_line_to(cr, cx + std::cos(angle) * r * 0.9, cy + std::sin(angle) * r * 0.9);
        cairo_stroke(cr);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
    }
}

void dark_window(cairo_t* cr, double x, double y, double w, double h) {
    rgb(cr, 70, 72, 76);
    cairo_rectangle(cr, x - 2, y - 2, w + 4, h + 4);
    cairo_fill(cr);
    rgb(cr, 12, 10, 10);
    cairo_rectangle(cr, x, y, w, h);
    cairo_fill(cr);
}

void radial_glow(cairo_t* cr, double cx, double cy, double r, const std::string& colour) {
    lamp_rgb(cr, colour, 0.55);
    cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
    cairo_fill(cr);
    lamp_rgb(cr, colour, 1.0);
    cairo_arc(cr, cx, cy, r * 0.8, 0, 2 * kPi);
    cairo_fill(cr);
    cairo_pattern_t* g = cairo_pattern_create_radial(cx - r * 0.3, cy - r * 0.3, 0, cx, cy, r * 0.8);
    cairo_pattern_add_color_stop_rgba(g, 0, 1, 1, 1, 0.7);
    cairo_pattern_add_color_stop_rgba(g, 1, 1, 1, 1, 0);
    cairo_set_source(cr, g);
    cairo_arc(cr, cx, cy, r * 0.8, 0, 2 * kPi);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
}

static std::vector<std::string> split_list(const std::string& s, char sep = ',') {
    std::vector<std::string> out;
    std::stringstream in(s);
    for (std::string item; std::getline(in, item, sep);) out.push_back(item);
    return out;
}

static double W(const BitmapEntry& e) { return e.width; }
static double H(const BitmapEntry& e) { return e.height; }

// ----------------------------------------------------------------------------------------------
// Small buttons, plates and lamps

static void p_toggle(cairo_t* cr, const BitmapEntry& e) {
    round_rect(cr, 1, 1, W(e) - 2, H(e) - 2, 3);
    rgb(cr, 58, 60, 66);
    cairo_fill_preserve(cr);
    rgb(cr, 150, 150, 155);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    lamp_rgb(cr, e.arg("color", "white"));
    std::string t = e.arg("text");
    if (t.empty()) {
        cairo_arc(cr, W(e) / 2, H(e) / 2, 2.5, 0, 2 * kPi);
        cairo_fill(cr);
        return;
    }
    text_at(cr, W(e) / 2, H(e) / 2, t, fit_size(cr, t, 8, W(e) - 4));
}

static void p_invisible(cairo_t*, const BitmapEntry&) {}  // all transparent

static void p_placard(cairo_t* cr, const BitmapEntry& e) {
    round_rect(cr, 0.5, 0.5, W(e) - 1, H(e) - 1, 3);
    rgb(cr, 26, 26, 30);
    cairo_fill_preserve(cr);
    rgb(cr, 150, 150, 150);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    screw(cr, 6, H(e) / 2, 2.5);
    screw(cr, W(e) - 6, H(e) / 2, 2.5);
}

static void p_plate(cairo_t* cr, const BitmapEntry& e) {
    panel(cr, W(e), H(e));
    rgb(cr, 225, 225, 220);
    std::string t = e.arg("title");
    if (!t.empty()) text_at(cr, W(e) / 2, 9, t, fit_size(cr, t, 9, W(e) - 6));
    screw(cr, 5, H(e) - 5, 2);
    screw(cr, W(e) - 5, H(e) - 5, 2);
}

static void p_lamp(cairo_t* cr, const BitmapEntry& e) {
    radial_glow(cr, W(e) / 2, H(e) / 2, std::min(W(e), H(e)) / 2 - 0.5, e.arg("color", "green"));
}

// A round part that serves as a gauge's background sits on a panel plate (plate=1): a background's
// black is drawn as it is, not left transparent.
static void plate_if_background(cairo_t* cr, const BitmapEntry& e) {
    if (e.arg("plate") == "1") panel(cr, W(e), H(e));
}

static void p_round_lamp(cairo_t* cr, const BitmapEntry& e) {
    plate_if_background(cr, e);
    double r = std::min(W(e), H(e)) / 2;
    cairo_arc(cr, W(e) / 2, H(e) / 2, r - 0.5, 0, 2 * kPi);
    rgb(cr, 110, 110, 115);
    cairo_fill(cr);
    std::string c = e.arg("color", "green");
    if (c == "darkamber") {
        lamp_rgb(cr, c);
        cairo_arc(cr, W(e) / 2, H(e) / 2, r - 3, 0, 2 * kPi);
        cairo_fill(cr);
        return;
    }
    radial_glow(cr, W(e) / 2, H(e) / 2, r - 2.5, c);
}

static void p_marker(cairo_t* cr, const BitmapEntry& e) {
    p_round_lamp(cr, e);
    rgb(cr, 20, 20, 20);
    text_at(cr, W(e) / 2, H(e) / 2, e.arg("letter"), H(e) * 0.55);
}

static void p_cover(cairo_t* cr, const BitmapEntry&) {
    rgb(cr, kNearBlack, kNearBlack, kNearBlack);
    cairo_paint(cr);
}

static void p_lit_button(cairo_t* cr, const BitmapEntry& e) {
    round_rect(cr, 1, 1, W(e) - 2, H(e) - 2, 2);
    rgb(cr, 60, 60, 64);
    cairo_fill(cr);
    std::string t = e.arg("text");
    lamp_rgb(cr, "white");
    if (t == "<->") {
        double cy = H(e) / 2, l = 5, r = W(e) - 5;
        cairo_set_line_width(cr, 1.6);
        cairo_move_to(cr, l, cy);
        cairo_line_to(cr, r, cy);
        cairo_stroke(cr);
        for (int side : {0, 1}) {
            double x = side ? r : l, d = side ? -4 : 4;
            cairo_move_to(cr, x, cy);
            cairo_line_to(cr, x + d, cy - 3.5);
            cairo_line_to(cr, x + d, cy + 3.5);
            cairo_close_path(cr);
            cairo_fill(cr);
        }
        return;
    }
    auto lines = split_list(t, '/');
    if (lines.size() <= 1) {
        text_at(cr, W(e) / 2, H(e) / 2, t, fit_size(cr, t, 8, W(e) - 4));
    } else {
        text_at(cr, W(e) / 2, H(e) / 2 - 4, lines[0], fit_size(cr, lines[0], 7, W(e) - 4));
        text_at(cr, W(e) / 2, H(e) / 2 + 4, lines[1], fit_size(cr, lines[1], 7, W(e) - 4));
    }
}

static void p_lit_legend(cairo_t* cr, const BitmapEntry& e) {
    lamp_rgb(cr, e.arg("color", "white"));
    std::string t = e.arg("text");
    text_at(cr, W(e) / 2, H(e) / 2, t, fit_size(cr, t, H(e) * 0.8, W(e) - 2));
}

static void p_keypad_row(cairo_t* cr, const BitmapEntry& e) {
    const char* keys[] = {"0", "1", "2", "3", "4", "5", "6", "7"};
    lamp_rgb(cr, "white");
    for (int i = 0; i < 8; ++i) text_at(cr, 11 + 31 * i, H(e) / 2, keys[i], 10);
    text_at(cr, 268 - 10 + 11, H(e) / 2, "CLR", 9);
    text_at(cr, 310 - 10 + 11, H(e) / 2, "VFR", 9);
}

static void p_legend_lamp(cairo_t* cr, const BitmapEntry& e) {
    std::string c = e.arg("color", "green");
    round_rect(cr, 0.5, 0.5, W(e) - 1, H(e) - 1, 2);
    lamp_rgb(cr, c, 0.22);
    cairo_fill(cr);
    lamp_rgb(cr, c);
    std::string t = e.arg("text");
    text_at(cr, W(e) / 2, H(e) / 2, t, fit_size(cr, t, H(e) * 0.72, W(e) - 3));
}

static void p_annun_light(cairo_t* cr, const BitmapEntry& e) {
    std::string c = e.arg("color", "amber");
    std::string t = e.arg("text");
    rgb(cr, 40, 40, 40);
    cairo_rectangle(cr, 0, 0, W(e), H(e));
    cairo_fill(cr);
    if (t.empty()) {  // a blank lens: never lit
        rgb(cr, 24, 22, 20);
        cairo_rectangle(cr, 2, 2, W(e) - 4, H(e) - 4);
        cairo_fill(cr);
        return;
    }
    lamp_rgb(cr, c);
    cairo_rectangle(cr, 2, 2, W(e) - 4, H(e) - 4);
    cairo_fill(cr);
    rgb(cr, 20, 16, 12);
    text_at(cr, W(e) / 2, H(e) / 2, t, fit_size(cr, t, 13, W(e) - 8));
}

static void p_master_light(cairo_t* cr, const BitmapEntry& e) {
    std::string c = e.arg("color", "red");
    round_rect(cr, 3, 3, W(e) - 6, H(e) - 6, 6);
    lamp_rgb(cr, c);
    cairo_fill(cr);
    rgb(cr, 20, 14, 10);
    text_at(cr, W(e) / 2, H(e) / 2 - 9, "MASTER", 13);
    text_at(cr, W(e) / 2, H(e) / 2 + 9, e.arg("text"), fit_size(cr, e.arg("text"), 14, W(e) - 12));
}

static void p_master_face(cairo_t* cr, const BitmapEntry& e) {
    panel(cr, W(e), H(e));
    const char* words[] = {"WARNING", "CAUTION"};
    for (int i = 0; i < 2; ++i) {
        round_rect(cr, 80 * i + 3, 3, 74, 54, 6);
        rgb(cr, i ? 60 : 62, i ? 46 : 22, i ? 16 : 20);
        cairo_fill(cr);
        rgb(cr, 110, 100, 90);
        text_at(cr, 80 * i + 40, 21, "MASTER", 13);
        text_at(cr, 80 * i + 40, 39, words[i], 13);
    }
}

static void p_dot(cairo_t* cr, const BitmapEntry& e) {
    radial_glow(cr, W(e) / 2, H(e) / 2, std::min(W(e), H(e)) / 2 - 0.3, e.arg("color", "green"));
}

static void p_flag(cairo_t* cr, const BitmapEntry& e) {
    // Red and white warning flag with its word.
    rgb(cr, 220, 30, 25);
    cairo_rectangle(cr, 0, 0, W(e), H(e));
    cairo_fill(cr);
    std::string t = e.arg("text");
    if (t.empty()) {
        rgb(cr, 240, 240, 240);
        for (double y = -W(e); y < H(e); y += 8) {
            cairo_move_to(cr, 0, y);
            cairo_line_to(cr, W(e), y + W(e));
            cairo_line_to(cr, W(e), y + W(e) + 3);
            cairo_line_to(cr, 0, y + 3);
            cairo_fill(cr);
        }
        return;
    }
    rgb(cr, 250, 250, 250);
    text_at(cr, W(e) / 2, H(e) / 2, t, fit_size(cr, t, H(e) * 0.8, W(e) - 4));
}

static void p_striped(cairo_t* cr, const BitmapEntry& e) {
    rgb(cr, 240, 240, 240);
    cairo_rectangle(cr, 0, 0, W(e), H(e));
    cairo_fill(cr);
    rgb(cr, 220, 30, 25);
    for (double x = -H(e); x < W(e); x += 12) {
        cairo_move_to(cr, x, H(e));
        cairo_line_to(cr, x + H(e), 0);
        cairo_line_to(cr, x + H(e) + 6, 0);
        cairo_line_to(cr, x + 6, H(e));
        cairo_fill(cr);
    }
}

static void p_hatch(cairo_t* cr, const BitmapEntry& e) {
    rgb(cr, 240, 240, 240);
    cairo_rectangle(cr, 0, 0, W(e), H(e));
    cairo_fill(cr);
    rgb(cr, kNearBlack, kNearBlack, kNearBlack);
    for (double x = -H(e); x < W(e); x += 8) {
        cairo_move_to(cr, x, H(e));
        cairo_line_to(cr, x + H(e), 0);
        cairo_line_to(cr, x + H(e) + 4, 0);
        cairo_line_to(cr, x + 4, H(e));
        cairo_fill(cr);
    }
}

static void p_arrow(cairo_t* cr, const BitmapEntry& e) {
    bool up = e.arg("dir", "up") == "up";
    lamp_rgb(cr, e.arg("color", "white"));
    double w = W(e), h = H(e);
    if (up) {
        cairo_move_to(cr, w / 2, 1);
        cairo_line_to(cr, w - 1, h - 1);
        cairo_line_to(cr, 1, h - 1);
    } else {
        cairo_move_to(cr, w / 2, h - 1);
        cairo_line_to(cr, w - 1, 1);
        cairo_line_to(cr, 1, 1);
    }
    cairo_close_path(cr);
    cairo_fill(cr);
}

// The radar's sweep line: along +x from the pivot (2,130), the rest of the picture see-through.
static void p_sweep(cairo_t* cr, const BitmapEntry& e) {
    lamp_rgb(cr, "green");
    cairo_rectangle(cr, 2, 128.5, W(e) - 2, 3);
    cairo_fill(cr);
}

static void p_bar(cairo_t* cr, const BitmapEntry& e) {
    lamp_rgb(cr, e.arg("color", "white"));
    cairo_rectangle(cr, 0, 0, W(e), H(e));
    cairo_fill(cr);
}

static void p_ball(cairo_t* cr, const BitmapEntry& e) {
    cairo_pattern_t* g = cairo_pattern_create_radial(W(e) * 0.35, H(e) * 0.35, 1, W(e) / 2, H(e) / 2, W(e) / 2);
    cairo_pattern_add_color_stop_rgb(g, 0, 0.6, 0.6, 0.6);
    cairo_pattern_add_color_stop_rgb(g, 1, 0.05, 0.05, 0.05);
    cairo_arc(cr, W(e) / 2, H(e) / 2, std::min(W(e), H(e)) / 2 - 1, 0, 2 * kPi);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
}

static void p_incl_glass(cairo_t* cr, const BitmapEntry& e) {
    cairo_set_line_width(cr, 2);
    rgb(cr, 235, 235, 235);
    cairo_move_to(cr, W(e) / 2 - 8, 2);
    cairo_line_to(cr, W(e) / 2 - 8, H(e) - 2);
    cairo_move_to(cr, W(e) / 2 + 8, 2);
    cairo_line_to(cr, W(e) / 2 + 8, H(e) - 2);
    cairo_stroke(cr);
}

static void p_mark(cairo_t* cr, const BitmapEntry& e) {
    rgb(cr, 30, 30, 30);
    cairo_move_to(cr, 0, 0);
    cairo_line_to(cr, W(e), 0);
    cairo_line_to(cr, W(e) / 2, H(e));
    cairo_close_path(cr);
    cairo_fill(cr);
}

// ----------------------------------------------------------------------------------------------
// Knobs, selectors, switches

static void p_knob(cairo_t* cr, const BitmapEntry& e) {
    double r = std::min(W(e), H(e)) / 2 - 0.5;
    knob(cr, W(e) / 2, H(e) / 2, r, e.num("index", 0) > 0, 0);  // index toward +x: the needle's zero
    std::string label = e.arg("label");
    if (!label.empty()) {
        rgb(cr, 200, 200, 200);
        text_at(cr, W(e) / 2, H(e) / 2, label, r * 0.45);
    }
}

// A rotary selector: pointer at position `pos` of `n`, positions spread over 120 degrees from
// lower left to upper right (pos 0 at the lower left).
static void p_selector(cairo_t* cr, const BitmapEntry& e) {
    int n = int(e.num("n", 4)), pos = int(e.num("pos", 0));
    double span = n > 4 ? 150 : 120;
    double a = (-90 - span / 2 + span * pos / (n - 1)) * kPi / 180;
    double r = std::min(W(e), H(e)) / 2 - 1;
    knob(cr, W(e) / 2, H(e) / 2, r, false);
    // The bar knob with its pointer.
    cairo_save(cr);
    cairo_translate(cr, W(e) / 2, H(e) / 2);
    cairo_rotate(cr, a);
    round_rect(cr, -r * 0.85, -r * 0.22, r * 1.7, r * 0.44, r * 0.2);
    rgb(cr, 40, 40, 44);
    cairo_fill(cr);
    rgb(cr, 245, 245, 240);
    cairo_set_line_width(cr, std::max(1.2, r * 0.12));
    cairo_move_to(cr, r * 0.2, 0);
    cairo_line_to(cr, r * 0.85, 0);
    cairo_stroke(cr);
    cairo_restore(cr);
}

static void p_power_knob(cairo_t* cr, const BitmapEntry& e) {
    int pos = int(e.num("pos", 0));
    auto labels = split_list(e.arg("labels", "OFF,ON,PULL"));
    double cx = W(e) / 2, cy = H(e) / 2 + 2, r = 11;
    // Legends beside the knob, the current one lit.
    for (int i = 0; i < 3 && i < int(labels.size()); ++i) {
        if (i == pos) rgb(cr, 250, 250, 250); else rgb(cr, 120, 120, 120);
        double y = i == 0 ? cy + 10 : (i == 1 ? cy - 8 : cy + 10);
        double x = i == 0 ? 6 : (i == 1 ? 6 : W(e) - 6);
        text_at(cr, x, y, labels[i], 6);
    }
    if (pos == 2) r = 12.5;  // pulled: the knob comes out toward the pilot
    double a = pos == 0 ? kPi * 0.75 : (pos == 1 ? kPi * 1.25 : kPi * 1.5);
    knob(cr, cx, cy, r, true, a);
}

static void p_toggle_switch(cairo_t* cr, const BitmapEntry& e) {
    std::string pos = e.arg("pos", "down");
    double w = W(e), h = H(e), cx = w / 2, cy = h / 2;
    double nut = std::min(w, h) * 0.28;
    cairo_arc(cr, cx, cy, nut, 0, 2 * kPi);
    rgb(cr, 150, 150, 155);
    cairo_fill_preserve(cr);
    rgb(cr, 70, 70, 74);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    double len = h * 0.38;
    double dir = pos == "up" ? -1 : (pos == "down" ? 1 : 0);
    double tip_y = cy + dir * len;
    double lever_w = std::max(3.0, w * 0.2);
    bool red = e.arg("color") == "red";
    if (dir == 0) {  // centred: seen end-on
        cairo_arc(cr, cx, cy, lever_w * 0.9, 0, 2 * kPi);
        if (red) rgb(cr, 200, 40, 30); else rgb(cr, 225, 225, 228);
        cairo_fill(cr);
        return;
    }
    cairo_pattern_t* g = cairo_pattern_create_linear(cx - lever_w, 0, cx + lever_w, 0);
    cairo_pattern_add_color_stop_rgb(g, 0, 0.55, 0.55, 0.58);
    cairo_pattern_add_color_stop_rgb(g, 0.5, 0.95, 0.95, 0.96);
    cairo_pattern_add_color_stop_rgb(g, 1, 0.45, 0.45, 0.48);
    cairo_move_to(cr, cx - lever_w * 0.35, cy);
    cairo_line_to(cr, cx - lever_w * 0.5, tip_y);
    cairo_line_to(cr, cx + lever_w * 0.5, tip_y);
    cairo_line_to(cr, cx + lever_w * 0.35, cy);
    cairo_close_path(cr);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    cairo_arc(cr, cx, tip_y, lever_w * 0.6, 0, 2 * kPi);
    if (red) rgb(cr, 200, 40, 30); else rgb(cr, 235, 235, 238);
    cairo_fill(cr);
}

static void p_small_toggle(cairo_t* cr, const BitmapEntry& e) {
    BitmapEntry copy = e;
    copy.args["pos"] = e.num("pos", 0) > 0 ? "up" : "mid";
    rgb(cr, 40, 40, 44);
    cairo_rectangle(cr, 0, 0, W(e), H(e));
    cairo_fill(cr);
    p_toggle_switch(cr, copy);
    rgb(cr, 220, 220, 220);
    text_at(cr, W(e) / 2, H(e) - 4, "TEST", 7);
}

static void p_rocker(cairo_t* cr, const BitmapEntry& e) {
    bool on = e.num("on", 0) > 0;
    round_rect(cr, 2, 2, W(e) - 4, H(e) - 4, 3);
    rgb(cr, 30, 30, 32);
    cairo_fill(cr);
    double half = (H(e) - 8) / 2;
    cairo_rectangle(cr, 4, on ? 4 : 4 + half, W(e) - 8, half);
    rgb(cr, 200, 200, 200);
    cairo_fill(cr);
    cairo_rectangle(cr, 4, on ? 4 + half : 4, W(e) - 8, half);
    rgb(cr, 70, 70, 72);
    cairo_fill(cr);
    if (on) {
        lamp_rgb(cr, "green");
        cairo_rectangle(cr, W(e) / 2 - 3, 6, 6, 2);
        cairo_fill(cr);
    }
}

static void p_rocker3(cairo_t* cr, const BitmapEntry& e) {
    int pos = int(e.num("pos", 0));  // 0 neutral, 1 left, 2 right
    round_rect(cr, 1, 1, W(e) - 2, H(e) - 2, 5);
    rgb(cr, 36, 36, 38);
    cairo_fill(cr);
    double cx = W(e) / 2 + (pos == 1 ? -9 : pos == 2 ? 9 : 0);
    round_rect(cr, cx - 9, 6, 18, H(e) - 12, 4);
    rgb(cr, 190, 190, 194);
    cairo_fill(cr);
    rgb(cr, 230, 230, 230);
    text_at(cr, 7, H(e) / 2, "L", 9);
    text_at(cr, W(e) - 7, H(e) / 2, "R", 9);
}

static void p_switch_plate(cairo_t* cr, const BitmapEntry& e) {
    panel(cr, W(e), H(e));
    rgb(cr, 230, 230, 225);
    std::string t = e.arg("title");
    double top = 7;
    if (!t.empty()) text_at(cr, W(e) / 2, top, t, fit_size(cr, t, 7, W(e) - 2));
    double fs = std::min(6.5, W(e) / 5);
    text_at(cr, W(e) / 2, t.empty() ? 5 : 14, "ON", fs);
    text_at(cr, W(e) / 2, H(e) - 5, "OFF", fs);
}

static void p_aux_plate(cairo_t* cr, const BitmapEntry& e) {
    panel(cr, W(e), H(e));
    rgb(cr, 230, 230, 225);
    text_at(cr, W(e) / 2, 8, "AUX BP", 9);
    text_at(cr, W(e) / 2 + 16, 24, "ON", 7);
    text_at(cr, W(e) / 2 + 17, H(e) / 2, "AUTO", 6);
    text_at(cr, W(e) / 2 + 16, H(e) - 18, "OFF", 7);
}

static void p_test_button(cairo_t* cr, const BitmapEntry& e) {
    panel(cr, W(e), H(e));
    cairo_arc(cr, W(e) / 2, H(e) / 2, W(e) / 2 - 3, 0, 2 * kPi);
    rgb(cr, 200, 200, 200);
    cairo_fill(cr);
    rgb(cr, 30, 30, 30);
    text_at(cr, W(e) / 2, H(e) / 2, "TEST", 5);
}

static void p_push_button(cairo_t* cr, const BitmapEntry& e) {
    bool pressed = e.num("pressed", 0) > 0;
    double x = 32, y = 4, w = 25, h = 27;
    round_rect(cr, x, y, w, h, 3);
    rgb(cr, 20, 20, 22);
    cairo_fill(cr);
    double inset = pressed ? 4 : 2;
    round_rect(cr, x + inset, y + inset, w - 2 * inset, h - 2 * inset, 2);
    rgb(cr, pressed ? 120 : 170, pressed ? 120 : 170, pressed ? 124 : 176);
    cairo_fill(cr);
    rgb(cr, 30, 30, 30);
    text_at(cr, x + w / 2, y + h / 2, "NAV", 6);
    text_at(cr, x + w / 2, y + h / 2 + 7, "GPS", 6);
    rgb(cr, 220, 220, 220);
    text_at(cr, 15, 16, "NAV", 8);
    text_at(cr, 15, 26, "GPS", 8);
}

static void p_audio_button(cairo_t* cr, const BitmapEntry& e) {
    bool pressed = e.num("pressed", 0) > 0, lit = e.num("lit", 0) > 0;
    round_rect(cr, 1, 1, W(e) - 2, H(e) - 2, 2);
    rgb(cr, pressed ? 46 : 70, pressed ? 46 : 70, pressed ? 50 : 76);
    cairo_fill(cr);
    if (pressed) {  // pushed in: the face sits lower, a shadow at the top
        rgb(cr, 20, 20, 22);
        cairo_rectangle(cr, 2, 2, W(e) - 4, 3);
        cairo_fill(cr);
    }
    if (lit) lamp_rgb(cr, "white"); else rgb(cr, 110, 110, 110);
    cairo_rectangle(cr, 4, pressed ? 9 : 7, W(e) - 8, 2);
    cairo_fill(cr);
}

static void p_ap_button(cairo_t* cr, const BitmapEntry& e) {
    bool pressed = e.num("pressed", 0) > 0;
    std::string t = e.arg("text");
    round_rect(cr, 0.5, 0.5, W(e) - 1, H(e) - 1, 3);
    rgb(cr, 18, 18, 20);
    cairo_fill(cr);
    double inset = pressed ? 3.5 : 2;
    round_rect(cr, inset, inset, W(e) - 2 * inset, H(e) - 2 * inset, 2);
    rgb(cr, pressed ? 52 : 78, pressed ? 52 : 78, pressed ? 56 : 84);
    cairo_fill(cr);
    rgb(cr, 235, 235, 230);
    auto words = split_list(t, ' ');
    if (words.size() <= 1) {
        text_at(cr, W(e) / 2, H(e) / 2 + (pressed ? 1 : 0), t, fit_size(cr, t, 11, W(e) - 8));
    } else {
        text_at(cr, W(e) / 2, H(e) / 2 - 5, words[0], fit_size(cr, words[0], 8, W(e) - 6));
        text_at(cr, W(e) / 2, H(e) / 2 + 5, words[1], fit_size(cr, words[1], 8, W(e) - 6));
    }
}

static void p_brake_handle(cairo_t* cr, const BitmapEntry& e) {
    bool out = e.num("out", 0) > 0;
    double cx = W(e) / 2, y = out ? 56 : 40;
    rgb(cr, 120, 120, 126);
    cairo_rectangle(cr, cx - 3, 28, 6, y - 28);
    cairo_fill(cr);
    round_rect(cr, cx - 30, y, 60, 22, 8);
    rgb(cr, 200, 35, 30);
    cairo_fill(cr);
    rgb(cr, 250, 250, 250);
    text_at(cr, cx, y + 11, out ? "SET" : "PARK", 10);
}

static void p_gear_lever(cairo_t* cr, const BitmapEntry& e) {
    bool down = e.num("down", 0) > 0;
    double cx = W(e) / 2, pivot = H(e) / 2;
    double wheel_y = down ? H(e) - 22 : 22;
    rgb(cr, 170, 170, 176);
    cairo_rectangle(cr, cx - 3, std::min(pivot, wheel_y), 6, std::fabs(pivot - wheel_y));
    cairo_fill(cr);
    cairo_arc(cr, cx, wheel_y, 15, 0, 2 * kPi);  // the wheel-shaped knob
    rgb(cr, 235, 235, 235);
    cairo_fill(cr);
    cairo_arc(cr, cx, wheel_y, 6, 0, 2 * kPi);
    rgb(cr, 110, 110, 110);
    cairo_fill(cr);
}

static void p_gear_face(cairo_t* cr, const BitmapEntry& e) {
    panel(cr, W(e), H(e));
    dark_window(cr, W(e) / 2 - 4, 20, 8, H(e) - 40);
    rgb(cr, 230, 230, 225);
    text_at(cr, W(e) / 2, 8, "UP", 9);
    text_at(cr, W(e) / 2, H(e) - 7, "DOWN", 9);
    text_at(cr, 8, H(e) / 2, "G", 9);
    text_at(cr, W(e) - 8, H(e) / 2, "R", 9);
}

static void p_gear_lamps_face(cairo_t* cr, const BitmapEntry& e) {
    panel(cr, W(e), H(e));
    struct L { double x, y; const char* c; };
    const L lenses[] = {{1, 30, "green"}, {69, 31, "green"}, {35, 37, "green"}, {35, 2, "red"}};
    for (const L& l : lenses) {
        cairo_arc(cr, l.x + 15, l.y + 15, 14.5, 0, 2 * kPi);
        rgb(cr, 110, 110, 115);
        cairo_fill(cr);
        lamp_rgb(cr, l.c, 0.25);
        cairo_arc(cr, l.x + 15, l.y + 15, 12, 0, 2 * kPi);
        cairo_fill(cr);
    }
}

static void p_flaps_gate(cairo_t* cr, const BitmapEntry& e) {
    panel(cr, W(e), H(e));
    dark_window(cr, 18, 10, 6, H(e) - 20);
    rgb(cr, 230, 230, 225);
    text_left(cr, 40, 16, "UP", 9, true);
    text_left(cr, 40, H(e) / 2, "APPR", 9, true);
    text_left(cr, 40, H(e) - 16, "DN", 9, true);
    text_at(cr, W(e) / 2 + 10, 5, "FLAPS", 7);
}

static void p_flaps_lever(cairo_t* cr, const BitmapEntry& e) {
    int pos = int(e.num("pos", 0));
    double y = pos == 0 ? 16 : (pos == 1 ? H(e) / 2 : H(e) - 16);
    round_rect(cr, 6, y - 8, 30, 16, 4);
    rgb(cr, 235, 235, 235);
    cairo_fill(cr);
    rgb(cr, 60, 60, 60);
    cairo_rectangle(cr, 9, y - 2, 24, 4);  // the flap-shaped knob's ridge
    cairo_fill(cr);
}

static void p_trim_wheel_face(cairo_t* cr, const BitmapEntry& e) {
    panel(cr, W(e), H(e));
    dark_window(cr, 4, 16, W(e) - 8, H(e) - 32);
    rgb(cr, 230, 230, 225);
    text_at(cr, W(e) / 2, 6, "NOSE", 7);
    text_at(cr, W(e) / 2, 12, "DN", 7);
    text_at(cr, W(e) / 2, H(e) - 11, "NOSE", 7);
    text_at(cr, W(e) / 2, H(e) - 5, "UP", 7);
}

static void p_trim_wheel(cairo_t* cr, const BitmapEntry& e) {
    int phase = int(e.num("phase", 0));
    double x = 6, y = 18, w = W(e) - 12, h = H(e) - 36;
    cairo_pattern_t* g = cairo_pattern_create_linear(x, 0, x + w, 0);
    cairo_pattern_add_color_stop_rgb(g, 0, 0.12, 0.12, 0.13);
    cairo_pattern_add_color_stop_rgb(g, 0.5, 0.32, 0.32, 0.34);
    cairo_pattern_add_color_stop_rgb(g, 1, 0.12, 0.12, 0.13);
    cairo_rectangle(cr, x, y, w, h);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    // Ribs every 12 pixels, shifted a quarter pitch per phase so the wheel seems to turn.
    rgb(cr, 14, 14, 15);
    cairo_set_line_width(cr, 2.5);
    for (double ry = y + 3 * phase; ry < y + h; ry += 12) {
        cairo_move_to(cr, x, ry);
        cairo_line_to(cr, x + w, ry);
    }
    cairo_stroke(cr);
    rgb(cr, 240, 240, 240);  // the white take-off mark rides on the wheel
    cairo_rectangle(cr, x + 2, y + h / 2 - 1 + 3 * phase, w - 4, 2);
    cairo_fill(cr);
}

static void p_lever_handle(cairo_t* cr, const BitmapEntry& e) {
    std::string c = e.arg("color", "black");
    round_rect(cr, 1, 4, W(e) - 2, H(e) - 8, 6);
    if (c == "blue") rgb(cr, 40, 70, 170);
    else if (c == "red") rgb(cr, 190, 30, 28);
    else rgb(cr, 26, 26, 28);
    cairo_fill(cr);
    rgb(cr, 200, 200, 200);
    cairo_set_line_width(cr, 1);
    round_rect(cr, 1.5, 4.5, W(e) - 3, H(e) - 9, 6);
    cairo_stroke(cr);
    std::string label = e.arg("label");
    if (!label.empty()) {
        rgb(cr, 230, 230, 230);
        text_at(cr, W(e) / 2, H(e) / 2, label, 10);
    } else {  // the knurled grip
        rgb(cr, 230, 230, 230);
        cairo_rectangle(cr, 4, H(e) / 2 - 1, W(e) - 8, 2);
        cairo_fill(cr);
    }
}

static void p_quadrant_face(cairo_t* cr, const BitmapEntry& e) {
    panel(cr, W(e), H(e));
    struct Slot { double x, w, top, bottom; const char* name; };
    const Slot slots[] = {{52, 6, 20, 190, "POWER"}, {175, 6, 30, 250, "PROP"}, {232, 6, 30, 250, "COND"}};
    for (const Slot& s : slots) {
        dark_window(cr, s.x, s.top, s.w, s.bottom - s.top);
        rgb(cr, 230, 230, 225);
        text_at(cr, s.x + s.w / 2, s.top - 10, s.name, 8);
    }
    rgb(cr, 230, 230, 225);
    text_left(cr, 100, 40, "MAX", 8, true);
    text_left(cr, 100, 170, "IDLE", 8, true);
    text_left(cr, 186, 60, "HI", 7, true);
    text_left(cr, 186, 240, "FEATH", 7, true);
    text_left(cr, 240, 60, "HI", 7, true);
    text_left(cr, 240, 240, "CUT", 7, true);
    dark_window(cr, 24, 201, 58, 40);
    text_at(cr, 53, 250, "AIL TRIM", 7);
}

// ----------------------------------------------------------------------------------------------
// Radio faces

static void dual_knob(cairo_t* cr, double cx, double cy) {
    knob(cr, cx, cy, 19, false);
    knob(cr, cx, cy, 11, false);
}

static void p_radio_face(cairo_t* cr, const BitmapEntry& e) {
    std::string model = e.arg("model");
    double w = W(e), h = H(e);
    rgb(cr, 26, 26, 28);
    cairo_rectangle(cr, 0, 0, w, h);
    cairo_fill(cr);
    rgb(cr, 64, 64, 68);
    cairo_set_line_width(cr, 2);
    cairo_rectangle(cr, 1, 1, w - 2, h - 2);
    cairo_stroke(cr);
    auto legend = [&](double x, double y, const std::string& s, double size = 7) {
        rgb(cr, 220, 220, 215);
        text_at(cr, x, y, s, size);
    };
    auto button = [&](double x, double y, double bw, double bh, const std::string& s) {
        round_rect(cr, x, y, bw, bh, 2);
        rgb(cr, 60, 60, 64);
        cairo_fill(cr);
        rgb(cr, 150, 150, 150);
        auto lines = split_list(s, '/');
        if (lines.size() <= 1) text_at(cr, x + bw / 2, y + bh / 2, s, fit_size(cr, s, 7, bw - 3));
        else {
            text_at(cr, x + bw / 2, y + bh / 2 - 4, lines[0], 6);
            text_at(cr, x + bw / 2, y + bh / 2 + 4, lines[1], 6);
        }
    };
    if (model == "KY196" || model == "KN53" || model == "KR87") {
        double wx = model == "KY196" ? 9 : 8, wy = model == "KY196" ? 5 : 7;
        double ww = model == "KY196" ? 222 : 255, wh = model == "KY196" ? 35 : 33;
        dark_window(cr, wx, wy, ww, wh);
        legend(model == "KY196" ? 58 : 84, wy + wh + 6, "USE");
        legend(model == "KY196" ? 178 : 197, wy + wh + 6, "STBY");
        dual_knob(cr, 309, 39);
        legend(309, 8, model == "KR87" ? "FRQ" : "PULL 25K", 6);
        std::string brand = model == "KY196" ? "KING  KY 196 TSO" : (model == "KN53" ? "KING  KN 53 TSO" : "KING  KR 87 TSO");
        legend(60, 65, brand, 6);
        if (model == "KY196") button(101, 50, 23, 18, "");
        if (model == "KN53") button(103, 50, 23, 18, "");
        if (model == "KR87") {
            const char* names[] = {"ADF", "BFO", "FRQ", "FLT/ET", "SET/RST"};
            for (int i = 0; i < 5; ++i) button(60 + 32 * i, 50, 23, 18, names[i]);
            legend(26, 60, "KR 87", 6);
        }
        if (model != "KR87") {  // transfer arrows printed on the button
            rgb(cr, 150, 150, 150);
            double bx = model == "KY196" ? 101 : 103;
            cairo_set_line_width(cr, 1.2);
            cairo_move_to(cr, bx + 5, 59);
            cairo_line_to(cr, bx + 18, 59);
            cairo_stroke(cr);
        }
        // Power knob well and its legends.
        cairo_arc(cr, model == "KY196" ? 258 : 263, 55, 13, 0, 2 * kPi);
        rgb(cr, 18, 18, 20);
        cairo_fill(cr);
        return;
    }
    if (model == "KT70" || model == "KT76C" || model == "KT76A") {
        legend(w / 2, h - 5, model == "KT70" ? "KING  KT 70 TSO" : (model == "KT76C" ? "KING  KT 76C TSO" : "KING  KT 76A TSO"), 6);
        if (model == "KT76A") {
            const double xs[] = {126, 182, 238, 294};
            for (double x : xs) {
                dark_window(cr, x, 15, 20, 24);
            }
            for (int i = 0; i < 4; ++i) knob(cr, 132 + 57 * i, 42 + 9, 9, false);
            cairo_arc(cr, 43, 46, 17, 0, 2 * kPi);
            rgb(cr, 18, 18, 20);
            cairo_fill(cr);
            legend(14, 54, "OFF", 6);
            legend(20, 28, "SBY", 6);
            legend(44, 18, "ON", 6);
            legend(66, 28, "ALT", 6);
            legend(70, 52, "TST", 6);
            legend(100, 74, "IDENT", 6);
            legend(110 + 5, 67, "R", 6);
            return;
        }
        bool kt70 = model == "KT70";
        dark_window(cr, kt70 ? 43 : 44, kt70 ? 5 : 7, kt70 ? 214 : 199, kt70 ? 35 : 41);
        if (kt70) {
            for (int i = 0; i < 4; ++i) knob(cr, 59 + 63 * i, 66, 13, false);
            button(295, 62, 22, 12, "VFR");
            button(14, 17, 26, 12, "IDT");
            legend(275, 40, "OFF", 6);
            legend(278, 24, "SBY", 6);
            legend(284, 8, "TST", 6);
            legend(328, 9, "ON", 6);
            legend(330, 25, "ALT", 6);
            legend(310, 46, "GND", 6);
        } else {
            const char* keys[] = {"0", "1", "2", "3", "4", "5", "6", "7"};
            for (int i = 0; i < 8; ++i) button(10 + 31 * i, 65, 22, 12, keys[i]);
            button(268, 65, 22, 12, "CLR");
            button(310, 65, 22, 12, "VFR");
            button(12, 19, 26, 12, "IDT");
            legend(275, 56, "OFF", 6);
            legend(275, 37, "SBY", 6);
            legend(285, 21, "TST", 6);
            legend(307, 15, "ON", 6);
            legend(329, 27, "ALT", 6);
        }
        return;
    }
}

static void p_dme_face(cairo_t* cr, const BitmapEntry&) {
    rgb(cr, 26, 26, 28);
    cairo_paint(cr);
    dark_window(cr, 14, 7, 151, 24);
    rgb(cr, 220, 220, 215);
    text_at(cr, 90, 38, "KING  KD 1572", 6);
    text_at(cr, 72, 58, "OFF", 6);
    text_at(cr, 78, 44, "N 1", 6);
    text_at(cr, 102, 44, "HLD", 6);
    text_at(cr, 110, 58, "N 2", 6);
    knob(cr, 150, 50, 12, false);
}

static void p_omi_face(cairo_t* cr, const BitmapEntry& e) {
    panel(cr, W(e), H(e));
    struct L { double x; const char* c; const char* l; };
    const L lenses[] = {{33, "white", "A"}, {62, "blue", "O"}, {91, "amber", "M"}};
    for (const L& l : lenses) {
        cairo_arc(cr, l.x + 12, 23, 12, 0, 2 * kPi);
        rgb(cr, 100, 100, 104);
        cairo_fill(cr);
        lamp_rgb(cr, l.c, 0.25);
        cairo_arc(cr, l.x + 12, 23, 9.5, 0, 2 * kPi);
        cairo_fill(cr);
        rgb(cr, 90, 90, 90);
        text_at(cr, l.x + 12, 23, l.l, 12);
    }
    rgb(cr, 220, 220, 215);
    text_at(cr, 16, 23, "MKR", 7);
    text_at(cr, 131, 23, "KR21", 7);
}

static void p_audio_face(cairo_t* cr, const BitmapEntry&) {
    rgb(cr, 26, 26, 28);
    cairo_paint(cr);
    const char* names[] = {"HF", "COM1", "COM2", "NAV1", "NAV2", "DME", "MKR", "ADF", "AUTO"};
    const double xs[] = {65, 90, 111, 136, 161, 187, 212, 236, 262};
    for (int i = 0; i < 9; ++i) {
        for (double y : {12.0, 42.0}) {
            round_rect(cr, xs[i] + 1, y + 1, 18, 14, 2);
            rgb(cr, 70, 70, 76);
            cairo_fill(cr);
            rgb(cr, 110, 110, 110);
            cairo_rectangle(cr, xs[i] + 4, y + 7, 12, 2);
            cairo_fill(cr);
        }
        rgb(cr, 220, 220, 215);
        text_at(cr, xs[i] + 10, 35, names[i], 6);
    }
    rgb(cr, 220, 220, 215);
    text_at(cr, 52, 20, "SPKR", 6);
    text_at(cr, 52, 50, "PHONE", 6);
    text_at(cr, 38, 70, "VOL", 6);
    text_at(cr, 278, 32, "OFF", 6);
    text_at(cr, 283, 11, "COM1", 6);
    text_at(cr, 313, 11, "COM2", 6);
    text_at(cr, 323, 38, "PA", 6);
    text_at(cr, 278, 52, "HF", 6);
    text_at(cr, 320, 55, "EXT", 6);
    text_at(cr, 300, 62, "MIC", 7);
    text_at(cr, 170, 80, "KING  KMA 24H", 6);
    cairo_arc(cr, 300, 32, 18, 0, 2 * kPi);
    rgb(cr, 18, 18, 20);
    cairo_fill(cr);
}

static void p_drum(cairo_t* cr, const BitmapEntry& e) {
    int cells = int(e.num("cells", 11)), step = int(e.num("step", 1)), digits = int(e.num("digits", 1));
    bool lit = e.num("lit", 0) > 0;
    bool down = e.arg("order") == "down";
    double ch = H(e) / cells;
    rgb(cr, 14, 14, 16);
    cairo_rectangle(cr, 0, 0, W(e), H(e));
    cairo_fill(cr);
    for (int i = 0; i < cells; ++i) {
        int digit = down ? (10 - i % 10) % 10 : i % 10;
        int value = digit * step;
        char buf[8];
        std::snprintf(buf, sizeof buf, digits == 2 ? "%02d" : "%d", value % (step * 10));
        if (lit) lamp_rgb(cr, "yellow"); else rgb(cr, 240, 240, 240);
        double size = std::min(ch * 0.8, W(e) / (0.62 * digits));
        text_at(cr, W(e) / 2, ch * i + ch / 2, buf, size);
    }
}

// ----------------------------------------------------------------------------------------------
// Autopilot, annunciators, switch panels

static void p_ap_face(cairo_t* cr, const BitmapEntry& e) {
    panel(cr, W(e), H(e));
    // Pitch wheel between its DN and UP halves.
    dark_window(cr, 16, 24, 26, 86);
    rgb(cr, 50, 50, 54);
    cairo_rectangle(cr, 18, 26, 22, 82);
    cairo_fill(cr);
    rgb(cr, 20, 20, 22);
    cairo_set_line_width(cr, 2);
    for (double y = 30; y < 106; y += 7) {
        cairo_move_to(cr, 18, y);
        cairo_line_to(cr, 40, y);
    }
    cairo_stroke(cr);
    rgb(cr, 230, 230, 225);
    text_at(cr, 29, 16, "DN", 8);
    text_at(cr, 29, 116, "UP", 8);
    // Wells under every button and dark lamps over them.
    const double xs[] = {60, 108, 156, 204, 252, 300};
    for (double y : {22.0, 84.0})
        for (double x : xs) {
            round_rect(cr, x - 1, y - 1, 41, 32, 3);
            rgb(cr, 16, 16, 18);
            cairo_fill(cr);
        }
    const double lamps[][2] = {{68, 3}, {115, 3}, {165, 3}, {211, 3}, {258, 3}, {304, 3},
                               {69, 65}, {114, 65}, {163, 65}, {212, 65}, {258, 65}, {306, 65}};
    for (auto& l : lamps) {
        round_rect(cr, l[0], l[1], 23, 14, 2);
        rgb(cr, 34, 40, 34);
        cairo_fill(cr);
    }
    rgb(cr, 200, 200, 195);
    text_at(cr, 200, 59, "KFC 225  AUTOPILOT", 7);
}

static void p_altsel_face(cairo_t* cr, const BitmapEntry& e) {
    panel(cr, W(e), H(e));
    dark_window(cr, 54, 40, 80, 21);
    for (double y : {21.0, 49.0}) {
        round_rect(cr, 5, y, 23, 23, 3);
        rgb(cr, 70, 70, 76);
        cairo_fill(cr);
    }
    rgb(cr, 120, 120, 120);
    text_at(cr, 16, 33, "ENG", 6);
    text_at(cr, 16, 61, "ARM", 6);
    knob(cr, 173, 44, 14, false);
    rgb(cr, 220, 220, 215);
    text_at(cr, 173, 24, "SET", 6);
    text_at(cr, 95, 10, "ALTITUDE SELECT", 7);
    text_at(cr, 95, 84, "KAS 297B", 6);
}

static void p_backlight(cairo_t* cr, const BitmapEntry& e) {
    auto texts = split_list(e.arg("texts"));
    lamp_rgb(cr, "white");
    for (size_t i = 0; i < texts.size(); ++i) text_at(cr, W(e) / 2, 6 + 28.0 * i, texts[i], 6);
}

static void p_apann_face(cairo_t* cr, const BitmapEntry& e) {
    panel(cr, W(e), H(e));
    const char* names[] = {"FD", "NAV", "IAS", "ALT", "AP", "HDG", "APR", "ARM", "GS", "YD", "SR", "BC", "HB", "GA", "TRIM"};
    for (int i = 0; i < 15; ++i) {
        double x = 26 + 31 * (i % 5), y = 11 + 16 * (i / 5);
        round_rect(cr, x, y, 29, 14, 2);
        rgb(cr, 30, 30, 30);
        cairo_fill(cr);
        rgb(cr, 80, 80, 78);
        text_at(cr, x + 14.5, y + 7, names[i], 8);
    }
}

static void p_tester_face(cairo_t* cr, const BitmapEntry& e) {
    panel(cr, W(e), H(e));
    rgb(cr, 235, 235, 230);
    text_at(cr, W(e) / 2, 22, "AP Variables", 16);
    text_at(cr, 58, 52, "LOC", 9);
    text_at(cr, 87, 52, "FS", 9);
    struct Row { int y; const char* legend; };
    const Row rows[] = {{73, "AIRCRAFT_AUTOPILOT_AVAILABLE"}, {101, "AUTOPILOT_ACTIVE"},
                        {115, "AUTOPILOT_YAW_DAMPER"},        {129, "FLIGHT_DIRECTOR_ACTIVE"},
                        {157, "AUTOPILOT_HEADING_LOCK"},      {185, "AUTOPILOT_NAV1_LOCK"},
                        {199, "AUTOPILOT_APROACH_HOLD"},      {213, "AUTOPILOT_GLIDESLOPE_HOLD"},
                        {227, "AUTOPILOT_BACKCOURSE_HOLD"},   {255, "AUTOPILOT_ALTITUDE_LOCK"},
                        {283, "AUTOPILOT_VERTICAL_HOLD"},     {311, "AUTOPILOT_WING_LEVELER"},
                        {325, "AUTOPILOT_ATTITUDE_HOLD"},     {353, "AUTOPILOT_AIRSPEED_HOLD"},
                        {367, "AUTOPILOT_AIRSPEED_HOLD_CURRENT"}, {381, "AUTOPILOT_MACH_HOLD"},
                        {409, "AUTOPILOT_AUTO_THROTTLE_ARM"}, {423, "AUTOPILOT_TAKEOFF_POWER_ACTIVE"}};
    for (const Row& r : rows) {
        for (double x : {54.0, 83.0}) {
            if (r.y == 255 && x == 54.0) continue;
            cairo_arc(cr, x + 4.5, r.y + 4.5, 4.5, 0, 2 * kPi);
            rgb(cr, 30, 30, 30);
            cairo_fill(cr);
        }
        rgb(cr, 225, 225, 220);
        text_left(cr, 100, r.y + 4.5, r.legend, 8);
    }
    for (int y : {248, 262}) {
        cairo_arc(cr, 58.5, y + 4.5, 4.5, 0, 2 * kPi);
        rgb(cr, 30, 30, 30);
        cairo_fill(cr);
    }
    rgb(cr, 200, 200, 195);
    text_left(cr, 8, 252, "Select", 7);
    text_left(cr, 8, 266, "Current", 7);
    cairo_arc(cr, 262, 261, 6, 0, 2 * kPi);
    rgb(cr, 30, 30, 30);
    cairo_fill(cr);
    rgb(cr, 200, 200, 195);
    text_at(cr, 262, 275, "Captured", 7);
    const char* readouts[] = {"AUTOPILOT_HEADING_LOCK_DIR", "AUTOPILOT_ALTITUDE_LOCK_VAR",
                              "AUTOPILOT_VERTICAL_HOLD_VAR", "AUTOPILOT_AIRSPEED_HOLD_VAR",
                              "AUTOPILOT_MACH_HOLD_VAR", "ENGINE_RPM_HOLD"};
    for (int i = 0; i < 6; ++i) {
        double y = 449 + 14 * i;
        rgb(cr, 12, 12, 12);
        cairo_rectangle(cr, 34, y, 60, 13);
        cairo_fill(cr);
        rgb(cr, 225, 225, 220);
        text_left(cr, 100, y + 6.5, readouts[i], 8);
    }
}

static void p_fuelcomp_face(cairo_t* cr, const BitmapEntry& e) {
    panel(cr, W(e), H(e));
    dark_window(cr, 28, 73, 144, 32);
    dark_window(cr, 55, 19, 90, 20);
    rgb(cr, 225, 225, 220);
    text_at(cr, W(e) / 2, 54, "FUEL COMPUTER", 9);
    text_at(cr, W(e) / 2, 112, "SHADIN  MINIFLO", 6);
}

static void p_annun_face(cairo_t* cr, const BitmapEntry& e) {
    panel(cr, W(e), H(e));
    const char* names[] = {"ITT", "BLEED TEMP", "PITOT 1", "BAT OVHT", "FUEL OFF", "OIL PRESS", "BLEED OFF",
                           "PITOT 2", "BAT OFF", "FUEL PRESS", "STARTER", "CAB PRESS", "STALL HTR", "MAIN GEN",
                           "AUX BP ON", "IGNITION", "DOOR", "INERT SEP", "LO VOLT", "FUEL L LO", "PARK BRAKE",
                           "FLAPS", "VACUUM LO", "GPU", "FUEL R LO", "FIRE", "OXYGEN", "", "", "AUTO SEL"};
    const double xs[] = {8, 97, 186, 275, 364};
    for (int i = 0; i < 30; ++i) {
        double x = xs[i % 5], y = 7 + 27 * (i / 5);
        rgb(cr, 40, 40, 40);
        cairo_rectangle(cr, x, y, 85, 25);
        cairo_fill(cr);
        rgb(cr, 24, 22, 20);
        cairo_rectangle(cr, x + 2, y + 2, 81, 21);
        cairo_fill(cr);
        rgb(cr, 88, 84, 78);
        text_at(cr, x + 42.5, y + 12.5, names[i], fit_size(cr, names[i], 13, 77));
    }
    round_rect(cr, 458, 115, 30, 30, 3);
    rgb(cr, 40, 40, 44);
    cairo_fill(cr);
    rgb(cr, 225, 225, 220);
    text_at(cr, 473, 105, "TEST", 8);
}

static void p_timer_face(cairo_t* cr, const BitmapEntry& e) {
    plate_if_background(cr, e);
    cairo_arc(cr, W(e) / 2, H(e) / 2, W(e) / 2 - 1, 0, 2 * kPi);
    rgb(cr, 30, 30, 32);
    cairo_fill(cr);
    rgb(cr, 110, 110, 115);
    cairo_set_line_width(cr, 3);
    cairo_arc(cr, W(e) / 2, H(e) / 2, W(e) / 2 - 2.5, 0, 2 * kPi);
    cairo_stroke(cr);
    rgb(cr, 120, 132, 110);  // the unlit LCD
    cairo_rectangle(cr, 31, 59, 138, 40);
    cairo_fill(cr);
    rgb(cr, 225, 225, 220);
    text_at(cr, 100, 40, "ASTROTECH", 10);
    text_at(cr, 141, 112, "UT", 7);
    text_at(cr, 61, 112, "ET", 7);
    struct B { double x, y; const char* l; };
    const B buttons[] = {{88, 168, "SEL"}, {35, 147, "RST"}, {142, 147, "ST/SP"}};
    for (const B& b : buttons) {
        cairo_arc(cr, b.x + 13.5, b.y + 13.5, 12, 0, 2 * kPi);
        rgb(cr, 70, 70, 74);
        cairo_fill(cr);
        rgb(cr, 225, 225, 220);
        text_at(cr, b.x + 13.5, b.y + 13.5, b.l, 6);
    }
}

static void p_backlight_lcd(cairo_t* cr, const BitmapEntry& e) {
    rgb(cr, 150, 200, 120);
    cairo_rectangle(cr, 0, 0, W(e), H(e));
    cairo_fill(cr);
}

static void p_rmi_switch(cairo_t* cr, const BitmapEntry& e) {
    round_rect(cr, 5, 12, 40, 32, 3);
    rgb(cr, 40, 40, 44);
    cairo_fill(cr);
    std::string t = e.arg("text");
    lamp_rgb(cr, t.find('2') != std::string::npos ? "amber" : "green");
    text_at(cr, 25, 28, t, 10);
}

static void p_elec_face(cairo_t* cr, const BitmapEntry& e) {
    panel(cr, W(e), H(e));
    for (double x : {37.0, 112.0}) {
        round_rect(cr, x, 28, 34, 42, 3);
        rgb(cr, 22, 22, 24);
        cairo_fill(cr);
    }
    rgb(cr, 230, 230, 225);
    text_at(cr, 54, 72, "BATTERY", 7);
    text_at(cr, 129, 72, "GEN", 7);
    text_at(cr, 185, 45, "ON", 7);
    text_at(cr, 185, 60, "OFF", 7);
}

static void p_guard_bar(cairo_t* cr, const BitmapEntry& e) {
    round_rect(cr, 1, 3, W(e) - 2, H(e) - 6, 4);
    rgb(cr, 200, 36, 30);
    cairo_fill(cr);
    rgb(cr, 250, 250, 250);
    text_at(cr, W(e) / 2, H(e) / 2, e.num("down", 0) > 0 ? "EMER OFF" : "GUARD", 8);
}

static void p_avionics_face(cairo_t* cr, const BitmapEntry& e) {
    panel(cr, W(e), H(e));
    rgb(cr, 230, 230, 225);
    text_at(cr, 47, 12, "A/P", 7);
    text_at(cr, 83, 24, "AVIONICS", 6);
    text_at(cr, 132, 10, "PANEL LT", 6);
    text_at(cr, 177, 5, "1", 6);
    text_at(cr, 177, 58, "2", 6);
    round_rect(cr, 72, 36, 22, 22, 3);
    rgb(cr, 60, 60, 64);
    cairo_fill(cr);
}

static void p_oat_face(cairo_t* cr, const BitmapEntry& e) {
    panel(cr, W(e), H(e));
    dark_window(cr, 53, 31, 84, 33);
    rgb(cr, 225, 225, 220);
    text_at(cr, W(e) / 2, 16, "OAT", 10);
    text_at(cr, W(e) / 2, 80, "DIGITAL", 7);
}

static void p_frame(cairo_t* cr, const BitmapEntry& e) {
    rgb(cr, 60, 60, 64);
    cairo_set_line_width(cr, 4);
    cairo_rectangle(cr, 2, 2, W(e) - 4, H(e) - 4);
    cairo_stroke(cr);
    for (double x : {6.0, W(e) - 6})
        for (double y : {6.0, H(e) - 6}) screw(cr, x, y, 2.5);
}

// ----------------------------------------------------------------------------------------------
// Weather radar

static void p_radar_face(cairo_t* cr, const BitmapEntry& e) {
    panel(cr, W(e), H(e));
    rgb(cr, 10, 18, 12);
    cairo_rectangle(cr, 102, 35, 396, 300);
    cairo_fill(cr);
    rgb(cr, 225, 225, 220);
    text_at(cr, 300, 14, "BENDIX/KING  RDS 81", 11);
    const char* knobs[] = {"GAIN", "TILT", "RANGE", "MODE"};
    for (int i = 0; i < 4; ++i) {
        knob(cr, 160 + 90 * i, 395, 20, true, -kPi / 2);
        rgb(cr, 225, 225, 220);
        text_at(cr, 160 + 90 * i, 430, knobs[i], 9);
    }
    text_at(cr, 552, 92, "OFF / ON", 9);
}

static void p_radar_returns(cairo_t* cr, const BitmapEntry& e) {
    uint32_t s = 12345;
    auto rnd = [&]() {
        s = s * 1664525u + 1013904223u;
        return (s >> 8) / 16777216.0;
    };
    // Storm cells: green rain with yellow and red cores, some in lines.
    for (int cell = 0; cell < 26; ++cell) {
        double cx = rnd() * W(e), cy = rnd() * H(e);
        double r = 10 + rnd() * 34;
        int lobes = 5 + int(rnd() * 5);
        for (int level = 0; level < 3; ++level) {
            double k = level == 0 ? 1.0 : (level == 1 ? 0.6 : 0.3);
            if (level == 2 && r < 25) break;
            if (level == 0) rgb(cr, 20, 190, 40);
            else if (level == 1) rgb(cr, 230, 220, 30);
            else rgb(cr, 230, 30, 30);
            for (int l = 0; l < lobes; ++l) {
                double a = 2 * kPi * l / lobes + rnd();
                double d = r * k * 0.5 * rnd();
                cairo_arc(cr, cx + std::cos(a) * d, cy + std::sin(a) * d, r * k * (0.5 + 0.4 * rnd()), 0, 2 * kPi);
                cairo_fill(cr);
            }
        }
    }
}

static void p_radar_switch(cairo_t* cr, const BitmapEntry& e) {
    bool on = e.num("on", 0) > 0;
    knob(cr, W(e) / 2, H(e) / 2, W(e) / 2 - 4, true, on ? -kPi / 4 : -3 * kPi / 4);
}

static void p_radar_frame(cairo_t* cr, const BitmapEntry& e) {
    // Opaque frame around the screen, the screen itself left see-through; range arcs over it.
    rgb(cr, 40, 40, 44);
    cairo_rectangle(cr, 0, 0, W(e), 35);
    cairo_rectangle(cr, 0, 335, W(e), H(e) - 335);
    cairo_rectangle(cr, 0, 35, 102, 300);
    cairo_rectangle(cr, 498, 35, W(e) - 498, 300);
    cairo_fill(cr);
    rgb(cr, 225, 225, 220);
    text_at(cr, 300, 14, "BENDIX/KING  RDS 81", 11);
    const char* knobs[] = {"GAIN", "TILT", "RANGE", "MODE"};
    for (int i = 0; i < 4; ++i) {
        knob(cr, 160 + 90 * i, 395, 20, true, -kPi / 2);
        rgb(cr, 225, 225, 220);
        text_at(cr, 160 + 90 * i, 430, knobs[i], 9);
    }
    text_at(cr, 552, 92, "OFF / ON", 9);
    rgb(cr, 120, 200, 200);
    cairo_set_line_width(cr, 1);
    const double cx = 300, cy = 319;
    for (int ring = 1; ring <= 4; ++ring) {
        cairo_arc(cr, cx, cy, 70.0 * ring, -kPi / 2 - kPi / 3, -kPi / 2 + kPi / 3);
        cairo_stroke(cr);
        char buf[8];
        std::snprintf(buf, sizeof buf, "%d", 10 * ring);
        text_at(cr, cx + std::cos(-kPi / 2 + kPi / 3) * 70 * ring + 10, cy + std::sin(-kPi / 2 + kPi / 3) * 70 * ring, buf, 9);
    }
    for (double a : {-kPi / 2 - kPi / 3, -kPi / 2, -kPi / 2 + kPi / 3}) {
        cairo_move_to(cr, cx, cy);
        cairo_line_to(cr, cx + std::cos(a) * 284, cy + std::sin(a) * 284);
    }
    cairo_stroke(cr);
}

// ----------------------------------------------------------------------------------------------
// Dispatch

bool paint(cairo_t* cr, const BitmapEntry& e, std::string& error) {
    static PainterTable table = [] {
        PainterTable t = {
            {"toggle", p_toggle}, {"invisible", p_invisible}, {"placard", p_placard}, {"plate", p_plate},
            {"lamp", p_lamp}, {"round_lamp", p_round_lamp}, {"marker", p_marker}, {"cover", p_cover},
            {"lit_button", p_lit_button}, {"lit_legend", p_lit_legend}, {"keypad_row", p_keypad_row},
            {"legend_lamp", p_legend_lamp}, {"annun_light", p_annun_light}, {"master_light", p_master_light},
            {"master_face", p_master_face}, {"dot", p_dot}, {"flag", p_flag}, {"striped", p_striped},
            {"hatch", p_hatch}, {"arrow", p_arrow}, {"bar", p_bar}, {"sweep", p_sweep}, {"ball", p_ball}, {"incl_glass", p_incl_glass},
            {"mark", p_mark}, {"knob", p_knob}, {"selector", p_selector}, {"power_knob", p_power_knob},
            {"toggle_switch", p_toggle_switch}, {"small_toggle", p_small_toggle}, {"rocker", p_rocker},
            {"rocker3", p_rocker3}, {"switch_plate", p_switch_plate}, {"aux_plate", p_aux_plate},
            {"test_button", p_test_button}, {"push_button", p_push_button}, {"audio_button", p_audio_button},
            {"ap_button", p_ap_button}, {"brake_handle", p_brake_handle}, {"gear_lever", p_gear_lever},
            {"gear_face", p_gear_face}, {"gear_lamps_face", p_gear_lamps_face}, {"flaps_gate", p_flaps_gate},
            {"flaps_lever", p_flaps_lever}, {"trim_wheel_face", p_trim_wheel_face}, {"trim_wheel", p_trim_wheel},
            {"lever_handle", p_lever_handle}, {"quadrant_face", p_quadrant_face}, {"radio_face", p_radio_face},
            {"dme_face", p_dme_face}, {"omi_face", p_omi_face}, {"audio_face", p_audio_face}, {"drum", p_drum},
            {"ap_face", p_ap_face}, {"altsel_face", p_altsel_face}, {"backlight", p_backlight},
            {"apann_face", p_apann_face}, {"tester_face", p_tester_face}, {"fuelcomp_face", p_fuelcomp_face},
            {"annun_face", p_annun_face}, {"timer_face", p_timer_face}, {"backlight_lcd", p_backlight_lcd},
            {"rmi_switch", p_rmi_switch}, {"elec_face", p_elec_face}, {"guard_bar", p_guard_bar},
            {"avionics_face", p_avionics_face}, {"oat_face", p_oat_face}, {"frame", p_frame},
            {"radar_face", p_radar_face}, {"radar_returns", p_radar_returns}, {"radar_switch", p_radar_switch},
            {"radar_frame", p_radar_frame},
        };
        register_instrument_painters(t);
        return t;
    }();
    auto it = table.find(e.painter);
    if (it == table.end()) {
        error = "unknown painter '" + e.painter + "'";
        return false;
    }
    it->second(cr, e);
    return true;
}

}  // namespace resgen
