// The renderer's geometry as a user sees it, on small records and bitmaps of the test's own:
// needles through their scale tables, icons, hidden elements, transparency, strings, sliders,
// moving images, sprites, panel lighting and panel windows.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <sstream>
#include <vector>

#include "bench/panel_cfg.h"
#include "bench/render/renderer.h"

using namespace bench;

namespace {

constexpr uint32_t kGrey = 0x404040, kWhite = 0xFFFFFF, kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF;

// A 24-bit bottom-up DIB as the module carries it; rgb(x, y) gives 0xRRGGBB.
std::vector<uint8_t> make_dib(int w, int h, const std::function<uint32_t(int, int)>& rgb) {
    size_t stride = (size_t(w) * 3 + 3) / 4 * 4;
    std::vector<uint8_t> d(40 + stride * size_t(h), 0);
    auto put32 = [&](size_t at, uint32_t v) {
        for (int i = 0; i < 4; ++i) d[at + size_t(i)] = uint8_t(v >> (8 * i));
    };
    put32(0, 40);
    put32(4, uint32_t(w));
    put32(8, uint32_t(h));
    d[12] = 1;
    d[14] = 24;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t c = rgb(x, y);
            uint8_t* p = &d[40 + stride * size_t(h - 1 - y) + size_t(x) * 3];
            p[0] = uint8_t(c), p[1] = uint8_t(c >> 8), p[2] = uint8_t(c >> 16);
        }
    return d;
}

// Releases cairo's and fontconfig's caches after the last test, for the leak checker.
struct DrawingEnvironment : ::testing::Environment {
    void TearDown() override { release_drawing_caches(); }
};
[[maybe_unused]] auto* const drawing_environment = ::testing::AddGlobalTestEnvironment(new DrawingEnvironment);

class RenderPixels : public ::testing::Test {
protected:
    void SetUp() override {
        bitmaps[1] = make_dib(100, 100, [](int, int) { return kGrey; });
        // Needle: a white bar 40 long and 3 thick, pivot at its left end, pointing along +x.
        bitmaps[2] = make_dib(40, 3, [](int, int) { return kWhite; });
        bitmaps[20] = make_dib(10, 10, [](int, int) { return kRed; });
        bitmaps[21] = make_dib(10, 10, [](int, int) { return kGreen; });
        bitmaps[22] = make_dib(10, 10, [](int, int) { return kBlue; });
        // Black except a white square in the middle: only the square covers what lies under it.
        bitmaps[30] = make_dib(20, 20, [](int x, int y) { return (x >= 5 && x < 15 && y >= 5 && y < 15) ? kWhite : 0; });
        // A strip of eleven 10-pixel cells; cell n has blue n*20.
        bitmaps[40] = make_dib(10, 110, [](int, int y) { return uint32_t(y / 10) * 20 + 0x100000; });
        // A sprite: black with a red marker above its centre.
        bitmaps[50] = make_dib(41, 41, [](int x, int y) { return (x >= 18 && x <= 22 && y >= 2 && y <= 6) ? kRed : 0; });
        renderer = std::make_unique<Renderer>([this](int32_t id) -> DibBytes {
            auto it = bitmaps.find(id);
            if (it == bitmaps.end()) return {};
            return {it->second.data(), it->second.size()};
        });
        surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 100, 100);
    }
    void TearDown() override {
        cairo_surface_destroy(surface);
        renderer.reset();
    }

    // A placement of a gauge whose root is the grey background and whose children are given.
    Placement& place(std::vector<ELEMENT_HEADER*> children) {
        child_list = children;
        child_list.push_back(nullptr);
        background.header.elements = child_list.data();
        gauge.elements_list = root_list;
        placement.gauge = &gauge;
        placement.elements.clear();
        collect_elements(&background.header, placement.elements);
        for (ElementSlot& s : placement.elements) s.updated = s.shown = true;
        return placement;
    }
    // The placement drawn over a surface painted grey level `under`, at its own size or scaled to
    // `size` square.
    void draw(double under = 0, double size = 0) {
        cairo_t* cr = cairo_create(surface);
        cairo_set_source_rgb(cr, under, under, under);
        cairo_paint(cr);
        if (size > 0) {
            renderer->draw_gauge_at(cr, placement, 0, 0, size, size);
        } else {
            renderer->draw_gauge(cr, placement);
        }
        cairo_destroy(cr);
        cairo_surface_flush(surface);
    }
    uint32_t pixel(int x, int y) {
        auto* row = reinterpret_cast<uint32_t*>(cairo_image_surface_get_data(surface) +
                                                size_t(cairo_image_surface_get_stride(surface)) * size_t(y));
        return row[x] & 0xFFFFFF;
    }
    // The lit pixel farthest from (px, py): the needle's tip.
    void tip(int px, int py, double& tx, double& ty) {
        double best = -1;
        for (int y = 0; y < 100; ++y)
            for (int x = 0; x < 100; ++x) {
                uint32_t c = pixel(x, y);
                if (((c >> 16) & 0xFF) < 0xC0) continue;  // not needle white
                double d = std::hypot(x + 0.5 - px, y + 0.5 - py);
                if (d > best) best = d, tx = x + 0.5, ty = y + 0.5;
            }
    }
    // Where the needle of `table` points at `value`.
    void needle_tip(std::vector<NONLINEARITY> table, double value, double& tx, double& ty) {
        needle = {};
        needle.header = {.element_type = ELEMENT_NEEDLE, .resource_id = 2, .position = {50, 50}, .ofs = {0, 1}};
        needle.nonlinearity_table = table.data();
        needle.nonlinearity_table_size = uint32_t(table.size());
        place({&needle.header}).elements[1].value[0] = value;
        draw();
        tip(50, 50, tx, ty);
    }

    std::map<int32_t, std::vector<uint8_t>> bitmaps;
    std::unique_ptr<Renderer> renderer;
    cairo_surface_t* surface = nullptr;
    StaticImageElement background = {.header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = 1}};
    ELEMENT_HEADER* root_list[2] = {&background.header, nullptr};
    std::vector<ELEMENT_HEADER*> child_list;
    GAUGEHDR gauge = {.gauge_header_version = kGaugeHeaderVersion, .gauge_name = "Test_Gauge"};
    Placement placement;
    NeedleElement needle = {};
};

// Where each table row's needle lands on the module's own dials is checked in render_needles_test.
TEST_F(RenderPixels, NeedleBetweenRowsInterpolatesByAngleNotByPixel) {
    // Rows at different distances: half-way by angle is 45 degrees up-right; half-way between the
    // two pixels would be only 27 degrees.
    std::vector<NONLINEARITY> table = {{{90, 50}, 0}, {{50, 30}, 10}};
    double tx = 0, ty = 0;
    needle_tip(table, 5, tx, ty);
    double degrees = std::atan2(50 - ty, tx - 50) * 180 / M_PI;
    EXPECT_NEAR(degrees, 45, 2.5);
    // Descending tables work the same way round.
    std::vector<NONLINEARITY> descending = {{{90, 50}, 10}, {{50, 10}, 0}};
    needle_tip(descending, 2.5, tx, ty);
    EXPECT_NEAR(std::atan2(50 - ty, tx - 50) * 180 / M_PI, 67.5, 2.5);
}

TEST_F(RenderPixels, NeedleWithoutTableTurnsClockwiseByItsValueInDegrees) {
    double tx = 0, ty = 0;
    needle_tip({}, 90, tx, ty);  // the bar points right as drawn; a quarter turn clockwise is down
    EXPECT_LE(std::hypot(tx - 50, ty - 90), 2.0);
}

TEST_F(RenderPixels, IconIndexPicksItsBitmapAndPastTheLastShowsNothing) {
    IconElement icon = {.header = {.element_type = ELEMENT_ICON, .resource_id = 20, .position = {30, 30}},
                        .scale = 1.0, .num_icons = 3};
    Placement& p = place({&icon.header});
    const uint32_t colours[] = {kRed, kGreen, kBlue};
    for (int index = 0; index < 3; ++index) {
        p.elements[1].value[0] = index;
        draw();
        EXPECT_EQ(pixel(35, 35), colours[index]) << "index " << index;
    }
    p.elements[1].value[0] = 3;
    draw();
    EXPECT_EQ(pixel(35, 35), kGrey);
}

TEST_F(RenderPixels, HiddenElementLeavesThePixelsUnderItAndBlackIsTransparent) {
    StaticImageElement square = {.header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = 30, .position = {40, 40}}};
    Placement& p = place({&square.header});
    draw();
    EXPECT_EQ(pixel(50, 50), kWhite);
    EXPECT_EQ(pixel(41, 41), kGrey);  // the square's black border lets the background through
    p.elements[1].shown = false;
    draw();
    EXPECT_EQ(pixel(50, 50), kGrey);
}

TEST_F(RenderPixels, RootBackgroundKeepsItsBlack) {
    bitmaps[1] = make_dib(100, 100, [](int x, int) { return x < 50 ? 0u : kGrey; });
    place({});
    draw(1);  // over white
    EXPECT_EQ(pixel(10, 10), 0u);
}

TEST_F(RenderPixels, StringIsCentredInItsBoxWithItsSelectionHighlighted) {
    static const SEQ_REC highlights[] = {{4, 0, 0}, {0, 0, 0}};
    StringElement s = {};
    s.header = {.element_type = ELEMENT_STRING, .resource_id = -1, .position = {10, 40}};
    s.box = {80, 24};
    s.char_count = 4;
    s.fg_color = 0x0000FF;      // red, as COLORREF
    s.hilite_color = 0x00FFFF;  // yellow
    std::snprintf(s.font_name, sizeof s.font_name, "Quartz");
    s.font_weight = 700;
    s.highlight_list = highlights;
    Placement& p = place({&s.header});
    p.elements[1].text = "888";
    draw();
    int left = 100, right = -1, top = 100, bottom = -1;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            if (((pixel(x, y) >> 16) & 0xFF) > 0xA0 && (pixel(x, y) & 0xFF) < 0x60) {
                left = std::min(left, x), right = std::max(right, x);
                top = std::min(top, y), bottom = std::max(bottom, y);
            }
    ASSERT_GE(right, 0) << "no text drawn";
    EXPECT_NEAR((left + right + 1) / 2.0, 10 + 80 / 2.0, 2.0);
    EXPECT_NEAR((top + bottom + 1) / 2.0, 40 + 24 / 2.0, 2.0);
    EXPECT_GT(bottom - top, 10);  // the digits fill most of the box's height

    // Selection 4 paints the first character yellow, the rest stay red.
    s.selection = 4;
    draw();
    int yellow_right = -1, red_left = 100;
    for (int x = 0; x < 100; ++x) {
        uint32_t c = pixel(x, 52);
        if (((c >> 8) & 0xFF) > 0xA0 && ((c >> 16) & 0xFF) > 0xA0) yellow_right = std::max(yellow_right, x);
        if (((c >> 16) & 0xFF) > 0xA0 && ((c >> 8) & 0xFF) < 0x60) red_left = std::min(red_left, x);
    }
    EXPECT_GE(yellow_right, 0);
    EXPECT_LT(yellow_right, red_left);
}

// A gauge drawn smaller than its bitmaps, as most panel lines ask: each bitmap lands on whole
// device pixels, sharp and where its scaled position says. With the panel lights on, luminous
// elements alone take the light, and only on their own pixels.
TEST_F(RenderPixels, ScaledBitmapsLandSharpOnWholePixelsAndOnlyLuminousOnesTakeTheLight) {
    constexpr uint32_t kFace = 0x808080;
    bitmaps[23] = make_dib(10, 10, [](int, int) { return kFace; });
    StaticImageElement lamp = {.header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = 23, .position = {20, 40},
                                          .image_flags = kImageUseLuminous | kImageUseTransparency}};
    StaticImageElement face = {.header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = 23, .position = {60, 40}}};
    place({&lamp.header, &face.header});
    SimModel sim;
    renderer->light_from(sim);
    for (double lights : {0.0, 1.0}) {
        sim.set(0x0A, lights);
        draw(0, 50);  // 100 gauge pixels to 50
        // The 10-pixel lamp at (20, 40) covers device pixels 10..14 by 20..24, each fully.
        uint32_t lit = pixel(10, 20);
        EXPECT_EQ(pixel(14, 24), lit) << lights;
        EXPECT_EQ(pixel(9, 20), kGrey) << lights;
        EXPECT_EQ(pixel(15, 25), kGrey) << lights;
        EXPECT_EQ(pixel(49, 49), kGrey) << lights;  // the background reaches the gauge's edge
        EXPECT_EQ(pixel(50, 50), 0u) << lights;
        EXPECT_EQ(pixel(32, 22), kFace) << lights;  // not luminous: as by day
        int red = int(lit >> 16), green = int((lit >> 8) & 0xFF), blue = int(lit & 0xFF);
        if (lights == 0) {
            EXPECT_EQ(lit, kFace);
        } else {
            EXPECT_GT(blue, 0x80);                    // brighter
            EXPECT_GT(red - 0x80, blue - 0x80 + 10);  // and warmer
            EXPECT_GE(red, green);
        }
    }
}

TEST_F(RenderPixels, SliderMovesByValueTimesScale) {
    SliderElement slider = {.header = {.element_type = ELEMENT_SLIDER, .resource_id = 20, .position = {10, 10}},
                            .scale_x = 2.0, .scale_y = -0.5};
    Placement& p = place({&slider.header});
    p.elements[1].value[0] = 15;  // 30 pixels right
    p.elements[1].value[1] = -40;  // 20 pixels down
    draw();
    EXPECT_EQ(pixel(45, 35), kRed);
    EXPECT_EQ(pixel(15, 15), kGrey);
}

TEST_F(RenderPixels, MovingImageShowsTheCellOfItsValueThroughItsWindow) {
    // The x range carries data for a callback but no source: it moves nothing and narrows nothing.
    MovingImageElement drum = {.header = {.element_type = ELEMENT_MOVING_IMAGE, .resource_id = 40, .position = {20, 20}},
                               .min_x = 1, .max_x = 0.5, .source_var_y = {.id = 0x4A}, .min_y = 0, .max_y = 10};
    Placement& p = place({&drum.header});
    p.elements[1].value[1] = 3;
    draw();
    EXPECT_EQ(pixel(25, 25), 0x100000u + 3 * 20);
    EXPECT_EQ(pixel(29, 25), 0x100000u + 3 * 20);  // the whole width of the strip shows
    EXPECT_EQ(pixel(25, 35), kGrey);  // below the one-cell window
    p.elements[1].value[1] = 12;      // past the range: the last cell
    draw();
    EXPECT_EQ(pixel(25, 25), 0x100000u + 10 * 20);
}

TEST_F(RenderPixels, SpriteTurnsCounterClockwiseAboutItsReferenceAndItsValuesMoveTheTexture) {
    SpriteElement sprite = {};
    sprite.header = {.element_type = ELEMENT_SPRITE, .resource_id = 50, .position = {20, 20}, .ofs = {50, 50}};
    sprite.scale_x = sprite.scale_y = sprite.scale_0 = 1.0;
    sprite.texture_scale_x = sprite.texture_scale_y = 1.0f;
    Placement& p = place({&sprite.header});
    draw();
    EXPECT_EQ(pixel(50, 34), kRed);  // marker 16 above the centre
    p.elements[1].value[2] = 90;     // a quarter turn counter-clockwise: the marker goes left
    draw();
    EXPECT_EQ(pixel(34, 50), kRed);
    EXPECT_NE(pixel(50, 34), kRed);
    p.elements[1].value[2] = 0;
    p.elements[1].value[0] = 10;  // the texture moves right under the window: the picture goes left
    draw();
    EXPECT_EQ(pixel(40, 34), kRed);
}

TEST_F(RenderPixels, WindowScalesEachGaugeToItsLineKeepingItsAspect) {
    bitmaps[1] = make_dib(100, 50, [](int, int) { return kGrey; });
    place({});
    std::istringstream cfg("[Window00]\nsize_mm=100,100\nbackground_color=0,0,255\ngauge00=Corvan_Instr!Test_Gauge, 10,20,50\n");
    PanelConfig panel = parse_panel_cfg(cfg, "test.cfg");
    ASSERT_EQ(panel.windows.size(), 1u);
    cairo_t* cr = cairo_create(surface);
    draw_window(cr, *renderer, panel, 0, {&placement});
    cairo_destroy(cr);
    cairo_surface_flush(surface);
    EXPECT_EQ(pixel(12, 22), kGrey);
    EXPECT_EQ(pixel(58, 43), kGrey);
    EXPECT_EQ(pixel(58, 47), kBlue);  // 50 wide keeps 2:1, so 25 high
    EXPECT_EQ(pixel(62, 30), kBlue);
}

TEST_F(RenderPixels, MissingBitmapsAndCorruptDibsDrawAPlaceholderAndNeverCrash) {
    bitmaps[20] = {40, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F};  // a header that claims far more than it has
    IconElement icon = {.header = {.element_type = ELEMENT_ICON, .resource_id = 20, .position = {30, 30}},
                        .scale = 1.0, .num_icons = 1};
    bitmaps.erase(1);
    place({&icon.header});
    int w = 0, h = 0;
    renderer->gauge_size(&gauge, w, h);
    EXPECT_GT(w, 0);
    EXPECT_GT(h, 0);
    draw();
    EXPECT_NE(pixel(5, 5), 0u);
}

}  // namespace
