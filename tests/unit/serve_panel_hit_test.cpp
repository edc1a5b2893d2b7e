// The page's clicks: window pixels to the gauge under them through the panel line's scale, the
// topmost gauge that takes the button, and repeats of a held button.
#include <gtest/gtest.h>

#include <tuple>

#include "tests/unit/recording_handler.h"

#include "bench/serve/panel_hit.h"

using namespace bench;
using namespace recorded;

namespace {

// 20 x 10 gauge pixels, left button over the whole face, repeating.
MOUSERECT lower_areas[] = {
    {.kind = MOUSE_CHILD, .box = {0, 0, 20, 10}, .mouse_flags = MOUSE_LEFTSINGLE | MOUSE_RIGHTSINGLE | MOUSE_DOWN_REPEAT,
     .handler = record},
    {.kind = MOUSE_END},
};
// 10 x 10, drawn over the lower one; only its left half takes the left button.
MOUSERECT upper_areas[] = {
    {.kind = MOUSE_CHILD, .box = {0, 0, 5, 10}, .mouse_flags = MOUSE_LEFTSINGLE, .handler = record},
    {.kind = MOUSE_END},
};

GAUGEHDR lower = {.gauge_name = "Lower", .mouse_rect = lower_areas};
GAUGEHDR upper = {.gauge_name = "Upper", .mouse_rect = upper_areas};

void sizes(const GAUGEHDR* g, int& w, int& h) {
    w = g == &lower ? 20 : 10;
    h = 10;
}

class PanelHitTest : public ::testing::Test {
protected:
    Placement lower_p, upper_p;
    PanelWindow window;
    std::vector<Placement*> placements;
    void SetUp() override {
        calls = 0;
        lower_p.gauge = &lower;
        upper_p.gauge = &upper;
        window.width = 400;
        window.height = 300;
        // Lower at twice its size keeping its aspect (no height); upper at 2 x 3 over its right part.
        window.gauges = {PanelGauge{.name = "Lower", .x = 100, .y = 50, .w = 40},
                         PanelGauge{.name = "Upper", .x = 120, .y = 50, .w = 20, .h = 30}};
        placements = {&lower_p, &upper_p};
    }
    bool hit(double x, double y, uint32_t button, PanelHit& out) {
        return locate_click(window, placements, sizes, x, y, button, out);
    }
    // Which placement, where on it, and whether an area takes the button there.
    static std::tuple<Placement*, int32_t, int32_t, bool> at(const PanelHit& h) {
        return {h.placement, h.x, h.y, h.has_area};
    }
};

}  // namespace

TEST_F(PanelHitTest, WindowPixelsBecomeGaugePixelsThroughTheLineScale) {
    PanelHit h;
    ASSERT_TRUE(hit(101.9, 53, MOUSE_LEFTSINGLE, h));
    EXPECT_EQ(at(h), std::tuple(&lower_p, 0, 1, true));
    EXPECT_EQ(h.line, 0u);
    ASSERT_TRUE(hit(119, 69, MOUSE_LEFTSINGLE, h));  // last pixel of the lower gauge's height: 20 / 2 - 1
    EXPECT_EQ(at(h), std::tuple(&lower_p, 9, 9, true));
    EXPECT_FALSE(hit(119, 70, MOUSE_LEFTSINGLE, h));  // past its scaled height, and nothing else there
    EXPECT_FALSE(hit(99, 55, MOUSE_LEFTSINGLE, h));
}

TEST_F(PanelHitTest, TheTopmostGaugeThatTakesTheButtonWins) {
    PanelHit h;
    ASSERT_TRUE(hit(125, 79, MOUSE_LEFTSINGLE, h));  // upper: x (125-120)/2 = 2, y (79-50)/3 = 9
    EXPECT_EQ(at(h), std::tuple(&upper_p, 2, 9, true));
    ASSERT_TRUE(hit(125, 60, MOUSE_RIGHTSINGLE, h));  // upper has no right-button area: the one below
    EXPECT_EQ(at(h), std::tuple(&lower_p, 12, 5, true));
    ASSERT_TRUE(hit(135, 60, MOUSE_LEFTSINGLE, h));  // upper's right half takes nothing: lower again
    EXPECT_EQ(h.placement, &lower_p);
}

TEST_F(PanelHitTest, AGaugeWithoutAnAreaThereIsStillNamedWhenAloneUnderThePoint) {
    PanelHit h;
    ASSERT_TRUE(hit(135, 75, MOUSE_LEFTSINGLE, h));  // below the lower gauge, on upper's idle half
    EXPECT_EQ(h.placement, &upper_p);
    EXPECT_FALSE(h.has_area);
}

TEST_F(PanelHitTest, MissingPlacementsAndPointsOffTheWindowAreNothing) {
    PanelHit h;
    placements[1] = nullptr;  // a line whose gauge could not be installed
    ASSERT_TRUE(hit(125, 60, MOUSE_LEFTSINGLE, h));
    EXPECT_EQ(h.placement, &lower_p);
    placements.pop_back();
    window.gauges[0].x = 390;  // the gauge reaches past the window's edge
    EXPECT_TRUE(hit(399, 55, MOUSE_LEFTSINGLE, h));
    EXPECT_FALSE(hit(400, 55, MOUSE_LEFTSINGLE, h));
    EXPECT_FALSE(hit(-1, 55, MOUSE_LEFTSINGLE, h));
}

TEST_F(PanelHitTest, DragsFarOffStayInRange) {
    int32_t x = 0, y = 0;
    window_to_gauge(window.gauges[1], 10, 10, 100, 20, x, y);
    EXPECT_EQ(std::pair(x, y), std::pair(-10, -10));
    window_to_gauge(window.gauges[1], 10, 10, 1e300, -1e300, x, y);
    EXPECT_EQ(std::pair(x, y), std::pair(1000000000, -1000000000));
}

TEST_F(PanelHitTest, RepeatsGoToTheHeldAreaOnlyWhenItAsks) {
    Host host;
    lower_p.parameters.push_back('\0');
    upper_p.parameters.push_back('\0');
    host.click(&lower_p, 3, 4, MOUSE_RIGHTSINGLE, 0);
    host.repeat(&lower_p, 3, 4);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(last_flags, MOUSE_RIGHTSINGLE | MOUSE_DOWN_REPEAT);
    EXPECT_EQ(last_point.x, 3);

    host.click(&upper_p, 1, 1, MOUSE_LEFTSINGLE, 0);  // no repeat flag on this area
    host.repeat(&upper_p, 1, 1);
    EXPECT_EQ(calls, 3);
    host.click(&upper_p, 8, 1, MOUSE_LEFTSINGLE, 0);  // on no area: nothing is held
    host.repeat(&upper_p, 8, 1);
    EXPECT_EQ(calls, 3);
}

// Hover: a child takes its region's help and tooltip where it has none of its own, children come
// before the region that informs over the whole gauge, and the gauge drawn on top comes first.
TEST_F(PanelHitTest, HoverAreasInheritTheirRegionsHelpAndComeTopmostFirst) {
    MOUSERECT areas[] = {
        {.kind = MOUSE_PARENT, .help_id = 0xAB86},
        {.kind = MOUSE_TOOLTIP, .tooltip = "Lower gauge"},
        {.kind = MOUSE_CHILD, .box = {0, 0, 5, 5}, .cursor = CURSOR_UPARROW, .mouse_flags = MOUSE_LEFTSINGLE},
        {.kind = MOUSE_CHILD, .box = {5, 0, 5, 5}, .cursor = CURSOR_HAND, .help_id = 0x3168, .mouse_flags = MOUSE_LEFTSINGLE},
        {.kind = MOUSE_PARENT_END},
        {.kind = MOUSE_END},
    };
    lower.mouse_rect = areas;
    std::vector<HoverArea> list = list_hover_areas(window, placements, sizes);
    lower.mouse_rect = lower_areas;
    ASSERT_EQ(list.size(), 4u);  // upper's child, then lower's two children and its region
    EXPECT_EQ(list[0].line, 1u);
    EXPECT_EQ(std::tuple(list[1].cursor, list[1].help_id, list[1].tooltip, list[1].x),
              std::tuple(CURSOR_UPARROW, 0xAB86u, "Lower gauge", 100.0));
    // Box x 5 at twice the size.
    EXPECT_EQ(std::tuple(list[2].x, list[2].w, list[2].help_id), std::tuple(110.0, 10.0, 0x3168u));
    EXPECT_FALSE(list[3].clickable);
    EXPECT_DOUBLE_EQ(list[3].w, 40);  // the whole gauge
    EXPECT_STREQ(help_name(list[1].help_id), "TOGGLE_RADIO_WINDOW");
}
