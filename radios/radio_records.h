// Record pieces the radio units share: the display colours and fonts, and builders for the
// plain icons and the digit strings of the radio windows.
#pragma once

#include "module/gauge_unit.h"

namespace radio {

constexpr uint32_t kRed = 0x000000FF;     // COLORREF of the digits
constexpr uint32_t kYellow = 0x0000FFFF;  // highlight
constexpr uint32_t kBlack = 0x00000000;
constexpr uint32_t kTextCentredSingleLine = 0x25;
constexpr uint32_t kCharSetDefault = 1;
constexpr uint32_t kWeightNormal = 400;
constexpr uint32_t kWeightBold = 700;
constexpr uint32_t kDrawTransparent = kImageUseTransparency | kImageUseErase;

constexpr uint32_t kVarPanelLights = 0x0A;  // above 0: panel lights on

constexpr uint32_t kFailElectrical = 20;  // panel electrical system
constexpr uint32_t kFailAvionics = 21;    // avionics

constexpr StaticImageElement background(int32_t resource, ELEMENT_HEADER** children) {
    return {.header = {.element_type = ELEMENT_STATIC_IMAGE,
                       .resource_id = resource,
                       .position = {0, 0},
                       .elements = children,
                       .image_flags = 0}};
}

constexpr IconElement icon(int32_t resource, PIXPOINT at, uint32_t count, IconUpdate update,
                           FAILURE_RECORD* failures = nullptr, uint32_t source = 0) {
    return {.header = {.element_type = ELEMENT_ICON,
                       .resource_id = resource,
                       .position = at,
                       .failure_systems = failures,
                       .image_flags = kDrawTransparent},
            .source_var = {.id = source},
            .icon_type = 0,
            .scale = 1.0,
            .num_icons = count,
            .update_cb = update};
}

// A needle turning about `pivot` (inside its bitmap) placed at `at`, through a scale table.
template <size_t N>
constexpr NeedleElement needle(int32_t resource, PIXPOINT at, PIXPOINT pivot, NeedleUpdate update,
                               NONLINEARITY (&scale)[N]) {
    return {.header = {.element_type = ELEMENT_NEEDLE,
                       .resource_id = resource,
                       .position = at,
                       .ofs = pivot,
                       .image_flags = kDrawTransparent},
            .source_var = {.id = 0},
            .nonlinearity_table = scale,
            .nonlinearity_table_size = N,
            .update_cb = update};
}

// A red-on-black "Quartz" string of `count` characters in a `box`, with up to two sources.
constexpr StringElement digits(PIXPOINT at, PIXPOINT box, uint32_t count, uint32_t weight, StringUpdate update,
                               FAILURE_RECORD* failures, uint32_t source = 0, uint32_t second_source = 0,
                               const SEQ_REC* highlights = nullptr) {
    return {.header = {.element_type = ELEMENT_STRING,
                       .resource_id = -1,
                       .position = at,
                       .failure_systems = failures,
                       .image_flags = 0},
            .source_var = {{.id = source}, {.id = second_source}, {.id = 0}},
            .box = box,
            .fg_color = kRed,
            .bg_color = kBlack,
            .hilite_color = kYellow,
            .font_name = "Quartz",
            .font_weight = weight,
            .char_set = kCharSetDefault,
            .draw_text_flags = kTextCentredSingleLine,
            .char_count = uint16_t(count),
            .highlight_list = highlights,
            .update_cb = update};
}

}  // namespace radio
