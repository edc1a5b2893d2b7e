// Prop_DeIce_Light, Struct_DeIce_Light, Wind_L_DeIce_Light, Wind_R_DeIce_Light — de-ice lamps.
// Reads:  0x388 propeller de-ice, 0x389 structural de-ice (the icons' source variables);
//         wind_l_deice_on, wind_r_deice_on; deice_lights_test.
// Sends:  nothing.
// Keeps:  nothing; no sound.
#include "systems/switch_state.h"
#include "systems/systems_records.h"

// ----------------------------------------------------------------------------------------------
// Records: one row per lamp

struct DeIceLamp {
    uint32_t var;          // the system's variable, 0 for a windshield lamp
    const bool* switch_on; // the windshield switch, null for a system lamp
};

constexpr DeIceLamp kLamps[] = {
    {0x388, nullptr},
    {0x389, nullptr},
    {0, &wind_l_deice_on},
    {0, &wind_r_deice_on},
};

constexpr int32_t kLampBackground = 4420;
constexpr int32_t kLampBitmap = 4430;
constexpr uint32_t kLampTooltip = 0x303E;

template <size_t I>
double GAUGE_CALL lamp_picture(IconElement*);

// The lamps are installed and killed like their switches, but have nothing to open or close:
// they take no part in sound.
static void GAUGE_CALL lamp_callback(GAUGEHDR*, int32_t, GaugeExtra) {}

#define DEICE_LAMP_GAUGE(Name, I)                                                                     \
    static IconElement Name##_lamp = icon_image(kLampBitmap, {0, 0}, 1, kLamps[I].var, &lamp_picture<I>, kDrawLamp); \
    static ELEMENT_HEADER* Name##_children[] = {&Name##_lamp.header, nullptr};                        \
    static StaticImageElement Name##_background = background_image(kLampBackground, Name##_children); \
    static ELEMENT_HEADER* Name##_root[] = {&Name##_background.header, nullptr};                      \
    static MouseList<kMouseListRoom> Name##_areas = gauge_areas(0, {tooltip_id(kLampTooltip)});       \
    DEFINE_GAUGE(Name, Name##_root, Name##_areas.rects, lamp_callback)

DEICE_LAMP_GAUGE(Prop_DeIce_Light, 0);
DEICE_LAMP_GAUGE(Struct_DeIce_Light, 1);
DEICE_LAMP_GAUGE(Wind_L_DeIce_Light, 2);
DEICE_LAMP_GAUGE(Wind_R_DeIce_Light, 3);

// ----------------------------------------------------------------------------------------------
// Element callback: lit while its system or switch is on, and during the lamp test.

template <size_t I>
double GAUGE_CALL lamp_picture(IconElement* e) {
    bool on;
    if constexpr (kLamps[I].var == 0)
        on = *kLamps[I].switch_on;
    else
        on = e->source_var.var_value.n > 0;
    return deice_lights_test || on ? kIconShown : kIconHidden;
}
