// Landing_Lights_Switch, Nav_Lights_Switch, Strobe_Lights_Switch, Taxi_Lights_Switch,
// Prop_DeIce_Switch, Struct_DeIce_Switch, DeIce_Light_Switch — switches of simulator systems.
// Reads:  the system's own variable (0x0E, 0x26B, 0x0B, 0x171, 0x388, 0x389, 0x26D) as the icon's
//         source, so the picture follows the simulator whatever switched it.
// Sends:  the system's toggle event on a left click.
// Keeps:  no position; a click sound per gauge (WAVE 30 for the light switches, 10 for de-ice).
#include "systems/systems_records.h"

// ----------------------------------------------------------------------------------------------
// Records: one row per switch

struct ToggleSwitch {
    int32_t background;
    int32_t icon;  // two bitmaps: off, on
    MOUSE_BOX area;
    uint32_t var;
    uint32_t toggle_event;
    int wave;
    uint32_t help_id;     // host help text, 0 none
    uint32_t tooltip_id;  // host tooltip, 0 none
    const char* tooltip;  // tooltip text, null none
};

constexpr int32_t kLightSwitchFace = 3460;
constexpr int32_t kLightSwitchLever = 3470;
constexpr MOUSE_BOX kLightSwitchArea = {2, 2, 32, 44};

constexpr ToggleSwitch kSwitches[] = {
    {kLightSwitchFace, kLightSwitchLever, kLightSwitchArea, 0x0E, 0x100D7, kWaveButtonClick, 0xAB3E, 0, nullptr},   // landing
    {kLightSwitchFace, kLightSwitchLever, kLightSwitchArea, 0x26B, 0x1034B, kWaveButtonClick, 0xAB3F, 0, nullptr},  // nav
    {kLightSwitchFace, kLightSwitchLever, kLightSwitchArea, 0x0B, 0x10018, kWaveButtonClick, 0xAB42, 0, nullptr},   // strobe
    {kLightSwitchFace, kLightSwitchLever, kLightSwitchArea, 0x171, 0x102C0, kWaveButtonClick, 0xAB43, 0, nullptr},  // taxi
    {kDeIceSwitchFace, kDeIceSwitchLever, kNarrowSwitchArea, 0x388, 0x10322, kWaveToggleClick, 0xAC81, 0, nullptr},  // propeller
    {kDeIceSwitchFace, kDeIceSwitchLever, kNarrowSwitchArea, 0x389, 0x10321, kWaveToggleClick, 0, 0x31BC, nullptr},  // structure
    {kDeIceSwitchFace, kDeIceSwitchLever, kNarrowSwitchArea, 0x26D, 0x1034A, kWaveToggleClick, 0, 0,
     "Activates the de-ice left wing projector"},                                          // wing light
};
constexpr size_t kSwitchCount = sizeof(kSwitches) / sizeof(kSwitches[0]);

static ClickSound sounds[kSwitchCount];

template <size_t I>
int32_t GAUGE_CALL toggle_click(MOUSE_POINT*, uint32_t);

constexpr IconElement switch_icon(const ToggleSwitch& s) {
    return icon_image(s.icon, {0, 0}, 2, s.var, nullptr);
}

template <size_t I>
constexpr MouseList<kMouseListRoom> switch_areas() {
    constexpr const ToggleSwitch& s = kSwitches[I];
    constexpr MOUSERECT click = click_area(s.area, CURSOR_HAND, MOUSE_LEFTSINGLE, &toggle_click<I>);
    if constexpr (s.tooltip_id != 0) return gauge_areas(s.help_id, {tooltip_id(s.tooltip_id), click});
    if constexpr (s.tooltip != nullptr) return gauge_areas(s.help_id, {tooltip_text(s.tooltip), click});
    return gauge_areas(s.help_id, {click});
}

template <size_t I>
void GAUGE_CALL toggle_gauge(GAUGEHDR*, int32_t service, GaugeExtra extra);

#define TOGGLE_SWITCH_GAUGE(Name, I)                                                                  \
    static IconElement Name##_icon = switch_icon(kSwitches[I]);                                       \
    static ELEMENT_HEADER* Name##_children[] = {&Name##_icon.header, nullptr};                        \
    static StaticImageElement Name##_background = background_image(kSwitches[I].background, Name##_children); \
    static ELEMENT_HEADER* Name##_root[] = {&Name##_background.header, nullptr};                      \
    static MouseList<kMouseListRoom> Name##_areas = switch_areas<I>();                                \
    DEFINE_GAUGE(Name, Name##_root, Name##_areas.rects, &toggle_gauge<I>)

TOGGLE_SWITCH_GAUGE(Landing_Lights_Switch, 0);
TOGGLE_SWITCH_GAUGE(Nav_Lights_Switch, 1);
TOGGLE_SWITCH_GAUGE(Strobe_Lights_Switch, 2);
TOGGLE_SWITCH_GAUGE(Taxi_Lights_Switch, 3);
TOGGLE_SWITCH_GAUGE(Prop_DeIce_Switch, 4);
TOGGLE_SWITCH_GAUGE(Struct_DeIce_Switch, 5);
TOGGLE_SWITCH_GAUGE(DeIce_Light_Switch, 6);

// ----------------------------------------------------------------------------------------------
// Mouse handler: the simulator keeps the position, so a click only asks it to toggle.

template <size_t I>
int32_t GAUGE_CALL toggle_click(MOUSE_POINT*, uint32_t) {
    trigger_key_event(kSwitches[I].toggle_event, 0);
    click_sound_play(sounds[I]);
    return 0;
}

// ----------------------------------------------------------------------------------------------
// Gauge callback

template <size_t I>
void GAUGE_CALL toggle_gauge(GAUGEHDR*, int32_t service, GaugeExtra extra) {
    click_sound_service(sounds[I], service, extra, kSwitches[I].wave);
}
