// The shape the engine, fuel and electrical dials share: a face, the needles (and a readout) that
// turn over it, a bezel drawn over them all, and one mouse region over the whole gauge with no
// action. A unit of this shape holds only its tables, its bitmaps and its sources:
//
//   static NeedleElement needle = dial_needle(kBitmapNeedle, {151, 156}, kLongNeedle, 0x275, dial_table);
//   DIAL_GAUGE(Torque, kBitmapFace, kBitmapBezel, dial_areas(), nullptr, &needle.header);
#pragma once

#include <cstddef>

#include "engine/engine_state.h"
#include "module/gauge_unit.h"

constexpr uint32_t kDialDrawFlags = kImageUseTransparency | kImageUseErase;

// Needle pictures point right from their pivot; the offset is that pivot inside the picture.
constexpr PIXPOINT kLongNeedle = {20, 6};   // 120 x 12, the large dials
constexpr PIXPOINT kShortNeedle = {15, 5};  // 80 x 10, the small electrical and vacuum dials

// A needle turning about `pivot` (background pixels), placed through `table` from the value of
// `var`, or from what `update` makes of it.
template <size_t N>
constexpr NeedleElement dial_needle(int32_t bitmap, PIXPOINT pivot, PIXPOINT needle_pivot, uint32_t var,
                                    NONLINEARITY (&table)[N], NeedleUpdate update = nullptr) {
    return {.header = {.element_type = ELEMENT_NEEDLE, .resource_id = bitmap, .position = pivot,
                       .ofs = needle_pivot, .image_flags = kDialDrawFlags},
            .source_var = {.id = var},
            .nonlinearity_table = table,
            .nonlinearity_table_size = uint32_t(N),
            .update_cb = update};
}

// A line of red display digits on black in the "Quartz" font, centred in its box.
constexpr StringElement digit_readout(PIXPOINT at, PIXPOINT box, uint32_t chars, uint32_t weight, uint32_t var,
                                      StringUpdate update) {
    return {.header = {.element_type = ELEMENT_STRING, .resource_id = -1, .position = at,
                       .image_flags = kDialDrawFlags},
            .source_var = {{.id = var}},
            .box = box, .fg_color = kDigitRed, .bg_color = kDigitBackground, .hilite_color = kDigitHighlight,
            .font_name = "Quartz", .font_weight = weight, .char_set = 1, .draw_text_flags = kTextCentredSingleLine,
            .char_count = uint16_t(chars), .update_cb = update};
}

constexpr StaticImageElement face_image(int32_t bitmap, ELEMENT_HEADER** children) {
    return {.header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = bitmap, .elements = children}};
}

// The mouse list: one region over the whole gauge (host help text 0) with an optional tooltip text,
// after an optional region of its own over part of the dial (also without action).
struct DialAreas {
    MOUSERECT rects[6];
};
constexpr DialAreas dial_areas(const char* tooltip = nullptr, MOUSE_BOX own_region = {}) {
    DialAreas list = {};
    int n = 0;
    if (own_region.w != 0) {
        list.rects[n++] = {.kind = MOUSE_PARENT, .box = own_region, .cursor = CURSOR_NONE};
        list.rects[n++] = {.kind = MOUSE_PARENT_END};
    }
    list.rects[n++] = {.kind = MOUSE_PARENT, .cursor = CURSOR_NONE};
    close_region(list.rects, n, tooltip);
    return list;
}

// The gauge: face, then the given elements in drawing order, then the bezel over them.
#define DIAL_GAUGE(Name, face_bitmap, bezel_bitmap, areas, callback, ...)                                  \
    static StaticImageElement Name##_bezel = {                                                             \
        .header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = bezel_bitmap,                      \
                   .image_flags = kDialDrawFlags}};                                                        \
    static ELEMENT_HEADER* Name##_children[] = {__VA_ARGS__, &Name##_bezel.header, nullptr};               \
    static StaticImageElement Name##_face = face_image(face_bitmap, Name##_children);                      \
    static ELEMENT_HEADER* Name##_root[] = {&Name##_face.header, nullptr};                                 \
    static DialAreas Name##_areas = areas;                                                                 \
    DEFINE_GAUGE(Name, Name##_root, Name##_areas.rects, callback)
