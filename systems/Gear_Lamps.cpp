// Gear_Lamps — three green down-and-locked lamps and the red gear-in-transit lamp.
// Reads:  0x14C centre, 0x14D left, 0x14E right gear extension (0 retracted, 16384 extended);
//         0x25C simulator time.
// Sends:  nothing.
// Keeps:  nothing. Lamps are not drawn while the simulator reports system 20 failed.
#include <cmath>

#include "systems/systems_records.h"

constexpr uint32_t kVarGearCentre = 0x14C;
constexpr uint32_t kVarGearLeft = 0x14D;
constexpr uint32_t kVarGearRight = 0x14E;
constexpr uint32_t kVarSimTime = 0x25C;
constexpr int32_t kGreenLamp = 2040;
constexpr double kLegDown = 16300.0;  // down and locked above this
constexpr double kLegUp = 50.0;       // up and locked below this
constexpr double kFlashPeriod = 0.5;  // seconds; lit in the second half of each period
constexpr double kFlashLitAfter = 0.25;

static double GAUGE_CALL green_lamp(IconElement*);
static double GAUGE_CALL red_lamp(IconElement*);

// ----------------------------------------------------------------------------------------------
// Records

static FAILURE_RECORD lamp_failures[] = {{20, FAIL_ACTION_NO_DRAW, 0}, FAILURE_END};

static IconElement left_lamp = icon_image(kGreenLamp, {1, 30}, 1, kVarGearLeft, &green_lamp, kDrawLamp, lamp_failures);
static IconElement right_lamp = icon_image(kGreenLamp, {69, 31}, 1, kVarGearRight, &green_lamp, kDrawLamp, lamp_failures);
static IconElement centre_lamp = icon_image(kGreenLamp, {35, 37}, 1, kVarGearCentre, &green_lamp, kDrawLamp, lamp_failures);
static IconElement transit_lamp = icon_image(2050, {35, 2}, 1, 0, &red_lamp, kDrawLamp, lamp_failures);
static ELEMENT_HEADER* children[] = {&left_lamp.header, &right_lamp.header, &centre_lamp.header,
                                     &transit_lamp.header, nullptr};
static StaticImageElement background = background_image(2030, children);
static ELEMENT_HEADER* root_list[] = {&background.header, nullptr};

static MouseList<kMouseListRoom> mouse_areas = gauge_areas(0xAB31, {});

DEFINE_GAUGE(Gear_Lamps, root_list, mouse_areas.rects, nullptr);

// ----------------------------------------------------------------------------------------------
// Element callbacks

static double GAUGE_CALL green_lamp(IconElement* e) {
    return e->source_var.var_value.n > kLegDown ? kIconShown : kIconHidden;
}

// Flashes while any leg is between the locks; dark with all three down or all three up.
static double GAUGE_CALL red_lamp(IconElement*) {
    double legs[] = {token_value(kVarGearCentre), token_value(kVarGearLeft), token_value(kVarGearRight)};
    bool all_down = true, all_up = true;
    for (double leg : legs) {
        all_down = all_down && leg > kLegDown;
        all_up = all_up && leg < kLegUp;
    }
    if (all_down || all_up) return kIconHidden;
    return std::fmod(token_value(kVarSimTime), kFlashPeriod) > kFlashLitAfter ? kIconShown : kIconHidden;
}
