// Pitot_Heat_Switch_1, Pitot_Heat_Switch_2, InertSep_DeIce_Switch, Wind_L_DeIce_Switch,
// Wind_R_DeIce_Switch — switches whose position the module keeps.
// Reads:  0x0D pitot heat (switch 1, at install).
// Sends:  pitot pair, every frame from each shown gauge: 0x10218 heat on while either switch is on,
//         0x10219 heat off while both are off; switch 1 at install: 0x10219 if the heat is on.
//         The separator and windshield switches send nothing (the warning panel and lamps read them).
// Keeps:  pitot_heat_1_on, pitot_heat_2_on, inert_sep_on, wind_l_deice_on, wind_r_deice_on;
//         a click sound per gauge, WAVE 10.
#include "systems/switch_state.h"
#include "systems/systems_records.h"

// ----------------------------------------------------------------------------------------------
// Records: one row per switch

constexpr uint32_t kVarPitotHeat = 0x0D;
constexpr uint32_t kEventPitotHeatOn = 0x10218;
constexpr uint32_t kEventPitotHeatOff = 0x10219;

struct ModuleSwitch {
    int32_t background;
    int32_t icon;  // two bitmaps: off, on
    bool* on;
    bool pitot;              // one of the two switches of the pitot heat
    bool syncs_at_install;   // brings the simulator's pitot heat in line when installed
    uint32_t help_id;        // host help text, 0 none
    const char* tooltip;     // tooltip text, null none
};

constexpr int32_t kPitotSwitchFace = 2480;
constexpr int32_t kPitotSwitchLever = 2490;
constexpr uint32_t kPitotHelp = 0xAB57;

constexpr ModuleSwitch kSwitches[] = {
    {kPitotSwitchFace, kPitotSwitchLever, &pitot_heat_1_on, true, true, kPitotHelp, nullptr},
    {kPitotSwitchFace, kPitotSwitchLever, &pitot_heat_2_on, true, false, kPitotHelp, nullptr},
    {kDeIceSwitchFace, kDeIceSwitchLever, &inert_sep_on, false, false, 0, "Inertial separation de-ice switch"},
    {kDeIceSwitchFace, kDeIceSwitchLever, &wind_l_deice_on, false, false, 0, "Left windshield de-ice switch"},
    {kDeIceSwitchFace, kDeIceSwitchLever, &wind_r_deice_on, false, false, 0, "Right windshield de-ice switch"},
};
constexpr size_t kSwitchCount = sizeof(kSwitches) / sizeof(kSwitches[0]);

static ClickSound sounds[kSwitchCount];

template <size_t I>
double GAUGE_CALL switch_picture(IconElement*);
template <size_t I>
int32_t GAUGE_CALL switch_click(MOUSE_POINT*, uint32_t);
template <size_t I>
void GAUGE_CALL switch_gauge(GAUGEHDR*, int32_t service, GaugeExtra extra);

template <size_t I>
constexpr MouseList<kMouseListRoom> switch_areas() {
    constexpr const ModuleSwitch& s = kSwitches[I];
    constexpr MOUSERECT click = click_area(kNarrowSwitchArea, CURSOR_HAND, MOUSE_LEFTSINGLE, &switch_click<I>);
    if constexpr (s.tooltip != nullptr) return gauge_areas(s.help_id, {tooltip_text(s.tooltip), click});
    return gauge_areas(s.help_id, {click});
}

#define MODULE_SWITCH_GAUGE(Name, I)                                                                  \
    static IconElement Name##_icon = icon_image(kSwitches[I].icon, {0, 0}, 2, 0, &switch_picture<I>); \
    static ELEMENT_HEADER* Name##_children[] = {&Name##_icon.header, nullptr};                        \
    static StaticImageElement Name##_background = background_image(kSwitches[I].background, Name##_children); \
    static ELEMENT_HEADER* Name##_root[] = {&Name##_background.header, nullptr};                      \
    static MouseList<kMouseListRoom> Name##_areas = switch_areas<I>();                                \
    DEFINE_GAUGE(Name, Name##_root, Name##_areas.rects, &switch_gauge<I>)

MODULE_SWITCH_GAUGE(Pitot_Heat_Switch_1, 0);
MODULE_SWITCH_GAUGE(Pitot_Heat_Switch_2, 1);
MODULE_SWITCH_GAUGE(InertSep_DeIce_Switch, 2);
MODULE_SWITCH_GAUGE(Wind_L_DeIce_Switch, 3);
MODULE_SWITCH_GAUGE(Wind_R_DeIce_Switch, 4);

// ----------------------------------------------------------------------------------------------
// Element callback: the switch picture. The pitot switches also hold the simulator's pitot heat
// to their position every frame, so heat switched from elsewhere is undone on the next frame.

template <size_t I>
double GAUGE_CALL switch_picture(IconElement*) {
    if constexpr (kSwitches[I].pitot)
        trigger_key_event(pitot_heat_1_on || pitot_heat_2_on ? kEventPitotHeatOn : kEventPitotHeatOff, 0);
    return *kSwitches[I].on ? 1.0 : 0.0;
}

// ----------------------------------------------------------------------------------------------
// Mouse handler

template <size_t I>
int32_t GAUGE_CALL switch_click(MOUSE_POINT*, uint32_t) {
    *kSwitches[I].on = !*kSwitches[I].on;
    click_sound_play(sounds[I]);
    return 0;
}

// ----------------------------------------------------------------------------------------------
// Gauge callback: switch 1 starts the simulator in line with the switches' position.

template <size_t I>
void GAUGE_CALL switch_gauge(GAUGEHDR*, int32_t service, GaugeExtra extra) {
    click_sound_service(sounds[I], service, extra, kWaveToggleClick);
    if constexpr (kSwitches[I].syncs_at_install)
        if (service == PANEL_SERVICE_PRE_INSTALL && token_value(kVarPitotHeat) > 0)
            trigger_key_event(kEventPitotHeatOff, 0);
}
