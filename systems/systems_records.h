// Record builders shared by the systems panel's gauges. Each gauge is a background bitmap whose
// children are drawn over it, and a mouse list of one region over the whole gauge (carrying the
// host's help text) that holds the tooltips and the clickable areas.
#pragma once

#include <initializer_list>

#include "module/click_sound.h"
#include "module/gauge_unit.h"

constexpr uint32_t kDrawPart = kImageUseTransparency | kImageUseErase;  // switches, levers, needles
constexpr uint32_t kDrawLamp = kDrawPart | kImageUseBright;             // lamps glow in the dark

// The de-ice switch face and lever, and the area of the narrow (de-ice and pitot heat) switches,
// shared by the toggle and module-kept switches.
constexpr int32_t kDeIceSwitchFace = 4400;
constexpr int32_t kDeIceSwitchLever = 4410;
constexpr MOUSE_BOX kNarrowSwitchArea = {0, 0, 28, 50};

constexpr int32_t kIconShown = 0;
constexpr double kIconHidden = -1.0;

constexpr StaticImageElement background_image(int32_t bitmap, ELEMENT_HEADER** children = nullptr) {
    return {.header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = bitmap, .elements = children}};
}

constexpr StaticImageElement overlay_image(int32_t bitmap, PIXPOINT at = {0, 0}) {
    return {.header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = bitmap, .position = at,
                       .image_flags = kDrawPart}};
}

// An icon of `count` bitmaps starting at `bitmap`. Single-bitmap icons carry scale 0: their callback
// alone decides whether they show.
constexpr IconElement icon_image(int32_t bitmap, PIXPOINT at, uint32_t count, uint32_t var, IconUpdate update,
                                 uint32_t flags = kDrawPart, FAILURE_RECORD* failures = nullptr) {
    return {.header = {.element_type = ELEMENT_ICON, .resource_id = bitmap, .position = at,
                       .failure_systems = failures, .image_flags = flags},
            .source_var = {.id = var},
            .icon_type = 0,
            .scale = count == 1 ? 0.0 : 1.0,
            .num_icons = count,
            .update_cb = update};
}

constexpr MOUSERECT click_area(MOUSE_BOX box, MouseCursor cursor, uint32_t flags, MouseHandler handler) {
    MOUSERECT r = {.kind = MOUSE_CHILD, .box = box, .cursor = cursor, .help_id = 0, .mouse_flags = flags};
    r.handler = handler;
    return r;
}

// The host sends `event` (parameter 0) on a click; no module code runs.
constexpr MOUSERECT event_area(MOUSE_BOX box, MouseCursor cursor, uint32_t flags, uint32_t event) {
    MOUSERECT r = {.kind = MOUSE_CHILD, .box = box, .cursor = cursor, .help_id = 0, .mouse_flags = flags,
                   .event_id = event};
    r.handler = nullptr;
    return r;
}

// A tooltip of the host's, by id, or a text of our own. An empty box covers the whole gauge.
constexpr MOUSERECT tooltip_id(uint32_t id, MOUSE_BOX box = {}) {
    MOUSERECT r = {.kind = MOUSE_TOOLTIP, .box = box, .cursor = CURSOR_NONE, .help_id = id};
    r.tooltip = nullptr;
    return r;
}
constexpr MOUSERECT tooltip_text(const char* text, MOUSE_BOX box = {}) {
    MOUSERECT r = {.kind = MOUSE_TOOLTIP, .box = box, .cursor = CURSOR_NONE, .help_id = 0};
    r.tooltip = text;
    return r;
}

template <size_t N>
struct MouseList {
    MOUSERECT rects[N];
};
constexpr size_t kMouseListRoom = 12;

// Region (help id, 0 for none), its areas in order, end of region, end of list.
template <size_t N = kMouseListRoom>
constexpr MouseList<N> gauge_areas(uint32_t help_id, std::initializer_list<MOUSERECT> areas) {
    MouseList<N> list = {};
    size_t n = 0;
    list.rects[n++] = {.kind = MOUSE_PARENT, .box = {}, .cursor = CURSOR_NONE, .help_id = help_id};
    for (const MOUSERECT& a : areas) list.rects[n++] = a;
    list.rects[n++] = {.kind = MOUSE_PARENT_END};
    list.rects[n] = {.kind = MOUSE_END};  // out of room here fails to compile
    return list;
}

// The sounding gauges' install and kill.
inline void click_sound_service(ClickSound& sound, int32_t service, GaugeExtra extra, int wave_id) {
    if (service == PANEL_SERVICE_PRE_INSTALL)
        click_sound_open(sound, extra, wave_id);
    else if (service == PANEL_SERVICE_PRE_KILL)
        click_sound_close(sound);
}
