// Dial instruments: faces whose scale marks and numbers follow their needles' tables, needles,
// bezels, compass cards, the attitude ball, the HSI and CDI parts.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "art_draw.h"

namespace resgen {

namespace {

double W(const BitmapEntry& e) { return e.width; }
double H(const BitmapEntry& e) { return e.height; }

// ----------------------------------------------------------------------------------------------
// Needle tables: the angle at which a value points, interpolated by angle between rows as the host
// does, and held at the first and last rows.

struct Row { double x, y, v; };
struct Table {
    double px, py;
    std::vector<Row> rows;
};

// Angles of the rows along the needle's travel: the first turn between two distinct points takes
// the shorter way round, and every later turn keeps that sense of rotation (so a torque scale
// sweeps over the top even where the shorter way would run underneath).
std::vector<double> travel_angles(const Table& t) {
    std::vector<double> out;
    double sense = 0;
    for (size_t i = 0; i < t.rows.size(); ++i) {
        double a = std::atan2(t.rows[i].y - t.py, t.rows[i].x - t.px);
        if (i == 0) {
            out.push_back(a);
            continue;
        }
        double d = a - std::atan2(t.rows[i - 1].y - t.py, t.rows[i - 1].x - t.px);
        while (d > kPi) d -= 2 * kPi;
        while (d <= -kPi) d += 2 * kPi;
        if (std::fabs(d) > 1e-9) {
            if (sense != 0 && (d > 0) != (sense > 0)) d += sense > 0 ? 2 * kPi : -2 * kPi;
            sense = d;
        }
        out.push_back(out.back() + d);
    }
    return out;
}

double angle_of(const Table& t, double v) {
    std::vector<double> a = travel_angles(t);
    for (size_t i = 0; i + 1 < t.rows.size(); ++i) {
        const Row &r0 = t.rows[i], &r1 = t.rows[i + 1];
        double lo = std::min(r0.v, r1.v), hi = std::max(r0.v, r1.v);
        if (v < lo || v > hi || r0.v == r1.v) continue;
        return a[i] + (v - r0.v) / (r1.v - r0.v) * (a[i + 1] - a[i]);
    }
    bool ascending = t.rows.front().v <= t.rows.back().v;
    bool below = ascending ? v < t.rows.front().v : v > t.rows.front().v;
    return below ? a.front() : a.back();
}

void tick(cairo_t* cr, const Table& t, double v, double r0, double r1, double width) {
    double a = angle_of(t, v);
    cairo_set_line_width(cr, width);
    cairo_move_to(cr, t.px + std::cos(a) * r0, t.py + std::sin(a) * r0);
    cairo_line_to(cr, t.px + std::cos(a) * r1, t.py + std::sin(a) * r1);
    cairo_stroke(cr);
}

void label(cairo_t* cr, const Table& t, double v, double r, const std::string& s, double size) {
    double a = angle_of(t, v);
    text_at(cr, t.px + std::cos(a) * r, t.py + std::sin(a) * r, s, size);
}

void arc_band(cairo_t* cr, const Table& t, double v0, double v1, double r0, double r1, const char* colour) {
    const int steps = 40;
    lamp_rgb(cr, colour);
    cairo_new_path(cr);
    for (int i = 0; i <= steps; ++i) {
        double a = angle_of(t, v0 + (v1 - v0) * i / steps);
        cairo_line_to(cr, t.px + std::cos(a) * r1, t.py + std::sin(a) * r1);
    }
    for (int i = steps; i >= 0; --i) {
        double a = angle_of(t, v0 + (v1 - v0) * i / steps);
        cairo_line_to(cr, t.px + std::cos(a) * r0, t.py + std::sin(a) * r0);
    }
    cairo_close_path(cr);
    cairo_fill(cr);
}

// Major marks with numbers, minor marks between, both white.
void scale(cairo_t* cr, const Table& t, double r_out, const std::vector<double>& majors,
           const std::vector<std::string>& labels, double step_minor, double label_r, double size) {
    rgb(cr, 240, 240, 236);
    if (step_minor > 0 && !majors.empty())
        for (double v = majors.front(); v <= majors.back() + 1e-9; v += step_minor) tick(cr, t, v, r_out - 7, r_out, 1.3);
    for (size_t i = 0; i < majors.size(); ++i) {
        tick(cr, t, majors[i], r_out - 14, r_out, 2.6);
        if (i < labels.size()) label(cr, t, majors[i], label_r, labels[i], size);
    }
}

void dial_face(cairo_t* cr, const BitmapEntry& e, double cx, double cy, double r) {
    panel(cr, W(e), H(e));
    cairo_arc(cr, cx, cy, r + 4, 0, 2 * kPi);
    rgb(cr, 70, 70, 74);
    cairo_fill(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
    rgb(cr, 16, 16, 18);
    cairo_fill(cr);
}

std::string num(double v, const char* fmt = "%.0f") {
    char buf[32];
    std::snprintf(buf, sizeof buf, fmt, v);
    return buf;
}

std::vector<double> range(double a, double b, double step) {
    std::vector<double> out;
    for (double v = a; v <= b + 1e-9; v += step) out.push_back(v);
    return out;
}

// ----------------------------------------------------------------------------------------------
// Dial faces by name

double rankine(double celsius) { return celsius * 1.8 + 491.67; }

void dial_asi(cairo_t* cr, const BitmapEntry& e) {
    Table t{155, 152, {{155, 264, -1}, {155, 264, 0}, {130, 256, 40}, {93, 241, 60}, {76, 224, 70}, {61, 200, 80},
                       {50, 143, 100}, {57, 110, 110}, {75, 88, 120}, {120, 54, 140}, {221, 77, 180}, {244, 105, 200},
                       {251, 173, 250}, {214, 234, 300}, {191, 251, 320}, {161, 251, 400}}};
    dial_face(cr, e, 155, 152, 138);
    arc_band(cr, t, 60, 120, 100, 106, "white");
    arc_band(cr, t, 70, 180, 106, 113, "green");
    arc_band(cr, t, 180, 250, 106, 113, "yellow");
    lamp_rgb(cr, "red");
    tick(cr, t, 250, 96, 115, 4);
    std::vector<double> majors = {40, 60, 80, 100, 120, 140, 160, 180, 200, 250, 300};
    std::vector<std::string> labels;
    for (double v : majors) labels.push_back(num(v));
    scale(cr, t, 115, majors, labels, 10, 86, 15);
    rgb(cr, 240, 240, 236);
    text_at(cr, 155, 196, "AIRSPEED", 11);
    text_at(cr, 155, 210, "KNOTS", 10);
}

void dial_vsi(cairo_t* cr, const BitmapEntry& e) {
    const double u = 1300.4799583846413;
    Table t{151, 150, {{268, 168, -7 * u}, {268, 168, -6 * u}, {258, 191, -5 * u}, {238, 222, -4 * u},
                       {196, 253, -3 * u}, {139, 261, -2 * u}, {69, 224, -1 * u}, {69, 78, 1 * u},
                       {138, 39, 2 * u}, {196, 48, 3 * u}, {235, 82, 4 * u}, {258, 113, 5 * u}, {263, 136, 6 * u},
                       {263, 136, 7 * u}}};
    dial_face(cr, e, 151, 150, 138);
    std::vector<double> majors;
    std::vector<std::string> labels;
    for (int k = -6; k <= 6; ++k) {
        majors.push_back(k * u);
        labels.push_back(num(std::abs(k)));
    }
    scale(cr, t, 116, majors, labels, u / 2, 92, 16);
    rgb(cr, 240, 240, 236);
    text_at(cr, 110, 108, "UP", 11);
    text_at(cr, 110, 192, "DOWN", 11);
    text_at(cr, 180, 140, "VERTICAL SPEED", 9);
    text_at(cr, 180, 160, "1000 FT PER MIN", 8);
}

void dial_torque(cairo_t* cr, const BitmapEntry& e) {
    const double u = 0.4818181818181818 / 2000;  // per ft-lb
    Table t{151, 156, {{75, 204, -200 * u}, {62, 188, 0}, {242, 154, 2000 * u}, {227, 219, 2400 * u}, {227, 219, 3000 * u}}};
    dial_face(cr, e, 151, 156, 138);
    arc_band(cr, t, 400 * u, 2000 * u, 98, 106, "green");
    lamp_rgb(cr, "red");
    tick(cr, t, 2000 * u, 94, 112, 4);
    std::vector<double> majors;
    std::vector<std::string> labels;
    for (int ft = 0; ft <= 2400; ft += 400) {
        majors.push_back(ft * u);
        labels.push_back(num(ft / 100.0));
    }
    scale(cr, t, 112, majors, labels, 100 * u, 84, 15);
    rgb(cr, 240, 240, 236);
    text_at(cr, 151, 200, "TORQUE", 12);
    text_at(cr, 151, 215, "FT-LB x 100", 9);
}

void dial_itt(cairo_t* cr, const BitmapEntry& e) {
    Table t{151, 153, {{77, 207, rankine(0)}, {59, 186, rankine(200)}, {152, 62, rankine(700)},
                       {237, 186, rankine(1200)}, {237, 186, rankine(1250)}}};
    dial_face(cr, e, 151, 153, 138);
    arc_band(cr, t, rankine(400), rankine(740), 98, 106, "green");
    lamp_rgb(cr, "red");
    tick(cr, t, rankine(805), 94, 112, 4);
    std::vector<double> majors;
    std::vector<std::string> labels;
    for (int c = 0; c <= 1200; c += 200) {
        majors.push_back(rankine(c));
        labels.push_back(num(c / 100.0));
    }
    scale(cr, t, 112, majors, labels, 1.8 * 50, 84, 15);
    dark_window(cr, 104, 225, 98, 34);
    rgb(cr, 240, 240, 236);
    text_at(cr, 151, 185, "ITT", 13);
    text_at(cr, 151, 200, "\xC2\xB0" "C x 100", 9);
}

void dial_ng(cairo_t* cr, const BitmapEntry& e) {
    Table t{152, 145, {{60, 166, -1}, {60, 166, 0}, {78, 85, 40}, {150, 54, 80}, {216, 77, 90}, {242, 142, 100},
                       {220, 209, 110}, {202, 228, 120}, {202, 228, 150}}};
    dial_face(cr, e, 152, 145, 138);
    arc_band(cr, t, 52, 101.6, 94, 102, "green");
    lamp_rgb(cr, "red");
    tick(cr, t, 101.6, 90, 108, 4);
    scale(cr, t, 108, {0, 20, 40, 60, 80, 90, 100, 110}, {"0", "20", "40", "60", "80", "90", "100", "110"}, 5, 80, 14);
    rgb(cr, 240, 240, 236);
    text_at(cr, 152, 190, "Ng", 13);
    text_at(cr, 152, 205, "% RPM", 9);
}

void dial_prop(cairo_t* cr, const BitmapEntry& e) {
    const double u = 1.0 / 1900;  // the table's 1.0 is 1900 rpm
    Table t{151, 151, {{61, 183, -1}, {61, 183, 0}, {133, 54, 0.75}, {241, 149, 1.0}, {222, 207, 1.1}, {222, 207, 1.2}}};
    dial_face(cr, e, 151, 151, 138);
    arc_band(cr, t, 1600 * u, 1900 * u, 94, 102, "green");
    lamp_rgb(cr, "red");
    tick(cr, t, 1900 * u, 90, 108, 4);
    std::vector<double> majors;
    std::vector<std::string> labels;
    for (int rpm : {0, 500, 1000, 1500, 1900, 2100}) {
        majors.push_back(rpm * u);
        labels.push_back(num(rpm / 100.0));
    }
    rgb(cr, 240, 240, 236);
    for (int rpm = 1000; rpm <= 2100; rpm += 100) tick(cr, t, rpm * u, 101, 108, 1.3);
    scale(cr, t, 108, majors, labels, 0, 80, 14);
    rgb(cr, 240, 240, 236);
    text_at(cr, 151, 190, "PROP", 13);
    text_at(cr, 151, 205, "RPM x 100", 9);
}

void dial_oil(cairo_t* cr, const BitmapEntry& e) {
    Table temp{152, 147, {{96, 212, rankine(-50)}, {96, 212, rankine(-40)}, {68, 160, rankine(40)},
                          {96, 84, rankine(160)}, {96, 84, rankine(200)}}};
    Table press{152, 147, {{209, 82, 36000}, {209, 82, 28800}, {209, 221, 0}, {209, 221, -144}}};
    dial_face(cr, e, 152, 147, 138);
    arc_band(cr, temp, rankine(10), rankine(99), 80, 87, "green");
    arc_band(cr, press, 85 * 144, 105 * 144, 80, 87, "green");
    lamp_rgb(cr, "red");
    tick(cr, temp, rankine(105), 76, 92, 4);
    tick(cr, press, 60 * 144, 76, 92, 4);
    tick(cr, press, 135 * 144, 76, 92, 4);
    std::vector<double> tm;
    std::vector<std::string> tl;
    for (int c = -40; c <= 160; c += 40) {
        tm.push_back(rankine(c));
        tl.push_back(num(c));
    }
    scale(cr, temp, 92, tm, tl, 1.8 * 10, 66, 12);
    std::vector<double> pm;
    std::vector<std::string> pl;
    for (int p = 0; p <= 200; p += 50) {
        pm.push_back(p * 144);
        pl.push_back(num(p));
    }
    scale(cr, press, 92, pm, pl, 10 * 144, 66, 12);
    rgb(cr, 240, 240, 236);
    text_at(cr, 152, 40, "OIL", 13);
    text_at(cr, 112, 148, "\xC2\xB0" "C", 10);
    text_at(cr, 192, 148, "PSI", 10);
    cairo_set_line_width(cr, 1);
    cairo_move_to(cr, 152, 20);
    cairo_line_to(cr, 152, 30);
    cairo_stroke(cr);
}

void dial_fuelpress(cairo_t* cr, const BitmapEntry& e) {
    Table t{149, 212, {{67, 121, -1}, {67, 121, 0}, {147, 90, 3600}, {217, 122, 7200}, {217, 122, 7200}}};
    panel(cr, W(e), H(e));
    cairo_arc(cr, 149, 212, 150, kPi, 2 * kPi);
    cairo_close_path(cr);
    rgb(cr, 16, 16, 18);
    cairo_fill(cr);
    arc_band(cr, t, 10 * 144, 40 * 144, 114, 122, "green");
    lamp_rgb(cr, "red");
    tick(cr, t, 10 * 144, 110, 128, 4);
    std::vector<double> m;
    std::vector<std::string> l;
    for (int p = 0; p <= 50; p += 10) {
        m.push_back(p * 144);
        l.push_back(num(p));
    }
    scale(cr, t, 128, m, l, 2 * 144, 98, 14);
    rgb(cr, 240, 240, 236);
    text_at(cr, 149, 165, "FUEL PRESS", 11);
    text_at(cr, 149, 180, "PSI", 9);
}

void dial_fuelqty(cairo_t* cr, const BitmapEntry& e) {
    Table t{152, 153, {{57, 196, -1}, {57, 196, 0}, {96, 76, 50}, {215, 73, 100}, {248, 192, 150}, {248, 192, 160}}};
    dial_face(cr, e, 152, 153, 138);
    arc_band(cr, t, 0, 9.14, 98, 106, "red");
    std::vector<double> m = range(0, 150, 25);
    std::vector<std::string> l;
    for (double v : m) l.push_back(num(v));
    scale(cr, t, 112, m, l, 5, 84, 14);
    rgb(cr, 240, 240, 236);
    text_at(cr, 152, 195, "FUEL QTY", 12);
    text_at(cr, 152, 210, "US GAL", 9);
    text_at(cr, 120, 150, "L", 12);
    text_at(cr, 184, 150, "R", 12);
}

void dial_ammeter(cairo_t* cr, const BitmapEntry& e) {
    Table t{99, 142, {{53, 88, -300}, {53, 88, -200}, {100, 72, 0}, {148, 88, 200}, {145, 88, 300}}};
    dial_face(cr, e, 99, 120, 90);
    scale(cr, t, 74, {-200, -100, 0, 100, 200}, {"-2", "-1", "0", "+1", "+2"}, 20, 58, 11);
    rgb(cr, 240, 240, 236);
    text_at(cr, 99, 110, "AMPS", 10);
    text_at(cr, 99, 124, "x 100", 8);
}

void dial_voltmeter(cairo_t* cr, const BitmapEntry& e) {
    Table t{99, 142, {{44, 99, -1}, {44, 99, 0}, {52, 95, 15}, {146, 96, 33}, {146, 96, 40}}};
    dial_face(cr, e, 99, 120, 90);
    arc_band(cr, t, 24, 29, 66, 72, "green");
    lamp_rgb(cr, "red");
    tick(cr, t, 31.5, 62, 76, 3);
    scale(cr, t, 76, {15, 20, 25, 30}, {"15", "20", "25", "30"}, 1, 58, 11);
    rgb(cr, 240, 240, 236);
    text_at(cr, 99, 115, "VOLTS", 10);
}

void dial_suction(cairo_t* cr, const BitmapEntry& e) {
    Table t{82, 99, {{33, 101, 0}, {74, 40, 3}, {141, 97, 5}, {76, 155, 7}, {76, 155, 8}}};
    dial_face(cr, e, 82, 99, 76);
    arc_band(cr, t, 4.5, 5.5, 52, 58, "green");
    std::vector<double> m = range(0, 7, 1);
    std::vector<std::string> l;
    for (double v : m) l.push_back(num(v));
    scale(cr, t, 62, m, l, 0.5, 44, 11);
    rgb(cr, 240, 240, 236);
    text_at(cr, 70, 120, "SUCTION", 8);
    text_at(cr, 70, 131, "IN HG", 7);
}

void dial_cabin(cairo_t* cr, const BitmapEntry& e) {
    Table alt{153, 145, {{153, 62, -1}, {153, 62, 0}, {236, 142, 7000}, {226, 189, 10000}, {167, 229, 15000},
                         {114, 219, 20000}, {81, 189, 25000}, {70, 145, 30000}, {70, 145, 40000}}};
    Table rate{153, 145, {{107, 244, -8000}, {107, 244, -2000}, {55, 202, -1000}, {42, 145, 0}, {59, 91, 1000},
                          {107, 47, 2000}, {107, 47, 8000}}};
    Table diff{153, 145, {{153, 35, -1}, {153, 35, 0}, {263, 124, 6.2}, {262, 141, 7}, {262, 141, 8}}};
    dial_face(cr, e, 153, 145, 138);
    std::vector<double> am = range(0, 30000, 5000);
    std::vector<std::string> al;
    for (double v : am) al.push_back(num(v / 1000));
    scale(cr, alt, 86, am, al, 1000, 68, 12);
    scale(cr, rate, 122, {-2000, -1000, 0, 1000, 2000}, {"2", "1", "0", "1", "2"}, 500, 106, 11);
    lamp_rgb(cr, "red");
    tick(cr, diff, 6.2, 110, 128, 3);
    std::vector<double> dm = range(0, 6, 1);
    std::vector<std::string> dl;
    for (double v : dm) dl.push_back(num(v));
    scale(cr, diff, 124, dm, dl, 0.5, 108, 10);
    rgb(cr, 240, 240, 236);
    text_at(cr, 153, 112, "CABIN ALT", 9);
    text_at(cr, 153, 176, "x 1000 FT", 8);
    text_at(cr, 48, 116, "UP", 8);
    text_at(cr, 48, 176, "DN", 8);
    text_at(cr, 30, 146, "RATE", 7);
    text_at(cr, 232, 88, "DIFF PSI", 8);
}

void dial_pressu_settings(cairo_t* cr, const BitmapEntry& e) {
    Table sel{158, 145, {{53, 175, 254}, {171, 30, 366.5}, {262, 175, 466.5}}};
    dial_face(cr, e, 158, 145, 124);
    rgb(cr, 240, 240, 236);
    for (int k = 0; k <= 10; ++k) {
        double d = k <= 5 ? 254 + 22.5 * k : 366.5 + 20 * (k - 5);
        double ceiling = 14500 + 1800 * k;
        tick(cr, sel, d, 102, 116, 2.4);
        label(cr, sel, d, 92, k == 0 ? "SL" : num(k), 12);
        lamp_rgb(cr, "orange");
        label(cr, sel, d, 70, num(std::floor(ceiling / 1000)), 10);
        rgb(cr, 240, 240, 236);
    }
    text_at(cr, 158, 118, "CABIN ALT x 1000", 8);
    lamp_rgb(cr, "orange");
    text_at(cr, 158, 175, "ACFT ALT x 1000", 8);
    rgb(cr, 240, 240, 236);
    text_at(cr, 158, 250, "PRESSURIZATION", 9);
}

void p_dial(cairo_t* cr, const BitmapEntry& e) {
    std::string n = e.arg("name");
    if (n == "asi") dial_asi(cr, e);
    else if (n == "vsi") dial_vsi(cr, e);
    else if (n == "torque") dial_torque(cr, e);
    else if (n == "itt") dial_itt(cr, e);
    else if (n == "ng") dial_ng(cr, e);
    else if (n == "prop") dial_prop(cr, e);
    else if (n == "oil") dial_oil(cr, e);
    else if (n == "fuelpress") dial_fuelpress(cr, e);
    else if (n == "fuelqty") dial_fuelqty(cr, e);
    else if (n == "ammeter") dial_ammeter(cr, e);
    else if (n == "voltmeter") dial_voltmeter(cr, e);
    else if (n == "suction") dial_suction(cr, e);
    else if (n == "cabin") dial_cabin(cr, e);
    else if (n == "settings") dial_pressu_settings(cr, e);
}

// ----------------------------------------------------------------------------------------------
// Needles and bezels

void p_needle(cairo_t* cr, const BitmapEntry& e) {
    double px = 0, py = H(e) / 2;
    std::sscanf(e.arg("pivot", "0,0").c_str(), "%lf,%lf", &px, &py);
    double w = std::min(e.num("w", 6), H(e));
    double tip = W(e) - 1;
    lamp_rgb(cr, e.arg("color", "white"));
    if (w <= 3) {
        cairo_rectangle(cr, 0, py - w / 2, W(e), w);
        cairo_fill(cr);
        return;
    }
    cairo_move_to(cr, 0.5, py - w * 0.35);
    cairo_line_to(cr, px, py - w / 2);
    cairo_line_to(cr, tip - w, py - w * 0.3);
    cairo_line_to(cr, tip, py);
    cairo_line_to(cr, tip - w, py + w * 0.3);
    cairo_line_to(cr, px, py + w / 2);
    cairo_line_to(cr, 0.5, py + w * 0.35);
    cairo_close_path(cr);
    cairo_fill(cr);
    double hub = std::min(H(e) / 2, w * 0.9);
    cairo_arc(cr, px, py, hub, 0, 2 * kPi);
    rgb(cr, 60, 60, 62);
    cairo_fill(cr);
}

void p_bezel(cairo_t* cr, const BitmapEntry& e) {
    double cx = e.num("cx", W(e) / 2), cy = e.num("cy", H(e) / 2), r = e.num("r", W(e) / 2 - 10);
    cairo_set_line_width(cr, 7);
    rgb(cr, 56, 56, 60);
    cairo_arc(cr, cx, cy, r + 3.5, 0, 2 * kPi);
    cairo_stroke(cr);
    cairo_set_line_width(cr, 1);
    rgb(cr, 120, 120, 126);
    cairo_arc(cr, cx, cy, r + 7, 0, 2 * kPi);
    cairo_stroke(cr);
    double inset = 9;
    for (double x : {inset, W(e) - inset})
        for (double y : {inset, H(e) - inset}) screw(cr, x, y, 4);
    std::string l = e.arg("label");
    if (!l.empty()) {
        rgb(cr, 220, 220, 215);
        text_at(cr, cx, std::min(H(e) - 6.0, cy + r + 14), l, 8);
    }
}

// ----------------------------------------------------------------------------------------------
// Turn coordinator, altimeter, compass

void p_turn_face(cairo_t* cr, const BitmapEntry& e) {
    dial_face(cr, e, 150, 150, 138);
    rgb(cr, 240, 240, 236);
    cairo_set_line_width(cr, 5);
    for (double deg : {0.0, 20.0}) {  // wings level and standard-rate marks each side
        for (int side : {-1, 1}) {
            double a = (side < 0 ? kPi : 0) + side * deg * kPi / 180;
            cairo_move_to(cr, 150 + std::cos(a) * 100, 152 + std::sin(a) * 100);
            cairo_line_to(cr, 150 + std::cos(a) * 128, 152 + std::sin(a) * 128);
        }
    }
    cairo_stroke(cr);
    text_at(cr, 48, 198, "L", 18);
    text_at(cr, 252, 198, "R", 18);
    text_at(cr, 150, 60, "TURN COORDINATOR", 11);
    text_at(cr, 150, 250, "2 MIN", 11);
    text_at(cr, 150, 265, "NO PITCH INFORMATION", 7);
    // The inclinometer tube, curving up at its ends as the ball's path does.
    cairo_set_line_width(cr, 30);
    rgb(cr, 200, 200, 190);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_move_to(cr, 104, 196);
    cairo_curve_to(cr, 125, 204, 175, 204, 196, 196);
    cairo_stroke(cr);
    cairo_set_line_width(cr, 26);
    rgb(cr, 150, 170, 160);
    cairo_move_to(cr, 104, 196);
    cairo_curve_to(cr, 125, 204, 175, 204, 196, 196);
    cairo_stroke(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_BUTT);
}

void p_turn_aircraft(cairo_t* cr, const BitmapEntry& e) {
    // Drawn with the nose along +x: the table turns it upright.
    rgb(cr, 245, 245, 240);
    round_rect(cr, 12, 2, 8, H(e) - 4, 3);  // wings across
    cairo_fill(cr);
    cairo_arc(cr, 16, H(e) / 2, 10, 0, 2 * kPi);
    cairo_fill(cr);
    cairo_rectangle(cr, 16, H(e) / 2 - 3, 30, 6);  // the fin
    cairo_fill(cr);
}

void p_altimeter_face(cairo_t* cr, const BitmapEntry& e) {
    Table t{153, 150, {{153, 100, 0}, {153, 200, 500}}};
    (void)t;
    dial_face(cr, e, 153, 150, 142);
    rgb(cr, 240, 240, 236);
    for (int i = 0; i < 50; ++i) {
        double a = -kPi / 2 + 2 * kPi * i / 50;
        double r0 = i % 5 == 0 ? 118 : 128;
        cairo_set_line_width(cr, i % 5 == 0 ? 3 : 1.5);
        cairo_move_to(cr, 153 + std::cos(a) * r0, 150 + std::sin(a) * r0);
        cairo_line_to(cr, 153 + std::cos(a) * 138, 150 + std::sin(a) * 138);
        cairo_stroke(cr);
    }
    for (int d = 0; d < 10; ++d) {
        double a = -kPi / 2 + 2 * kPi * d / 10;
        text_at(cr, 153 + std::cos(a) * 102, 150 + std::sin(a) * 102, num(d), 22);
    }
    dark_window(cr, 102, 72, 102, 40);
    dark_window(cr, 81, 185, 45, 20);
    dark_window(cr, 180, 185, 45, 20);
    rgb(cr, 240, 240, 236);
    text_at(cr, 103, 214, "MB", 8);
    text_at(cr, 203, 214, "IN HG", 8);
    text_at(cr, 153, 130, "ALT", 10);
    text_at(cr, 153, 232, "100 FEET", 8);
    text_at(cr, 118, 64, "1000 FT", 7);
}

void p_compass_housing(cairo_t* cr, const BitmapEntry& e) {
    round_rect(cr, 2, 2, W(e) - 4, H(e) - 4, 20);
    rgb(cr, 36, 36, 40);
    cairo_fill(cr);
    // The strip is seen through a window one eleventh of its width at (39,97).
    const double window = 531.0 / 11;
    dark_window(cr, 39, 97, window, 50);
    rgb(cr, 235, 120, 30);  // lubber line
    cairo_rectangle(cr, 39 + window / 2 - 1, 90, 2, 64);
    cairo_fill(cr);
    rgb(cr, 225, 225, 220);
    text_at(cr, 75, 40, "COMPASS", 12);
    text_at(cr, 75, 175, "FOR  N  30  60  E", 7);
}

void p_compass_strip(cairo_t* cr, const BitmapEntry& e) {
    rgb(cr, 20, 20, 22);
    cairo_rectangle(cr, 0, 0, W(e), H(e));
    cairo_fill(cr);
    // Seen through a window one eleventh of the strip wide: 360 degrees take ten windows, the
    // eleventh repeats the start. Heading 360 shows at the left end, 0 at the right; headings grow
    // leftward, as on a wet compass card.
    const double window = W(e) / 11;
    const double k = (W(e) - window) / 360.0;
    auto x_of = [&](double d) { return W(e) - window / 2 - d * k; };
    rgb(cr, 240, 240, 236);
    for (int d = -30; d <= 390; d += 5) {
        double x = x_of(d);
        if (x < 0 || x > W(e)) continue;
        cairo_set_line_width(cr, d % 10 == 0 ? 1.6 : 1);
        cairo_move_to(cr, x, 0);
        cairo_line_to(cr, x, d % 10 == 0 ? 12 : 7);
        cairo_stroke(cr);
        if (d % 30 == 0) {
            int h = ((d % 360) + 360) % 360;
            const char* names[] = {"N", "3", "6", "E", "12", "15", "S", "21", "24", "W", "30", "33"};
            text_at(cr, x, 30, names[h / 30], 16);
        }
    }
}

void p_compass_card(cairo_t* cr, const BitmapEntry& e) {
    std::string style = e.arg("style", "obs");
    double c = W(e) / 2, r = c - 1;
    double r_in = style == "hsi" ? r * 0.62 : r * 0.7;
    cairo_arc(cr, c, c, r, 0, 2 * kPi);
    cairo_arc_negative(cr, c, c, r_in, 2 * kPi, 0);
    rgb(cr, 24, 24, 26);
    cairo_fill(cr);
    rgb(cr, 240, 240, 236);
    const char* names[] = {"N", "3", "6", "E", "12", "15", "S", "21", "24", "W", "30", "33"};
    for (int d = 0; d < 360; d += 5) {
        double a = (d - 90) * kPi / 180;
        double len = d % 10 == 0 ? 12 : 6;
        cairo_set_line_width(cr, d % 10 == 0 ? 2 : 1.2);
        cairo_move_to(cr, c + std::cos(a) * r, c + std::sin(a) * r);
        cairo_line_to(cr, c + std::cos(a) * (r - len), c + std::sin(a) * (r - len));
        cairo_stroke(cr);
        if (d % 30 == 0) {
            cairo_save(cr);
            cairo_translate(cr, c + std::cos(a) * (r - 24), c + std::sin(a) * (r - 24));
            cairo_rotate(cr, d * kPi / 180);
            text_at(cr, 0, 0, names[d / 30], d % 90 == 0 ? 17 : 14);
            cairo_restore(cr);
        }
    }
}

// ----------------------------------------------------------------------------------------------
// CDI, RMI, HSI, ADI

void p_cdi_face(cairo_t* cr, const BitmapEntry& e) {
    panel(cr, W(e), H(e));
    cairo_arc(cr, 153, 149, 134, 0, 2 * kPi);
    rgb(cr, 16, 16, 18);
    cairo_fill(cr);
    rgb(cr, 240, 240, 236);
    const double dev_px = 59.0 / 5, gs_px = 127 * 0.475 / 5;
    for (int i = -5; i <= 5; ++i) {
        if (i == 0) continue;
        cairo_arc(cr, 153 + i * dev_px, 149, 2.6, 0, 2 * kPi);
        cairo_fill(cr);
        cairo_arc(cr, 240, 149 + i * gs_px, 2.2, 0, 2 * kPi);
        cairo_fill(cr);
    }
    cairo_set_line_width(cr, 1.5);
    cairo_arc(cr, 153, 149, 8, 0, 2 * kPi);
    cairo_stroke(cr);
    lamp_rgb(cr, "white");
    cairo_move_to(cr, 153, 22);  // lubber index at the top
    cairo_line_to(cr, 146, 10);
    cairo_line_to(cr, 160, 10);
    cairo_close_path(cr);
    cairo_fill(cr);
    text_at(cr, 153, 200, "VOR / LOC", 8);
    text_at(cr, 36, 296, "OBS", 7);
}

void p_rmi_face(cairo_t* cr, const BitmapEntry& e) {
    panel(cr, W(e), H(e));
    cairo_arc(cr, 150, 148, 134, 0, 2 * kPi);
    rgb(cr, 16, 16, 18);
    cairo_fill(cr);
    lamp_rgb(cr, "white");
    cairo_move_to(cr, 150, 22);
    cairo_line_to(cr, 143, 8);
    cairo_line_to(cr, 157, 8);
    cairo_close_path(cr);
    cairo_fill(cr);
    lamp_rgb(cr, "green");
    text_at(cr, 24, 290, "ADF", 9);
    lamp_rgb(cr, "yellow");
    text_at(cr, 276, 290, "VOR", 9);
}

void p_rmi_needle(cairo_t* cr, const BitmapEntry& e) {
    bool dbl = e.num("double", 0) > 0;
    const double py = 18, tip = W(e) - 1;
    lamp_rgb(cr, dbl ? "green" : "yellow");
    cairo_set_line_width(cr, dbl ? 2.4 : 3.6);
    for (double off : dbl ? std::vector<double>{-4.5, 4.5} : std::vector<double>{0}) {
        cairo_move_to(cr, 4, py + off);
        cairo_line_to(cr, tip - 20, py + off);
    }
    cairo_stroke(cr);
    cairo_move_to(cr, tip, py);  // arrow head at the bearing end
    cairo_line_to(cr, tip - 24, py - 10);
    cairo_line_to(cr, tip - 24, py + 10);
    cairo_close_path(cr);
    cairo_fill(cr);
    cairo_move_to(cr, 4, py - 8);  // tail
    cairo_line_to(cr, 18, py);
    cairo_line_to(cr, 4, py + 8);
    cairo_set_line_width(cr, 2.4);
    cairo_stroke(cr);
}

void p_hsi_face(cairo_t* cr, const BitmapEntry& e) {
    panel(cr, W(e), H(e));
    cairo_arc(cr, 154, 152, 122, 0, 2 * kPi);
    rgb(cr, 16, 16, 18);
    cairo_fill(cr);
    lamp_rgb(cr, "white");
    for (int k = 0; k < 8; ++k) {  // marks every 45 degrees outside the card
        double a = (k * 45 - 90) * kPi / 180;
        double r0 = 105, r1 = k == 0 ? 120 : 114;
        cairo_set_line_width(cr, k == 0 ? 4 : 2.5);
        cairo_move_to(cr, 154 + std::cos(a) * r0, 152 + std::sin(a) * r0);
        cairo_line_to(cr, 154 + std::cos(a) * r1, 152 + std::sin(a) * r1);
        cairo_stroke(cr);
    }
    // Glideslope scales at each side.
    for (double x : {36.0, 273.0})
        for (int i = -2; i <= 2; ++i) {
            if (i == 0) {
                cairo_rectangle(cr, x - 5, 151, 10, 2);
                cairo_fill(cr);
                continue;
            }
            cairo_arc(cr, x, 152 + i * 26, 3, 0, 2 * kPi);
            cairo_fill(cr);
        }
    rgb(cr, 220, 220, 215);
    text_at(cr, 28, 210, "CRS", 8);
    text_at(cr, 261, 210, "HDG", 8);
}

void p_hsi_tofrom(cairo_t* cr, const BitmapEntry& e) {
    lamp_rgb(cr, "white");
    cairo_move_to(cr, W(e) / 2, 2);
    cairo_line_to(cr, W(e) - 2, 22);
    cairo_line_to(cr, 2, 22);
    cairo_close_path(cr);
    cairo_fill(cr);
}

void p_hsi_bug(cairo_t* cr, const BitmapEntry& e) {
    lamp_rgb(cr, "orange");
    cairo_move_to(cr, 1, 0);
    cairo_line_to(cr, 7, 0);
    cairo_line_to(cr, W(e) / 2, 6);
    cairo_line_to(cr, W(e) - 7, 0);
    cairo_line_to(cr, W(e) - 1, 0);
    cairo_line_to(cr, W(e) - 1, 10);
    cairo_line_to(cr, 1, 10);
    cairo_close_path(cr);
    cairo_fill(cr);
}

void p_hsi_course(cairo_t* cr, const BitmapEntry& e) {
    double c = W(e) / 2;
    lamp_rgb(cr, "yellow");
    cairo_rectangle(cr, c - 2.5, 22, 5, 18);  // head end
    cairo_rectangle(cr, c - 2.5, 130, 5, 36); // tail
    cairo_fill(cr);
    cairo_move_to(cr, c, 2);
    cairo_line_to(cr, c + 10, 24);
    cairo_line_to(cr, c - 10, 24);
    cairo_close_path(cr);
    cairo_fill(cr);
    lamp_rgb(cr, "white");
    for (double dx : {-49.0, -24.5, 24.5, 49.0}) {
        cairo_arc(cr, c + dx, c, 4, 0, 2 * kPi);
        cairo_set_line_width(cr, 1.6);
        cairo_stroke(cr);
    }
}

void p_hsi_devbar(cairo_t* cr, const BitmapEntry& e) {
    lamp_rgb(cr, "yellow");
    cairo_rectangle(cr, W(e) / 2 - 2.5, 44, 5, 82);
    cairo_fill(cr);
}

void p_gs_pointer(cairo_t* cr, const BitmapEntry& e) {
    bool left = e.arg("side") == "left";
    lamp_rgb(cr, "green");
    cairo_move_to(cr, left ? W(e) - 1 : 1, H(e) / 2);
    cairo_line_to(cr, left ? 1 : W(e) - 1, 1);
    cairo_line_to(cr, left ? 1 : W(e) - 1, H(e) - 1);
    cairo_close_path(cr);
    cairo_fill(cr);
}

void p_adi_face(cairo_t* cr, const BitmapEntry& e) {
    panel(cr, W(e), H(e));
    cairo_arc(cr, 151, 157, 140, 0, 2 * kPi);
    rgb(cr, 30, 30, 32);
    cairo_fill(cr);
    rgb(cr, 220, 220, 215);
    text_at(cr, 151, 10, "KI 256", 8);
}

void p_adi_ball(cairo_t* cr, const BitmapEntry& e) {
    double c = W(e) / 2, r = c - 1;
    cairo_save(cr);
    cairo_arc(cr, c, c, r, 0, 2 * kPi);
    cairo_clip(cr);
    rgb(cr, 40, 120, 210);
    cairo_rectangle(cr, 0, 0, W(e), c);
    cairo_fill(cr);
    rgb(cr, 130, 82, 36);
    cairo_rectangle(cr, 0, c, W(e), c);
    cairo_fill(cr);
    rgb(cr, 250, 250, 250);
    cairo_rectangle(cr, 0, c - 1.5, W(e), 3);
    cairo_fill(cr);
    cairo_restore(cr);
    // Bank scale on the upper rim: 10, 20, 30, 60 and 90 degrees each side.
    rgb(cr, 250, 250, 250);
    for (double deg : {-90.0, -60.0, -30.0, -20.0, -10.0, 0.0, 10.0, 20.0, 30.0, 60.0, 90.0}) {
        double a = (deg - 90) * kPi / 180;
        bool major = std::fabs(deg) == 30 || std::fabs(deg) == 60 || std::fabs(deg) == 90;
        double len = major ? 18 : 10;
        if (deg == 0) {
            cairo_move_to(cr, c, r - 2 - 110);
            cairo_move_to(cr, c, 4);
            cairo_line_to(cr, c - 7, 18);
            cairo_line_to(cr, c + 7, 18);
            cairo_close_path(cr);
            cairo_fill(cr);
            continue;
        }
        cairo_set_line_width(cr, major ? 3.5 : 2.5);
        cairo_move_to(cr, c + std::cos(a) * (r - 2), c + std::sin(a) * (r - 2));
        cairo_line_to(cr, c + std::cos(a) * (r - 2 - len), c + std::sin(a) * (r - 2 - len));
        cairo_stroke(cr);
    }
}

void p_adi_ladder(cairo_t* cr, const BitmapEntry& e) {
    const double c = W(e) / 2, px_per_deg = 1.95;
    rgb(cr, 250, 250, 250);
    for (int deg = -30; deg <= 30; deg += 5) {
        if (deg == 0) continue;
        double y = c - deg * px_per_deg;
        double half = deg % 10 == 0 ? 30 : 14;
        cairo_set_line_width(cr, 2);
        cairo_move_to(cr, c - half, y);
        cairo_line_to(cr, c + half, y);
        cairo_stroke(cr);
        if (deg % 10 == 0) {
            text_at(cr, c - half - 10, y, num(std::abs(deg)), 10);
            text_at(cr, c + half + 10, y, num(std::abs(deg)), 10);
        }
    }
}

void p_adi_fd(cairo_t* cr, const BitmapEntry& e) {
    const double c = W(e) / 2;
    rgb(cr, 230, 60, 200);
    for (int side : {-1, 1}) {
        cairo_move_to(cr, c, c);
        cairo_line_to(cr, c + side * 72, c + 30);
        cairo_line_to(cr, c + side * 72, c + 38);
        cairo_line_to(cr, c, c + 9);
        cairo_close_path(cr);
        cairo_fill(cr);
    }
}

void p_bank_pointer(cairo_t* cr, const BitmapEntry& e) {
    lamp_rgb(cr, "orange");
    cairo_move_to(cr, W(e) / 2, 1);
    cairo_line_to(cr, W(e) - 1, H(e) - 1);
    cairo_line_to(cr, 1, H(e) - 1);
    cairo_close_path(cr);
    cairo_fill(cr);
}

void p_adi_bezel(cairo_t* cr, const BitmapEntry& e) {
    // Case all round the ball, opaque, the ball's window left open.
    cairo_rectangle(cr, 0, 0, W(e), H(e));
    cairo_arc_negative(cr, 151, 157, 126, 2 * kPi, 0);
    rgb(cr, 44, 44, 48);
    cairo_fill(cr);
    cairo_set_line_width(cr, 2);
    rgb(cr, 100, 100, 106);
    cairo_arc(cr, 151, 157, 127, 0, 2 * kPi);
    cairo_stroke(cr);
    // Fixed aircraft symbol.
    lamp_rgb(cr, "orange");
    for (int side : {-1, 1}) {
        cairo_rectangle(cr, side < 0 ? 84 : 176, 154, 42, 6);
        cairo_fill(cr);
    }
    cairo_arc(cr, 151, 157, 4, 0, 2 * kPi);
    cairo_fill(cr);
    for (double x : {14.0, 288.0})
        for (double y : {14.0, 288.0}) screw(cr, x, y, 5);
    rgb(cr, 220, 220, 215);
    text_at(cr, 151, 296, "BENDIX/KING", 8);
}

// ----------------------------------------------------------------------------------------------
// Flaps and trim indicators

void p_flaps_face(cairo_t* cr, const BitmapEntry& e) {
    panel(cr, W(e), H(e));
    round_rect(cr, 4, 4, W(e) - 8, H(e) - 8, 4);
    rgb(cr, 16, 16, 18);
    cairo_fill(cr);
    rgb(cr, 225, 225, 220);
    text_at(cr, 76, 50, "FLAPS", 9);
}

void p_flaps_marks(cairo_t* cr, const BitmapEntry&) {
    Table t{12, 11, {{53, 14, 0}, {50, 32, 9000}, {21, 48, 16382}}};
    rgb(cr, 240, 240, 236);
    for (double v : {0.0, 9000.0, 16382.0}) tick(cr, t, v, 42, 50, 2);
    label(cr, t, 0, 64, "UP", 8);
    label(cr, t, 9000, 60, "15", 8);
    label(cr, t, 16382, 48, "DN", 8);
}

void p_trims_face(cairo_t* cr, const BitmapEntry& e) {
    panel(cr, W(e), H(e));
    round_rect(cr, 3, 3, 48, 120, 4);
    rgb(cr, 16, 16, 18);
    cairo_fill(cr);
    round_rect(cr, 54, 3, 58, 120, 4);
    cairo_fill(cr);
    rgb(cr, 225, 225, 220);
    text_at(cr, 62, 64, "TRIM", 7);
}

void p_trims_pitch_marks(cairo_t* cr, const BitmapEntry&) {
    Table t{76, 64, {{27, 21, -0.523599}, {26, 63, 0}, {27, 106, 0.523599}}};
    rgb(cr, 240, 240, 236);
    for (double v = -0.523599; v <= 0.5236; v += 0.0872665) tick(cr, t, v, 42, 48, 1.2);
    lamp_rgb(cr, "green");
    tick(cr, t, 0, 38, 50, 2.5);
    rgb(cr, 240, 240, 236);
    text_at(cr, 16, 12, "DN", 7);
    text_at(cr, 16, 116, "UP", 7);
}

void p_trims_roll_marks(cairo_t* cr, const BitmapEntry&) {
    Table ail{81, 109, {{96, 96, -0.174533}, {105, 109, 0}, {96, 122, 0.174533}}};
    Table rud{81, 17, {{95, 28, 0.174533}, {81, 36, 0}, {67, 28, -0.174533}}};
    rgb(cr, 240, 240, 236);
    for (double v : {-0.174533, -0.0872665, 0.0, 0.0872665, 0.174533}) {
        tick(cr, ail, v, 24, 29, v == 0 ? 2.2 : 1.2);
        tick(cr, rud, v, 17, 22, v == 0 ? 2.2 : 1.2);
    }
    text_at(cr, 68, 36, "L", 6);
    text_at(cr, 95, 36, "R", 6);
    text_at(cr, 60, 72, "RUD", 6);
    text_at(cr, 106, 88, "AIL", 6);
}

}  // namespace

void register_instrument_painters(PainterTable& t) {
    t["dial"] = p_dial;
    t["needle"] = p_needle;
    t["bezel"] = p_bezel;
    t["turn_face"] = p_turn_face;
    t["turn_aircraft"] = p_turn_aircraft;
    t["altimeter_face"] = p_altimeter_face;
    t["compass_housing"] = p_compass_housing;
    t["compass_strip"] = p_compass_strip;
    t["compass_card"] = p_compass_card;
    t["cdi_face"] = p_cdi_face;
    t["rmi_face"] = p_rmi_face;
    t["rmi_needle"] = p_rmi_needle;
    t["hsi_face"] = p_hsi_face;
    t["hsi_tofrom"] = p_hsi_tofrom;
    t["hsi_bug"] = p_hsi_bug;
    t["hsi_course"] = p_hsi_course;
    t["hsi_devbar"] = p_hsi_devbar;
    t["gs_pointer"] = p_gs_pointer;
    t["adi_face"] = p_adi_face;
    t["adi_ball"] = p_adi_ball;
    t["adi_ladder"] = p_adi_ladder;
    t["adi_fd"] = p_adi_fd;
    t["bank_pointer"] = p_bank_pointer;
    t["adi_bezel"] = p_adi_bezel;
    t["flaps_face"] = p_flaps_face;
    t["flaps_marks"] = p_flaps_marks;
    t["trims_face"] = p_trims_face;
    t["trims_pitch_marks"] = p_trims_pitch_marks;
    t["trims_roll_marks"] = p_trims_roll_marks;
}

}  // namespace resgen
