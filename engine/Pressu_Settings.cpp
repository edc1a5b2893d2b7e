// Pressu_Settings — selector of the cabin altitude held in cruise, with its schedule ceiling.
// Reads:  nothing from the simulator.
// Sends:  nothing.
// Keeps:  cabin_setting (sea level at load) and, while updated, cabin_schedule_ceiling; no sound.
#include <cmath>
#include <iterator>

#include "engine/cabin_pressure.h"
#include "module/gauge_unit.h"

constexpr int32_t kBitmapFace = 4830;
constexpr int32_t kBitmapSelector = 4831;
constexpr int32_t kBitmapPointer = 4832;
constexpr PIXPOINT kNeedlePivot = {20, 6};  // needle pictures 120 x 12, pointing right from their pivot
constexpr PIXPOINT kPivot = {158, 145};
constexpr uint32_t kDrawFlags = kImageUseTransparency | kImageUseErase;

// Dial values: sea level at 254, 22.5 per thousand feet up to 5000, then 20 per thousand.
constexpr double kDialSeaLevel = 254.0;
constexpr double kDialLowStep = 22.5;
constexpr double kDialMid = 366.5;
constexpr double kDialHighStep = 20.0;
constexpr double kLowRangeTop = 5000.0;

// ----------------------------------------------------------------------------------------------
// Records

static NONLINEARITY selector_table[] = {{{53, 175}, 254}, {{171, 30}, 366.5}, {{262, 175}, 466.5}};
static NONLINEARITY pointer_table[] = {{{153, 62}, -1}, {{153, 62}, 0}, {{238, 142}, 7000}, {{70, 145}, 30000}};

static double GAUGE_CALL selector(NeedleElement*);
static double GAUGE_CALL fixed_pointer(NeedleElement*);

static NeedleElement selector_needle = {
    .header = {.element_type = ELEMENT_NEEDLE, .resource_id = kBitmapSelector, .position = kPivot,
               .ofs = kNeedlePivot, .image_flags = kDrawFlags},
    .nonlinearity_table = selector_table,
    .nonlinearity_table_size = std::size(selector_table), .update_cb = selector,
};
static NeedleElement pointer_needle = {
    .header = {.element_type = ELEMENT_NEEDLE, .resource_id = kBitmapPointer, .position = kPivot,
               .ofs = kNeedlePivot, .image_flags = kDrawFlags},
    .nonlinearity_table = pointer_table,
    .nonlinearity_table_size = std::size(pointer_table), .update_cb = fixed_pointer,
};
static ELEMENT_HEADER* dial_elements[] = {&selector_needle.header, &pointer_needle.header, nullptr};
static StaticImageElement background = {
    .header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = kBitmapFace, .elements = dial_elements},
};
static ELEMENT_HEADER* root_list[] = {&background.header, nullptr};

static int32_t GAUGE_CALL lower(MOUSE_POINT*, uint32_t);
static int32_t GAUGE_CALL raise(MOUSE_POINT*, uint32_t);

constexpr uint32_t kKnobClicks = MOUSE_LEFTSINGLE | MOUSE_DOWN_REPEAT;

static MOUSERECT mouse_areas[] = {
    {.kind = MOUSE_PARENT, .cursor = CURSOR_NONE},
    {.kind = MOUSE_TOOLTIP, .cursor = CURSOR_NONE, .tooltip = "Pressurized cabin settings"},
    {.kind = MOUSE_CHILD, .box = {15, 0, 142, 220}, .cursor = CURSOR_DOWNARROW, .mouse_flags = kKnobClicks,
     .handler = lower},
    {.kind = MOUSE_CHILD, .box = {157, 0, 142, 220}, .cursor = CURSOR_UPARROW, .mouse_flags = kKnobClicks,
     .handler = raise},
    {.kind = MOUSE_PARENT_END},
    {.kind = MOUSE_END},
};

DEFINE_GAUGE(Pressu_Settings, root_list, mouse_areas, nullptr);

// ----------------------------------------------------------------------------------------------
// Element callbacks

static double GAUGE_CALL selector(NeedleElement*) {
    double thousands = std::floor(cabin_setting / kSettingStep);
    double dial = kDialSeaLevel;
    if (cabin_setting >= kSettingStep && cabin_setting <= kLowRangeTop)
        dial = kDialSeaLevel + kDialLowStep * thousands;
    else if (cabin_setting > kLowRangeTop)
        dial = kDialMid + kDialHighStep * std::floor((cabin_setting - kLowRangeTop) / kSettingStep);
    cabin_schedule_ceiling = kSeaLevelBandTop + kCeilingPerSetting * thousands;
    return dial;
}

static double GAUGE_CALL fixed_pointer(NeedleElement*) { return 0.0; }

// ----------------------------------------------------------------------------------------------
// Mouse handlers

static int32_t GAUGE_CALL lower(MOUSE_POINT*, uint32_t) {
    if (cabin_setting >= kSettingStep) cabin_setting -= kSettingStep;
    return 0;
}

static int32_t GAUGE_CALL raise(MOUSE_POINT*, uint32_t) {
    if (cabin_setting <= kSettingMax - kSettingStep) cabin_setting += kSettingStep;
    return 0;
}
