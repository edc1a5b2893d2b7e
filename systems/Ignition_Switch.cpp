// Ignition_Switch — three positions: top, middle, bottom (armed in the upper two).
// Reads:  nothing.
// Sends:  nothing.
// Keeps:  ignition_position (bottom at load), ignition_armed (read by the starter and the warning
//         panel); click sound, WAVE 30.
#include "systems/switch_state.h"
#include "systems/systems_records.h"

static ClickSound sound;

static double GAUGE_CALL switch_picture(IconElement*);
static int32_t GAUGE_CALL switch_up(MOUSE_POINT*, uint32_t);
static int32_t GAUGE_CALL switch_down(MOUSE_POINT*, uint32_t);
static void GAUGE_CALL ignition_gauge(GAUGEHDR*, int32_t service, GaugeExtra extra);

// ----------------------------------------------------------------------------------------------
// Records

static IconElement switch_icon = icon_image(6410, {0, 0}, 3, 0, &switch_picture);
static ELEMENT_HEADER* children[] = {&switch_icon.header, nullptr};
static StaticImageElement background = background_image(6400, children);
static ELEMENT_HEADER* root_list[] = {&background.header, nullptr};

static MouseList<kMouseListRoom> mouse_areas = gauge_areas(0, {
    tooltip_text("Ignition switch"),
    click_area({0, 0, 30, 30}, CURSOR_UPARROW, MOUSE_LEFTSINGLE, &switch_up),
    click_area({0, 30, 30, 30}, CURSOR_DOWNARROW, MOUSE_LEFTSINGLE, &switch_down),
});

DEFINE_GAUGE(Ignition_Switch, root_list, mouse_areas.rects, &ignition_gauge);

// ----------------------------------------------------------------------------------------------
// Element callback: the bitmaps are in the order middle, bottom, top.

static double GAUGE_CALL switch_picture(IconElement*) { return ignition_position; }

// ----------------------------------------------------------------------------------------------
// Mouse handlers

static void move_to(int32_t position) {
    ignition_position = position;
    ignition_armed = position != kIgnitionBottom;
    click_sound_play(sound);
}

static int32_t GAUGE_CALL switch_up(MOUSE_POINT*, uint32_t) {
    if (ignition_position == kIgnitionMiddle)
        move_to(kIgnitionTop);
    else if (ignition_position == kIgnitionBottom)
        move_to(kIgnitionMiddle);
    return 0;
}

static int32_t GAUGE_CALL switch_down(MOUSE_POINT*, uint32_t) {
    if (ignition_position == kIgnitionMiddle)
        move_to(kIgnitionBottom);
    else if (ignition_position == kIgnitionTop)
        move_to(kIgnitionMiddle);
    return 0;
}

// ----------------------------------------------------------------------------------------------
// Gauge callback

static void GAUGE_CALL ignition_gauge(GAUGEHDR*, int32_t service, GaugeExtra extra) {
    click_sound_service(sound, service, extra, kWaveButtonClick);
}
