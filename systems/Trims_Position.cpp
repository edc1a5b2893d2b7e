// Trims_Position — pitch trim and the two other trims on one dial; needles only, no code.
// Reads:  0x30F pitch trim, 0x311 and 0x313 the other trims (radians), through the needles.
// Sends:  nothing.
// Keeps:  nothing.
#include "systems/systems_records.h"

// ----------------------------------------------------------------------------------------------
// Records: background, three needles, then the two overlays drawn over them.

static NONLINEARITY pitch_table[] = {
    {{27, 21}, -0.523599},
    {{26, 63}, 0},
    {{27, 106}, 0.523599},
};
static NONLINEARITY lower_table[] = {
    {{96, 96}, -0.174533},
    {{105, 109}, 0},
    {{96, 122}, 0.174533},
};
static NONLINEARITY upper_table[] = {
    {{95, 28}, 0.174533},
    {{81, 36}, 0},
    {{67, 28}, -0.174533},
};

template <size_t N>
constexpr NeedleElement trim_needle(int32_t bitmap, PIXPOINT at, PIXPOINT pivot, uint32_t var,
                                    NONLINEARITY (&table)[N]) {
    return {.header = {.element_type = ELEMENT_NEEDLE, .resource_id = bitmap, .position = at, .ofs = pivot,
                       .image_flags = kDrawPart},
            .source_var = {.id = var},
            .nonlinearity_table = table,
            .nonlinearity_table_size = N,
            .update_cb = nullptr};
}

static NeedleElement pitch_needle = trim_needle(6160, {76, 64}, {0, 1}, 0x30F, pitch_table);
static NeedleElement lower_needle = trim_needle(6170, {81, 109}, {18, 4}, 0x311, lower_table);
static NeedleElement upper_needle = trim_needle(6180, {81, 17}, {0, 6}, 0x313, upper_table);
static StaticImageElement overlay_first = overlay_image(6190);
static StaticImageElement overlay_second = overlay_image(6200);
static ELEMENT_HEADER* children[] = {&pitch_needle.header, &lower_needle.header, &upper_needle.header,
                                     &overlay_first.header, &overlay_second.header, nullptr};
static StaticImageElement background = background_image(6150, children);
static ELEMENT_HEADER* root_list[] = {&background.header, nullptr};

static MouseList<kMouseListRoom> mouse_areas = gauge_areas(0, {
    tooltip_id(0x3128, {0, 0, 51, 126}),
    tooltip_id(0x3129, {52, 0, 62, 62}),
    tooltip_id(0x312A, {52, 63, 62, 62}),
});

DEFINE_GAUGE(Trims_Position, root_list, mouse_areas.rects, nullptr);
