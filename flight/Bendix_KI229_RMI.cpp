// Bendix_KI229_RMI — radio magnetic indicator: compass card, double-bar ADF needle, VOR needle.
// Reads:  0x54 heading, 0x27 ADF bearing, 0x226 / 0x3B NAV1 / NAV2 bearing, 0x2E / 0x37 NAV1 / NAV2
//         station code bits; adf_power_on, nav1_power_on, nav2_power_on, rmi_needle_nav1.
// Sends:  nothing.
// Keeps:  nothing; a needle with no receiver or no bearing parks at 90 degrees.
#include "flight/instrument_shared.h"
#include "module/gauge_unit.h"

constexpr uint32_t kVarHeading = 0x54;
constexpr uint32_t kVarAdfBearing = 0x27;
constexpr uint32_t kVarNav1Bearing = 0x226;
constexpr uint32_t kVarNav2Bearing = 0x3B;
constexpr uint32_t kVarNav1Code = 0x2E;
constexpr uint32_t kVarNav2Code = 0x37;
constexpr int32_t kCodeLocalizer = 0x80;
constexpr double kParked = 90.0;
constexpr PIXPOINT kDialCentre = {150, 148};
constexpr uint32_t kDrawFlags = kImageUseTransparency | kImageUseErase;

// ----------------------------------------------------------------------------------------------
// Records

static FAILURE_RECORD adf_failures[] = {
    {20, FAIL_ACTION_FREEZE, 0}, {5, FAIL_ACTION_NONE, 0}, {21, FAIL_ACTION_NONE, 0}, FAILURE_END};
static FAILURE_RECORD vor_failures[] = {
    {20, FAIL_ACTION_FREEZE, 0}, {14, FAIL_ACTION_NONE, 0}, {15, FAIL_ACTION_NONE, 0}, {21, FAIL_ACTION_NONE, 0},
    FAILURE_END};
static FAILURE_RECORD card_failures[] = {{20, FAIL_ACTION_FREEZE, 0}, {11, FAIL_ACTION_NONE, 0}, FAILURE_END};

// One degree per unit, turning from straight up.
static NONLINEARITY needle_table[] = {{{150, 48}, 0.0}, {{150, 248}, 180.0}};

static double GAUGE_CALL adf_needle(NeedleElement*);
static double GAUGE_CALL vor_needle(NeedleElement*);

static NeedleElement adf = {
    .header = {.element_type = ELEMENT_NEEDLE, .resource_id = 3220, .position = kDialCentre, .ofs = {92, 18},
               .failure_systems = adf_failures, .image_flags = kDrawFlags},
    .source_var = {.id = kVarAdfBearing}, .nonlinearity_table = needle_table,
    .nonlinearity_table_size = 2, .update_cb = adf_needle,
};
static NeedleElement vor = {
    .header = {.element_type = ELEMENT_NEEDLE, .resource_id = 3230, .position = kDialCentre, .ofs = {92, 18},
               .failure_systems = vor_failures, .image_flags = kDrawFlags},
    .source_var = {.id = kVarNav1Bearing}, .nonlinearity_table = needle_table,
    .nonlinearity_table_size = 2, .update_cb = vor_needle,
};
static SpriteElement card = {
    .header = {.element_type = ELEMENT_SPRITE, .resource_id = 3210, .position = {17, 15}, .ofs = kDialCentre,
               .failure_systems = card_failures, .image_flags = kDrawFlags},
    .source_var_0 = {.id = kVarHeading}, .scale_0 = 1.0, .texture_scale_x = 1.0f, .texture_scale_y = 1.0f,
};
static StaticImageElement bezel = {
    .header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = 3240, .image_flags = kDrawFlags},
};
static ELEMENT_HEADER* dial_elements[] = {&adf.header, &vor.header, &card.header, &bezel.header, nullptr};
static StaticImageElement background = {
    .header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = 3200, .elements = dial_elements},
};
static ELEMENT_HEADER* root_list[] = {&background.header, nullptr};

static MOUSERECT mouse_areas[] = {
    {.kind = MOUSE_PARENT, .box = {0, 0, 300, 300}, .cursor = CURSOR_NONE, .help_id = 0xAB5A},
    {.kind = MOUSE_PARENT_END},
    {.kind = MOUSE_END},
};

DEFINE_GAUGE(Bendix_KI229_RMI, root_list, mouse_areas, nullptr);

// ----------------------------------------------------------------------------------------------
// Element callbacks

static double GAUGE_CALL adf_needle(NeedleElement* e) {
    return adf_power_on ? e->source_var.var_value.n : kParked;
}

// The switch takes effect through the needle's own source variable, which the host looks up
// before the next call: the needle follows the new receiver from the frame after the click.
static double GAUGE_CALL vor_needle(NeedleElement* e) {
    bool nav1 = rmi_needle_nav1;
    e->source_var.id = nav1 ? kVarNav1Bearing : kVarNav2Bearing;
    if (!(nav1 ? nav1_power_on : nav2_power_on)) return kParked;
    if (token_as_int(token_value(nav1 ? kVarNav1Code : kVarNav2Code)) & kCodeLocalizer) return kParked;
    return e->source_var.var_value.n;
}
