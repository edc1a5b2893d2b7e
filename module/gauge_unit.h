// What every gauge unit includes: the records, the gauge table and the host services.
#pragma once

#include "module/gauge_records.h"
#include "module/gauge_table.h"
#include "module/host_services.h"

// A gauge's static failure lists are ended by a record with key 0.
#define FAILURE_END {0, 0, 0}

// Closes a mouse list from rects[n] on: the region's tooltip text where it has one, the region's
// end and the list's end.
constexpr void close_region(MOUSERECT* rects, int n, const char* tooltip) {
    if (tooltip) {
        rects[n] = {.kind = MOUSE_TOOLTIP, .cursor = CURSOR_NONE};
        rects[n++].tooltip = tooltip;
    }
    rects[n++] = {.kind = MOUSE_PARENT_END};
    rects[n] = {.kind = MOUSE_END};
}

// The mouse list of a small button: a region over the whole gauge carrying the button's host help
// text (and its tooltip text, where it has one) around the button's own area, which calls `handler`
// or, without one, has the host send `event`.
struct ButtonAreas {
    MOUSERECT rects[5];
};
constexpr ButtonAreas button_areas(MOUSE_BOX box, uint32_t help, MouseHandler handler, uint32_t event = 0,
                                   const char* tooltip = nullptr) {
    ButtonAreas list = {};
    int n = 0;
    list.rects[n++] = {.kind = MOUSE_PARENT, .cursor = CURSOR_NONE, .help_id = help};
    list.rects[n] = {.kind = MOUSE_CHILD, .box = box, .cursor = CURSOR_HAND, .mouse_flags = MOUSE_LEFTSINGLE,
                     .event_id = event};
    list.rects[n++].handler = handler;
    close_region(list.rects, n, tooltip);
    return list;
}
