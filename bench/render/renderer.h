// The bench's drawing of gauges with cairo, from the module's own element records and bitmaps.
//
// Conventions this host chooses where the panel system leaves them open:
// - Positions are background pixels of the gauge. Pure black is transparent in every bitmap but a
//   gauge's root background; a root background that is black all over (an invisible button) is
//   transparent too.
// - Needle: the bitmap turns about its pivot (the element offset), which sits at the element
//   position. With a scale table the bitmap's +x axis points at the direction interpolated by
//   angle between the rows; the travel stops at the first and last rows, except for a two-row
//   table, which is a linear scale that turns on past both rows (the altimeter's pointer, the RMI
//   needles, knob pictures). Without a table the value is the turn in degrees, clockwise from the
//   bitmap as drawn.
// - Slider: drawn at position + (value x × scale x, value y × scale y).
// - Moving image: a strip seen through a window at the element position. On an axis that has a
//   source (variable or callback) and a range that is not empty, the window is one eleventh of the
//   strip (ten steps of the range and the first step repeated); the minimum shows the strip's
//   start, the maximum its end. Other axes do not move and show the whole strip.
// - Sprite: the bitmap's centre sits on the reference point (the element offset), moved by
//   -(value × scale) on each axis in the sprite's own turned frame (the values move the texture
//   under the window), scaled by the texture scales and turned counter-clockwise by angle value ×
//   scale degrees; it is seen through the window that runs from the element position to the
//   point as far past the reference point.
// - String: the text as drawn, centred in its box in its font ("Quartz" is the DSEG7 seven-segment
//   face, "Arial" Liberation Sans), the selected range in the highlight colour; a black background
//   is transparent. Characters a face lacks come from Liberation Sans.
// - Panel lighting: while the simulator's panel lights (token 0x0A) are above 0, an element with
//   the luminous draw flag (0x4000) is drawn lit: its own pixels, warmed, are added to it again
//   (its bitmaps and colours are lit before drawing), so its legends and light parts glow as with
//   lamps behind the face while its dark parts stay dark. Other elements look the same by day
//   and by night.
// - A bitmap the module lacks is drawn as a framed magenta box with its id.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "bench/host.h"

namespace bench {

struct DibBytes {
    const uint8_t* data = nullptr;
    size_t size = 0;
};
// Where bitmaps come from: the DIB of a resource id, or empty when there is none.
using BitmapSource = std::function<DibBytes(int32_t id)>;

// The bitmaps the module carries, found through its handle.
BitmapSource module_bitmaps(const LoadedModule& module);

// The turn of a needle's bitmap in degrees, clockwise on screen (see the conventions above).
double table_rotation(const NONLINEARITY* rows, uint32_t count, PIXPOINT pivot, double value);
double needle_rotation(const NeedleElement& needle, double value);

// A panel gauge's scale from its own pixels to the size a panel line asks for: w by h, or w with
// the gauge's aspect when h is 0 or less.
void fit_scale(int gauge_w, int gauge_h, double w, double h, double& sx, double& sy);

class Renderer {
public:
    explicit Renderer(BitmapSource source);
    ~Renderer();
    Renderer(const Renderer&) = delete;
    Renderer& operator=(const Renderer&) = delete;

    // Lit elements follow this simulator's panel lights; without one nothing is drawn lit.
    void light_from(const SimModel& sim) { sim_ = &sim; }
    bool panel_lights_on() const;

    // A gauge's size in its own pixels: the size of its root background.
    void gauge_size(const GAUGEHDR* gauge, int& w, int& h);
    // Draws a placement as the last frame left it, in gauge pixels under cr's current transform.
    void draw_gauge(cairo_t* cr, const Placement& placement);
    // Draws a placement with its top-left corner at (x, y), scaled to w by h (see fit_scale).
    void draw_gauge_at(cairo_t* cr, const Placement& placement, double x, double y, double w, double h);

private:
    struct Bitmap {
        cairo_surface_t* surface = nullptr;
        int w = 0, h = 0;  // size in the gauge's pixels
        double k = 1;      // surface pixels per gauge pixel
    };
    struct TextStyle {
        double size = 0;
        double mid = 0;  // middle of a digit's ink, relative to the baseline
    };

    // The bitmap drawn k device pixels per gauge pixel, lit or not.
    Bitmap& bitmap(int32_t id, bool keyed, double k, bool root = false, bool lit = false);
    Bitmap& original(int32_t id, bool keyed, bool root);
    void paint_bitmap(cairo_t* cr, const Bitmap& b);
    cairo_font_face_t* face(const std::string& family, bool bold);
    const TextStyle& text_style(const StringElement& e);

    void draw_needle(cairo_t* cr, const ElementSlot& slot, double k, bool lit);
    void draw_string(cairo_t* cr, const ElementSlot& slot, bool lit);
    void draw_moving_image(cairo_t* cr, const ElementSlot& slot, double k, bool lit);
    void draw_sprite(cairo_t* cr, const ElementSlot& slot, double k, bool lit);

    BitmapSource source_;
    const SimModel* sim_ = nullptr;
    std::map<std::tuple<int32_t, bool, int, bool>, Bitmap> bitmaps_;  // id, keyed, k in 1/64 steps, lit
    std::map<std::pair<std::string, bool>, cairo_font_face_t*> faces_;
    std::map<const StringElement*, TextStyle> text_styles_;
};

// A placement for every gauge line of a panel: the Nth line naming a gauge, counting over all
// windows in order, is that gauge's Nth live placement (null when there is none).
struct PanelConfig;
std::vector<std::vector<Placement*>> panel_placements(Host& host, const PanelConfig& panel);

// Draws window `index` of a panel at 1:1 (its size_mm in pixels) onto cr.
void draw_window(cairo_t* cr, Renderer& renderer, const PanelConfig& panel, size_t index,
                 const std::vector<Placement*>& placements);
// A new surface holding window `index` at 1:1.
cairo_surface_t* render_window(Renderer& renderer, const PanelConfig& panel, size_t index,
                               const std::vector<Placement*>& placements);
// One cell per placement with the gauge's name under it, in the order given.
cairo_surface_t* render_contact_sheet(Renderer& renderer, const std::vector<Placement*>& placements);
// A new surface holding one placement at its own size.
cairo_surface_t* render_gauge(Renderer& renderer, const Placement& placement);

bool write_png(cairo_surface_t* surface, const std::string& path, std::string& error);

// The render command's set-up, shared with the page server: installs every gauge line of the
// panel that names this module (other lines are reported and left out), and plays a demo
// scenario's driving commands over the installed panel (false when it reported errors).
void install_panel(Host& host, const PanelConfig& panel);
// Own sizes of this module's gauges for settle_panel (other modules' gauges are unknown).
std::function<bool(const struct PanelGauge&, int&, int&)> own_gauge_sizes(const Host& host, Renderer& renderer);
// Outlines the gauge lines of a window that have no placement, labelled Module!Name.
void mark_missing(cairo_t* cr, const struct PanelWindow& w, const std::vector<Placement*>& placements);
bool play_demo(Host& host, const PanelConfig& panel, Renderer& renderer, const std::string& path);

// Gives back cairo's and fontconfig's process-wide caches, once nothing drawn is alive any more,
// so that leak checkers see only what the bench itself holds. Runs at exit in any process that drew.
void release_drawing_caches();

}  // namespace bench
