// Bendix_KI206_VOR1, Bendix_KI206_VOR2, Bendix_KI202_VOR2 — course deviation indicators.
// Reads:  per receiver: course deviation, glideslope deviation (KI206), TO/FROM, glideslope flag
//         (KI206), OBS; the receiver's power flag (nav1_power_on / nav2_power_on).
// Sends:  0x100B4 / 0x100B5 set the receiver's OBS from the knob (1 or 10 degrees a click).
// Keeps:  a first-order smoothing filter per needle and gauge; no gauge callback, no sound.
#include <cmath>

#include "flight/instrument_shared.h"
#include "module/gauge_unit.h"

struct Cdi {
    bool* power;
    uint32_t var_deviation;
    uint32_t var_glideslope;  // 0: no glideslope needle
    uint32_t var_to_from;     // integer: 0 none, 1 TO, 2 FROM
    uint32_t var_gs_flag;     // 0: no glideslope flag
    uint32_t var_obs;
    uint32_t event_set_obs;
    uint32_t nav_failure;  // host failure key of the receiver
    int32_t card_bitmap;
    int32_t deviation_bitmap;
    MOUSE_BOX help_box;
    uint32_t help_gauge;
    uint32_t help_knob;
};

constexpr Cdi kCdis[] = {
    {&nav1_power_on, 0x28, 0x29, 0x2B, 0x2C, 0x2D, 0x100B4, 14, 2160, 2110, {0, 0, 302, 306}, 0xAB72, 0xAB73},
    {&nav2_power_on, 0x32, 0x372, 0x34, 0x35, 0x36, 0x100B5, 15, 2160, 2110, {0, 0, 300, 240}, 0xAB74, 0xAB90},
    {&nav2_power_on, 0x32, 0, 0x34, 0, 0x36, 0x100B5, 15, 3490, 3480, {0, 0, 300, 240}, 0xAB74, 0xAB90},
};
enum CdiIndex { kKI206Vor1, kKI206Vor2, kKI202Vor2 };

constexpr int32_t kToFromNone = 0, kToFromTo = 1, kToFromFrom = 2;
constexpr double kFilterKeep = 0.7165313105737893;   // e^(-1/3): a lag of three frames
constexpr double kFilterTake = 0.28346868942621073;  // 1 - e^(-1/3)
constexpr double kDeviationPixels = 0.4645669291338583;  // 59/127
constexpr double kGlideslopePixels = 0.475;
constexpr uint32_t kDrawFlags = kImageUseTransparency | kImageUseErase;
constexpr MOUSE_BOX kKnobRegion = {0, 240, 60, 60};
constexpr MOUSE_BOX kKnobDecrease = {5, 243, 31, 62};
constexpr MOUSE_BOX kKnobIncrease = {36, 243, 31, 62};
constexpr uint32_t kKnobClicks = MOUSE_LEFTSINGLE | MOUSE_RIGHTSINGLE | MOUSE_DOWN_REPEAT;

// The OBS knob picture turns 6 degrees per degree of OBS.
static NONLINEARITY obs_knob_table[] = {{{36, 254}, 0.0}, {{36, 294}, 30.0}};

static double filtered_deviation[3];
static double filtered_glideslope[3];

// ----------------------------------------------------------------------------------------------
// Records: one set per gauge, from the row of kCdis

template <int N> static double GAUGE_CALL gs_flag(IconElement*);
template <int N> static double GAUGE_CALL from_arrow(IconElement*);
template <int N> static double GAUGE_CALL to_arrow(IconElement*);
template <int N> static double GAUGE_CALL nav_flag(IconElement*);
template <int N> static double GAUGE_CALL deviation_needle(SliderElement*);
template <int N> static double GAUGE_CALL glideslope_needle(SliderElement*);
template <int N> static int32_t GAUGE_CALL knob_decrease(MOUSE_POINT*, uint32_t);
template <int N> static int32_t GAUGE_CALL knob_increase(MOUSE_POINT*, uint32_t);

#define CDI_RECORDS(p, N)                                                                                   \
    static FAILURE_RECORD p##_background_failures[] = {{kCdis[N].nav_failure, FAIL_ACTION_NONE, 0},     \
                                                            FAILURE_END};                                     \
    static FAILURE_RECORD p##_indicator_failures[] = {{kCdis[N].nav_failure, FAIL_ACTION_ZERO, 0},      \
                                                           {21, FAIL_ACTION_ZERO, 0},                         \
                                                           {20, FAIL_ACTION_FREEZE, 0}, FAILURE_END};         \
    static SpriteElement p##_card = {                                                                         \
        .header = {.element_type = ELEMENT_SPRITE, .resource_id = kCdis[N].card_bitmap, .position = {21, 18}, \
                   .ofs = {153, 149}, .image_flags = kDrawFlags},                                             \
        .source_var_0 = {.id = kCdis[N].var_obs}, .scale_0 = 1.0, .texture_scale_x = 1.0f,                   \
        .texture_scale_y = 1.0f};                                                                             \
    [[maybe_unused]] static IconElement p##_gs_flag = {                                                       \
        .header = {.element_type = ELEMENT_ICON, .resource_id = 2120, .position = {92, 123},                  \
                   .failure_systems = p##_indicator_failures, .image_flags = kDrawFlags},                     \
        .source_var = {.id = kCdis[N].var_gs_flag}, .scale = 1.0, .num_icons = 1, .update_cb = gs_flag<N>};  \
    static IconElement p##_from_arrow = {                                                                     \
        .header = {.element_type = ELEMENT_ICON, .resource_id = 2150, .position = {190, 170},                 \
                   .failure_systems = p##_indicator_failures, .image_flags = kDrawFlags},                     \
        .source_var = {.id = kCdis[N].var_to_from}, .scale = 1.0, .num_icons = 1, .update_cb = from_arrow<N>}; \
    static IconElement p##_to_arrow = {                                                                       \
        .header = {.element_type = ELEMENT_ICON, .resource_id = 2140, .position = {190, 115},                 \
                   .failure_systems = p##_indicator_failures, .image_flags = kDrawFlags},                     \
        .source_var = {.id = kCdis[N].var_to_from}, .scale = 1.0, .num_icons = 1, .update_cb = to_arrow<N>};  \
    static IconElement p##_nav_flag = {                                                                       \
        .header = {.element_type = ELEMENT_ICON, .resource_id = 2130, .position = {164, 96},                  \
                   .failure_systems = p##_indicator_failures, .image_flags = kDrawFlags},                     \
        .source_var = {.id = kCdis[N].var_to_from}, .scale = 1.0, .num_icons = 1, .update_cb = nav_flag<N>};  \
    static SliderElement p##_deviation = {                                                                    \
        .header = {.element_type = ELEMENT_SLIDER, .resource_id = kCdis[N].deviation_bitmap,                  \
                   .position = {151, 77}, .failure_systems = p##_indicator_failures, .image_flags = kDrawFlags}, \
        .source_var_x = {.id = kCdis[N].var_deviation}, .scale_x = kDeviationPixels,                          \
        .update_x_cb = deviation_needle<N>};                                                                  \
    [[maybe_unused]] static SliderElement p##_glideslope = {                                                  \
        .header = {.element_type = ELEMENT_SLIDER, .resource_id = 2100, .position = {75, 147},                \
                   .failure_systems = p##_indicator_failures, .image_flags = kDrawFlags},                     \
        .source_var_y = {.id = kCdis[N].var_glideslope}, .scale_y = kGlideslopePixels,                        \
        .update_y_cb = glideslope_needle<N>};                                                                 \
    static StaticImageElement p##_bezel = {                                                                   \
        .header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = 2090, .image_flags = kDrawFlags}};    \
    static NeedleElement p##_knob = {                                                                         \
        .header = {.element_type = ELEMENT_NEEDLE, .resource_id = 2080, .position = {36, 274}, .ofs = {31, 31}, \
                   .image_flags = kDrawFlags},                                                                \
        .source_var = {.id = kCdis[N].var_obs}, .nonlinearity_table = obs_knob_table,                         \
        .nonlinearity_table_size = 2};                                                                        \
    static MOUSERECT p##_areas[] = {                                                                          \
        {.kind = MOUSE_PARENT, .box = kCdis[N].help_box, .cursor = CURSOR_NONE, .help_id = kCdis[N].help_gauge}, \
        {.kind = MOUSE_PARENT_END},                                                                           \
        {.kind = MOUSE_PARENT, .box = kKnobRegion, .cursor = CURSOR_NONE, .help_id = kCdis[N].help_knob},     \
        {.kind = MOUSE_CHILD, .box = kKnobDecrease, .cursor = CURSOR_DOWNARROW, .help_id = kCdis[N].help_knob, \
         .mouse_flags = kKnobClicks, .handler = knob_decrease<N>},                                            \
        {.kind = MOUSE_CHILD, .box = kKnobIncrease, .cursor = CURSOR_UPARROW, .help_id = kCdis[N].help_knob,  \
         .mouse_flags = kKnobClicks, .handler = knob_increase<N>},                                            \
        {.kind = MOUSE_PARENT_END},                                                                           \
        {.kind = MOUSE_END}}

#define CDI_ROOT(p)                                                                                            \
    static StaticImageElement p##_background = {                                                              \
        .header = {.element_type = ELEMENT_STATIC_IMAGE, .resource_id = 2170, .elements = p##_elements,       \
                   .failure_systems = p##_background_failures}};                                              \
    static ELEMENT_HEADER* p##_root[] = {&p##_background.header, nullptr}

CDI_RECORDS(vor1, kKI206Vor1);
static ELEMENT_HEADER* vor1_elements[] = {
    &vor1_card.header, &vor1_gs_flag.header, &vor1_from_arrow.header, &vor1_to_arrow.header,
    &vor1_nav_flag.header, &vor1_deviation.header, &vor1_glideslope.header, &vor1_bezel.header,
    &vor1_knob.header, nullptr};
CDI_ROOT(vor1);
DEFINE_GAUGE(Bendix_KI206_VOR1, vor1_root, vor1_areas, nullptr);

CDI_RECORDS(vor2, kKI206Vor2);
static ELEMENT_HEADER* vor2_elements[] = {
    &vor2_card.header, &vor2_gs_flag.header, &vor2_from_arrow.header, &vor2_to_arrow.header,
    &vor2_nav_flag.header, &vor2_deviation.header, &vor2_glideslope.header, &vor2_bezel.header,
    &vor2_knob.header, nullptr};
CDI_ROOT(vor2);
DEFINE_GAUGE(Bendix_KI206_VOR2, vor2_root, vor2_areas, nullptr);

// The KI202 has no glideslope: no GS flag and no glideslope needle.
CDI_RECORDS(ki202, kKI202Vor2);
static ELEMENT_HEADER* ki202_elements[] = {
    &ki202_card.header, &ki202_from_arrow.header, &ki202_to_arrow.header, &ki202_nav_flag.header,
    &ki202_deviation.header, &ki202_bezel.header, &ki202_knob.header, nullptr};
CDI_ROOT(ki202);
DEFINE_GAUGE(Bendix_KI202_VOR2, ki202_root, ki202_areas, nullptr);

// ----------------------------------------------------------------------------------------------
// Element callbacks: flags and arrows show (0) or hide (-1); needles are smoothed.

static double shown_if(bool shown) { return shown ? 0.0 : -1.0; }

template <int N> static double GAUGE_CALL gs_flag(IconElement* e) {
    return shown_if(!*kCdis[N].power || e->source_var.var_value.n == 0.0);
}
template <int N> static double GAUGE_CALL from_arrow(IconElement* e) {
    return shown_if(*kCdis[N].power && token_as_int(e->source_var.var_value.n) == kToFromFrom);
}
template <int N> static double GAUGE_CALL to_arrow(IconElement* e) {
    return shown_if(*kCdis[N].power && token_as_int(e->source_var.var_value.n) == kToFromTo);
}
template <int N> static double GAUGE_CALL nav_flag(IconElement* e) {
    return shown_if(!*kCdis[N].power || token_as_int(e->source_var.var_value.n) == kToFromNone);
}

// A needle drifts to a new deviation over a few frames and centres at once when the receiver is off.
// A reading that is not a number leaves the needle where it is rather than sticking in the filter.
static double smooth(double& filtered, bool powered, double target) {
    if (!powered)
        filtered = 0.0;
    else if (std::isfinite(target))
        filtered = kFilterKeep * filtered + kFilterTake * target;
    return filtered;
}

template <int N> static double GAUGE_CALL deviation_needle(SliderElement* e) {
    return smooth(filtered_deviation[N], *kCdis[N].power, e->source_var_x.var_value.n);
}
template <int N> static double GAUGE_CALL glideslope_needle(SliderElement* e) {
    return smooth(filtered_glideslope[N], *kCdis[N].power, e->source_var_y.var_value.n);
}

// ----------------------------------------------------------------------------------------------
// Mouse handlers

template <int N> static int32_t GAUGE_CALL knob_decrease(MOUSE_POINT*, uint32_t flags) {
    trigger_key_event(kCdis[N].event_set_obs, knob_step_degrees(token_value(kCdis[N].var_obs), false, flags));
    return 0;
}
template <int N> static int32_t GAUGE_CALL knob_increase(MOUSE_POINT*, uint32_t flags) {
    trigger_key_event(kCdis[N].event_set_obs, knob_step_degrees(token_value(kCdis[N].var_obs), true, flags));
    return 0;
}
