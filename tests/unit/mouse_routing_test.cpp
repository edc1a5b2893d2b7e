// Mouse routing over a gauge's areas: list order, boxes, buttons, repeats and drags.
#include <gtest/gtest.h>

#include <tuple>

#include "tests/unit/recording_handler.h"

#include "bench/host.h"

using namespace bench;
using namespace recorded;

namespace {

MOUSERECT areas[] = {
    {.kind = MOUSE_PARENT, .box = {0, 0, 0, 0}, .cursor = CURSOR_NONE, .help_id = 0xAB57},
    {.kind = MOUSE_CHILD, .box = {10, 10, 20, 20}, .cursor = CURSOR_HAND, .mouse_flags = MOUSE_RIGHTSINGLE,
     .handler = record},
    {.kind = MOUSE_CHILD, .box = {0, 0, 40, 40}, .cursor = CURSOR_UPARROW,
     .mouse_flags = MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT, .handler = record},
    {.kind = MOUSE_CHILD, .box = {0, 40, 40, 40}, .cursor = CURSOR_HAND, .mouse_flags = MOUSE_LEFTSINGLE,
     .event_id = 0x100D7},
    {.kind = MOUSE_CHILD, .box = {50, 0, 20, 80}, .cursor = CURSOR_HAND,
     .mouse_flags = MOUSE_LEFTSINGLE | MOUSE_LEFTDRAG, .handler = record},
    {.kind = MOUSE_TOOLTIP, .box = {0, 0, 100, 100}, .tooltip = "Tooltip only"},
    {.kind = MOUSE_PARENT_END},
    {.kind = MOUSE_END},
};

}  // namespace

TEST(MouseRouting, FirstAreaInListOrderThatWantsTheButton) {
    EXPECT_EQ(route_click(areas, 15, 15, MOUSE_RIGHTSINGLE), &areas[1]);
    EXPECT_EQ(route_click(areas, 15, 15, MOUSE_LEFTSINGLE), &areas[2]);  // the right-only area is passed over
    EXPECT_EQ(route_click(areas, 39, 39, MOUSE_LEFTSINGLE), &areas[2]);
    EXPECT_EQ(route_click(areas, 40, 39, MOUSE_LEFTSINGLE), nullptr);   // box edges are exclusive
    EXPECT_EQ(route_click(areas, 5, 40, MOUSE_LEFTSINGLE), &areas[3]);
    EXPECT_EQ(route_click(areas, 90, 90, MOUSE_LEFTSINGLE), nullptr);   // tooltips are not clickable
    EXPECT_EQ(route_click(areas, 5, 5, MOUSE_RIGHTSINGLE), nullptr);
    EXPECT_EQ(mouse_area_count(areas), 7u);
}

// A gauge of its own over the areas above, installed in a host without a module.
class HostMouse : public ::testing::Test {
protected:
    StaticImageElement background = {.header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = 1}};
    ELEMENT_HEADER* roots[2] = {&background.header, nullptr};
    GAUGEHDR gauge = {.gauge_header_version = kGaugeHeaderVersion, .gauge_name = "Test", .elements_list = roots,
                      .size_x_mm = 30, .mouse_rect = areas};
    Host host;
    Placement placement;
    void SetUp() override {
        calls = 0;
        placement.gauge = &gauge;
        placement.parameters.push_back('\0');
    }
};

TEST_F(HostMouse, HandlersGetAreaRelativePointsAndRepeats) {
    host.click(&placement, 12, 13, MOUSE_LEFTSINGLE, 3);
    EXPECT_EQ(calls, 4);
    EXPECT_EQ(std::tuple(last_point.x, last_point.y, last_point.area, last_point.gauge),
              std::tuple(12, 13, &areas[2], &gauge));
    EXPECT_EQ(last_flags, MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT);
}

TEST_F(HostMouse, DragsFollowTheLastClickWherever) {
    host.click(&placement, 55, 10, MOUSE_LEFTSINGLE, 0);
    host.drag(&placement, 58, -30);  // above the area: y relative and negative
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(std::tuple(last_point.x, last_point.y, last_point.area), std::tuple(8, -30, &areas[4]));
    EXPECT_EQ(last_flags, MOUSE_LEFTSINGLE | MOUSE_LEFTDRAG);

    host.click(&placement, 12, 13, MOUSE_LEFTSINGLE, 0);  // an area without the drag flag
    calls = 0;
    host.drag(&placement, 12, 14);
    EXPECT_EQ(calls, 0);
}
