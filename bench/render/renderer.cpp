// Sections: bitmaps from the module · needle geometry · bitmap cache · text · elements · gauges ·
// windows, sheets and files.
#include "bench/render/renderer.h"

#include <dlfcn.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "bench/panel_cfg.h"
#include "bench/render/dib.h"
#include "platform/embedded_resources.h"

namespace bench {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kDegrees = 180.0 / kPi;
constexpr int kScaleSteps = 1024;            // bitmap cache keys scales in 1/1024 steps
constexpr double kWholePixelSlack = 1.0 / 512;  // a scale this near 1 is copied pixel for pixel
constexpr int kRootPlaceholderSide = 120;    // a missing background's size, gauge pixels
constexpr int kChildPlaceholderW = 28, kChildPlaceholderH = 16;
constexpr int kMovingImageCells = 11;        // ten steps of the range and the first repeated
constexpr double kTextInkHeight = 0.72;      // digit height as a share of a string's box
constexpr double kTextWidthShare = 0.96;     // most of a box's width a string's characters take
constexpr const char* kFallbackFamily = "Liberation Sans";
constexpr double kSheetMaxZoom = 4.0;        // contact sheet: most a small gauge is enlarged
constexpr uint32_t kVarPanelLights = 0x0A;
constexpr double kBacklight[3] = {1.0, 0.8, 0.55};  // colour of the lamps behind lit elements
constexpr double kBacklightStrength = 0.45;         // share of a lit element's own light added

double rad(double degrees) { return degrees / kDegrees; }

void set_rgb(cairo_t* cr, uint32_t colorref) {
    cairo_set_source_rgb(cr, (colorref & 0xFF) / 255.0, ((colorref >> 8) & 0xFF) / 255.0,
                         ((colorref >> 16) & 0xFF) / 255.0);
}

// Turns a difference of directions into (-180, 180]; an exact half turn goes clockwise.
double wrap_half_turn(double d) {
    d = std::fmod(d, 360.0);
    if (d > 180.0) d -= 360.0;
    if (d <= -180.0) d += 360.0;
    return d;
}

// A gauge's character as UTF-8 for cairo; control characters are drawn as spaces.
std::string glyph_text(char c) { return utf8_from_1252(std::string(1, static_cast<unsigned char>(c) < 0x20 ? ' ' : c)); }

std::string family_for(const char* font_name, size_t max) {
    std::string name(font_name, strnlen(font_name, max));
    if (name == "Quartz") return "DSEG7 Classic";
    if (name == "Arial" || name.empty()) return "Liberation Sans";
    return name;
}

// How much a colour channel (0 red, 1 green, 2 blue) gains under the panel lights: its own light,
// warmed, added again at part of its strength, so that legends and lit faces glow while dark
// parts stay dark.
double light_gain(int channel) { return 1 + kBacklightStrength * kBacklight[channel]; }

double lit_channel(double c, int channel) { return std::min(1.0, c * light_gain(channel)); }

void set_rgb_lit(cairo_t* cr, uint32_t colorref, bool lit) {
    if (!lit) return set_rgb(cr, colorref);
    cairo_set_source_rgb(cr, lit_channel((colorref & 0xFF) / 255.0, 0), lit_channel(((colorref >> 8) & 0xFF) / 255.0, 1),
                         lit_channel(((colorref >> 16) & 0xFF) / 255.0, 2));
}

// A copy of a bitmap with every pixel lit (premultiplied, so a channel stays within its alpha).
cairo_surface_t* lit_copy(cairo_surface_t* source) {
    cairo_surface_flush(source);
    int w = cairo_image_surface_get_width(source), h = cairo_image_surface_get_height(source);
    cairo_surface_t* out = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, w, h);
    const uint8_t* from = cairo_image_surface_get_data(source);
    uint8_t* to = cairo_image_surface_get_data(out);
    int from_stride = cairo_image_surface_get_stride(source), to_stride = cairo_image_surface_get_stride(out);
    for (int y = 0; y < h; ++y) {
        auto* in = reinterpret_cast<const uint32_t*>(from + size_t(from_stride) * size_t(y));
        auto* lit = reinterpret_cast<uint32_t*>(to + size_t(to_stride) * size_t(y));
        for (int x = 0; x < w; ++x) {
            uint32_t p = in[x], a = p >> 24, pixel = a << 24;
            for (int channel = 0; channel < 3; ++channel) {
                int shift = 16 - 8 * channel;  // red, green, blue
                double c = (p >> shift) & 0xFF;
                pixel |= uint32_t(std::min(double(a), std::round(c * light_gain(channel)))) << shift;
            }
            lit[x] = pixel;
        }
    }
    cairo_surface_mark_dirty(out);
    return out;
}

bool all_black(cairo_surface_t* surface) {
    cairo_surface_flush(surface);
    const uint8_t* data = cairo_image_surface_get_data(surface);
    int w = cairo_image_surface_get_width(surface), h = cairo_image_surface_get_height(surface);
    int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<const uint32_t*>(data + size_t(stride) * size_t(y));
        for (int x = 0; x < w; ++x)
            if ((row[x] & 0xFFFFFF) != 0) return false;
    }
    return true;
}

}  // namespace

// ----------------------------------------------------------------------------------------------
// Bitmaps from the module

BitmapSource module_bitmaps(const LoadedModule& module) {
    const CorvanEmbeddedResource* table = nullptr;
    if (module.handle)
        table = static_cast<const CorvanEmbeddedResource*>(dlsym(module.handle, CORVAN_EMBEDDED_RESOURCES_SYMBOL));
    return [table](int32_t id) -> DibBytes {
        for (const CorvanEmbeddedResource* r = table; r && r->data; ++r)
            if (r->type == CORVAN_RESOURCE_BITMAP && int64_t(r->id) == int64_t(id)) return {r->data, r->size};
        return {};
    };
}

// ----------------------------------------------------------------------------------------------
// Needle geometry

double table_rotation(const NONLINEARITY* rows, uint32_t count, PIXPOINT pivot, double value) {
    if (!rows || count == 0) return 0;
    auto direction = [&](uint32_t i) {
        double dx = rows[i].pt.x - pivot.x, dy = rows[i].pt.y - pivot.y;
        return (dx == 0 && dy == 0) ? 0.0 : std::atan2(dy, dx) * kDegrees;
    };
    // Directions unwrapped along the table: the first turn the short way round, and a later turn
    // that would reverse by a quarter turn or more goes on in the same sense instead, so a dial
    // whose rows sweep more than half a turn between two of them (the torque dial's first
    // division) goes round the face as its printed scale does. A small step back, as at the top
    // of the ammeter's table, is drawn as the table gives it rather than as a full turn.
    constexpr double kReversalLimit = 90.0;
    std::vector<double> angle(count);
    angle[0] = direction(0);
    double sense = 0;
    for (uint32_t i = 1; i < count; ++i) {
        double turn = wrap_half_turn(direction(i) - direction(i - 1));
        if (sense == 0 && turn != 0)
            sense = turn > 0 ? 1 : -1;
        else if (turn * sense < 0 && std::fabs(turn) >= kReversalLimit)
            turn += 360.0 * sense;
        angle[i] = angle[i - 1] + turn;
    }
    if (count == 1 || std::isnan(value)) return angle[0];

    for (uint32_t i = 0; i + 1 < count; ++i) {
        double a = rows[i].value, b = rows[i + 1].value;
        if (a == b) continue;
        if ((value >= a && value <= b) || (value <= a && value >= b))
            return angle[i] + (value - a) / (b - a) * (angle[i + 1] - angle[i]);
    }
    double first = rows[0].value, last = rows[count - 1].value;
    bool before_first = (last >= first) ? value < first : value > first;
    if (count == 2 && first != last) {
        // A linear scale turns on past its rows.
        double turn = (value - first) / (last - first) * (angle[1] - angle[0]);
        if (!std::isfinite(turn)) return before_first ? angle[0] : angle[1];
        return angle[0] + std::fmod(turn, 360.0);
    }
    return before_first ? angle[0] : angle[count - 1];
}

double needle_rotation(const NeedleElement& needle, double value) {
    if (!needle.nonlinearity_table || needle.nonlinearity_table_size == 0)
        return std::isfinite(value) ? std::fmod(value, 360.0) : 0.0;
    return table_rotation(needle.nonlinearity_table, needle.nonlinearity_table_size, needle.header.position, value);
}

void fit_scale(int gauge_w, int gauge_h, double w, double h, double& sx, double& sy) {
    sx = gauge_w > 0 ? w / gauge_w : 1.0;
    sy = (h > 0 && gauge_h > 0) ? h / gauge_h : sx;
}

// ----------------------------------------------------------------------------------------------
// Bitmap cache

namespace {
bool caches_in_use = false;  // something has drawn since the caches were last given back
}  // namespace

Renderer::Renderer(BitmapSource source) : source_(std::move(source)) {
    if (!caches_in_use) {
        static const bool at_exit = std::atexit(release_drawing_caches) == 0;
        (void)at_exit;
        caches_in_use = true;
    }
}

Renderer::~Renderer() {
    for (auto& [key, b] : bitmaps_) cairo_surface_destroy(b.surface);
    for (auto& [key, f] : faces_) cairo_font_face_destroy(f);
}

Renderer::Bitmap& Renderer::original(int32_t id, bool keyed, bool root) {
    auto key = std::make_tuple(id, keyed, kScaleSteps, false);
    auto it = bitmaps_.find(key);
    if (it != bitmaps_.end()) return it->second;
    Bitmap b;
    DibBytes dib = source_ ? source_(id) : DibBytes{};
    b.surface = dib.data ? decode_dib(dib.data, dib.size, keyed) : nullptr;
    if (b.surface && !keyed && all_black(b.surface)) {
        // A background that is black all over is an invisible button: it shows what lies under it.
        cairo_surface_destroy(b.surface);
        b.surface = decode_dib(dib.data, dib.size, true);
    }
    if (b.surface) {
        b.w = cairo_image_surface_get_width(b.surface);
        b.h = cairo_image_surface_get_height(b.surface);
    } else {
        // A clearly marked stand-in: a framed box with the missing id.
        b.w = root ? kRootPlaceholderSide : kChildPlaceholderW;
        b.h = root ? kRootPlaceholderSide : kChildPlaceholderH;
        b.surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, b.w, b.h);
        cairo_t* cr = cairo_create(b.surface);
        cairo_set_source_rgba(cr, 0.25, 0.05, 0.25, root ? 1.0 : 0.6);
        cairo_paint(cr);
        cairo_set_source_rgb(cr, 1.0, 0.2, 1.0);
        cairo_set_line_width(cr, 2);
        cairo_rectangle(cr, 1, 1, b.w - 2, b.h - 2);
        cairo_stroke(cr);
        cairo_select_font_face(cr, kFallbackFamily, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
        std::vector<std::string> lines;
        if (root) lines = {"missing", "bitmap"};
        lines.push_back(std::to_string(id));
        cairo_set_font_size(cr, root ? 18 : 9);
        double pitch = root ? 22 : 0, top = b.h / 2.0 - pitch * (double(lines.size()) - 1) / 2;
        for (size_t i = 0; i < lines.size(); ++i) {
            cairo_text_extents_t ext;
            cairo_text_extents(cr, lines[i].c_str(), &ext);
            cairo_move_to(cr, (b.w - ext.x_advance) / 2, top + pitch * double(i) - (ext.y_bearing + ext.height / 2));
            cairo_show_text(cr, lines[i].c_str());
        }
        cairo_destroy(cr);
    }
    return bitmaps_.emplace(key, b).first->second;
}

// The bitmap drawn k device pixels per gauge pixel: shrunk once with a good filter, so that each
// frame draws it at about its own size.
Renderer::Bitmap& Renderer::bitmap(int32_t id, bool keyed, double k, bool root, bool lit) {
    if (lit) {
        Bitmap& plain = bitmap(id, keyed, k, root, false);
        auto key = std::make_tuple(id, keyed, int(std::lround(plain.k * kScaleSteps)), true);
        auto it = bitmaps_.find(key);
        if (it != bitmaps_.end()) return it->second;
        Bitmap b = plain;
        b.surface = lit_copy(plain.surface);
        return bitmaps_.emplace(key, b).first->second;
    }
    int steps = int(std::lround(k * kScaleSteps));
    if (steps >= kScaleSteps - 2 || steps < 1) return original(id, keyed, root);
    auto key = std::make_tuple(id, keyed, steps, false);
    auto it = bitmaps_.find(key);
    if (it != bitmaps_.end()) return it->second;
    Bitmap& full = original(id, keyed, root);
    Bitmap b = full;
    b.k = double(steps) / kScaleSteps;
    int sw = std::max(1, int(std::ceil(full.w * b.k))), sh = std::max(1, int(std::ceil(full.h * b.k)));
    b.surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, sw, sh);
    cairo_t* cr = cairo_create(b.surface);
    cairo_scale(cr, b.k, b.k);
    cairo_set_source_surface(cr, full.surface, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_paint(cr);
    cairo_destroy(cr);
    return bitmaps_.emplace(key, b).first->second;
}

// Paints a bitmap with its top-left corner at the user-space origin, one gauge pixel per pixel.
// Where its pixels fall one to one on the device's, unturned, it is copied to the nearest whole
// pixel rather than resampled: as sharp, and several times cheaper.
void Renderer::paint_bitmap(cairo_t* cr, const Bitmap& b) {
    cairo_save(cr);
    if (b.k != 1) cairo_scale(cr, 1 / b.k, 1 / b.k);
    cairo_matrix_t m;
    cairo_get_matrix(cr, &m);
    if (m.xy == 0 && m.yx == 0 && std::fabs(m.xx - 1) < kWholePixelSlack && std::fabs(m.yy - 1) < kWholePixelSlack) {
        cairo_identity_matrix(cr);
        cairo_set_source_surface(cr, b.surface, std::round(m.x0), std::round(m.y0));
    } else {
        cairo_set_source_surface(cr, b.surface, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_BILINEAR);
    }
    cairo_paint(cr);
    cairo_restore(cr);
}

void Renderer::gauge_size(const GAUGEHDR* gauge, int& w, int& h) {
    w = h = kRootPlaceholderSide;
    if (!gauge || !gauge->elements_list || !gauge->elements_list[0]) return;
    Bitmap& b = original(gauge->elements_list[0]->resource_id, false, true);
    w = b.w;
    h = b.h;
}

// ----------------------------------------------------------------------------------------------
// Text

cairo_font_face_t* Renderer::face(const std::string& family, bool bold) {
    auto key = std::make_pair(family, bold);
    auto it = faces_.find(key);
    if (it != faces_.end()) return it->second;
    cairo_font_face_t* f = cairo_toy_font_face_create(family.c_str(), CAIRO_FONT_SLANT_NORMAL,
                                                      bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    return faces_.emplace(key, f).first->second;
}

// Font size and vertical centre of a string element, worked out once per record: digits fill a
// share of the box's height, and the element's character count fits its width.
const Renderer::TextStyle& Renderer::text_style(const StringElement& e) {
    auto it = text_styles_.find(&e);
    if (it != text_styles_.end()) return it->second;
    TextStyle style;
    cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_A8, 1, 1);
    cairo_t* cr = cairo_create(scratch);
    cairo_set_font_face(cr, face(family_for(e.font_name, sizeof e.font_name), e.font_weight >= 600));
    const double probe = 100;
    cairo_set_font_size(cr, probe);
    cairo_text_extents_t digit, row;
    cairo_text_extents(cr, "0", &digit);
    std::string reference(std::max<uint32_t>(1, e.char_count), '0');
    cairo_text_extents(cr, reference.c_str(), &row);
    double size = digit.height > 0 ? probe * kTextInkHeight * e.box.y / digit.height : e.box.y * 0.8;
    if (row.x_advance > 0) size = std::min(size, probe * kTextWidthShare * e.box.x / row.x_advance);
    style.size = std::max(1.0, size);
    style.mid = (digit.y_bearing + digit.height / 2) * style.size / probe;
    cairo_destroy(cr);
    cairo_surface_destroy(scratch);
    return text_styles_.emplace(&e, style).first->second;
}

// ----------------------------------------------------------------------------------------------
// Elements

void Renderer::draw_needle(cairo_t* cr, const ElementSlot& slot, double k, bool lit) {
    auto* e = reinterpret_cast<const NeedleElement*>(slot.record);
    Bitmap& b = bitmap(e->header.resource_id, true, k, false, lit);
    cairo_save(cr);
    cairo_translate(cr, e->header.position.x, e->header.position.y);
    cairo_rotate(cr, rad(needle_rotation(*e, slot.value[0])));
    cairo_translate(cr, -e->header.ofs.x, -e->header.ofs.y);
    paint_bitmap(cr, b);
    cairo_restore(cr);
}

void Renderer::draw_string(cairo_t* cr, const ElementSlot& slot, bool lit) {
    auto* e = reinterpret_cast<const StringElement*>(slot.record);
    double x = e->header.position.x, y = e->header.position.y, w = e->box.x, h = e->box.y;
    if (w <= 0 || h <= 0) return;
    cairo_save(cr);
    cairo_rectangle(cr, x, y, w, h);
    cairo_clip(cr);
    if (e->bg_color & 0xFFFFFF) {
        set_rgb_lit(cr, e->bg_color, lit);
        cairo_paint(cr);
    }
    if (slot.text.empty()) {
        cairo_restore(cr);
        return;
    }
    const TextStyle& style = text_style(*e);
    cairo_font_face_t* primary = face(family_for(e->font_name, sizeof e->font_name), e->font_weight >= 600);
    cairo_font_face_t* fallback = face(kFallbackFamily, e->font_weight >= 600);

    // Characters in runs of one face and one colour.
    int first = -1, last = -1;
    for (const SEQ_REC* s = e->highlight_list; s && s->selection && e->selection; ++s)
        if (s->selection == e->selection) {
            first = s->first_char;
            last = s->last_char;
            break;
        }
    struct Run {
        std::string text;
        cairo_font_face_t* face;
        bool selected;
        double advance = 0;
    };
    std::vector<Run> runs;
    cairo_set_font_size(cr, style.size);
    for (size_t i = 0; i < slot.text.size(); ++i) {
        std::string ch = glyph_text(slot.text[i]);
        cairo_set_font_face(cr, primary);
        cairo_glyph_t* glyphs = nullptr;
        int count = 0;
        cairo_scaled_font_t* sf = cairo_get_scaled_font(cr);
        bool has = cairo_scaled_font_text_to_glyphs(sf, 0, 0, ch.c_str(), int(ch.size()), &glyphs, &count, nullptr,
                                                    nullptr, nullptr) == CAIRO_STATUS_SUCCESS &&
                   count > 0 && (glyphs[0].index != 0 || ch == " ");
        cairo_glyph_free(glyphs);
        cairo_font_face_t* f = has ? primary : fallback;
        bool selected = int(i) >= first && int(i) <= last;
        if (runs.empty() || runs.back().face != f || runs.back().selected != selected) runs.push_back({"", f, selected});
        runs.back().text += ch;
    }
    double total = 0;
    for (Run& r : runs) {
        cairo_set_font_face(cr, r.face);
        cairo_text_extents_t ext;
        cairo_text_extents(cr, r.text.c_str(), &ext);
        r.advance = ext.x_advance;
        total += r.advance;
    }
    double pen = x + (w - total) / 2, baseline = y + h / 2 - style.mid;
    for (const Run& r : runs) {
        cairo_set_font_face(cr, r.face);
        set_rgb_lit(cr, r.selected ? e->hilite_color : e->fg_color, lit);
        cairo_move_to(cr, pen, baseline);
        cairo_show_text(cr, r.text.c_str());
        pen += r.advance;
    }
    cairo_restore(cr);
}

void Renderer::draw_moving_image(cairo_t* cr, const ElementSlot& slot, double k, bool lit) {
    auto* e = reinterpret_cast<const MovingImageElement*>(slot.record);
    Bitmap& b = bitmap(e->header.resource_id, true, k, false, lit);
    // Offset of the strip and size of the window along one axis. An axis moves only when it has
    // a source (a variable or a callback) and a range; a range alone is data the callback reads.
    auto axis = [](bool moves, double value, double min, double max, int length, double& offset, double& window) {
        window = length;
        offset = 0;
        if (!moves || min == max) return;
        window = double(length) / kMovingImageCells;
        double t = (value - min) / (max - min);
        if (!std::isfinite(t)) t = 0;
        offset = std::clamp(t, 0.0, 1.0) * (length - window);
    };
    double ox, oy, ww, wh;
    axis(e->source_var_x.id || e->update_x_cb, slot.value[0], e->min_x, e->max_x, b.w, ox, ww);
    axis(e->source_var_y.id || e->update_y_cb, slot.value[1], e->min_y, e->max_y, b.h, oy, wh);
    double x = e->header.position.x, y = e->header.position.y;
    cairo_save(cr);
    cairo_rectangle(cr, x, y, ww, wh);
    cairo_clip(cr);
    cairo_translate(cr, x - ox, y - oy);
    paint_bitmap(cr, b);
    cairo_restore(cr);
}

void Renderer::draw_sprite(cairo_t* cr, const ElementSlot& slot, double k, bool lit) {
    auto* e = reinterpret_cast<const SpriteElement*>(slot.record);
    const ELEMENT_HEADER& h = e->header;
    double tsx = e->texture_scale_x > 0 ? e->texture_scale_x : 1.0;
    double tsy = e->texture_scale_y > 0 ? e->texture_scale_y : 1.0;
    Bitmap& b = bitmap(h.resource_id, true, k * std::max(tsx, tsy), false, lit);
    double dx = slot.value[0] * e->scale_x, dy = slot.value[1] * e->scale_y, turn = slot.value[2] * e->scale_0;
    if (!std::isfinite(dx)) dx = 0;
    if (!std::isfinite(dy)) dy = 0;
    if (!std::isfinite(turn)) turn = 0;
    cairo_save(cr);
    double ww = 2.0 * (h.ofs.x - h.position.x), wh = 2.0 * (h.ofs.y - h.position.y);
    if (ww > 0 && wh > 0) {
        cairo_rectangle(cr, h.position.x, h.position.y, ww, wh);
        cairo_clip(cr);
    }
    cairo_translate(cr, h.ofs.x, h.ofs.y);
    cairo_rotate(cr, -rad(std::fmod(turn, 360.0)));
    cairo_translate(cr, -dx, -dy);
    cairo_scale(cr, tsx, tsy);
    cairo_translate(cr, -b.w / 2.0, -b.h / 2.0);
    paint_bitmap(cr, b);
    cairo_restore(cr);
}

// ----------------------------------------------------------------------------------------------
// Gauges

bool Renderer::panel_lights_on() const { return sim_ && sim_->get(kVarPanelLights) > 0; }

void Renderer::draw_gauge(cairo_t* cr, const Placement& placement) {
    bool lights = panel_lights_on();
    cairo_matrix_t m;
    cairo_get_matrix(cr, &m);
    double k = std::sqrt(std::fabs(m.xx * m.yy - m.xy * m.yx));
    // Before the first frame nothing has been updated: draw what the records say.
    bool fresh = std::none_of(placement.elements.begin(), placement.elements.end(),
                              [](const ElementSlot& s) { return s.updated; });
    std::vector<bool> shown_at_depth;
    for (const ElementSlot& slot : placement.elements) {
        const ELEMENT_HEADER* h = slot.record;
        bool shown = slot.shown;
        if (fresh) {
            shown_at_depth.resize(size_t(slot.depth) + 1);
            shown = (slot.depth == 0 || shown_at_depth[size_t(slot.depth) - 1]) && !(h->image_flags & kImageHidden);
            shown_at_depth[size_t(slot.depth)] = shown;
        }
        if (!shown) continue;
        bool root = slot.depth == 0;
        // A lit element is drawn from lit copies of its bitmaps, or in lit colours.
        bool lit = lights && (h->image_flags & kImageUseLuminous);
        switch (h->element_type) {
        case ELEMENT_STATIC_IMAGE: {
            cairo_save(cr);
            cairo_translate(cr, h->position.x, h->position.y);
            paint_bitmap(cr, bitmap(h->resource_id, !root, k, root, lit));
            cairo_restore(cr);
            break;
        }
        case ELEMENT_ICON: {
            auto* e = reinterpret_cast<const IconElement*>(h);
            int index = fresh ? 0 : icon_index(slot);
            if (index < 0 || uint32_t(index) >= std::max<uint32_t>(1, e->num_icons)) break;  // past the last picture
            cairo_save(cr);
            cairo_translate(cr, h->position.x, h->position.y);
            paint_bitmap(cr, bitmap(h->resource_id + index, !root, k, false, lit));
            cairo_restore(cr);
            break;
        }
        case ELEMENT_NEEDLE:
            draw_needle(cr, slot, k, lit);
            break;
        case ELEMENT_STRING:
            draw_string(cr, slot, lit);
            break;
        case ELEMENT_SLIDER: {
            auto* e = reinterpret_cast<const SliderElement*>(h);
            double dx = slot.value[0] * e->scale_x, dy = slot.value[1] * e->scale_y;
            cairo_save(cr);
            cairo_translate(cr, h->position.x + (std::isfinite(dx) ? dx : 0), h->position.y + (std::isfinite(dy) ? dy : 0));
            paint_bitmap(cr, bitmap(h->resource_id, true, k, false, lit));
            cairo_restore(cr);
            break;
        }
        case ELEMENT_MOVING_IMAGE:
            draw_moving_image(cr, slot, k, lit);
            break;
        case ELEMENT_SPRITE:
            draw_sprite(cr, slot, k, lit);
            break;
        default:
            break;
        }
    }
}

void Renderer::draw_gauge_at(cairo_t* cr, const Placement& placement, double x, double y, double w, double h) {
    int gw = 0, gh = 0;
    gauge_size(placement.gauge, gw, gh);
    double sx = 1, sy = 1;
    fit_scale(gw, gh, w, h, sx, sy);
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, sx, sy);
    cairo_rectangle(cr, 0, 0, gw, gh);
    cairo_clip(cr);
    draw_gauge(cr, placement);
    cairo_restore(cr);
}

// ----------------------------------------------------------------------------------------------
// Windows, sheets and files

std::vector<std::vector<Placement*>> panel_placements(Host& host, const PanelConfig& panel) {
    std::map<std::string, int> seen;
    std::vector<std::vector<Placement*>> out;
    for (const PanelWindow& w : panel.windows) {
        out.emplace_back();
        for (const PanelGauge& g : w.gauges) {
            // Another module's line places none of ours, even under one of our gauges' names.
            bool ours = g.module.size() == 12 && std::equal(g.module.begin(), g.module.end(), "corvan_instr",
                                                             [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
            out.back().push_back(ours ? host.find(g.name, ++seen[g.name]) : nullptr);
        }
    }
    return out;
}

void draw_window(cairo_t* cr, Renderer& renderer, const PanelConfig& panel, size_t index,
                 const std::vector<Placement*>& placements) {
    const PanelWindow& w = panel.windows[index];
    cairo_save(cr);
    cairo_rectangle(cr, 0, 0, w.width, w.height);
    cairo_clip(cr);
    cairo_set_source_rgb(cr, ((w.background >> 16) & 0xFF) / 255.0, ((w.background >> 8) & 0xFF) / 255.0,
                         (w.background & 0xFF) / 255.0);
    cairo_paint(cr);
    for (size_t i = 0; i < w.gauges.size() && i < placements.size(); ++i)
        if (placements[i]) renderer.draw_gauge_at(cr, *placements[i], w.gauges[i].x, w.gauges[i].y, w.gauges[i].w, w.gauges[i].h);
    cairo_restore(cr);
}

cairo_surface_t* render_window(Renderer& renderer, const PanelConfig& panel, size_t index,
                               const std::vector<Placement*>& placements) {
    const PanelWindow& w = panel.windows[index];
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w.width, w.height);
    cairo_t* cr = cairo_create(surface);
    draw_window(cr, renderer, panel, index, placements);
    cairo_destroy(cr);
    return surface;
}

cairo_surface_t* render_contact_sheet(Renderer& renderer, const std::vector<Placement*>& placements) {
    constexpr int kColumns = 8, kCellW = 240, kCellH = 230, kPicture = 190, kLabel = 26, kMargin = 10;
    int count = int(placements.size());
    int rows = std::max(1, (count + kColumns - 1) / kColumns);
    cairo_surface_t* surface =
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, kColumns * kCellW + 2 * kMargin, rows * kCellH + 2 * kMargin);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 0.82, 0.83, 0.85);
    cairo_paint(cr);
    for (int i = 0; i < count; ++i) {
        const Placement* p = placements[size_t(i)];
        double cx = kMargin + (i % kColumns) * kCellW, cy = kMargin + (i / kColumns) * kCellH;
        cairo_set_source_rgb(cr, 0.18, 0.19, 0.21);
        cairo_rectangle(cr, cx + 4, cy + 4, kCellW - 8, kCellH - 8);
        cairo_fill(cr);
        if (!p) continue;
        int gw = 0, gh = 0;
        renderer.gauge_size(p->gauge, gw, gh);
        // Small gauges are enlarged at most four times, so that their pixels stay readable.
        double fit = std::min({double(kPicture) / gw, double(kPicture - 10) / gh, kSheetMaxZoom});
        double pw = gw * fit, ph = gh * fit;
        double px = cx + (kCellW - pw) / 2, py = cy + 8 + (kPicture - 10 - ph) / 2;
        // The gauge's outline, so that one drawn all transparent (an invisible button) still shows.
        const double dash[] = {3, 3};
        cairo_set_dash(cr, dash, 2, 0);
        cairo_set_line_width(cr, 1);
        cairo_set_source_rgb(cr, 0.45, 0.46, 0.5);
        cairo_rectangle(cr, px - 1.5, py - 1.5, pw + 3, ph + 3);
        cairo_stroke(cr);
        cairo_set_dash(cr, nullptr, 0, 0);
        renderer.draw_gauge_at(cr, *p, px, py, pw, ph);
        cairo_select_font_face(cr, kFallbackFamily, CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
        std::string name = p->gauge->gauge_name;
        double size = 13;
        cairo_text_extents_t ext;
        do {
            cairo_set_font_size(cr, size);
            cairo_text_extents(cr, name.c_str(), &ext);
            size -= 0.5;
        } while (ext.x_advance > kCellW - 14 && size > 6);
        cairo_set_source_rgb(cr, 0.95, 0.95, 0.9);
        cairo_move_to(cr, cx + (kCellW - ext.x_advance) / 2, cy + kCellH - kLabel / 2.0 - 2);
        cairo_show_text(cr, name.c_str());
    }
    cairo_destroy(cr);
    return surface;
}

cairo_surface_t* render_gauge(Renderer& renderer, const Placement& placement) {
    int gw = 0, gh = 0;
    renderer.gauge_size(placement.gauge, gw, gh);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, gw, gh);
    cairo_t* cr = cairo_create(surface);
    renderer.draw_gauge(cr, placement);
    cairo_destroy(cr);
    return surface;
}

bool write_png(cairo_surface_t* surface, const std::string& path, std::string& error) {
    cairo_status_t status = cairo_surface_write_to_png(surface, path.c_str());
    if (status != CAIRO_STATUS_SUCCESS) {
        error = path + ": cannot write the picture (" + cairo_status_to_string(status) + ")";
        return false;
    }
    return true;
}

}  // namespace bench

namespace bench {

void release_drawing_caches() {
    if (!caches_in_use) return;
    caches_in_use = false;
    cairo_debug_reset_static_data();
    // fontconfig is loaded with cairo; its own clean-up is found at run time rather than linked.
    if (auto fini = reinterpret_cast<void (*)()>(dlsym(RTLD_DEFAULT, "FcFini"))) fini();
}

}  // namespace bench
