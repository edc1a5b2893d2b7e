// ATC_Toggle, Kneeboard_Toggle, Map_Toggle — buttons that only name a host event.
// Reads:  nothing.
// Sends:  0x1001C (ATC window), 0x10154 (kneeboard), 0x10380 (map), through the area's event id.
// Keeps:  nothing; no code and no sound.
#include "module/gauge_unit.h"

// ----------------------------------------------------------------------------------------------
// Records: one row per button

struct EventButton {
    int32_t bitmap;
    uint32_t event_id;
    uint32_t help_id;
};

constexpr EventButton kAtc = {90, 0x1001C, 0xAB94};
constexpr EventButton kKneeboard = {70, 0x10154, 0xAB93};
constexpr EventButton kMap = {80, 0x10380, 0xAB8F};

constexpr StaticImageElement button_background(const EventButton& b) {
    return {.header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = b.bitmap, .image_flags = 0}};
}

// One area over the button face; the host sends the area's event on a left click.
constexpr ButtonAreas event_button_areas(const EventButton& b) {
    return button_areas({3, 3, 13, 13}, b.help_id, nullptr, b.event_id);
}

static StaticImageElement atc_background = button_background(kAtc);
static ELEMENT_HEADER* atc_root[] = {&atc_background.header, nullptr};
static ButtonAreas atc_areas = event_button_areas(kAtc);
DEFINE_GAUGE(ATC_Toggle, atc_root, atc_areas.rects, nullptr);

static StaticImageElement kneeboard_background = button_background(kKneeboard);
static ELEMENT_HEADER* kneeboard_root[] = {&kneeboard_background.header, nullptr};
static ButtonAreas kneeboard_areas = event_button_areas(kKneeboard);
DEFINE_GAUGE(Kneeboard_Toggle, kneeboard_root, kneeboard_areas.rects, nullptr);

static StaticImageElement map_background = button_background(kMap);
static ELEMENT_HEADER* map_root[] = {&map_background.header, nullptr};
static ButtonAreas map_areas = event_button_areas(kMap);
DEFINE_GAUGE(Map_Toggle, map_root, map_areas.rects, nullptr);
